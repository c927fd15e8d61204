#include "BookBorrower.h"

#include "datastore/RecordSet.h"
#include "datastore/RecordSetHelpers.h"

namespace BookBorrower {

namespace {

// Moves the cursor onto the row when the view shows it; never while a record is being edited
// (moving would save or drop it).
void moveOnto(RecordSet& rs, int row)
{
    if (row < 0 || rs.isEditing() || rs.positionOfRow(row) < 0)
        return;
    if (rs.currentRow() != row)
        rs.locate(Field::ID, {valueInRow(rs, row, Field::ID)});
}

} // namespace

Found find(const RecordSet& loans, const RecordSet& readers, const QVariant& bookId)
{
    Found found;
    if (bookId.isNull() || !loans.active() || !readers.active())
        return found;
    found.loanRow = loans.findRow(Field::BuecherID + u';' + Field::DatumBis, {bookId, QString()});
    if (found.loanRow < 0)
        return found;
    const QVariant readerId = valueInRow(loans, found.loanRow, Field::LeserID);
    if (readerId.isNull())
        return found;
    found.readerRow = readers.rowById(readerId.toLongLong());
    if (found.readerRow < 0)
        return found;
    found.name = readers.textAt(found.readerRow, readers.fieldIndex(Field::Vorname)) + u' ' +
                 readers.textAt(found.readerRow, readers.fieldIndex(Field::Nachname));
    return found;
}

QString show(RecordSet& loans, RecordSet& readers, const QVariant& bookId)
{
    const Found found = find(loans, readers, bookId);
    moveOnto(loans, found.loanRow);
    moveOnto(readers, found.readerRow);
    return found.name;
}

} // namespace BookBorrower
