#pragma once

#include <QVariant>
#include <functional>

class RecordSet;

// Lets an action reach rows that a view filter hides (the main window's overdue tab narrows the
// loans): shows all rows while needed and puts the same filter back in force afterwards, also
// when the action fails.
class AllRowsShown
{
public:
    explicit AllRowsShown(RecordSet& rs) : m_rs(rs) {}
    ~AllRowsShown();
    AllRowsShown(const AllRowsShown&) = delete;
    AllRowsShown& operator=(const AllRowsShown&) = delete;

    void show();
    void restore();

private:
    RecordSet& m_rs;
    bool m_paused = false;
};

// Asks (through `ask`, which returns true for "delete") about the current record and deletes the
// record that was asked about, even when the cursor moved while the question was open (a refresh
// re-reads and may move it). Returns true when a record was deleted. Throws DataError.
// An empty record set is left alone without a question, or asked about anyway so that deleting
// reports that there is nothing to delete.
enum class WhenEmpty { DoNothing, AskAndReport };
bool deleteAfterAsking(RecordSet& rs, const std::function<bool()>& ask, WhenEmpty whenEmpty = WhenEmpty::DoNothing);

// Calls f(row) for every row read, whatever the filter and sort.
void forEachRow(const RecordSet& rs, const std::function<void(int row)>& f);

// The value of the field in the row (an index into all rows read).
QVariant valueInRow(const RecordSet& rs, int row, const QString& field);
