#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// One table of an import source as the wizard shows it: the records in source order, every
// value as text. Records may be shorter than the widest one; missing values read as empty.
class SourceTable
{
public:
    int fieldCount() const { return m_fieldCount; }
    int recordCount() const { return int(m_records.size()); }
    bool isEmpty() const { return m_records.isEmpty(); }

    // Empty for a field or record outside the table.
    QString value(int record, int field) const;
    const QStringList& record(int record) const { return m_records.at(record); }

    void appendRecord(QStringList values);
    // Widens the table to at least this many fields (a worksheet's empty last column counts).
    void setMinimumFieldCount(int count);

private:
    QList<QStringList> m_records;
    int m_fieldCount = 0;
};
