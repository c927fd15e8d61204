#include "LoanBooking.h"

#include "datastore/Database.h"
#include "datastore/FilterExpression.h"
#include "datastore/LibraryData.h"
#include "datastore/RecordSet.h"

#include <QScopeGuard>

namespace LoanBooking {

namespace {

const QString ID = QStringLiteral("ID");

// Lets an action reach rows that a view filter hides (the main window's overdue tab narrows the
// loans): shows all rows while needed and puts the same filter back in force afterwards.
class AllRows
{
public:
    explicit AllRows(RecordSet& rs) : m_rs(rs) {}
    ~AllRows()
    {
        try {
            restore();
        } catch (...) {
            // Only reached while another error is on its way to the user.
        }
    }
    AllRows(const AllRows&) = delete;
    AllRows& operator=(const AllRows&) = delete;

    void show()
    {
        if (!m_rs.filtered())
            return;
        m_rs.setFiltered(false);
        m_paused = true;
    }
    void restore()
    {
        if (!m_paused)
            return;
        m_paused = false;
        if (m_rs.isEditing())
            m_rs.cancel(); // never post a half-done change while switching back
        m_rs.setFiltered(true);
    }

private:
    RecordSet& m_rs;
    bool m_paused = false;
};

// After a failed action: no record set stays in the middle of an edit, and the book the user
// chose is current again (a rollback re-reads the books and puts the cursor on the first one).
void settleAfterFailure(std::initializer_list<RecordSet*> sets, RecordSet& books, const QVariant& bookId)
{
    try {
        for (RecordSet* rs : sets)
            if (rs->active() && rs->isEditing())
                rs->cancel();
        if (books.active() && !books.isEmpty() && books.value(ID) != bookId)
            books.locate(ID, {bookId});
    } catch (...) {
        // The original error is the one to report.
    }
}

} // namespace

QString lendableBooks()
{
    return QStringLiteral("ausgeliehen = 'false'");
}

QString lentBooks()
{
    return QStringLiteral("ausgeliehen = 'true'");
}

QString searchCondition(const QString& field, const QString& text)
{
    if (text.isEmpty())
        return {};
    // The number users see is the ID; a text that is no whole number matches no row.
    if (field == u"Nummer")
        return QStringLiteral("ID = ") + FilterExpression::quote(text);
    return field + QStringLiteral(" LIKE ") + FilterExpression::quote(u'%' + text + u'%');
}

QString narrowed(const QString& base, const QString& condition)
{
    return condition.isEmpty() ? base : base + QStringLiteral(" AND ") + condition;
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
    RecordSet& readers = data.ClientLeser();
    RecordSet& books = data.ClientBuecher();
    RecordSet& loans = data.ClientAusleihe();
    if (readers.isEmpty())
        return BookingResult::NoReader;
    if (books.isEmpty())
        return BookingResult::NoBook;
    const QVariant readerId = readers.value(ID);
    const QVariant bookId = books.value(ID);
    try {
        // The loan and the lent mark belong together: a book marked as lent without its open
        // loan cannot be returned, and an open loan of a book that is not lent can be lent twice.
        Transaction t(data.database());
        loans.insert();
        loans.setValue(QStringLiteral("BuecherID"), bookId);
        loans.setValue(QStringLiteral("LeserID"), readerId);
        loans.setValue(QStringLiteral("DatumVon"), from);
        loans.setValue(QStringLiteral("DatumBisSoll"), due);
        loans.post();
        books.edit();
        books.setValue(QStringLiteral("ausgeliehen"), true);
        books.post();
        t.commit();
    } catch (...) {
        settleAfterFailure({&loans, &books}, books, bookId);
        throw;
    }
    return BookingResult::Booked;
}

ReturnResult returnBook(LibraryData& data, const QDateTime& returned)
{
    RecordSet& books = data.ClientBuecher();
    RecordSet& loans = data.ClientAusleihe();
    if (books.isEmpty())
        return ReturnResult::NoBook;
    const QVariant bookId = books.value(ID);
    const int row = loans.findRow(QStringLiteral("BuecherID;DatumBis"), {bookId, QString()});
    if (row < 0)
        return ReturnResult::NoOpenLoan;
    const QVariant loanId = loans.valueAt(row, loans.fieldIndex(ID));

    AllRows all(loans);
    try {
        if (loans.positionOfRow(row) < 0)
            all.show();
        Transaction t(data.database());
        if (!loans.locate(ID, {loanId}))
            return ReturnResult::NoOpenLoan;
        loans.edit();
        loans.setValue(QStringLiteral("DatumBis"), returned);
        loans.setValue(QStringLiteral("DatumBisSoll"), QVariant());
        loans.post();
        books.edit();
        books.setValue(QStringLiteral("ausgeliehen"), false);
        books.post();
        t.commit();
    } catch (...) {
        settleAfterFailure({&loans, &books}, books, bookId);
        throw;
    }
    all.restore();
    return ReturnResult::Returned;
}

int clearLoanList(LibraryData& data, const QDate& lastDay)
{
    RecordSet& loans = data.ClientAusleihe();
    const QString until = QStringLiteral("DatumBis");
    int deleted = 0;
    AllRows all(loans);
    all.show();
    // The grids catch up once at the end instead of after every deleted row.
    loans.disableControls();
    const auto reattach = qScopeGuard([&] { loans.enableControls(); });
    {
        // One transaction: one write to the disk for the whole list, and all or nothing.
        Transaction t(data.database());
        loans.first();
        while (!loans.eof()) {
            const QVariant returned = loans.value(until);
            if (!returned.isNull() && returned.toDateTime().date() <= lastDay) {
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
