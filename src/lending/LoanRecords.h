#pragma once

#include "datastore/RecordSetHelpers.h" // WhenEmpty

#include <QList>
#include <QString>
#include <QVariant>
#include <functional>

class LibraryData;
class RecordSet;

// Keeps loans and books agreeing: a book is marked lent exactly while it has an open loan, and
// no open loan loses its book or reader. Every change here is one transaction; what decides
// (is the book lent, does the reader have loans) is read from the database inside it, since
// another workstation may have booked since the last refresh.
namespace LoanRecords {

struct OpenLoan
{
    qint64 loanId = 0;
    QString title;  // of the book
    QString reader; // "Vorname Nachname"
    QString since;  // dd.MM.yyyy
};

// The open loans of a book (but `exceptLoan`) and of a reader, as the database holds them.
QList<OpenLoan> openLoansOfBook(LibraryData& data, const QVariant& bookId, qint64 exceptLoan = 0);
QList<OpenLoan> openLoansOfReader(LibraryData& data, const QVariant& readerId);
// "an Anna Öztürk (seit 01.12.2026)"; several joined with "; ".
QString borrowers(const QList<OpenLoan>& loans);

// Why the current record of `rs` must not be deleted ("" when it may): a lent book, a reader
// with open loans.
QString deletionRefusal(LibraryData& data, RecordSet& rs);

// Deletes the current record of `rs` (one of the library's record sets) after asking, as
// ::deleteAfterAsking does. A book that is lent and a reader with open loans are refused before
// the question with a DataError naming the loans. Deleting an open loan marks its book as not
// lent in the same transaction. Returns true when a record was deleted; throws DataError.
bool deleteAfterAsking(LibraryData& data, RecordSet& rs, const std::function<bool()>& ask,
                       WhenEmpty whenEmpty = WhenEmpty::DoNothing);

// The return date of the current loan as typed in the loan history ("" empties it). Entering
// one closes the loan as a return does (due date emptied, book no longer lent); emptying it
// reopens the loan (due date the loan period after the loan date when it has none) and marks
// the book lent, refused when the book has another open loan. Throws DataError.
void changeReturnDate(LibraryData& data, const QString& text);

// The current book is marked lent but has no open loan: marks it as not lent. Refused with a
// DataError when the database shows an open loan after all.
void markBookAvailable(LibraryData& data);

// Runs `write` in one transaction. When a reaction to the committed change fails (saving the
// stored value lists, say), memory no longer shows what the database holds: books and loans
// are re-read before the error goes on.
void writeTogether(LibraryData& data, const std::function<void()>& write);

// Sets a book's lent mark inside the caller's transaction; memory follows, the books cursor
// stays where it was.
void setBookLent(LibraryData& data, const QVariant& bookId, bool lent);
// The same in the database only, whatever memory holds; the caller re-reads the books.
void setBookLentInDatabase(LibraryData& data, const QVariant& bookId, bool lent);

} // namespace LoanRecords
