#include "RecordSetHelpers.h"

#include "FieldNames.h"
#include "RecordSet.h"

AllRowsShown::~AllRowsShown()
{
    try {
        restore();
    } catch (...) {
        // Only reached while another error is on its way to the user.
    }
}

void AllRowsShown::show()
{
    if (!m_rs.filtered())
        return;
    m_rs.setFiltered(false);
    m_paused = true;
}

void AllRowsShown::restore()
{
    if (!m_paused)
        return;
    m_paused = false;
    if (m_rs.isEditing())
        m_rs.cancel(); // never post a half-done change while switching back
    m_rs.setFiltered(true);
}

bool deleteAfterAsking(RecordSet& rs, const std::function<bool()>& ask, WhenEmpty whenEmpty)
{
    const bool any = rs.active() && !rs.isEmpty();
    if (!any && whenEmpty == WhenEmpty::DoNothing)
        return false;
    const QVariant id = any ? rs.value(Field::ID) : QVariant();
    if (!ask())
        return false;
    if (!id.isNull() && rs.value(Field::ID) != id && !rs.locate(Field::ID, {id}))
        return false;
    rs.deleteRecord(); // on an empty set this reports that there is nothing to delete
    return true;
}

void forEachRow(const RecordSet& rs, const std::function<void(int row)>& f)
{
    for (int row = 0; row < rs.rowCountAll(); ++row)
        f(row);
}

QVariant valueInRow(const RecordSet& rs, int row, const QString& field)
{
    return rs.valueAt(row, rs.fieldIndex(field));
}
