#pragma once

#include "SourceReader.h"

#include <QByteArray>

// Delimited text: one record per line, values cut at the separator. A value that starts with a
// double quote runs to the closing quote, a doubled quote inside it is one quote, and separators
// and line breaks inside belong to the value. A quote elsewhere is an ordinary character.
// The bytes are Windows-1252 unless the file starts with a byte-order mark (UTF-8 or UTF-16).
class TextReader : public SourceReader
{
public:
    TextReader(const QString& fileName, QChar separator);

    QStringList tableNames() const override { return {}; }
    SourceTable read(const QString& table = QString()) const override;

    static QString decode(const QByteArray& bytes);
    static SourceTable parse(const QString& text, QChar separator);

private:
    QString m_fileName;
    QChar m_separator;
};
