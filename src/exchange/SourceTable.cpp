#include "SourceTable.h"

#include <algorithm>

QString SourceTable::value(int record, int field) const
{
    if (record < 0 || record >= m_records.size())
        return {};
    return m_records.at(record).value(field);
}

void SourceTable::appendRecord(QStringList values)
{
    m_fieldCount = std::max(m_fieldCount, int(values.size()));
    m_records.append(std::move(values));
}

void SourceTable::setMinimumFieldCount(int count)
{
    m_fieldCount = std::max(m_fieldCount, count);
}
