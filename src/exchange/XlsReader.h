#pragma once

#include "SourceReader.h"

// Excel 97–2003 workbooks (BIFF5 and BIFF8 .xls files) through FreeXL. Every worksheet is a
// table; its first row is a record like every other.
class XlsReader : public SourceReader
{
public:
    explicit XlsReader(const QString& fileName);
    ~XlsReader() override;
    XlsReader(const XlsReader&) = delete;
    XlsReader& operator=(const XlsReader&) = delete;

    QStringList tableNames() const override { return m_sheets; }
    SourceTable read(const QString& sheet) const override;

private:
    const void* m_handle = nullptr;
    QStringList m_sheets;
};
