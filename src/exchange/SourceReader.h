#pragma once

#include "SourceTable.h"

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <memory>

// A file another program made, read for the import: its tables (none for a text file, which is
// one table) and each table's values as text. Every failure throws DataError with a German
// message for the user.
class SourceReader
{
public:
    virtual ~SourceReader() = default;

    // Names to offer in the table list; empty when the source has only one table.
    virtual QStringList tableNames() const = 0;
    // The table of that name; a text file ignores the name.
    virtual SourceTable read(const QString& table) const = 0;

    enum class Kind { Access, Excel, Workbook, Text };
    // By the file name's extension, in any letter case: ".mdb" Access, ".xls" Excel 97–2003,
    // ".xlsx"/".ods" today's workbooks, everything else delimited text.
    static Kind kindOf(const QString& fileName);

    // Opens the file with the reader of its kind. The separator is for text files.
    static std::unique_ptr<SourceReader> open(const QString& fileName, QChar separator);

    // Value texts as the German edit texts show them: "444,555", "12345" (no ",0"),
    // "21.09.1974", and "21.09.1974 13:05:00" when the time is not midnight.
    static QString numberText(double value, int significantDigits = 15);
    static QString dateTimeText(const QDateTime& value);
};
