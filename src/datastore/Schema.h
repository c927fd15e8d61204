#pragma once

#include "FieldNames.h"

#include <QList>
#include <QString>
#include <QStringList>

// The one definition of the library's tables. The DDL of every engine is generated from it.
enum class ColumnType {
    AutoIncrement, // 32-bit integer assigned by the database, never reused
    Integer,       // 32-bit integer
    Text,          // text with a maximum length in characters
    Memo,          // long text
    Money,         // exact amount, 4 decimal places
    DateTime,
    Boolean,
};

struct ColumnDef
{
    QString name;
    ColumnType type;
    int size = 0; // maximum length of Text columns
};

// An index the database keeps; `whereNull` makes it partial (only rows where that column is NULL).
struct IndexDef
{
    QString name;
    QString table;
    QStringList columns;
    bool unique = false;
    QString whereNull;
};

struct TableDef
{
    QString name;
    QList<ColumnDef> columns;

    const ColumnDef* column(const QString& name) const;
};

namespace Schema {

// Version of the stored layout; a database of a newer version is refused.
// 2: a book can have only one open loan (unique index over the open loans).
inline constexpr int Version = 2;

const QList<TableDef>& tables(); // Buecher, Leser, Ausleihe, Blob
const TableDef& table(const QString& name);
const QList<IndexDef>& indexes();

inline const QString Buecher = QStringLiteral("Buecher");
inline const QString Leser = QStringLiteral("Leser");
inline const QString Ausleihe = QStringLiteral("Ausleihe");
inline const QString Blob = QStringLiteral("Blob");

// Default captions of the book fields, as written into Blob.FeldnamenBuecher on creation.
const QStringList& defaultFieldCaptions();

} // namespace Schema
