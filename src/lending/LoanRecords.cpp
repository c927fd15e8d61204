#include "LoanRecords.h"

#include "LoanBooking.h"
#include "datastore/DataError.h"
#include "datastore/Database.h"
#include "datastore/LibraryData.h"
#include "datastore/RecordSet.h"

#include <QCoreApplication>
#include <QScopeGuard>
#include <QSqlQuery>

namespace LoanRecords {

namespace {

QString tr(const char* text)
{
    return QCoreApplication::translate("LoanRecords", text);
}

QString name(const QString& table)
{
    return u'"' + table + u'"';
}

QList<OpenLoan> openLoans(LibraryData& data, const QString& keyField, const QVariant& key, qint64 exceptLoan)
{
    QList<OpenLoan> found;
    if (key.isNull() || !data.database().isOpen())
        return found;
    QSqlQuery q(data.database().connection());
    q.prepare(
        QStringLiteral("SELECT a.\"ID\", b.\"Titel\", l.\"Vorname\", l.\"Nachname\", a.\"DatumVon\" FROM %1 a "
                       "LEFT JOIN %2 b ON b.\"ID\" = a.\"BuecherID\" LEFT JOIN %3 l ON l.\"ID\" = a.\"LeserID\" "
                       "WHERE a.%4 = ? AND a.\"DatumBis\" IS NULL AND a.\"ID\" <> ? ORDER BY a.\"DatumVon\", a.\"ID\"")
            .arg(name(data.loans().table()), name(data.books().table()), name(data.readers().table()), name(keyField)));
    q.addBindValue(key.toLongLong());
    q.addBindValue(exceptLoan);
    if (!q.exec())
        throw DataError(tr("Die offenen Ausleihen konnten nicht gelesen werden."));
    const SqlEngine& engine = data.database().engine();
    while (q.next()) {
        OpenLoan loan;
        loan.loanId = q.value(0).toLongLong();
        loan.title = q.value(1).toString();
        loan.reader = QStringList{q.value(2).toString(), q.value(3).toString()}.join(u' ').trimmed();
        loan.since = RecordSet::displayText(ColumnType::DateTime, engine.fromStorage(ColumnType::DateTime, q.value(4)));
        found << loan;
    }
    return found;
}

void execBookUpdate(LibraryData& data, const QVariant& bookId, bool lent)
{
    QSqlQuery q(data.database().connection());
    q.prepare(QStringLiteral("UPDATE %1 SET %2 = ? WHERE \"ID\" = ?")
                  .arg(name(data.books().table()), name(Field::Ausgeliehen)));
    q.addBindValue(data.database().engine().toStorage(ColumnType::Boolean, lent));
    q.addBindValue(bookId.toLongLong());
    if (!q.exec())
        throw DataError(
            tr("Das Buch konnte nicht als %1 markiert werden.").arg(lent ? tr("ausgeliehen") : tr("verfügbar")));
}

// Re-reads a record set; the cursor stays on its record when that is still shown.
void reread(RecordSet& rs)
{
    if (!rs.active())
        return;
    const QVariant id = rs.isEmpty() ? QVariant() : rs.value(Field::ID);
    if (rs.isEditing())
        rs.cancel();
    rs.requery();
    if (!id.isNull())
        rs.locate(Field::ID, {id});
}

QString sinceText(const OpenLoan& loan)
{
    return loan.since.isEmpty() ? QString() : tr(" (seit %1)").arg(loan.since);
}

} // namespace

QList<OpenLoan> openLoansOfBook(LibraryData& data, const QVariant& bookId, qint64 exceptLoan)
{
    return openLoans(data, Field::BuecherID, bookId, exceptLoan);
}

QList<OpenLoan> openLoansOfReader(LibraryData& data, const QVariant& readerId)
{
    return openLoans(data, Field::LeserID, readerId, 0);
}

QString borrowers(const QList<OpenLoan>& loans)
{
    QStringList parts;
    for (const OpenLoan& loan : loans)
        parts << (loan.reader.isEmpty() ? tr("an einen gelöschten Leser ausgeliehen")
                                        : tr("an %1 ausgeliehen").arg(loan.reader)) +
                     sinceText(loan);
    return parts.join(tr(" und "));
}

QString deletionRefusal(LibraryData& data, RecordSet& rs)
{
    if (!rs.active() || rs.isEmpty())
        return {};
    const QVariant id = rs.value(Field::ID);
    if (&rs == &data.books()) {
        const QList<OpenLoan> open = openLoansOfBook(data, id);
        if (!open.isEmpty())
            return tr("Das Buch ist %1. Bitte zuerst zurückbuchen.").arg(borrowers(open));
    } else if (&rs == &data.readers()) {
        const QList<OpenLoan> open = openLoansOfReader(data, id);
        QStringList books;
        for (const OpenLoan& loan : open)
            books << tr("„%1“").arg(loan.title) + sinceText(loan);
        if (open.size() == 1)
            return tr("Der Leser hat noch ein Buch ausgeliehen: %1. Bitte zuerst zurückbuchen.").arg(books.first());
        if (open.size() > 1)
            return tr("Der Leser hat noch %1 Bücher ausgeliehen: %2. Bitte zuerst zurückbuchen.")
                .arg(open.size())
                .arg(books.join(QStringLiteral(", ")));
    }
    return {};
}

bool deleteAfterAsking(LibraryData& data, RecordSet& rs, const std::function<bool()>& ask, WhenEmpty whenEmpty)
{
    const bool any = rs.active() && !rs.isEmpty();
    if (!any && whenEmpty == WhenEmpty::DoNothing)
        return false;
    if (const QString refusal = deletionRefusal(data, rs); !refusal.isEmpty())
        throw DataError(refusal);
    const QVariant id = any ? rs.value(Field::ID) : QVariant();
    if (!ask())
        return false;
    if (!id.isNull() && rs.value(Field::ID) != id && !rs.locate(Field::ID, {id}))
        return false;
    if (!any || rs.state() == DataSetState::Insert) {
        rs.deleteRecord(); // reports that there is nothing to delete, or drops the new record
        return true;
    }
    writeTogether(data, [&] {
        // Again inside the transaction: a loan may have been booked while the question was open.
        if (const QString refusal = deletionRefusal(data, rs); !refusal.isEmpty())
            throw DataError(refusal);
        const bool openLoan = &rs == &data.loans() && rs.isNull(Field::DatumBis);
        const QVariant bookId = openLoan ? rs.value(Field::BuecherID) : QVariant();
        rs.deleteRecord();
        if (openLoan && openLoansOfBook(data, bookId).isEmpty())
            setBookLent(data, bookId, false);
    });
    return true;
}

void changeReturnDate(LibraryData& data, const QString& text)
{
    RecordSet& loans = data.loans();
    if (!loans.active() || loans.isEmpty())
        return;
    if (loans.state() == DataSetState::Insert)
        return;
    if (loans.isEditing())
        loans.post(); // the other changes of this loan first, as leaving the row would
    const QVariant before = loans.value(Field::DatumBis);
    loans.edit();
    try {
        loans.setText(Field::DatumBis, text);
    } catch (...) {
        loans.cancel();
        throw;
    }
    const QVariant after = loans.value(Field::DatumBis);
    if (before.isNull() == after.isNull() && before == after) {
        loans.cancel();
        return;
    }
    try {
        writeTogether(data, [&] {
            const QVariant loanId = loans.value(Field::ID);
            const QVariant bookId = loans.value(Field::BuecherID);
            if (before.isNull() && !after.isNull()) {
                // Closed here as a return closes it.
                loans.setValue(Field::DatumBisSoll, QVariant());
                loans.post();
                if (openLoansOfBook(data, bookId).isEmpty())
                    setBookLent(data, bookId, false);
            } else if (!before.isNull() && after.isNull()) {
                const QList<OpenLoan> others = openLoansOfBook(data, bookId, loanId.toLongLong());
                if (!others.isEmpty())
                    throw DataError(tr("Die Ausleihe kann nicht wieder geöffnet werden: Das Buch ist inzwischen %1.")
                                        .arg(borrowers(others)));
                if (loans.isNull(Field::DatumBisSoll))
                    loans.setValue(Field::DatumBisSoll,
                                   LoanBooking::dueDate(loans.value(Field::DatumVon).toDateTime(), QDateTime()));
                loans.post();
                setBookLent(data, bookId, true);
            } else {
                loans.post();
            }
        });
    } catch (...) {
        if (loans.active() && loans.isEditing())
            loans.cancel();
        throw;
    }
}

void markBookAvailable(LibraryData& data)
{
    RecordSet& books = data.books();
    if (!books.active() || books.isEmpty())
        return;
    const QVariant bookId = books.value(Field::ID);
    writeTogether(data, [&] {
        const QList<OpenLoan> open = openLoansOfBook(data, bookId);
        if (!open.isEmpty())
            throw DataError(tr("Das Buch ist doch %1 und bleibt als ausgeliehen markiert.").arg(borrowers(open)));
        setBookLent(data, bookId, false);
    });
}

void writeTogether(LibraryData& data, const std::function<void()>& write)
{
    Database& db = data.database();
    bool committed = false;
    try {
        Transaction t(db);
        db.afterCommit([&committed] { committed = true; }); // runs first after the commit
        write();
        t.commit();
    } catch (...) {
        if (committed) {
            try {
                reread(data.loans());
                reread(data.books());
            } catch (...) {
                // The original error is the one to report.
            }
        }
        throw;
    }
}

void setBookLentInDatabase(LibraryData& data, const QVariant& bookId, bool lent)
{
    execBookUpdate(data, bookId, lent);
}

void setBookLent(LibraryData& data, const QVariant& bookId, bool lent)
{
    RecordSet& books = data.books();
    const int row = books.active() ? books.rowById(bookId.toLongLong()) : -1;
    if (row < 0 || books.valueAt(row, books.fieldIndex(Field::Ausgeliehen)).toBool() == lent ||
        books.state() == DataSetState::Insert) {
        // Memory already agrees (or does not hold the book): only the database may lag behind.
        execBookUpdate(data, bookId, lent);
        return;
    }
    const QVariant current = books.isEmpty() ? QVariant() : books.value(Field::ID);
    if (current == bookId) {
        books.edit();
        books.setValue(Field::Ausgeliehen, lent);
        books.post();
        return;
    }
    books.disableControls();
    const auto reattach = qScopeGuard([&] { books.enableControls(); });
    {
        AllRowsShown all(books);
        if (books.positionOfRow(row) < 0)
            all.show();
        books.locate(Field::ID, {bookId});
        books.edit();
        books.setValue(Field::Ausgeliehen, lent);
        books.post();
        all.restore();
    }
    if (!current.isNull())
        books.locate(Field::ID, {current});
}

} // namespace LoanRecords
