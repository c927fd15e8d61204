#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>

class LibraryData;
class RecordSet;

// Lending without windows: the search filters of the booking and return dialogs, booking a
// loan, booking a return and clearing old loans. The dialogs only wire their controls to these.
namespace LoanBooking {

// The loan period: the due date is the loan date plus this many days.
inline constexpr int LoanPeriodDays = 30;

// Book filters of the two dialogs: books that can be lent, books that can be returned.
QString lendableBooks();
QString lentBooks();

// One search edit's condition: "ID = '12'" for the number edit (text that is no whole number
// matches nothing), "Field LIKE '%text%'" otherwise. The typed text is quoted, so a quote in it
// is matched literally. Empty text gives an empty condition (no narrowing).
QString searchCondition(const QString& field, const QString& text);
// `base` AND `condition`; just `base` when the condition is empty.
QString narrowed(const QString& base, const QString& condition);

// The loans of one book (the loan history); a book not saved yet has none.
QString loansOfBook(const QVariant& bookId);

// Sets a record set's filter to `filter` and switches it on; an empty text switches it off. A
// record set that is not open is left alone.
void applyFilter(RecordSet& rs, const QString& filter);

// The due date for a loan date: its day plus the loan period, at the time of day of `dueTime`.
QDateTime dueDate(const QDateTime& loanDate, const QDateTime& dueTime);

enum class BookingResult { Booked, NoReader, NoBook };
// Lends the current book of ClientBuecher to the current reader of ClientLeser: inserts the open
// loan and marks the book as lent, both in one transaction (a failure leaves neither and throws
// DataError). The readers and books are checked as their filters show them.
BookingResult bookLoan(LibraryData& data, const QDateTime& from, const QDateTime& due);

enum class ReturnResult { Returned, NoBook, NoOpenLoan };
// Books the return of the current book of ClientBuecher: its open loan (looked for among all
// loans, whatever view filter is in force) gets the return date and loses its due date, and the
// book is no longer lent; both in one transaction. NoOpenLoan changes nothing.
ReturnResult returnBook(LibraryData& data, const QDateTime& returned);

// Deletes every returned loan whose return day is on or before `lastDay` (times of day ignored);
// open loans stay. Looks at all loans whatever view filter is in force, and deletes in one
// transaction: a failure deletes nothing and throws DataError. Returns the number deleted.
int clearLoanList(LibraryData& data, const QDate& lastDay);
// How many loans clearLoanList would delete now.
int countClearable(LibraryData& data, const QDate& lastDay);
// The question before clearing, naming how many loans up to which day go for good; "" when
// there is nothing to delete.
QString clearingQuestion(int count, const QDate& lastDay);

} // namespace LoanBooking
