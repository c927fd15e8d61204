// The main window as users meet it: first start, window size, what closing stores, the
// overdue tab, deleting from a grid, the refresh step and two workstations at once.
#include "GuiFixture.h"
#include "GuiSupport.h"
#include "TestSupport.h"
#include "catalogue/FieldCaptions.h"
#include "common/Clock.h"
#include "common/gui/ErrorGuard.h"
#include "common/gui/FileDialogs.h"
#include "datastore/LibraryData.h"
#include "datastore/RecordSetModel.h"
#include "datastore/Settings.h"
#include "mainwindow/AppSetup.h"
#include "mainwindow/IntervalSpinBox.h"
#include "mainwindow/MainWindow.h"
#include "mainwindow/WindowSet.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QScopeGuard>
#include <QScreen>
#include <QShowEvent>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableView>
#include <QTest>

#include <QTimer>
#include <QtTest/qtestspontaneevent.h>
#include <unistd.h>

#include <memory>

namespace {

const QList<int> bookDesignWidths{29, 75, 66, 55, 30, 43, 32, 45, 26, 33, 28, 29,
                                  38, 50, 50, 50, 50, 50, 50, 50, 50, 50, 50};

QList<int> columnWidths(QTableView* view)
{
    QList<int> w;
    for (int c = 0; c < view->model()->columnCount(); ++c)
        w << view->columnWidth(c);
    return w;
}

QString stamp(int days, const char* time)
{
    return Clock::today().addDays(days).toString("yyyy-MM-dd") + ' ' + time;
}

// Child process: one workstation saving books with new keywords.
int runChild(const QStringList& args)
{
    const QString prefix = args.value(0);
    const int count = args.value(1).toInt();
    WindowSet windows;
    RecordSet& books = windows.mainWindow->data().books();
    if (!books.active())
        return 3;
    for (int i = 0; i < count; ++i) {
        books.insert();
        books.setText("Titel", QStringLiteral("%1 %2").arg(prefix).arg(i));
        books.setText("Schlagwort3", QStringLiteral("%1-Wort-%2").arg(prefix).arg(i));
        books.setText("Verlag", QStringLiteral("%1-Verlag-%2").arg(prefix).arg(i));
        books.post();
    }
    return 0;
}

} // namespace

class TestMainform : public QObject
{
    Q_OBJECT

    std::unique_ptr<GuiFixture> fixture;

    // A library with a database already chosen.
    void prepareLibrary() { fixture->createLibrary(); }

    std::unique_ptr<WindowSet> start()
    {
        auto w = std::make_unique<WindowSet>();
        w->mainWindow->show();
        return w;
    }

private slots:
    void init()
    {
        fixture = std::make_unique<GuiFixture>();
        Clock::setFixedNow(QDateTime(QDate(2026, 12, 11), QTime(10, 0)));
    }

    void cleanup()
    {
        const QString problems = fixture->finish();
        FileDialogs::setFolderHandler({});
        fixture.reset();
        QVERIFY2(problems.isEmpty(), qPrintable(problems));
    }

    void firstStartCreatesDatabase()
    {
        FileDialogs::setFolderHandler([this](const QString&, const QString&) { return fixture->env.dbDir(); });
        auto ran = whenModal("TDBErstellenF", [](QWidget* dlg) {
            QTest::mouseClick(dlg->findChild<QAbstractButton*>("SpeedButton1"), Qt::LeftButton);
            QTest::mouseClick(dlg->findChild<QAbstractButton*>("Button1"), Qt::LeftButton);
        });
        auto w = start();
        MainWindow* m = w->mainWindow;
        QTRY_VERIFY(m->refreshTimer()->isActive());
        QVERIFY(*ran);
        QVERIFY(!m->databaseOpened());
        QVERIFY(m->data().isOpen());
        QCOMPARE(Settings::ReadSettingString("DBPfad"), fixture->env.dbDir());
        QCOMPARE(Settings::ReadSettingInt("Refresh"), 600);
        QCOMPARE(m->refreshTimer()->interval(), 600000);
        QVERIFY(!m->isMaximized());
        QCOMPARE(m->size(), QSize(700, 500));
        QCOMPARE(columnWidths(m->grid(MainTab::Books)), bookDesignWidths);
        QCOMPARE(columnWidths(m->grid(MainTab::Loans)), (QList<int>{50, 100, 100, 50, 100, 100, 80, 80, 80}));
        // captions are those of the new database: "Bemerkung" replaces the design title
        QCOMPARE(m->gridModel(MainTab::Books)->headerData(12, Qt::Horizontal).toString(), QStringLiteral("Bemerkung"));
        QCOMPARE(Settings::ReadSettingInt("BreiteABemerkung"), 38);
    }

    void storedSizeAndState()
    {
        prepareLibrary();
        Settings::WriteSettingInt("Height", 150);
        Settings::WriteSettingInt("Width", 1000);
        Settings::WriteSettingInt("BreiteATitel", 0); // 0 means 50
        Settings::WriteSettingInt("BreiteAVerfasser", 123);
        Settings::WriteSettingString("SortBuecher", "Titel");
        auto w = start();
        MainWindow* m = w->mainWindow;
        QTRY_VERIFY(m->refreshTimer()->isActive());
        QVERIFY(m->databaseOpened());
        // as stored, within the screen (the test screen is small)
        QCOMPARE(m->size(), QSize(1000, 500).boundedTo(m->screen()->availableGeometry().size()));
        QCOMPARE(m->grid(MainTab::Books)->columnWidth(1), 123);
        QCOMPARE(m->grid(MainTab::Books)->columnWidth(2), 50);
        QCOMPARE(m->grid(MainTab::Books)->columnWidth(3), 50); // no value stored at all
        QCOMPARE(m->data().books().indexFieldNames(), QStringLiteral("Titel"));
    }

    // Values from a damaged settings file: a window larger than the screen, a sort by a field
    // that does not exist. Neither may get in the way (nor ask anything).
    void damagedSettingsStaySane()
    {
        prepareLibrary();
        Settings::WriteSettingInt("Height", 90000);
        Settings::WriteSettingInt("Width", 120000);
        Settings::WriteSettingString("SortBuecher", "GibtEsNicht");
        auto w = start();
        MainWindow* m = w->mainWindow;
        QTRY_VERIFY(m->refreshTimer()->isActive()); // the start-up steps ran to their end
        const QSize room = m->screen()->availableGeometry().size();
        QVERIFY2(m->width() <= room.width() && m->height() <= room.height(),
                 qPrintable(QStringLiteral("%1x%2").arg(m->width()).arg(m->height())));
        QCOMPARE(m->data().books().indexFieldNames(), QString());
    }

    void closingStoresBeendenDoesNot()
    {
        prepareLibrary();
        {
            auto w = start();
            MainWindow* m = w->mainWindow;
            QTRY_VERIFY(m->refreshTimer()->isActive());
            m->resize(900, 600);
            QTest::mouseClick(m->grid(MainTab::Books)->horizontalHeader()->viewport(), Qt::LeftButton, {},
                              QPoint(m->grid(MainTab::Books)->horizontalHeader()->sectionViewportPosition(2) + 5, 5));
            QCOMPARE(m->data().books().indexFieldNames(), QStringLiteral("Titel"));
            QTest::mouseClick(m->grid(MainTab::Books)->horizontalHeader()->viewport(), Qt::LeftButton, {},
                              QPoint(m->grid(MainTab::Books)->horizontalHeader()->sectionViewportPosition(0) + 5, 5));
            QCOMPARE(m->data().books().indexFieldNames(), QStringLiteral("ID")); // "Nr." sorts by ID
            m->grid(MainTab::Readers)->setColumnWidth(2, 77);
            m->close();
        }
        QCOMPARE(Settings::ReadSettingString("SortBuecher"), QStringLiteral("ID"));
        QCOMPARE(Settings::ReadSettingString("WindowState"), QStringLiteral("wsNormal"));
        QCOMPARE(Settings::ReadSettingInt("Height"), 600);
        QCOMPARE(Settings::ReadSettingInt("Width"), 900);
        QCOMPARE(Settings::ReadSettingInt("BreiteCNachname"), 77);

        {
            auto w = start();
            MainWindow* m = w->mainWindow;
            QTRY_VERIFY(m->refreshTimer()->isActive());
            QCOMPARE(m->size(), QSize(900, 600).boundedTo(m->screen()->availableGeometry().size()));
            QCOMPARE(m->grid(MainTab::Readers)->columnWidth(2), 77);
            m->resize(333, 444);
            m->data().books().setIndexFieldNames("Verfasser");
            m->grid(MainTab::Readers)->setColumnWidth(2, 99);
            // As in the running program: "Beenden" ends the event loop at once.
            bool triggered = false;
            QTimer::singleShot(0, m, [&] { triggered = triggerAction(m, "actBeenden"); });
            QCOMPARE(QCoreApplication::exec(), 0);
            QVERIFY(triggered);
        } // the windows go without their closing steps
        QCOMPARE(Settings::ReadSettingString("SortBuecher"), QStringLiteral("ID"));
        QCOMPARE(Settings::ReadSettingInt("Width"), 900);
        QCOMPARE(Settings::ReadSettingInt("BreiteCNachname"), 77);
    }

    void overdueTab()
    {
        prepareLibrary();
        {
            FixtureWriter fx(fixture->env.dbDir());
            const qint64 b = fx.insert("Buecher", {{"Titel", "Überfällig"}, {"ausgeliehen", 1}});
            fx.insert("Buecher", {{"Titel", "Heute fällig"}, {"ausgeliehen", 1}});
            fx.insert("Buecher", {{"Titel", "Zurück"}, {"ausgeliehen", 0}});
            fx.insert("Ausleihe", {{"BuecherID", b},
                                   {"LeserID", 1},
                                   {"DatumVon", stamp(-31, "16:00:00")},
                                   {"DatumBisSoll", stamp(-1, "16:00:00")}});
            fx.insert("Ausleihe", {{"BuecherID", b + 1},
                                   {"LeserID", 1},
                                   {"DatumVon", stamp(-30, "08:00:00")},
                                   {"DatumBisSoll", stamp(0, "08:00:00")}});
            fx.insert("Ausleihe", {{"BuecherID", b + 2},
                                   {"LeserID", 1},
                                   {"DatumVon", stamp(-90, "08:00:00")},
                                   {"DatumBis", stamp(-60, "08:00:00")}});
        }
        auto w = start();
        MainWindow* m = w->mainWindow;
        QTRY_VERIFY(m->refreshTimer()->isActive());
        QTabWidget* pages = m->tabs();
        QCOMPARE(pages->currentIndex(), 0);
        pages->setCurrentIndex(3); // as the user's click does
        QCOMPARE(m->gridModel(MainTab::Overdue)->rowCount(), 1);
        QCOMPARE(m->gridModel(MainTab::Overdue)->index(0, 2).data().toString(), QStringLiteral("Überfällig"));
        QCOMPARE(m->data().loans().filter(), QStringLiteral("DatumBisSoll < '11.12.2026'"));
        // the refresh step keeps the overdue filter
        m->refreshNow();
        QCOMPARE(m->gridModel(MainTab::Overdue)->rowCount(), 1);
        // after midnight the refresh takes the new day: the loan due yesterday is overdue now
        Clock::setFixedNow(QDateTime(QDate(2026, 12, 12), QTime(0, 5)));
        m->refreshNow();
        QCOMPARE(m->data().loans().filter(), QStringLiteral("DatumBisSoll < '12.12.2026'"));
        QCOMPARE(m->gridModel(MainTab::Overdue)->rowCount(), 2);
        pages->setCurrentIndex(2);
        QCOMPARE(m->gridModel(MainTab::Loans)->rowCount(), 3);
        // a tab made current from code does not filter
        m->setCurrentTabQuietly(MainTab::Overdue);
        QCOMPARE(m->gridModel(MainTab::Overdue)->rowCount(), 3);
    }

    void ctrlDeleteOfOpenLoanFreesTheBook()
    {
        prepareLibrary();
        {
            FixtureWriter fx(fixture->env.dbDir());
            fx.insert("Buecher", {{"Titel", "Verliehen"}, {"ausgeliehen", 1}});
            fx.insert("Ausleihe", {{"BuecherID", 1},
                                   {"LeserID", 1},
                                   {"DatumVon", stamp(-3, "10:00:00")},
                                   {"DatumBisSoll", stamp(27, "10:00:00")}});
        }
        auto w = start();
        MainWindow* m = w->mainWindow;
        QTRY_VERIFY(m->refreshTimer()->isActive());
        m->tabs()->setCurrentIndex(2);
        QTableView* grid = m->grid(MainTab::Loans);
        // Cancel keeps it
        fixture->messages.expect("Datensatz löschen?", Messages::Answer::Cancel);
        QTest::keyClick(grid, Qt::Key_Delete, Qt::ControlModifier);
        QCOMPARE(m->data().loans().recordCount(), 1);
        fixture->messages.expect("Datensatz löschen?", Messages::Answer::Ok);
        QTest::keyClick(grid, Qt::Key_Delete, Qt::ControlModifier);
        QCOMPARE(m->data().loans().recordCount(), 0);
        FixtureWriter fx(fixture->env.dbDir());
        QCOMPARE(fx.scalar("SELECT count(*) FROM Ausleihe").toInt(), 0);
        // The book is not left marked lent without a loan: it can be lent again.
        QCOMPARE(fx.scalar("SELECT ausgeliehen FROM Buecher WHERE ID = 1").toInt(), 0);
        QCOMPARE(m->data().books().value("ausgeliehen").toBool(), false);
    }

    void deleteBookAsksFirst()
    {
        prepareLibrary();
        {
            FixtureWriter fx(fixture->env.dbDir());
            fx.insert("Buecher", {{"Titel", "Eins"}});
            fx.insert("Buecher", {{"Titel", "Zwei"}});
        }
        auto w = start();
        MainWindow* m = w->mainWindow;
        QTRY_VERIFY(m->refreshTimer()->isActive());
        m->data().books().last();
        fixture->messages.expect("Sind Sie sicher", Messages::Answer::Cancel);
        QVERIFY(triggerAction(m, "actBuchLoeschen"));
        QCOMPARE(m->data().books().recordCount(), 2);
        fixture->messages.expect("Sind Sie sicher", Messages::Answer::Yes);
        QVERIFY(triggerAction(m, "actKontextLoeschen"));
        FixtureWriter fx(fixture->env.dbDir());
        QCOMPARE(fx.scalar("SELECT group_concat(Titel) FROM Buecher").toString(), QStringLiteral("Eins"));
        // an empty list still asks; the deletion then reports that there is nothing to delete
        fixture->messages.expect("Sind Sie sicher", Messages::Answer::Yes);
        QVERIFY(triggerAction(m, "actBuchLoeschen"));
        fixture->messages.expect("Sind Sie sicher", Messages::Answer::Yes);
        fixture->messages.expect("leer", Messages::Answer::Ok);
        QVERIFY(triggerAction(m, "actBuchLoeschen"));
    }

    void refreshShowsOtherWorkstationsBooks()
    {
        prepareLibrary();
        auto w = start();
        MainWindow* m = w->mainWindow;
        QTRY_VERIFY(m->refreshTimer()->isActive());
        RecordSet& books = m->data().books();
        FixtureWriter other(fixture->env.dbDir());
        other.insert("Buecher", {{"Titel", "Vom Nachbarn"}});
        QTest::qWait(50);
        QCOMPARE(m->gridModel(MainTab::Books)->rowCount(), 0); // not before the next timer event
        m->refreshTimer()->setInterval(20);
        QTRY_COMPARE(m->gridModel(MainTab::Books)->rowCount(), 1);

        // while a record is being edited the step does nothing at all
        books.first();
        books.edit();
        books.setText("Titel", "In Arbeit");
        other.insert("Buecher", {{"Titel", "Noch einer"}});
        QTest::qWait(150);
        QCOMPARE(m->gridModel(MainTab::Books)->rowCount(), 1);
        QCOMPARE(books.state(), DataSetState::Edit);
        QCOMPARE(books.text("Titel"), QStringLiteral("In Arbeit"));
        books.post();
        QTRY_COMPARE(m->gridModel(MainTab::Books)->rowCount(), 2);
        // the cursor stays on the record that was current
        books.last();
        const QVariant id = books.value("ID");
        m->refreshNow();
        QCOMPARE(books.value("ID"), id);
    }

    void intervalZeroSwitchesTimerOff()
    {
        prepareLibrary();
        Settings::WriteSettingInt("Refresh", -5);
        {
            auto w = start();
            QTest::qWait(50);
            QVERIFY(!w->mainWindow->refreshTimer()->isActive());
            // a positive interval entered in the same run switches it on again
            auto ran = whenModal("TDatenbankaktualisierungF", [](QWidget* dlg) {
                child<IntervalSpinBox>(dlg, "SEIntervall")->setNumber(30);
                click(dlg, "BOK");
            });
            QVERIFY(triggerAction(w->mainWindow, "actAktualisierung"));
            QVERIFY(*ran);
            QVERIFY(w->mainWindow->refreshTimer()->isActive());
            QCOMPARE(w->mainWindow->refreshTimer()->interval(), 30000);
        }
        Settings::WriteSettingInt("Refresh", 0); // replaced at the next start
        auto w = start();
        QTRY_VERIFY(w->mainWindow->refreshTimer()->isActive());
        QCOMPARE(Settings::ReadSettingInt("Refresh"), 600);
    }

    void timerStartsWhenTheDatabaseIsFirstOpenedFromTheMenu()
    {
        // a start without a database: the dialog is closed without choosing one
        auto closed = whenModal("TDBErstellenF", [](QWidget* dlg) { click(dlg, "BSchliessen"); });
        fixture->messages.expect("Es ist keine Datenbank geöffnet");
        auto w = start();
        MainWindow* m = w->mainWindow;
        QTRY_VERIFY(*closed);
        QTRY_VERIFY(fixture->messages.allAnswered());
        QTest::qWait(50);
        QVERIFY(!m->refreshTimer()->isActive());
        FileDialogs::setFolderHandler([this](const QString&, const QString&) { return fixture->env.dbDir(); });
        auto created = whenModal("TDBErstellenF", [](QWidget* dlg) {
            click(dlg, "SpeedButton1");
            click(dlg, "Button1");
        });
        QVERIFY(triggerAction(m, "actDatenbank"));
        QVERIFY(*created);
        QVERIFY(m->data().isOpen());
        QVERIFY(m->refreshTimer()->isActive());
    }

    // Restoring a minimised dialog sends it a show event from the window system; what the user
    // typed must survive it.
    void restoredDialogsKeepWhatWasTyped()
    {
        prepareLibrary();
        auto w = start();
        MainWindow* m = w->mainWindow;
        QTRY_VERIFY(m->refreshTimer()->isActive());
        const auto restore = [](QWidget* dlg) {
            QShowEvent show;
            QSpontaneKeyEvent::setSpontaneous(&show);
            qApp->notify(dlg, &show); // sendEvent() would clear the mark
        };
        QString typed, afterRestore;
        auto interval = whenModal("TDatenbankaktualisierungF", [&](QWidget* dlg) {
            auto* spin = child<IntervalSpinBox>(dlg, "SEIntervall");
            spin->setNumber(42);
            typed = spin->text();
            restore(dlg);
            afterRestore = spin->text();
            click(dlg, "BAbbrechen");
        });
        QVERIFY(triggerAction(m, "actAktualisierung"));
        QVERIFY(*interval);
        QCOMPARE(typed, QStringLiteral("42"));
        QCOMPARE(afterRestore, typed);
        auto folders = whenModal("TDBErstellenF", [&](QWidget* dlg) {
            child<QLineEdit>(dlg, "Edit2")->setText("/anderswo");
            restore(dlg);
            afterRestore = child<QLineEdit>(dlg, "Edit2")->text();
            click(dlg, "BSchliessen");
        });
        QVERIFY(triggerAction(m, "actDatenbank"));
        QVERIFY(*folders);
        QCOMPARE(afterRestore, QStringLiteral("/anderswo"));
    }

    // A question holds the refresh back, and what is deleted is the record asked about, even
    // when the cursor moves while the question is open.
    void questionHoldsRefreshAndDeleteActsOnTheRecordAskedAbout()
    {
        prepareLibrary();
        {
            FixtureWriter fx(fixture->env.dbDir());
            for (const char* t : {"Eins", "Zwei", "Drei"})
                fx.insert("Buecher", {{"Titel", t}});
        }
        auto w = start();
        MainWindow* m = w->mainWindow;
        QTRY_VERIFY(m->refreshTimer()->isActive());
        RecordSet& books = m->data().books();
        books.setRecNo(2);
        QCOMPARE(books.text("Titel"), QStringLiteral("Zwei"));
        fixture->messages.expect("Sind Sie sicher", Messages::Answer::Yes, [&] {
            FixtureWriter(fixture->env.dbDir()).insert("Buecher", {{"Titel", "Vom Nachbarn"}});
            m->refreshNow(); // as the timer would: waits
            QCOMPARE(books.recordCount(), 3);
            books.first(); // a refresh of old moved the cursor to the first row
        });
        QVERIFY(triggerAction(m, "actBuchLoeschen"));
        FixtureWriter fx(fixture->env.dbDir());
        QCOMPARE(fx.scalar("SELECT group_concat(Titel, ',') FROM (SELECT Titel FROM Buecher ORDER BY ID)").toString(),
                 QStringLiteral("Eins,Drei,Vom Nachbarn"));
    }

    // A database file nobody may write (here: immutable, which holds for root too) opens for
    // viewing, says so, and switches off what would change data.
    void readOnlyDatabaseOpensForViewingOnly()
    {
        prepareLibrary();
        FixtureWriter(fixture->env.dbDir()).insert("Buecher", {{"Titel", "Nur ansehen"}});
        const QString file = QDir(fixture->env.dbDir()).filePath("db.sqlite");
        if (QProcess::execute("chattr", {"+i", file}) != 0) {
            if (geteuid() == 0)
                QSKIP("cannot make the file read-only for root here (chattr +i failed)");
            QVERIFY(QFile::setPermissions(file, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
        }
        const auto writable = qScopeGuard([&] {
            QProcess::execute("chattr", {"-i", file});
            QFile::setPermissions(file, QFile::ReadOwner | QFile::WriteOwner);
        });
        fixture->messages.expect("schreibgeschützt");
        auto w = start();
        MainWindow* m = w->mainWindow;
        QTRY_VERIFY(m->refreshTimer()->isActive());
        QTRY_VERIFY(fixture->messages.allAnswered());
        QVERIFY(m->databaseOpened());
        QCOMPARE(m->data().books().text("Titel"), QStringLiteral("Nur ansehen"));
        for (const char* name : {"actBuchNeu", "actLeserNeu", "actAusleihen", "actRueckgabe", "actBuchLoeschen"})
            QVERIFY2(!m->action(name)->isEnabled(), name);
        QVERIFY(m->action("actAuswerten")->isEnabled());
        // a write that gets through anyway is refused in German
        fixture->messages.expect("schreibgeschützt");
        guarded(m, [&] {
            m->data().books().edit();
            m->data().books().setText("Titel", "Geändert");
            m->data().books().post();
        });
        QVERIFY(fixture->messages.allAnswered());
        m->data().books().cancel();
    }

    void infoCreditsThePostalData()
    {
        prepareLibrary();
        auto w = start();
        QTRY_VERIFY(w->mainWindow->refreshTimer()->isActive());
        QString credit;
        auto ran = whenModal("TAboutF", [&](QWidget* dlg) {
            credit = dlg->findChild<QLabel*>("LQuellen")->text();
            QTest::mouseClick(dlg->findChild<QAbstractButton*>("BOK"), Qt::LeftButton);
        });
        QVERIFY(triggerAction(w->mainWindow, "actInfo"));
        QVERIFY(*ran);
        QVERIFY(credit.contains("GeoNames (www.geonames.org), CC BY 4.0"));
    }

    void twoWorkstationsKeepAllKeywords()
    {
        prepareLibrary();
        const int perProcess = 15;
        QList<QProcess*> procs;
        for (const char* prefix : {"A", "B"}) {
            auto* p = new QProcess(this);
            p->setProcessChannelMode(QProcess::ForwardedChannels);
            p->start(QCoreApplication::applicationFilePath(),
                     {"--child", QString::fromLatin1(prefix), QString::number(perProcess)});
            procs << p;
        }
        for (QProcess* p : procs) {
            QVERIFY(p->waitForFinished(60000));
            QCOMPARE(p->exitStatus(), QProcess::NormalExit);
            QCOMPARE(p->exitCode(), 0);
        }
        FixtureWriter fx(fixture->env.dbDir());
        QCOMPARE(fx.scalar("SELECT count(*) FROM Buecher").toInt(), 2 * perProcess);
        const QStringList keywords = FieldCaptions::splitLines(fx.scalar("SELECT Schlagwort FROM Blob").toString());
        const QStringList publishers = FieldCaptions::splitLines(fx.scalar("SELECT Verlag FROM Blob").toString());
        QCOMPARE(keywords.size(), 2 * perProcess);
        QCOMPARE(publishers.size(), 2 * perProcess);
        for (const char* prefix : {"A", "B"})
            for (int i = 0; i < perProcess; ++i)
                QVERIFY(keywords.contains(QStringLiteral("%1-Wort-%2").arg(prefix).arg(i)));
    }
};

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    AppSetup::configure(app);
    const QStringList args = app.arguments();
    if (args.size() > 1 && args.at(1) == u"--child")
        return runChild(args.mid(2));
    TestMainform t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_mainwindow.moc"
