#include "LoanBooking.h"

#include "LoanRecords.h"
#include "common/Formats.h"
#include "datastore/DataError.h"
#include "datastore/SqlEngine.h"

#include "datastore/Database.h"
#include "datastore/FilterText.h"
#include "datastore/LibraryData.h"
#include "datastore/RecordSet.h"
#include "datastore/RecordSetHelpers.h"

#include <QCoreApplication>
#include <QScopeGuard>

namespace LoanBooking {

namespace {

// Booking refused inside the transaction: the book has an open loan in the database.
struct AlreadyLent
{
    QString borrowers;
};

// After a failed action: no record set stays in the middle of an edit, and the book the user
// chose is current again (a rollback re-reads the books and puts the cursor on the first one).
void settleAfterFailure(std::initializer_list<RecordSet*> sets, RecordSet& books, const QVariant& bookId)
{
    try {
        for (RecordSet* rs : sets)
            if (rs->active() && rs->isEditing())
                rs->cancel();
        if (books.active() && !books.isEmpty() && books.value(Field::ID) != bookId)
            books.locate(Field::ID, {bookId});
    } catch (...) {
        // The original error is the one to report.
    }
}

} // namespace

QString lendableBooks()
{
    return FilterText::isFlag(Field::Ausgeliehen, false);
}

QString lentBooks()
{
    return FilterText::isFlag(Field::Ausgeliehen, true);
}

QString searchCondition(const QString& field, const QString& text)
{
    if (text.isEmpty())
        return {};
    // The number users see is the ID; a text that is no whole number matches no row.
    if (field == Field::Nummer)
        return FilterText::equals(Field::ID, text);
    return FilterText::contains(field, text);
}

QString narrowed(const QString& base, const QString& condition)
{
    return FilterText::allOf({base, condition});
}

QString loansOfBook(const QVariant& bookId)
{
    if (bookId.isNull())
        return FilterText::isNull(Field::ID); // every stored loan has an ID: matches none
    return FilterText::equalsNumber(Field::BuecherID, bookId.toLongLong());
}

void applyFilter(RecordSet& rs, const QString& filter)
{
    if (!rs.active())
        return; // no database: nothing to narrow, and no message at every keystroke
    if (filter.isEmpty()) {
        rs.setFiltered(false);
        return;
    }
    rs.setFilter(filter);
    rs.setFiltered(true);
}

QDateTime dueDate(const QDateTime& loanDate, const QDateTime& dueTime)
{
    return QDateTime(loanDate.date().addDays(LoanPeriodDays), dueTime.isValid() ? dueTime.time() : QTime(0, 0));
}

BookingResult bookLoan(LibraryData& data, const QDateTime& from, const QDateTime& due)
{
    RecordSet& readers = data.readers();
    RecordSet& books = data.books();
    RecordSet& loans = data.loans();
    if (readers.isEmpty())
        return BookingResult::NoReader;
    if (books.isEmpty())
        return BookingResult::NoBook;
    const QVariant readerId = readers.value(Field::ID);
    const QVariant bookId = books.value(Field::ID);
    try {
        // The loan and the lent mark belong together: a book marked as lent without its open
        // loan cannot be returned, and an open loan of a book that is not lent can be lent twice.
        LoanRecords::writeTogether(data, [&] {
            // Memory may be behind (another workstation, a failed reaction): the database decides.
            const QList<LoanRecords::OpenLoan> open = LoanRecords::openLoansOfBook(data, bookId);
            if (!open.isEmpty())
                throw AlreadyLent{LoanRecords::borrowers(open)};
            loans.insert();
            loans.setValue(Field::BuecherID, bookId);
            loans.setValue(Field::LeserID, readerId);
            loans.setValue(Field::DatumVon, from);
            loans.setValue(Field::DatumBisSoll, due);
            loans.post();
            books.edit();
            books.setValue(Field::Ausgeliehen, true);
            books.post();
        });
    } catch (const AlreadyLent& lent) {
        settleAfterFailure({&loans, &books}, books, bookId);
        // The mark follows the open loan, and the list shows what the database holds.
        LoanRecords::writeTogether(data, [&] { LoanRecords::setBookLentInDatabase(data, bookId, true); });
        loans.requery();
        books.requery();
        throw DataError(
            QCoreApplication::translate("LoanBooking", "Das Buch ist bereits %1 und wurde nicht noch einmal verliehen.")
                .arg(lent.borrowers));
    } catch (...) {
        settleAfterFailure({&loans, &books}, books, bookId);
        throw;
    }
    return BookingResult::Booked;
}

ReturnResult returnBook(LibraryData& data, const QDateTime& returned)
{
    RecordSet& books = data.books();
    RecordSet& loans = data.loans();
    if (books.isEmpty())
        return ReturnResult::NoBook;
    const QVariant bookId = books.value(Field::ID);
    const int row = loans.findRow(Field::BuecherID + u';' + Field::DatumBis, {bookId, QString()});
    if (row < 0)
        return ReturnResult::NoOpenLoan;
    const QVariant loanId = loans.valueAt(row, loans.fieldIndex(Field::ID));

    AllRowsShown all(loans);
    try {
        if (loans.positionOfRow(row) < 0)
            all.show();
        if (!loans.locate(Field::ID, {loanId}))
            return ReturnResult::NoOpenLoan;
        LoanRecords::writeTogether(data, [&] {
            loans.edit();
            loans.setValue(Field::DatumBis, returned);
            loans.setValue(Field::DatumBisSoll, QVariant());
            loans.post();
            books.edit();
            books.setValue(Field::Ausgeliehen, false);
            books.post();
        });
    } catch (...) {
        settleAfterFailure({&loans, &books}, books, bookId);
        throw;
    }
    all.restore();
    return ReturnResult::Returned;
}

namespace {

bool clearable(const QVariant& returned, const QDate& lastDay)
{
    return !returned.isNull() && returned.toDateTime().date() <= lastDay;
}

} // namespace

int countClearable(LibraryData& data, const QDate& lastDay)
{
    RecordSet& loans = data.loans();
    if (!loans.active())
        return 0;
    int count = 0;
    forEachRow(loans, [&](int row) {
        const QVariant packed = valueInRow(loans, row, Field::DatumBis);
        if (!packed.isNull() && clearable(PackedDateTime::unpack(packed.toLongLong()), lastDay))
            ++count;
    });
    return count;
}

QString clearingQuestion(int count, const QDate& lastDay)
{
    if (count <= 0)
        return {};
    const QString day = Formats::formatDate(lastDay);
    if (count == 1)
        return QCoreApplication::translate("LoanBooking", "Eine zurückgegebene Ausleihe mit Rückgabe bis zum %1 wird "
                                                          "endgültig gelöscht.\n\nFortfahren?")
            .arg(day);
    return QCoreApplication::translate("LoanBooking", "%1 zurückgegebene Ausleihen mit Rückgabe bis zum %2 werden "
                                                      "endgültig gelöscht.\n\nFortfahren?")
        .arg(count)
        .arg(day);
}

int clearLoanList(LibraryData& data, const QDate& lastDay)
{
    RecordSet& loans = data.loans();
    int deleted = 0;
    AllRowsShown all(loans);
    all.show();
    // The grids catch up once at the end instead of after every deleted row.
    loans.disableControls();
    const auto reattach = qScopeGuard([&] { loans.enableControls(); });
    {
        // One transaction: one write to the disk for the whole list, and all or nothing.
        Transaction t(data.database());
        loans.first();
        while (!loans.eof()) {
            const QVariant returned = loans.value(Field::DatumBis);
            if (clearable(returned, lastDay)) {
                loans.deleteRecord(); // the next loan becomes current
                ++deleted;
            } else {
                loans.next();
            }
        }
        t.commit();
    }
    all.restore();
    return deleted;
}

} // namespace LoanBooking
