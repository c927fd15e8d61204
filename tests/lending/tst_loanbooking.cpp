// Lending without windows: search filters, booking a loan, booking a return and clearing old
// loans, on a real database, including the failures that must leave the database as it was.
#include "TestSupport.h"
#include "common/Clock.h"
#include "datastore/DataError.h"
#include "datastore/LibraryData.h"
#include "lending/LoanBooking.h"
#include "lending/LoanRecords.h"
#include "lending/LoanView.h"
#include "mainwindow/MainWindow.h"

#include <QSqlQuery>
#include <QTest>

#include <memory>

namespace {

const QDateTime Now(QDate(2026, 12, 11), QTime(10, 0));

QString stamp(const QDate& day, const char* time = "12:00:00")
{
    return day.toString("yyyy-MM-dd") + ' ' + time;
}

QStringList column(RecordSet& rs, const QString& field)
{
    QStringList values;
    for (int p = 0; p < rs.recordCount(); ++p)
        values << rs.textAt(rs.rowAt(p), rs.fieldIndex(field));
    return values;
}

} // namespace

class TestLoanBooking : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestEnvironment> env;
    std::unique_ptr<FixtureWriter> fx;
    std::unique_ptr<LibraryData> data;

    void open()
    {
        data = std::make_unique<LibraryData>();
        QVERIFY(data->openAtStart(env->dbDir()));
    }

    RecordSet& books() { return data->books(); }
    RecordSet& readers() { return data->readers(); }
    RecordSet& loans() { return data->loans(); }

    // Everything the lending writes, in one comparable text.
    QString snapshot()
    {
        QString s;
        QSqlQuery q(fx->db());
        q.exec("SELECT ID, BuecherID, LeserID, DatumVon, DatumBis, DatumBisSoll, Bemerkung FROM Ausleihe ORDER BY ID");
        while (q.next())
            for (int c = 0; c < 7; ++c)
                s += q.value(c).toString() + (c == 6 ? "\n" : "|");
        q.exec("SELECT ID, ausgeliehen FROM Buecher ORDER BY ID");
        while (q.next())
            s += q.value(0).toString() + '=' + q.value(1).toString() + ';';
        return s;
    }

    qint64 loan(qint64 book, qint64 reader, const QDate& from, const QVariant& until, const QVariant& due)
    {
        return fx->insert("Ausleihe", {{"BuecherID", book},
                                       {"LeserID", reader},
                                       {"DatumVon", stamp(from, "09:30:00")},
                                       {"DatumBis", until},
                                       {"DatumBisSoll", due}});
    }

    void lendableOnly() { LoanBooking::applyFilter(books(), LoanBooking::lendableBooks()); }

private slots:
    void init()
    {
        env = std::make_unique<TestEnvironment>();
        createLibraryDatabase(env->dbDir());
        fx = std::make_unique<FixtureWriter>(env->dbDir());
        Clock::setFixedNow(Now);
    }

    void cleanup()
    {
        data.reset();
        fx.reset();
        env.reset();
    }

    void searchNarrows_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("surnames");

        QTest::newRow("empty lifts the narrowing") << "Vorname"
                                                   << "" << QStringList{"Schmidt", "O'Brien", "Meier"};
        QTest::newRow("part of a first name, any case") << "Vorname"
                                                        << "AN" << QStringList{"Schmidt", "Meier"}; // Anna, Johann
        QTest::newRow("quote matched literally") << "Nachname"
                                                 << "o'b" << QStringList{"O'Brien"};
        QTest::newRow("lone quote") << "Nachname"
                                    << "'" << QStringList{"O'Brien"};
        QTest::newRow("number") << "Nummer"
                                << "2" << QStringList{"O'Brien"};
        QTest::newRow("number not a whole number") << "Nummer"
                                                   << "2a" << QStringList{};
        QTest::newRow("number with a quote") << "Nummer"
                                             << "2'" << QStringList{};
        QTest::newRow("number of nobody") << "Nummer"
                                          << "99" << QStringList{};
    }

    void searchNarrows()
    {
        QFETCH(QString, field);
        QFETCH(QString, text);
        QFETCH(QStringList, surnames);
        fx->insert("Leser", {{"Vorname", "Anna"}, {"Nachname", "Schmidt"}});
        fx->insert("Leser", {{"Vorname", "Seán"}, {"Nachname", "O'Brien"}});
        fx->insert("Leser", {{"Vorname", "Johann"}, {"Nachname", "Meier"}});
        open();
        LoanBooking::applyFilter(readers(), LoanBooking::searchCondition(field, text));
        QCOMPARE(readers().filtered(), !text.isEmpty());
        QCOMPARE(column(readers(), "Nachname"), surnames);
    }

    void bookSearchKeepsOutLentBooks()
    {
        fx->insert("Buecher", {{"Verfasser", "Kästner"}, {"Titel", "Emil"}, {"ausgeliehen", 0}});
        fx->insert("Buecher", {{"Verfasser", "Kästner"}, {"Titel", "Fabian"}, {"ausgeliehen", 1}});
        fx->insert("Buecher", {{"Verfasser", "Zweig"}, {"Titel", "Schachnovelle"}, {"ausgeliehen", 0}});
        open();
        const auto search = [&](const QString& base, const QString& field, const QString& text) {
            LoanBooking::applyFilter(books(), LoanBooking::narrowed(base, LoanBooking::searchCondition(field, text)));
            return column(books(), "Titel");
        };
        QCOMPARE(search(LoanBooking::lendableBooks(), "Verfasser", "kästner"), QStringList{"Emil"});
        QCOMPARE(search(LoanBooking::lendableBooks(), "Verfasser", ""), (QStringList{"Emil", "Schachnovelle"}));
        QCOMPARE(search(LoanBooking::lendableBooks(), "Nummer", "2"), QStringList{});
        QCOMPARE(search(LoanBooking::lentBooks(), "Nummer", "2"), QStringList{"Fabian"});
        QCOMPARE(search(LoanBooking::lentBooks(), "Titel", "e"), QStringList{});
    }

    void dueDate_data()
    {
        QTest::addColumn<QDateTime>("loanDate");
        QTest::addColumn<QDateTime>("dueBefore");
        QTest::addColumn<QDateTime>("due");
        QTest::newRow("1 March") << QDateTime(QDate(2026, 3, 1), QTime(10, 15))
                                 << QDateTime(QDate(2007, 12, 9), QTime())
                                 << QDateTime(QDate(2026, 3, 31), QTime(0, 0));
        QTest::newRow("keeps the due time")
            << QDateTime(QDate(2026, 3, 1), QTime(23, 59)) << QDateTime(QDate(2026, 5, 5), QTime(8, 30))
            << QDateTime(QDate(2026, 3, 31), QTime(8, 30));
        QTest::newRow("over the year") << QDateTime(QDate(2026, 12, 15), QTime(9, 0))
                                       << QDateTime(QDate(2026, 1, 1), QTime(17, 0))
                                       << QDateTime(QDate(2027, 1, 14), QTime(17, 0));
        QTest::newRow("leap year") << QDateTime(QDate(2028, 2, 1), QTime(9, 0)) << QDateTime()
                                   << QDateTime(QDate(2028, 3, 2), QTime(0, 0));
    }

    void dueDate()
    {
        QFETCH(QDateTime, loanDate);
        QFETCH(QDateTime, dueBefore);
        QFETCH(QDateTime, due);
        QCOMPARE(LoanBooking::dueDate(loanDate, dueBefore), due);
    }

    void bookingRefused_data()
    {
        QTest::addColumn<bool>("withReader");
        QTest::addColumn<QString>("readerSearch");
        QTest::addColumn<bool>("bookLendable");
        QTest::addColumn<QString>("bookSearch");
        QTest::addColumn<int>("result");
        const int noReader = int(LoanBooking::BookingResult::NoReader);
        const int noBook = int(LoanBooking::BookingResult::NoBook);
        QTest::newRow("no readers at all") << false << "" << true << "" << noReader;
        QTest::newRow("no reader matches") << true << "Zorro" << true << "" << noReader;
        QTest::newRow("every book lent") << true << "" << false << "" << noBook;
        QTest::newRow("no book matches") << true << "" << true << "Zorro" << noBook;
    }

    void bookingRefused()
    {
        QFETCH(bool, withReader);
        QFETCH(QString, readerSearch);
        QFETCH(bool, bookLendable);
        QFETCH(QString, bookSearch);
        QFETCH(int, result);
        if (withReader)
            fx->insert("Leser", {{"Vorname", "Anna"}, {"Nachname", "Schmidt"}});
        fx->insert("Buecher", {{"Titel", "Emil"}, {"ausgeliehen", bookLendable ? 0 : 1}});
        open();
        LoanBooking::applyFilter(readers(), LoanBooking::searchCondition("Nachname", readerSearch));
        LoanBooking::applyFilter(books(), LoanBooking::narrowed(LoanBooking::lendableBooks(),
                                                                LoanBooking::searchCondition("Titel", bookSearch)));
        const QString before = snapshot();
        QCOMPARE(int(LoanBooking::bookLoan(*data, Now, Now.addDays(30))), result);
        QCOMPARE(snapshot(), before);
        QCOMPARE(loans().recordCount(), 0);
    }

    void bookingLendsCurrentBookToCurrentReader()
    {
        fx->insert("Leser", {{"Vorname", "Anna"}, {"Nachname", "Schmidt"}});
        fx->insert("Leser", {{"Vorname", "Jörg"}, {"Nachname", "Weiß"}});
        fx->insert("Buecher", {{"Titel", "Emil"}, {"ausgeliehen", 0}});
        fx->insert("Buecher", {{"Titel", "Faust"}, {"ausgeliehen", 0}});
        open();
        lendableOnly();
        readers().last();
        books().last();
        // The main window's overdue tab may be current: a new loan is not overdue.
        LoanBooking::applyFilter(loans(), LoanView::overdueFilter(Clock::today()));
        const QDateTime due(QDate(2027, 1, 10), QTime(0, 0));
        QCOMPARE(LoanBooking::bookLoan(*data, Now, due), LoanBooking::BookingResult::Booked);
        QCOMPARE(loans().recordCount(), 0);
        LoanBooking::applyFilter(loans(), QString());

        QCOMPARE(fx->scalar("SELECT count(*) FROM Ausleihe").toInt(), 1);
        QCOMPARE(fx->scalar("SELECT BuecherID || '/' || LeserID || '/' || DatumVon || '/' || DatumBisSoll || '/' || "
                            "coalesce(DatumBis, '-') || '/' || coalesce(Bemerkung, '-') FROM Ausleihe")
                     .toString(),
                 QStringLiteral("2/2/2026-12-11 10:00:00/2027-01-10 00:00:00/-/-"));
        QCOMPARE(fx->scalar("SELECT ausgeliehen FROM Buecher WHERE ID = 2").toInt(), 1);
        QCOMPARE(fx->scalar("SELECT ausgeliehen FROM Buecher WHERE ID = 1").toInt(), 0);
        // The lent book has left the lendable list; the loan shows with its looked-up names.
        QCOMPARE(column(books(), "Titel"), QStringList{"Emil"});
        QCOMPARE(column(loans(), "BuchTitel"), QStringList{"Faust"});
        QCOMPARE(column(loans(), "LeserNachname"), QStringList{"Weiß"});
        QCOMPARE(column(loans(), "DatumBisSoll"), QStringList{"10.01.2027"});
        QCOMPARE(books().state(), DataSetState::Browse);
        QCOMPARE(loans().state(), DataSetState::Browse);
    }

    void bookingFailureLeavesNothing_data()
    {
        QTest::addColumn<QString>("sabotage");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QStringList>("lendable");
        QTest::newRow("second write fails")
            << "CREATE TRIGGER t BEFORE UPDATE ON Buecher BEGIN SELECT RAISE(ABORT, 'kaputt'); END"
            << "kaputt" << QStringList{"Emil", "Faust"};
        // Without the loan and the mark in one transaction the book would be lent twice.
        QTest::newRow("book lent meanwhile elsewhere") << "UPDATE Buecher SET ausgeliehen = 1 WHERE ID = 2"
                                                       << "anderen Arbeitsplatz" << QStringList{"Emil"};
    }

    void bookingFailureLeavesNothing()
    {
        QFETCH(QString, sabotage);
        QFETCH(QString, message);
        QFETCH(QStringList, lendable);
        fx->insert("Leser", {{"Vorname", "Anna"}, {"Nachname", "Schmidt"}});
        fx->insert("Buecher", {{"Titel", "Emil"}, {"ausgeliehen", 0}});
        fx->insert("Buecher", {{"Titel", "Faust"}, {"ausgeliehen", 0}});
        loan(1, 1, QDate(2026, 1, 1), stamp(QDate(2026, 1, 20)), QVariant());
        open();
        lendableOnly();
        books().last();
        fx->exec(sabotage);
        const QString before = snapshot();
        try {
            LoanBooking::bookLoan(*data, Now, Now.addDays(30));
            QFAIL("the booking did not fail");
        } catch (const DataError& e) {
            // the engine's own text (the trigger's) goes into the details
            QVERIFY2(e.message().contains(message) || e.details().contains(message), qPrintable(e.message()));
        }
        QCOMPARE(snapshot(), before);
        // Memory shows the database again: no half-booked loan, nothing in edit state, and the
        // cursor on the book the user chose while it can still be lent, so that pressing
        // "Buchen" again means that book.
        QCOMPARE(loans().recordCount(), 1);
        QCOMPARE(loans().state(), DataSetState::Browse);
        QCOMPARE(books().state(), DataSetState::Browse);
        QCOMPARE(column(books(), "Titel"), lendable);
        QCOMPARE(books().text("Titel"), lendable.last());
    }

    // The database decides whether a book can be lent, not memory: an open loan of a book that
    // is not marked lent (left by an older version), or one booked at another workstation since
    // this one read its lists, refuses the booking with who has the book, and the lists catch up.
    void bookingRefusedWhenTheDatabaseHasAnOpenLoan_data()
    {
        QTest::addColumn<bool>("otherWorkstation");
        QTest::newRow("open loan, book not marked lent") << false;
        QTest::newRow("lent meanwhile at another workstation") << true;
    }

    void bookingRefusedWhenTheDatabaseHasAnOpenLoan()
    {
        QFETCH(bool, otherWorkstation);
        fx->insert("Leser", {{"Vorname", "Anna"}, {"Nachname", "Öztürk"}});
        fx->insert("Leser", {{"Vorname", "Jörg"}, {"Nachname", "Weiß"}});
        fx->insert("Buecher", {{"Titel", "Emil"}, {"ausgeliehen", 0}});
        fx->insert("Buecher", {{"Titel", "Faust"}, {"ausgeliehen", 0}});
        if (!otherWorkstation)
            loan(2, 1, QDate(2026, 12, 1), QVariant(), stamp(QDate(2026, 12, 31)));
        open();
        if (otherWorkstation) {
            LibraryData other;
            QVERIFY(other.openAtStart(env->dbDir()));
            LoanBooking::applyFilter(other.books(), LoanBooking::lendableBooks());
            other.books().last();
            QVERIFY(other.readers().locate("Nachname", {"Öztürk"}));
            QCOMPARE(LoanBooking::bookLoan(other, QDateTime(QDate(2026, 12, 1), QTime(9, 30)), Now.addDays(30)),
                     LoanBooking::BookingResult::Booked);
        }
        lendableOnly();
        books().last();
        readers().last();
        QCOMPARE(books().text("Titel"), QStringLiteral("Faust"));
        try {
            LoanBooking::bookLoan(*data, Now, Now.addDays(30));
            QFAIL("a book with an open loan was lent again");
        } catch (const DataError& e) {
            QCOMPARE(e.message(), QStringLiteral("Das Buch ist bereits an Anna Öztürk ausgeliehen (seit 01.12.2026) "
                                                 "und wurde nicht noch einmal verliehen."));
        }
        QCOMPARE(fx->scalar("SELECT group_concat(LeserID) FROM Ausleihe WHERE BuecherID = 2").toString(),
                 QStringLiteral("1"));
        QCOMPARE(fx->scalar("SELECT ausgeliehen FROM Buecher WHERE ID = 2").toInt(), 1);
        QCOMPARE(column(books(), "Titel"), QStringList{"Emil"});
        QCOMPARE(loans().recordCount(), 1);
        QCOMPARE(books().state(), DataSetState::Browse);
        QCOMPARE(loans().state(), DataSetState::Browse);
    }

    // A reaction to the committed booking fails (the stored lists cannot be saved): memory is
    // re-read, so the lent book is not offered again and a second "Buchen" cannot lend it twice.
    void failedReactionAfterBookingRereads()
    {
        fx->insert("Leser", {{"Vorname", "Anna"}, {"Nachname", "Schmidt"}});
        fx->insert("Buecher", {{"Titel", "Emil"}, {"ausgeliehen", 0}});
        fx->insert("Buecher", {{"Titel", "Faust"}, {"ausgeliehen", 0}});
        open();
        lendableOnly();
        books().last();
        const auto failing = connect(&books(), &RecordSet::afterPost, this,
                                     [] { throw DataError(QStringLiteral("Listen nicht gespeichert")); });
        QVERIFY_THROWS_EXCEPTION(DataError, LoanBooking::bookLoan(*data, Now, Now.addDays(30)));
        disconnect(failing);
        QCOMPARE(fx->scalar("SELECT count(*) FROM Ausleihe").toInt(), 1); // the booking itself holds
        QCOMPARE(column(books(), "Titel"), QStringList{"Emil"});
        QCOMPARE(loans().recordCount(), 1);
        // "Buchen" again acts on what the list shows now, never on Faust a second time.
        books().first();
        QCOMPARE(LoanBooking::bookLoan(*data, Now, Now.addDays(30)), LoanBooking::BookingResult::Booked);
        QCOMPARE(fx->scalar("SELECT group_concat(BuecherID) FROM (SELECT BuecherID FROM Ausleihe "
                            "WHERE DatumBis IS NULL ORDER BY ID)")
                     .toString(),
                 QStringLiteral("2,1"));
    }

    // Deleting is refused while loans are open, naming them; otherwise an open loan deleted
    // frees its book in the same transaction.
    void deletingKeepsLoansAndBooksAgreeing()
    {
        fx->insert("Leser", {{"Vorname", "Anna"}, {"Nachname", "Öztürk"}});
        fx->insert("Leser", {{"Vorname", "Jörg"}, {"Nachname", "Weiß"}});
        fx->insert("Buecher", {{"Titel", "Emil"}, {"ausgeliehen", 1}});
        fx->insert("Buecher", {{"Titel", "Faust"}, {"ausgeliehen", 1}});
        fx->insert("Buecher", {{"Titel", "Momo"}, {"ausgeliehen", 0}});
        loan(1, 1, QDate(2026, 12, 1), QVariant(), stamp(QDate(2026, 12, 31)));
        loan(2, 1, QDate(2026, 12, 3), QVariant(), stamp(QDate(2027, 1, 2)));
        loan(3, 2, QDate(2026, 1, 3), stamp(QDate(2026, 2, 1)), QVariant()); // returned
        open();
        int asked = 0;
        const auto yes = [&] { return ++asked, true; };
        const auto refused = [&](RecordSet& rs, const QString& message) {
            try {
                LoanRecords::deleteAfterAsking(*data, rs, yes);
                QFAIL("deleting was not refused");
            } catch (const DataError& e) {
                QCOMPARE(e.message(), message);
            }
        };
        refused(books(), "Das Buch ist an Anna Öztürk ausgeliehen (seit 01.12.2026). Bitte zuerst zurückbuchen.");
        refused(readers(), "Der Leser hat noch 2 Bücher ausgeliehen: „Emil“ (seit 01.12.2026), „Faust“ (seit "
                           "03.12.2026). Bitte zuerst zurückbuchen.");
        QCOMPARE(asked, 0); // refused before the question
        QCOMPARE(fx->scalar("SELECT (SELECT count(*) FROM Buecher) || '/' || (SELECT count(*) FROM Leser)").toString(),
                 QStringLiteral("3/2"));

        // The open loan of Emil deleted: Emil can be lent again.
        QVERIFY(loans().locate("BuecherID", {1}));
        QVERIFY(LoanRecords::deleteAfterAsking(*data, loans(), yes));
        QCOMPARE(fx->scalar("SELECT group_concat(ausgeliehen) FROM Buecher").toString(), QStringLiteral("0,1,0"));
        QCOMPARE(books().value("ausgeliehen").toBool(), false);
        QCOMPARE(books().text("Titel"), QStringLiteral("Emil")); // the cursor stayed
        // A returned loan deleted leaves the marks alone; a reader with returned loans only goes.
        QVERIFY(loans().locate("BuecherID", {3}));
        QVERIFY(LoanRecords::deleteAfterAsking(*data, loans(), yes));
        QVERIFY(readers().locate("Nachname", {"Weiß"}));
        QVERIFY(LoanRecords::deleteAfterAsking(*data, readers(), yes));
        QCOMPARE(fx->scalar("SELECT group_concat(ausgeliehen) FROM Buecher").toString(), QStringLiteral("0,1,0"));
        QCOMPARE(fx->scalar("SELECT group_concat(Nachname) FROM Leser").toString(), QStringLiteral("Öztürk"));
    }

    // A return date typed in the history closes the loan as a return does; emptying it reopens
    // the loan only while the book has no other open loan.
    void returnDateInHistory_data()
    {
        QTest::addColumn<QVariant>("returned");
        QTest::addColumn<bool>("otherOpenLoan");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("error");
        QTest::addColumn<QString>("loanAfter"); // DatumBis/DatumBisSoll
        QTest::addColumn<int>("lentAfter");
        const QVariant open;
        const QVariant returned = stamp(QDate(2026, 11, 20));
        QTest::newRow("entered: closed") << open << false << "15.12.2026"
                                         << ""
                                         << "2026-12-15 00:00:00/-" << 0;
        QTest::newRow("emptied: reopened") << returned << false << ""
                                           << ""
                                           << "-/2026-12-01 00:00:00" << 1;
        QTest::newRow("emptied while lent again: refused") << returned << true << ""
                                                           << "inzwischen an Anna Öztürk ausgeliehen (seit 05.12.2026)"
                                                           << "2026-11-20 12:00:00/-" << 1;
        QTest::newRow("changed: stays returned") << returned << false << "21.11.2026"
                                                 << ""
                                                 << "2026-11-21 12:00:00/-" << 0;
        QTest::newRow("no date: refused") << open << false << "31.02.2026"
                                          << "kein gültiges Datum"
                                          << "-/2026-12-31 12:00:00" << 1;
    }

    void returnDateInHistory()
    {
        QFETCH(QVariant, returned);
        QFETCH(bool, otherOpenLoan);
        QFETCH(QString, typed);
        QFETCH(QString, error);
        QFETCH(QString, loanAfter);
        QFETCH(int, lentAfter);
        fx->insert("Leser", {{"Vorname", "Anna"}, {"Nachname", "Öztürk"}});
        fx->insert("Buecher", {{"Titel", "Emil"}, {"ausgeliehen", returned.isNull() || otherOpenLoan ? 1 : 0}});
        const qint64 id = loan(1, 1, QDate(2026, 11, 1), returned,
                               returned.isNull() ? QVariant(stamp(QDate(2026, 12, 31))) : QVariant());
        if (otherOpenLoan)
            loan(1, 1, QDate(2026, 12, 5), QVariant(), stamp(QDate(2027, 1, 4)));
        open();
        QVERIFY(loans().locate("ID", {id}));
        try {
            LoanRecords::changeReturnDate(*data, typed);
            QVERIFY2(error.isEmpty(), "not refused");
        } catch (const DataError& e) {
            QVERIFY2(!error.isEmpty() && e.message().contains(error), qPrintable(e.message()));
        }
        QCOMPARE(fx->scalar(QStringLiteral("SELECT coalesce(DatumBis, '-') || '/' || coalesce(DatumBisSoll, '-') "
                                           "FROM Ausleihe WHERE ID = %1")
                                .arg(id))
                     .toString(),
                 loanAfter);
        QCOMPARE(fx->scalar("SELECT ausgeliehen FROM Buecher").toInt(), lentAfter);
        QCOMPARE(books().value("ausgeliehen").toBool(), bool(lentAfter));
        QCOMPARE(loans().state(), DataSetState::Browse);
    }

    void markingAStrandedBookAvailable()
    {
        fx->insert("Leser", {{"Vorname", "Anna"}, {"Nachname", "Öztürk"}});
        fx->insert("Buecher", {{"Titel", "Verwaist"}, {"ausgeliehen", 1}});
        open();
        LoanBooking::applyFilter(books(), LoanBooking::lentBooks());
        QCOMPARE(LoanBooking::returnBook(*data, Now), LoanBooking::ReturnResult::NoOpenLoan);
        // Another workstation lends it meanwhile: the mark stays.
        const qint64 meanwhile = loan(1, 1, QDate(2026, 12, 5), QVariant(), stamp(QDate(2027, 1, 4)));
        QVERIFY_THROWS_EXCEPTION(DataError, LoanRecords::markBookAvailable(*data));
        QCOMPARE(fx->scalar("SELECT ausgeliehen FROM Buecher").toInt(), 1);
        fx->exec(QStringLiteral("DELETE FROM Ausleihe WHERE ID = %1").arg(meanwhile));
        LoanRecords::markBookAvailable(*data);
        QCOMPARE(fx->scalar("SELECT ausgeliehen FROM Buecher").toInt(), 0);
        QCOMPARE(books().recordCount(), 0); // no longer among the lent books
    }

    void returnClosesOnlyTheOpenLoan()
    {
        fx->insert("Leser", {{"Vorname", "Anna"}});
        fx->insert("Buecher", {{"Titel", "Emil"}, {"ausgeliehen", 1}});
        const qint64 first = loan(1, 1, QDate(2026, 1, 1), stamp(QDate(2026, 1, 20)), QVariant());
        const qint64 second = loan(1, 1, QDate(2026, 11, 2), QVariant(), stamp(QDate(2026, 12, 2), "09:30:00"));
        open();
        LoanBooking::applyFilter(books(), LoanBooking::lentBooks());
        // A return date before the loan date is taken as entered.
        const QDateTime returned(QDate(2026, 10, 1), QTime(16, 45));
        QCOMPARE(LoanBooking::returnBook(*data, returned), LoanBooking::ReturnResult::Returned);
        const auto row = [&](qint64 id) {
            return fx
                ->scalar(QStringLiteral("SELECT DatumVon || '/' || coalesce(DatumBis, '-') || '/' || "
                                        "coalesce(DatumBisSoll, '-') FROM Ausleihe WHERE ID = %1")
                             .arg(id))
                .toString();
        };
        QCOMPARE(row(first), QStringLiteral("2026-01-01 09:30:00/2026-01-20 12:00:00/-"));
        QCOMPARE(row(second), QStringLiteral("2026-11-02 09:30:00/2026-10-01 16:45:00/-"));
        QCOMPARE(fx->scalar("SELECT ausgeliehen FROM Buecher").toInt(), 0);
        QCOMPARE(books().recordCount(), 0); // no longer among the lent books
    }

    void returnWithOverdueViewInForce()
    {
        fx->insert("Buecher", {{"Titel", "Überfällig"}, {"ausgeliehen", 1}});
        fx->insert("Buecher", {{"Titel", "Noch Zeit"}, {"ausgeliehen", 1}});
        fx->insert("Buecher", {{"Titel", "Auch überfällig"}, {"ausgeliehen", 1}});
        loan(1, 1, QDate(2026, 10, 1), QVariant(), stamp(QDate(2026, 10, 31)));
        loan(2, 1, QDate(2026, 12, 1), QVariant(), stamp(QDate(2026, 12, 31)));
        loan(3, 1, QDate(2026, 10, 2), QVariant(), stamp(QDate(2026, 11, 1)));
        open();
        const QString overdue = LoanView::overdueFilter(Clock::today());
        LoanBooking::applyFilter(loans(), overdue);
        QCOMPARE(column(loans(), "BuchTitel"), (QStringList{"Überfällig", "Auch überfällig"}));
        LoanBooking::applyFilter(books(), LoanBooking::lentBooks());

        // The loan is not in the overdue view, yet it is the one returned.
        QVERIFY(books().locate("Titel", {"Noch Zeit"}));
        QCOMPARE(LoanBooking::returnBook(*data, Now), LoanBooking::ReturnResult::Returned);
        QCOMPARE(fx->scalar("SELECT DatumBis FROM Ausleihe WHERE BuecherID = 2").toString(),
                 QStringLiteral("2026-12-11 10:00:00"));
        QVERIFY(loans().filtered());
        QCOMPARE(loans().filter(), overdue);
        QCOMPARE(column(loans(), "BuchTitel"), (QStringList{"Überfällig", "Auch überfällig"}));

        // An overdue loan returned leaves the overdue view.
        QVERIFY(books().locate("Titel", {"Überfällig"}));
        QCOMPARE(LoanBooking::returnBook(*data, Now), LoanBooking::ReturnResult::Returned);
        QCOMPARE(column(loans(), "BuchTitel"), QStringList{"Auch überfällig"});
        QCOMPARE(fx->scalar("SELECT count(*) FROM Ausleihe WHERE DatumBis IS NULL").toInt(), 1);
    }

    void returnOfBookWithoutOpenLoanChangesNothing()
    {
        fx->insert("Buecher", {{"Titel", "Verwaist"}, {"ausgeliehen", 1}});
        loan(1, 1, QDate(2026, 1, 1), stamp(QDate(2026, 1, 20)), QVariant()); // returned long ago
        open();
        LoanBooking::applyFilter(books(), LoanBooking::lentBooks());
        const QString before = snapshot();
        QCOMPARE(LoanBooking::returnBook(*data, Now), LoanBooking::ReturnResult::NoOpenLoan);
        QCOMPARE(snapshot(), before);
        QCOMPARE(column(books(), "Titel"), QStringList{"Verwaist"});

        // and with no lent book at all
        LoanBooking::applyFilter(books(), LoanBooking::narrowed(LoanBooking::lentBooks(), "Titel = 'x'"));
        QCOMPARE(LoanBooking::returnBook(*data, Now), LoanBooking::ReturnResult::NoBook);
        QCOMPARE(snapshot(), before);
    }

    void returnFailureLeavesNothing()
    {
        fx->insert("Buecher", {{"Titel", "Emil"}, {"ausgeliehen", 1}});
        loan(1, 1, QDate(2026, 10, 1), QVariant(), stamp(QDate(2026, 10, 31)));
        open();
        LoanBooking::applyFilter(loans(), LoanView::overdueFilter(Clock::today()));
        LoanBooking::applyFilter(books(), LoanBooking::lentBooks());
        fx->exec("CREATE TRIGGER t BEFORE UPDATE ON Buecher BEGIN SELECT RAISE(ABORT, 'kaputt'); END");
        const QString before = snapshot();
        QVERIFY_THROWS_EXCEPTION(DataError, LoanBooking::returnBook(*data, Now));
        QCOMPARE(snapshot(), before);
        QCOMPARE(loans().state(), DataSetState::Browse);
        QVERIFY(loans().filtered());
        QCOMPARE(column(loans(), "DatumBisSoll"), QStringList{"31.10.2026"});
    }

    void clearingByWholeDays_data()
    {
        QTest::addColumn<QVariant>("returned");
        QTest::addColumn<QDate>("lastDay");
        QTest::addColumn<bool>("deleted");
        const QDate day(2026, 6, 15);
        QTest::newRow("returned on the cut-off day") << QVariant(stamp(day, "18:00:00")) << day << true;
        QTest::newRow("cut-off one day earlier") << QVariant(stamp(day, "00:00:00")) << day.addDays(-1) << false;
        QTest::newRow("returned before") << QVariant(stamp(day.addDays(-300))) << day << true;
        QTest::newRow("today, late") << QVariant(stamp(Now.date(), "23:59:59")) << Now.date() << true;
        QTest::newRow("open and long overdue") << QVariant() << Now.date() << false;
    }

    void clearingByWholeDays()
    {
        QFETCH(QVariant, returned);
        QFETCH(QDate, lastDay);
        QFETCH(bool, deleted);
        loan(1, 1, QDate(2020, 1, 1), returned, returned.isNull() ? QVariant(stamp(QDate(2020, 1, 31))) : QVariant());
        open();
        QCOMPARE(LoanBooking::countClearable(*data, lastDay), deleted ? 1 : 0);
        QCOMPARE(LoanBooking::clearLoanList(*data, lastDay), deleted ? 1 : 0);
        QCOMPARE(fx->scalar("SELECT count(*) FROM Ausleihe").toInt(), deleted ? 0 : 1);
        QCOMPARE(loans().recordCount(), deleted ? 0 : 1);
    }

    void clearingLooksAtAllLoans()
    {
        // The overdue view shows none of the returned loans; they are cleared all the same.
        for (int i = 0; i < 3; ++i)
            loan(1, 1, QDate(2026, 1, 1), stamp(QDate(2026, 2, 1 + i)), QVariant());
        loan(2, 1, QDate(2026, 1, 1), QVariant(), stamp(QDate(2026, 1, 31)));
        loan(3, 1, QDate(2026, 12, 1), QVariant(), stamp(QDate(2026, 12, 31)));
        open();
        LoanBooking::applyFilter(loans(), LoanView::overdueFilter(Clock::today()));
        QCOMPARE(LoanBooking::clearLoanList(*data, QDate(2026, 3, 1)), 3);
        QCOMPARE(fx->scalar("SELECT group_concat(BuecherID) FROM Ausleihe").toString(), QStringLiteral("2,3"));
        QVERIFY(loans().filtered());
        QCOMPARE(column(loans(), "BuecherID"), QStringList{"2"});
    }

    void clearingManyLoansInOneGo()
    {
        const int n = 600;
        QVERIFY(fx->db().transaction());
        for (int i = 0; i < n; ++i)
            loan(i + 1, 1, QDate(2025, 1, 1),
                 i % 3 == 0 ? QVariant() : QVariant(stamp(QDate(2025, 2, 1).addDays(i % 50))), QVariant());
        QVERIFY(fx->db().commit());
        open();
        QCOMPARE(LoanBooking::clearLoanList(*data, QDate(2026, 1, 1)), n - n / 3);
        QCOMPARE(fx->scalar("SELECT count(*) FROM Ausleihe").toInt(), n / 3);
        QCOMPARE(loans().recordCount(), n / 3);
        QCOMPARE(fx->scalar("SELECT count(*) FROM Ausleihe WHERE DatumBis IS NOT NULL").toInt(), 0);
    }

    void clearingFailureDeletesNothing()
    {
        for (int i = 0; i < 4; ++i)
            loan(1, 1, QDate(2026, 1, 1), stamp(QDate(2026, 2, 1 + i)), QVariant());
        open();
        fx->exec("CREATE TRIGGER t BEFORE DELETE ON Ausleihe WHEN old.ID = 3 BEGIN SELECT RAISE(ABORT, 'kaputt'); END");
        QVERIFY_THROWS_EXCEPTION(DataError, LoanBooking::clearLoanList(*data, QDate(2026, 3, 1)));
        QCOMPARE(fx->scalar("SELECT count(*) FROM Ausleihe").toInt(), 4);
        QCOMPARE(loans().recordCount(), 4);
        // an empty list is no error
        fx->exec("DROP TRIGGER t");
        fx->exec("DELETE FROM Ausleihe");
        loans().requery();
        QCOMPARE(LoanBooking::clearLoanList(*data, QDate(2026, 3, 1)), 0);
    }
};

QTEST_GUILESS_MAIN(TestLoanBooking)
#include "tst_loanbooking.moc"
