#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

// Every filter text the program builds comes from here, so that values are quoted one way:
// between single quotes, a quote inside written twice. Fields are given by name (see FieldNames.h).
namespace FilterText {

// 'value' with its quotes doubled.
QString quoted(const QString& value);

// field = 'value'
QString equals(const QString& field, const QString& value);
// field = number (an integer written bare)
QString equalsNumber(const QString& field, qint64 number);
// The text with \, % and _ escaped by a backslash, so that LIKE matches it as typed.
QString likeLiteral(const QString& text);
// '%text%' as a quoted LIKE pattern: any value that contains the text as typed.
QString containsPattern(const QString& text);
// field LIKE '%text%', the text matched as typed (see containsPattern)
QString contains(const QString& field, const QString& text);
// field = NULL
QString isNull(const QString& field);
// field = 'true' / 'false'
QString isFlag(const QString& field, bool value);
// field < 'dd.MM.yyyy' (the whole day counts)
QString before(const QString& field, const QDate& day);

// The non-empty terms joined with AND / OR; "" when none is left.
QString allOf(const QStringList& terms);
QString anyOf(const QStringList& terms);

} // namespace FilterText
