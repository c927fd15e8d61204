#pragma once

#include "SourceReader.h"

#include <QList>

// Today's workbooks: .xlsx through liborcus, .ods from its content.xml (the types of its cells are
// written out there: dates, amounts and booleans come back as such). Every sheet is a table; its
// first row is a record like every other, as with the older Excel files.
class WorkbookReader : public SourceReader
{
public:
    explicit WorkbookReader(const QString& fileName);

    QStringList tableNames() const override { return m_names; }
    SourceTable read(const QString& sheet) const override;

private:
    QStringList m_names;
    QList<SourceTable> m_sheets;
};
