// The lending dialogs as users meet them: booking a loan, a return (also with the overdue tab
// current), the loan history with in-place editing, and clearing the loan list.
#include "GuiFixture.h"
#include "GuiSupport.h"
#include "TestSupport.h"
#include "common/Clock.h"
#include "common/gui/DialogLook.h"
#include "common/gui/GradientPanel.h"
#include "datastore/LibraryData.h"
#include "datastore/RecordSetModel.h"
#include "datastore/Settings.h"
#include "lending/ClearLoansDialog.h"
#include "lending/LendDialog.h"
#include "lending/LoanHistoryDialog.h"
#include "lending/LoanView.h"
#include "lending/ReturnDialog.h"
#include "mainwindow/AppSetup.h"
#include "mainwindow/MainWindow.h"
#include "mainwindow/WindowSet.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDateEdit>
#include <QDateTimeEdit>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QScopeGuard>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include <memory>

namespace {

const QDateTime Now(QDate(2026, 12, 11), QTime(10, 0));

QString stamp(const QDate& day, const char* time = "09:30:00")
{
    return day.toString("yyyy-MM-dd") + ' ' + time;
}

QStringList columnTexts(QTableView* grid, int column)
{
    QStringList texts;
    for (int r = 0; r < grid->model()->rowCount(); ++r)
        texts << grid->model()->index(r, column).data().toString();
    return texts;
}

QStringList titles(QTableView* grid)
{
    QStringList t;
    for (int c = 0; c < grid->model()->columnCount(); ++c)
        t << grid->model()->headerData(c, Qt::Horizontal).toString();
    return t;
}

void clickRow(QTableView* grid, int row, int column = 1)
{
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                      grid->visualRect(grid->model()->index(row, column)).center());
}

void clickTitle(QTableView* grid, int column)
{
    QHeaderView* header = grid->horizontalHeader();
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(header->sectionViewportPosition(column) + 5, 5));
}

// Enters a search edit as the user does (a click) and types.
void typeInto(QWidget* dialog, const char* name, const QString& text)
{
    QLineEdit* edit = child<QLineEdit>(dialog, name);
    // Focus (which empties the group's other edits) only arrives in the active window; under
    // load the platform may activate the main window after the dialog, so make it active here.
    QApplication::setActiveWindow(dialog);
    QVERIFY(QTest::qWaitForWindowActive(dialog));
    QTest::mouseClick(edit, Qt::LeftButton);
    QTest::keyClicks(edit, text);
}

} // namespace

class TestLendingDialogs : public QObject
{
    Q_OBJECT

    std::unique_ptr<GuiFixture> fixture;
    std::unique_ptr<FixtureWriter> fx;

    MainWindow* start()
    {
        Settings::WriteSettingString("DBPfad", fixture->env.dbDir());
        fixture->windows = std::make_unique<WindowSet>();
        fixture->windows->mainWindow->show();
        return fixture->windows->mainWindow;
    }

    // Start-up finished and the main window active (so that it does not take the focus later).
    bool started()
    {
        MainWindow* m = fixture->windows->mainWindow;
        return m->refreshTimer()->isActive() && QTest::qWaitFor([m] { return QApplication::activeWindow() == m; });
    }

    // Shows a dialog modal without blocking, so that the test can act in it.
    bool showDialog(QDialog* dialog)
    {
        dialog->open();
        return QTest::qWaitFor([dialog] { return QApplication::activeWindow() == dialog; });
    }

    LibraryData& data() { return fixture->windows->mainWindow->data(); }

    void readersAndBooks()
    {
        fx->insert("Leser", {{"Vorname", "Anna"}, {"Nachname", "Schmidt"}});
        fx->insert("Leser", {{"Vorname", "Seán"}, {"Nachname", "O'Brien"}});
        fx->insert("Leser", {{"Vorname", "Johann"}, {"Nachname", "Meier"}});
        fx->insert("Buecher", {{"Verfasser", "Kästner"}, {"Titel", "Emil"}, {"ausgeliehen", 0}});
        fx->insert("Buecher", {{"Verfasser", "Fontane"}, {"Titel", "Effi Briest"}, {"ausgeliehen", 1}});
        fx->insert("Buecher", {{"Verfasser", "Zweig"}, {"Titel", "Schachnovelle"}, {"ausgeliehen", 0}});
    }

    qint64 loan(qint64 book, qint64 reader, const QDate& from, const QVariant& until, const QVariant& due)
    {
        return fx->insert("Ausleihe", {{"BuecherID", book},
                                       {"LeserID", reader},
                                       {"DatumVon", stamp(from)},
                                       {"DatumBis", until},
                                       {"DatumBisSoll", due}});
    }

private slots:
    void init()
    {
        fixture = std::make_unique<GuiFixture>();
        createLibraryDatabase(fixture->env.dbDir());
        fx = std::make_unique<FixtureWriter>(fixture->env.dbDir());
        Clock::setFixedNow(Now);
    }

    void cleanup()
    {
        const QString problems = fixture->finish();
        fx.reset();
        fixture.reset();
        QVERIFY2(problems.isEmpty(), qPrintable(problems));
    }

    void bookingThroughTheMenu()
    {
        readersAndBooks();
        MainWindow* m = start();
        QTRY_VERIFY(started());
        auto ran = whenModal("TAusleiheBuchenF", [](QWidget* dlg) {
            const auto closeAtEnd = qScopeGuard([dlg] { dlg->close(); });
            QVERIFY(!child<QLabel>(dlg, "LEingetragen")->isVisible());
            QCOMPARE(child<QDateTimeEdit>(dlg, "DTPVon")->dateTime(), Now);
            QCOMPARE(child<QDateTimeEdit>(dlg, "DTPSollBis")->dateTime(), QDateTime(QDate(2027, 1, 10), QTime(0, 0)));
            QCOMPARE(child<QDateTimeEdit>(dlg, "DTPSollBis")->text(), QStringLiteral("10.01.2027"));
            auto* readers = child<QTableView>(dlg, "DBGrid1");
            auto* books = child<QTableView>(dlg, "DBGrid2");
            QCOMPARE(titles(readers), (QStringList{"Nummer", "Vorname", "Nachname"}));
            QCOMPARE(titles(books), (QStringList{"Nummer", "Verfasser", "Titel"}));
            QCOMPARE(readers->columnWidth(1), 160);
            QCOMPARE(books->columnWidth(2), 160);
            QCOMPARE(columnTexts(books, 2), (QStringList{"Emil", "Schachnovelle"}));
            click(dlg, "SpeedButton5"); // the manual is missing here: nothing is reported

            clickRow(readers, 2);
            clickRow(books, 1);
            click(dlg, "BBuchen");
            QVERIFY(child<QLabel>(dlg, "LEingetragen")->isVisible());
            QCOMPARE(columnTexts(books, 2), QStringList{"Emil"});
            clickRow(books, 0);
            QVERIFY(!child<QLabel>(dlg, "LEingetragen")->isVisible());
            click(dlg, "BSchliessen");
        });
        QVERIFY(triggerAction(m, "actAusleihen"));
        QVERIFY(*ran);
        QCOMPARE(fx->scalar("SELECT BuecherID || '/' || LeserID || '/' || DatumVon || '/' || DatumBisSoll || '/' || "
                            "coalesce(DatumBis, 'offen') FROM Ausleihe")
                     .toString(),
                 QStringLiteral("3/3/2026-12-11 10:00:00/2027-01-10 00:00:00/offen"));
        QCOMPARE(fx->scalar("SELECT group_concat(ausgeliehen) FROM Buecher").toString(), QStringLiteral("0,1,1"));
        QVERIFY(!data().books().filtered());
        QVERIFY(!data().readers().filtered());
        // The main window's loan list shows the open loan with its due date.
        QCOMPARE(m->gridModel(MainTab::Loans)->rowCount(), 1);
        const QStringList loanRow{"3",          "Zweig", "Schachnovelle", "3", "Johann", "Meier",
                                  "11.12.2026", "",      "10.01.2027"};
        for (int c = 0; c < loanRow.size(); ++c)
            QCOMPARE(m->gridModel(MainTab::Loans)->index(0, c).data().toString(), loanRow.at(c));

        // Next time the lent book is not offered any more.
        ran = whenModal("TAusleiheBuchenF", [](QWidget* dlg) {
            QCOMPARE(columnTexts(child<QTableView>(dlg, "DBGrid2"), 2), QStringList{"Emil"});
            dlg->close();
        });
        QVERIFY(triggerAction(m, "actAusleihen"));
        QVERIFY(*ran);
    }

    // After a booking the list moves on to the lent book's neighbour: a second click or a
    // double-click on "Buchen" must not lend (or return) that neighbour as well.
    void bookingWaitsForAFreshChoice_data()
    {
        QTest::addColumn<QString>("dialog");
        QTest::addColumn<bool>("doubleClick");
        for (const char* dialog : {"TAusleiheBuchenF", "TRueckgabeF"}) {
            QTest::addRow("%s, two clicks", dialog) << dialog << false;
            QTest::addRow("%s, double-click", dialog) << dialog << true;
        }
    }

    void bookingWaitsForAFreshChoice()
    {
        QFETCH(QString, dialog);
        QFETCH(bool, doubleClick);
        const bool lend = dialog == u"TAusleiheBuchenF";
        fx->insert("Leser", {{"Vorname", "Anna"}, {"Nachname", "Schmidt"}});
        for (const char* title : {"Emil", "Faust", "Momo"})
            fx->insert("Buecher", {{"Titel", title}, {"ausgeliehen", lend ? 0 : 1}});
        if (!lend)
            for (int book = 1; book <= 3; ++book)
                loan(book, 1, QDate(2026, 12, 1), QVariant(), stamp(QDate(2026, 12, 31)));
        start();
        QTRY_VERIFY(started());
        QDialog* dlg = lend ? static_cast<QDialog*>(fixture->windows->lendDialog)
                            : static_cast<QDialog*>(fixture->windows->returnDialog);
        QVERIFY(showDialog(dlg));
        auto* books = child<QTableView>(dlg, "DBGrid2");
        auto* button = child<QAbstractButton>(dlg, "BBuchen");
        const QString changed =
            lend ? "SELECT count(*) FROM Ausleihe" : "SELECT count(*) FROM Ausleihe WHERE DatumBis IS NOT NULL";
        clickRow(books, 1);
        const QPoint centre = button->rect().center();
        if (doubleClick) {
            // As the platform delivers one: a click, then the second press as a double-click.
            QTest::mouseClick(button, Qt::LeftButton, {}, centre);
            QMouseEvent second(QEvent::MouseButtonDblClick, QPointF(centre), button->mapToGlobal(QPointF(centre)),
                               Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(button, &second);
            QTest::mouseRelease(button, Qt::LeftButton, {}, centre);
        } else {
            QTest::mouseClick(button, Qt::LeftButton, {}, centre);
            QTest::mouseClick(button, Qt::LeftButton, {}, centre);
        }
        QCOMPARE(fx->scalar(changed).toInt(), 1);
        QCOMPARE(columnTexts(books, 2), (QStringList{"Emil", "Momo"}));
        QVERIFY(!button->isEnabled());
        // A click into the list is a fresh choice; so is a change of a search edit.
        clickRow(books, 1);
        QVERIFY(button->isEnabled());
        click(dlg, "BBuchen");
        QCOMPARE(fx->scalar(changed).toInt(), 2);
        QVERIFY(!button->isEnabled());
        typeInto(dlg, "ETitel", "e");
        QVERIFY(button->isEnabled());
        QCOMPARE(fx->scalar("SELECT group_concat(ausgeliehen) FROM Buecher").toString(),
                 lend ? QStringLiteral("0,1,1") : QStringLiteral("1,0,0"));
        dlg->close();
        QVERIFY(showDialog(dlg)); // a new showing starts ready
        QVERIFY(button->isEnabled());
        dlg->close();
    }

    void searchEditsNarrowAndEmptyEachOther()
    {
        readersAndBooks();
        start();
        QTRY_VERIFY(started());
        auto* dlg = fixture->windows->lendDialog;
        QVERIFY(showDialog(dlg));
        auto* readers = child<QTableView>(dlg, "DBGrid1");
        auto* books = child<QTableView>(dlg, "DBGrid2");

        typeInto(dlg, "EVorname", "an");
        QCOMPARE(columnTexts(readers, 2), (QStringList{"Schmidt", "Meier"}));
        // Enter in a search edit presses no button.
        QTest::keyClick(child<QLineEdit>(dlg, "EVorname"), Qt::Key_Return);
        QVERIFY(dlg->isVisible());
        QVERIFY(!child<QLabel>(dlg, "LEingetragen")->isVisible());

        QTest::mouseClick(child<QLineEdit>(dlg, "ENachname"), Qt::LeftButton);
        QCOMPARE(child<QLineEdit>(dlg, "EVorname")->text(), QString());
        QCOMPARE(readers->model()->rowCount(), 3);
        QTest::keyClicks(child<QLineEdit>(dlg, "ENachname"), "o'b");
        QCOMPARE(columnTexts(readers, 2), QStringList{"O'Brien"});

        typeInto(dlg, "EVerfasser", "k");
        QCOMPARE(columnTexts(books, 2), QStringList{"Emil"});
        typeInto(dlg, "EBuchNummer", "3");
        QCOMPARE(child<QLineEdit>(dlg, "EVerfasser")->text(), QString());
        QCOMPARE(columnTexts(books, 2), QStringList{"Schachnovelle"});
        QTest::keyClick(child<QLineEdit>(dlg, "EBuchNummer"), Qt::Key_Backspace);
        QCOMPARE(columnTexts(books, 2), (QStringList{"Emil", "Schachnovelle"})); // all lendable books again
        QTest::keyClicks(child<QLineEdit>(dlg, "EBuchNummer"), "x");             // no number: nothing, and no message
        QCOMPARE(books->model()->rowCount(), 0);
        child<QLineEdit>(dlg, "EBuchNummer")->clear();
        QTest::keyClicks(child<QLineEdit>(dlg, "EBuchNummer"), "2"); // a lent book is not offered
        QCOMPARE(books->model()->rowCount(), 0);
        child<QLineEdit>(dlg, "EBuchNummer")->clear();

        // A title click sorts; "Nummer" sorts by the number shown.
        clickTitle(books, 2);
        QCOMPARE(data().books().indexFieldNames(), QStringLiteral("Titel"));
        clickTitle(books, 0);
        QCOMPARE(data().books().indexFieldNames(), QStringLiteral("ID"));
        clickTitle(readers, 2);
        QCOMPARE(data().readers().indexFieldNames(), QStringLiteral("Nachname"));

        typeInto(dlg, "EVerfasser", "k");
        dlg->close();
        // Next time: empty edits over unnarrowed lists (a text left over would pretend a narrowing).
        QVERIFY(showDialog(dlg));
        for (const char* edit : {"ELeserNummer", "EVorname", "ENachname", "EBuchNummer", "EVerfasser", "ETitel"})
            QCOMPARE(child<QLineEdit>(dlg, edit)->text(), QString());
        QCOMPARE(readers->model()->rowCount(), 3);
        QCOMPARE(columnTexts(books, 2), (QStringList{"Emil", "Schachnovelle"}));
        dlg->close();
    }

    void dueDateFollowsLoanDateOnly()
    {
        readersAndBooks();
        start();
        QTRY_VERIFY(started());
        auto* dlg = fixture->windows->lendDialog;
        QVERIFY(showDialog(dlg));
        auto* von = child<QDateTimeEdit>(dlg, "DTPVon");
        auto* bis = child<QDateTimeEdit>(dlg, "DTPSollBis");
        bis->setTime(QTime(18, 0));
        von->setDate(QDate(2026, 3, 1));
        QCOMPARE(bis->dateTime(), QDateTime(QDate(2026, 3, 31), QTime(18, 0)));
        bis->setDate(QDate(2026, 4, 15));
        QCOMPARE(von->date(), QDate(2026, 3, 1));
        click(dlg, "BBuchen");
        QCOMPARE(fx->scalar("SELECT DatumVon || '/' || DatumBisSoll FROM Ausleihe").toString(),
                 QStringLiteral("2026-03-01 10:00:00/2026-04-15 18:00:00"));
        dlg->close();
    }

    void bookingRefused_data()
    {
        QTest::addColumn<bool>("withReaders");
        QTest::addColumn<bool>("lendable");
        QTest::addColumn<QString>("message");
        QTest::newRow("no readers") << false << true << "Keine Leser vorhanden";
        QTest::newRow("every book lent") << true << false << "Keine ausleihbaren Bücher vorhanden";
    }

    void bookingRefused()
    {
        QFETCH(bool, withReaders);
        QFETCH(bool, lendable);
        QFETCH(QString, message);
        if (withReaders)
            fx->insert("Leser", {{"Vorname", "Anna"}});
        fx->insert("Buecher", {{"Titel", "Emil"}, {"ausgeliehen", lendable ? 0 : 1}});
        start();
        QTRY_VERIFY(started());
        auto* dlg = fixture->windows->lendDialog;
        QVERIFY(showDialog(dlg));
        fixture->messages.expect(message);
        click(dlg, "BBuchen");
        QCOMPARE(fixture->messages.shown, QStringList{message});
        QVERIFY(!child<QLabel>(dlg, "LEingetragen")->isVisible());
        QCOMPARE(fx->scalar("SELECT count(*) FROM Ausleihe").toInt(), 0);
        dlg->close();
    }

    void bookingFailureShowsErrorAndChangesNothing()
    {
        readersAndBooks();
        start();
        QTRY_VERIFY(started());
        auto* dlg = fixture->windows->lendDialog;
        QVERIFY(showDialog(dlg));
        fx->exec("CREATE TRIGGER t BEFORE UPDATE ON Buecher BEGIN SELECT RAISE(ABORT, 'kaputt'); END");
        fixture->messages.expect("nicht gespeichert werden");
        click(dlg, "BBuchen");
        QVERIFY(fixture->messages.allAnswered());
        QVERIFY(fixture->messages.details.value(0).contains("kaputt")); // the engine's text, as details
        QVERIFY(!child<QLabel>(dlg, "LEingetragen")->isVisible());
        QCOMPARE(fx->scalar("SELECT count(*) FROM Ausleihe").toInt(), 0);
        QCOMPARE(fx->scalar("SELECT group_concat(ausgeliehen) FROM Buecher").toString(), QStringLiteral("0,1,0"));
        QCOMPARE(data().loans().recordCount(), 0);
        QCOMPARE(columnTexts(child<QTableView>(dlg, "DBGrid2"), 2), (QStringList{"Emil", "Schachnovelle"}));
        dlg->close();
    }

    void closingSwitchesFiltersOff_data()
    {
        QTest::addColumn<QString>("dialog");
        QTest::addColumn<QString>("way");
        for (const char* dialog : {"TAusleiheBuchenF", "TRueckgabeF"})
            for (const char* way : {"button", "escape", "close box"})
                QTest::addRow("%s, %s", dialog, way) << dialog << way;
    }

    void closingSwitchesFiltersOff()
    {
        QFETCH(QString, dialog);
        QFETCH(QString, way);
        readersAndBooks();
        MainWindow* m = start();
        QTRY_VERIFY(started());
        QDialog* dlg = dialog == u"TRueckgabeF" ? static_cast<QDialog*>(fixture->windows->returnDialog)
                                                : static_cast<QDialog*>(fixture->windows->lendDialog);
        QVERIFY(showDialog(dlg));
        if (dlg == fixture->windows->lendDialog)
            typeInto(dlg, "EVorname", "an");
        typeInto(dlg, "EVerfasser", "e");
        QVERIFY(data().books().filtered());
        if (way == u"button")
            click(dlg, "BSchliessen");
        else if (way == u"escape")
            QTest::keyClick(child<QLineEdit>(dlg, "EVerfasser"), Qt::Key_Escape);
        else
            dlg->close();
        QVERIFY(!dlg->isVisible());
        QVERIFY(!data().books().filtered());
        QVERIFY(!data().readers().filtered());
        QCOMPARE(m->gridModel(MainTab::Books)->rowCount(), 3);
        QCOMPARE(m->gridModel(MainTab::Readers)->rowCount(), 3);
    }

    void returnWithOverdueTabCurrent()
    {
        fx->insert("Buecher", {{"Verfasser", "A"}, {"Titel", "Überfällig"}, {"ausgeliehen", 1}});
        fx->insert("Buecher", {{"Verfasser", "B"}, {"Titel", "Noch Zeit"}, {"ausgeliehen", 1}});
        fx->insert("Buecher", {{"Verfasser", "C"}, {"Titel", "Auch überfällig"}, {"ausgeliehen", 1}});
        fx->insert("Buecher", {{"Verfasser", "D"}, {"Titel", "Im Regal"}, {"ausgeliehen", 0}});
        fx->insert("Leser", {{"Vorname", "Anna"}});
        loan(1, 1, QDate(2026, 10, 1), QVariant(), stamp(QDate(2026, 10, 31)));
        loan(2, 1, QDate(2026, 12, 1), QVariant(), stamp(QDate(2026, 12, 31)));
        loan(3, 1, QDate(2026, 10, 2), QVariant(), stamp(QDate(2026, 11, 1)));
        MainWindow* m = start();
        QTRY_VERIFY(started());
        m->tabs()->setCurrentIndex(3); // as the user's click on the tab
        QCOMPARE(m->gridModel(MainTab::Overdue)->rowCount(), 2);

        auto ran = whenModal("TRueckgabeF", [](QWidget* dlg) {
            const auto closeAtEnd = qScopeGuard([dlg] { dlg->close(); });
            QVERIFY(!child<QLabel>(dlg, "LEingetragen")->isVisible());
            QCOMPARE(child<QDateTimeEdit>(dlg, "DTPBis")->dateTime(), Now);
            auto* books = child<QTableView>(dlg, "DBGrid2");
            QCOMPARE(columnTexts(books, 2), (QStringList{"Überfällig", "Noch Zeit", "Auch überfällig"}));
            typeInto(dlg, "EBuchNummer", "2");
            QCOMPARE(columnTexts(books, 2), QStringList{"Noch Zeit"});
            click(dlg, "BBuchen");
            QVERIFY(child<QLabel>(dlg, "LEingetragen")->isVisible());
            QCOMPARE(books->model()->rowCount(), 0);
            typeInto(dlg, "ETitel", "Über");
            QCOMPARE(child<QLineEdit>(dlg, "EBuchNummer")->text(), QString());
            QCOMPARE(columnTexts(books, 2), (QStringList{"Überfällig", "Auch überfällig"}));
            clickRow(books, 0);
            QVERIFY(!child<QLabel>(dlg, "LEingetragen")->isVisible());
            click(dlg, "BBuchen");
            QCOMPARE(columnTexts(books, 2), QStringList{"Auch überfällig"});
        });
        QVERIFY(triggerAction(m, "actRueckgabe"));
        QVERIFY(*ran);
        const auto loanRow = [&](int book) {
            return fx
                ->scalar(QStringLiteral("SELECT DatumVon || '/' || coalesce(DatumBis, '-') || '/' || "
                                        "coalesce(DatumBisSoll, '-') FROM Ausleihe WHERE BuecherID = %1")
                             .arg(book))
                .toString();
        };
        QCOMPARE(loanRow(1), QStringLiteral("2026-10-01 09:30:00/2026-12-11 10:00:00/-"));
        QCOMPARE(loanRow(2), QStringLiteral("2026-12-01 09:30:00/2026-12-11 10:00:00/-"));
        QCOMPARE(loanRow(3), QStringLiteral("2026-10-02 09:30:00/-/2026-11-01 09:30:00"));
        QCOMPARE(fx->scalar("SELECT group_concat(ausgeliehen) FROM Buecher").toString(), QStringLiteral("0,0,1,0"));
        // The overdue tab still shows the overdue loans only.
        QCOMPARE(m->tabs()->currentIndex(), 3);
        QCOMPARE(data().loans().filter(), LoanView::overdueFilter(Clock::today()));
        QCOMPARE(m->gridModel(MainTab::Overdue)->rowCount(), 1);
        QCOMPARE(m->gridModel(MainTab::Overdue)->index(0, 2).data().toString(), QStringLiteral("Auch überfällig"));
        m->tabs()->setCurrentIndex(2);
        QCOMPARE(m->gridModel(MainTab::Loans)->rowCount(), 3);
    }

    void returnRefused_data()
    {
        QTest::addColumn<bool>("lent");
        QTest::addColumn<QString>("message");
        QTest::newRow("no lent book") << false << "Keine rückbuchbaren Bücher vorhanden";
        QTest::newRow("lent without open loan, left as it is") << true << "keine offene Ausleihe";
    }

    void returnRefused()
    {
        QFETCH(bool, lent);
        QFETCH(QString, message);
        fx->insert("Buecher", {{"Titel", "Verwaist"}, {"ausgeliehen", lent ? 1 : 0}});
        loan(1, 1, QDate(2026, 1, 1), stamp(QDate(2026, 1, 20)), QVariant());
        start();
        QTRY_VERIFY(started());
        auto* dlg = fixture->windows->returnDialog;
        QVERIFY(showDialog(dlg));
        fixture->messages.expect(message, lent ? Messages::Answer::No : Messages::Answer::Ok);
        click(dlg, "BBuchen");
        QCOMPARE(fixture->messages.shown.size(), 1);
        QVERIFY(fixture->messages.shown.first().contains(message));
        QVERIFY(!child<QLabel>(dlg, "LEingetragen")->isVisible());
        QCOMPARE(fx->scalar("SELECT ausgeliehen || '/' || DatumBis || '/' || coalesce(DatumBisSoll, '-') FROM "
                            "Buecher, Ausleihe")
                     .toString(),
                 QStringLiteral("%1/2026-01-20 09:30:00/-").arg(lent ? 1 : 0));
        dlg->close();
    }

    void strandedBookCanBeMarkedAvailable()
    {
        fx->insert("Buecher", {{"Titel", "Verwaist"}, {"ausgeliehen", 1}});
        fx->insert("Buecher", {{"Titel", "Richtig verliehen"}, {"ausgeliehen", 1}});
        fx->insert("Leser", {{"Vorname", "Anna"}, {"Nachname", "Öztürk"}});
        loan(2, 1, QDate(2026, 12, 1), QVariant(), stamp(QDate(2026, 12, 31)));
        start();
        QTRY_VERIFY(started());
        auto* dlg = fixture->windows->returnDialog;
        QVERIFY(showDialog(dlg));
        auto* books = child<QTableView>(dlg, "DBGrid2");
        clickRow(books, 0);
        fixture->messages.expect(QStringLiteral("Das Buch „Verwaist“ ist als ausgeliehen markiert, aber es gibt keine "
                                                "offene Ausleihe dazu"),
                                 Messages::Answer::Yes);
        click(dlg, "BBuchen");
        QVERIFY(fixture->messages.allAnswered());
        QCOMPARE(fx->scalar("SELECT group_concat(ausgeliehen) FROM Buecher").toString(), QStringLiteral("0,1"));
        QCOMPARE(columnTexts(books, 2), QStringList{"Richtig verliehen"});
        QVERIFY(!child<QLabel>(dlg, "LEingetragen")->isVisible()); // nothing was returned
        // The list moved on: "Buchen" waits for a fresh choice.
        QVERIFY(!child<QAbstractButton>(dlg, "BBuchen")->isEnabled());
        dlg->close();
    }

    void historyShowsAndEditsLoans()
    {
        fx->insert("Buecher", {{"Verfasser", "Kästner"}, {"Titel", "Emil"}, {"ausgeliehen", 1}});
        fx->insert("Leser", {{"Vorname", "Anna"}, {"Nachname", "Schmidt"}});
        loan(1, 1, QDate(2026, 1, 1), stamp(QDate(2026, 1, 20), "16:00:00"), QVariant());
        loan(1, 1, QDate(2026, 11, 2), QVariant(), stamp(QDate(2026, 12, 2)));
        Settings::WriteSettingInt("BreiteEVon", 120);
        MainWindow* m = start();
        QTRY_VERIFY(started());
        auto* dlg = fixture->windows->loanHistoryDialog;
        auto* grid = child<QTableView>(dlg, "DBGrid1");
        QCOMPARE(grid->columnWidth(0), 120);
        QCOMPARE(grid->columnWidth(1), 50); // none stored
        QVERIFY(showDialog(dlg));
        QCOMPARE(dlg->windowTitle(), QStringLiteral("Ausleihhistorie"));
        QCOMPARE(child<QLabel>(dlg, "DBText1")->text(), QStringLiteral("Kästner"));
        QCOMPARE(child<QLabel>(dlg, "DBText2")->text(), QStringLiteral("Emil"));
        QCOMPARE(titles(grid), (QStringList{"Von", "Bis", "Leser-Nr.", "Vorname", "Nachname", "Bemerkung"}));
        QCOMPARE(columnTexts(grid, 0), (QStringList{"01.01.2026", "02.11.2026"}));
        QCOMPARE(columnTexts(grid, 1), (QStringList{"20.01.2026", ""}));
        QCOMPARE(columnTexts(grid, 2), (QStringList{"1", "1"}));
        QCOMPARE(columnTexts(grid, 4), (QStringList{"Schmidt", "Schmidt"}));
        QCOMPARE(grid->palette().color(QPalette::Base), DialogLook::Background);
        QCOMPARE(child<GradientPanel>(dlg, "GradientPanel1")->endColour(), DialogLook::TealBarColour);
        // A title click sorts the loans, by a looked-up reader column too.
        clickTitle(grid, 4);
        QCOMPARE(data().loans().indexFieldNames(), QStringLiteral("LeserNachname"));
        clickTitle(grid, 0);
        QCOMPARE(data().loans().indexFieldNames(), QStringLiteral("DatumVon"));
        QCOMPARE(columnTexts(grid, 0), (QStringList{"01.01.2026", "02.11.2026"}));
        // only the stored fields can be edited
        QVERIFY(grid->model()->flags(grid->model()->index(0, 5)) & Qt::ItemIsEditable);
        QVERIFY(!(grid->model()->flags(grid->model()->index(0, 4)) & Qt::ItemIsEditable));

        const auto typeCell = [&](int row, int column, const QString& text) {
            grid->setCurrentIndex(grid->model()->index(row, column));
            grid->edit(grid->currentIndex());
            QWidget* editor = QApplication::focusWidget();
            QVERIFY(qobject_cast<QLineEdit*>(editor));
            static_cast<QLineEdit*>(editor)->selectAll();
            QTest::keyClicks(editor, text);
            QTest::keyClick(editor, Qt::Key_Return);
            QApplication::processEvents(); // the grid hands the text over queued
        };
        // A remark is saved when the cursor leaves the loan.
        typeCell(0, 5, "Umschlag eingerissen");
        QCOMPARE(fx->scalar("SELECT count(*) FROM Ausleihe WHERE Bemerkung IS NOT NULL").toInt(), 0);
        clickRow(grid, 1);
        QCOMPARE(fx->scalar("SELECT Bemerkung FROM Ausleihe WHERE ID = 1").toString(),
                 QStringLiteral("Umschlag eingerissen"));
        // A date that is no date is refused with the record set's message.
        fixture->messages.expect("kein gültiges Datum");
        typeCell(1, 1, "31.02.2026");
        QVERIFY(fixture->messages.allAnswered());
        // A return date entered closes the loan at once, as a return does.
        typeCell(1, 1, "11.12.2026");
        QCOMPARE(fx->scalar("SELECT DatumBis || '/' || coalesce(DatumBisSoll, '-') || '/' || "
                            "(SELECT ausgeliehen FROM Buecher) FROM Ausleihe WHERE ID = 2")
                     .toString(),
                 QStringLiteral("2026-12-11 00:00:00/-/0"));
        // A corrected date keeps its time of day and is saved when the dialog closes.
        typeCell(1, 0, "3.11.2026");
        click(dlg, "BSchliessen");
        QVERIFY(!dlg->isVisible());
        QCOMPARE(fx->scalar("SELECT DatumVon || '/' || coalesce(DatumBis, '-') FROM Ausleihe WHERE ID = 2").toString(),
                 QStringLiteral("2026-11-03 09:30:00/2026-12-11 00:00:00"));
        QCOMPARE(data().loans().state(), DataSetState::Browse);

        // The widths are stored with the main window's grids.
        grid->setColumnWidth(5, 210);
        m->close();
        QCOMPARE(Settings::ReadSettingInt("BreiteEBemerkung"), 210);
        QCOMPARE(Settings::ReadSettingInt("BreiteEVon"), 120);
    }

    // The history of a book lists that book's loans only; closing it gives the main window's
    // loan lists back as they were.
    void historyListsOnlyTheBooksLoans()
    {
        fx->insert("Buecher", {{"Titel", "Emil"}, {"ausgeliehen", 1}});
        fx->insert("Buecher", {{"Titel", "Faust"}, {"ausgeliehen", 0}});
        fx->insert("Buecher", {{"Titel", "Neu"}, {"ausgeliehen", 0}});
        fx->insert("Leser", {{"Vorname", "Anna"}, {"Nachname", "Schmidt"}});
        loan(2, 1, QDate(2026, 1, 1), stamp(QDate(2026, 1, 20)), QVariant());
        loan(1, 1, QDate(2026, 2, 1), stamp(QDate(2026, 2, 20)), QVariant());
        loan(1, 1, QDate(2026, 10, 1), QVariant(), stamp(QDate(2026, 10, 31))); // overdue
        loan(2, 1, QDate(2026, 3, 1), stamp(QDate(2026, 3, 20)), QVariant());
        MainWindow* m = start();
        QTRY_VERIFY(started());
        m->tabs()->setCurrentIndex(3);
        auto* dlg = fixture->windows->loanHistoryDialog;
        auto* grid = child<QTableView>(dlg, "DBGrid1");
        const auto history = [&](const QString& title) {
            const auto close = qScopeGuard([dlg] { dlg->close(); });
            if (!data().books().locate("Titel", {title}))
                return QStringList{"not found"};
            if (!showDialog(dlg))
                return QStringList{"not shown"};
            return columnTexts(grid, 0);
        };
        QCOMPARE(history("Emil"), (QStringList{"01.02.2026", "01.10.2026"}));
        QCOMPARE(history("Faust"), (QStringList{"01.01.2026", "01.03.2026"}));
        QCOMPARE(history("Neu"), QStringList{});
        QCOMPARE(data().loans().filter(), LoanView::overdueFilter(Clock::today()));
        QCOMPARE(m->gridModel(MainTab::Overdue)->rowCount(), 1);
    }

    void historyChangeThatCannotBeSavedKeepsDialogOpen()
    {
        fx->insert("Buecher", {{"Titel", "Emil"}});
        loan(1, 1, QDate(2026, 1, 1), stamp(QDate(2026, 1, 20)), QVariant());
        start();
        QTRY_VERIFY(started());
        auto* dlg = fixture->windows->loanHistoryDialog;
        auto* grid = child<QTableView>(dlg, "DBGrid1");
        QVERIFY(showDialog(dlg));
        grid->setCurrentIndex(grid->model()->index(0, 5));
        grid->edit(grid->currentIndex());
        QVERIFY(qobject_cast<QLineEdit*>(QApplication::focusWidget()));
        QTest::keyClicks(QApplication::focusWidget(), "Meins");
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QTRY_COMPARE(data().loans().state(), DataSetState::Edit);
        fx->exec("UPDATE Ausleihe SET Bemerkung = 'Vom Nachbarn' WHERE ID = 1");

        fixture->messages.expect("anderen Arbeitsplatz");
        click(dlg, "BSchliessen");
        QVERIFY(fixture->messages.allAnswered());
        QVERIFY(dlg->isVisible()); // the change is not dropped unseen
        // Escape in the grid drops the change; then the dialog closes.
        QTest::keyClick(grid, Qt::Key_Escape);
        QCOMPARE(data().loans().state(), DataSetState::Browse);
        QVERIFY(dlg->isVisible());
        QTest::keyClick(grid, Qt::Key_Escape);
        QVERIFY(!dlg->isVisible());
        QCOMPARE(fx->scalar("SELECT Bemerkung FROM Ausleihe").toString(), QStringLiteral("Vom Nachbarn"));
    }

    void clearingTheLoanList()
    {
        loan(1, 1, QDate(2007, 11, 1), stamp(QDate(2007, 12, 1)), QVariant());
        loan(2, 1, QDate(2007, 11, 1), stamp(QDate(2007, 12, 9), "18:00:00"), QVariant());
        loan(3, 1, QDate(2007, 11, 1), stamp(QDate(2007, 12, 10), "08:00:00"), QVariant());
        loan(4, 1, QDate(2007, 11, 1), QVariant(), stamp(QDate(2007, 12, 1))); // open, overdue for years
        QVERIFY(fx->db().transaction());
        for (int i = 0; i < 400; ++i)
            loan(10 + i, 1, QDate(2007, 1, 1), stamp(QDate(2007, 2, 1).addDays(i % 200)), QVariant());
        QVERIFY(fx->db().commit());
        MainWindow* m = start();
        QTRY_VERIFY(started());
        m->tabs()->setCurrentIndex(3); // the overdue view shows no returned loan
        QCOMPARE(m->gridModel(MainTab::Overdue)->rowCount(), 1);

        auto* dlg = fixture->windows->clearLoansDialog;
        QVERIFY(showDialog(dlg));
        QCOMPARE(child<QLabel>(dlg, "Label1")->text(),
                 QStringLiteral("Alle Einträge der Ausleihliste löschen bis Rückgabedatum:"));
        auto* day = child<QDateEdit>(dlg, "DTP_ab");
        QCOMPARE(day->date(), QDate(2007, 12, 9));
        QCOMPARE(day->text(), QStringLiteral("09.12.2007"));
        // Deleting for good asks first, naming how many up to which day; "Nein" deletes nothing.
        const QString question(
            "402 zurückgegebene Ausleihen mit Rückgabe bis zum 09.12.2007 werden endgültig gelöscht.");
        fixture->messages.expect(question, Messages::Answer::No);
        click(dlg, "Button1");
        QVERIFY(dlg->isVisible());
        QCOMPARE(fx->scalar("SELECT count(*) FROM Ausleihe").toInt(), 404);
        fixture->messages.expect(question, Messages::Answer::Yes);
        click(dlg, "Button1");
        QVERIFY(!dlg->isVisible());
        QCOMPARE(fx->scalar("SELECT group_concat(BuecherID) FROM Ausleihe").toString(), QStringLiteral("3,4"));
        QCOMPARE(m->gridModel(MainTab::Overdue)->rowCount(), 1);
        QCOMPARE(data().loans().filter(), LoanView::overdueFilter(Clock::today()));

        // "Schließen" deletes nothing; the chosen day stays for the rest of the run.
        QVERIFY(showDialog(dlg));
        QCOMPARE(day->date(), QDate(2007, 12, 9));
        day->setDate(QDate(2026, 12, 11));
        click(dlg, "BLoeschen");
        QVERIFY(!dlg->isVisible());
        QCOMPARE(fx->scalar("SELECT count(*) FROM Ausleihe").toInt(), 2);
        fixture->messages.expect("Eine zurückgegebene Ausleihe mit Rückgabe bis zum 11.12.2026", Messages::Answer::Yes);
        auto ran = whenModal("TAusleihlisteLoeschenF", [](QWidget* d) {
            QCOMPARE(child<QDateEdit>(d, "DTP_ab")->date(), QDate(2026, 12, 11));
            click(d, "Button1");
        });
        QVERIFY(triggerAction(m, "actAusleihlisteLoeschen"));
        QVERIFY(*ran);
        QCOMPARE(fx->scalar("SELECT group_concat(BuecherID) FROM Ausleihe").toString(), QStringLiteral("4"));
        m->tabs()->setCurrentIndex(2);
        QCOMPARE(m->gridModel(MainTab::Loans)->rowCount(), 1);
    }
};

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    AppSetup::configure(app);
    TestLendingDialogs t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_lendingdialogs.moc"
