#include "ImportSession.h"

#include "SourceReader.h"

ImportSession::ImportSession(ImportTarget::Kind kind)
    : m_kind(kind), m_assignments(targets().size(), -1), m_shownFirst(targets().size()), m_shownSecond(targets().size())
{
}

void ImportSession::load()
{
    if (fileName.isEmpty())
        return;
    const auto reader = SourceReader::open(fileName, separator);
    if (SourceReader::kindOf(fileName) != SourceReader::Kind::Text) {
        if (tableNames.isEmpty())
            tableNames = reader->tableNames();
        if (table.isEmpty())
            table = tableNames.value(0);
    }
    // Replaced as a whole: nothing of a former, larger source stays behind.
    m_preview = reader->read(table);
    m_hasSource = true;
}

void ImportSession::clearTables()
{
    tableNames.clear();
    table.clear();
}

void ImportSession::assign(int targetRow, int sourceField)
{
    if (targetRow < 0 || targetRow >= m_assignments.size() || sourceField < 0)
        return;
    m_assignments[targetRow] = sourceField;
    m_shownFirst[targetRow] = m_preview.value(0, sourceField);
    m_shownSecond[targetRow] = m_preview.value(1, sourceField);
}

void ImportSession::remove(int targetRow)
{
    if (targetRow < 0 || targetRow >= m_assignments.size())
        return;
    m_assignments[targetRow] = -1;
    m_shownFirst[targetRow].clear();
    m_shownSecond[targetRow].clear();
}
