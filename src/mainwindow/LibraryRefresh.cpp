#include "LibraryRefresh.h"

#include "datastore/LibraryData.h"
#include "lending/LoanView.h"

namespace LibraryRefresh {

bool run(LibraryData& data, LoanView* loanView)
{
    // Nor in the middle of a write (a take-over lets the window paint between two books).
    if (data.database().transactionDepth() > 0)
        return false;
    RecordSet* sets[] = {&data.readers(), &data.loans(), &data.books()};
    for (RecordSet* rs : sets)
        if (rs->isEditing())
            return false;
    for (RecordSet* rs : sets) {
        if (!rs->active())
            continue;
        const QVariant id = rs->isEmpty() ? QVariant() : rs->value(Field::ID);
        if (rs == &data.loans() && loanView)
            loanView->renewDate();
        rs->requery();
        if (!id.isNull())
            rs->locate(Field::ID, {id});
    }
    return true;
}

} // namespace LibraryRefresh
