#pragma once

#include <QString>
#include <QVariant>

class RecordSet;

// Who has a book at the moment: the reader of its open loan (one without a return date).
// Loans and readers are searched among all rows read, whatever filter their views have.
namespace BookBorrower {

struct Found
{
    int loanRow = -1;   // the open loan among all loans read; -1 when there is none
    int readerRow = -1; // its reader among all readers read; -1 when the reader is gone
    QString name;       // "Vorname Nachname"; empty without loan or reader
};

Found find(const RecordSet& loans, const RecordSet& readers, const QVariant& bookId);

// Finds the borrower and puts the loans and readers cursors on what was found, so that the
// main window's grids follow; a record hidden by its view's filter leaves that cursor where it
// is. Returns the name to show.
QString show(RecordSet& loans, RecordSet& readers, const QVariant& bookId);

} // namespace BookBorrower
