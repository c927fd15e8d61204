// The library's own field captions ("Optionen" › "Feldnamen") and the stored value lists
// ("Optionen" › "Gespeicherte Daten"), as users meet them through the main window.
#include "GuiFixture.h"
#include "GuiSupport.h"
#include "TestSupport.h"
#include "catalogue/BookEntryDialog.h"
#include "catalogue/CaptionStore.h"
#include "datastore/LibraryData.h"
#include "datastore/RecordSetModel.h"
#include "datastore/Settings.h"
#include "mainwindow/AppSetup.h"
#include "mainwindow/MainWindow.h"
#include "mainwindow/WindowSet.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>

namespace {

QString lines(const QStringList& l)
{
    return l.join("\r\n") + "\r\n";
}

QStringList entries(QListWidget* list)
{
    QStringList e;
    for (int i = 0; i < list->count(); ++i)
        e << list->item(i)->text();
    return e;
}

const QStringList defaultStored{"Verfasser", "Titel",    "Verlag",   "Erscheinungsort",  "Auflage",   "Sachgruppe",
                                "ISBN",      "Signatur", "Standort", "Erscheinungsjahr", "Bemerkung", "Sonstiges"};

// Edit of the options dialog, the book entry label and books-grid column showing the same
// caption, and the line of the stored text it comes from (1-based).
struct CaptionPlace
{
    const char* edit;
    const char* label;
    int column;
    int line;
};
const CaptionPlace places[] = {
    {"EVerfasser", "LVerfasser", 1, 1},
    {"ETitel", "LTitel", 2, 2},
    {"EVerlag", "LVerlag", 3, 3},
    {"EErscheinungsjahr", "LErcsheinungsjahr", 4, 10},
    {"EErscheinungsort", "LErscheinungsort", 5, 4},
    {"EAuflage", "LAuflage", 6, 5},
    {"ESachgruppe", "LSachgruppe", 7, 6},
    {"ESignatur", "LSignatur", 8, 8},
    {"EStandort", "LStandort", 9, 9},
    {"EISBN", "LISBN", 10, 7},
    {"EBemerkungen", "LBemerkungen", 12, 11},
};

} // namespace

class TestCaptions : public QObject
{
    Q_OBJECT

    std::unique_ptr<GuiFixture> fixture;

    MainWindow* main() const { return fixture->windows->mainWindow; }

    void createLibrary(const QString& sql = {})
    {
        createLibraryDatabase(fixture->env.dbDir());
        if (!sql.isEmpty())
            FixtureWriter(fixture->env.dbDir()).exec(sql);
        Settings::WriteSettingString("DBPfad", fixture->env.dbDir());
    }

    void start()
    {
        fixture->windows = std::make_unique<WindowSet>();
        fixture->windows->mainWindow->show();
        QTRY_VERIFY(main()->refreshTimer()->isActive());
    }

    // Opens a dialog through the main window's action and runs `act` in it. False when the
    // dialog did not open or `act` left it open (it is then closed).
    bool inDialog(const QString& action, const QString& dialog, std::function<void(QDialog*)> act)
    {
        auto leftOpen = std::make_shared<bool>(false);
        auto ran = whenModal(dialog, [act, leftOpen](QWidget* w) {
            auto* dlg = static_cast<QDialog*>(w);
            act(dlg);
            if (dlg->isVisible()) {
                *leftOpen = true;
                dlg->done(QDialog::Rejected);
            }
        });
        if (!triggerAction(main(), action))
            return false;
        return *ran && !*leftOpen;
    }

    QString storedCaptions() const
    {
        return FixtureWriter(fixture->env.dbDir()).scalar("SELECT FeldnamenBuecher FROM Blob").toString();
    }

    QString gridTitle(int column) const
    {
        return main()->gridModel(MainTab::Books)->headerData(column, Qt::Horizontal).toString();
    }

    QString entryLabel(const char* name) const
    {
        return child<QLabel>(fixture->windows->bookEntryDialog, name)->text();
    }

private slots:
    void init() { fixture = std::make_unique<GuiFixture>(); }

    void cleanup()
    {
        const QString problems = fixture->finish();
        fixture.reset();
        QVERIFY2(problems.isEmpty(), qPrintable(problems));
    }

    void storedText_data()
    {
        QTest::addColumn<QStringList>("captions");
        QTest::addColumn<QString>("stored");

        const QStringList plain = defaultStored.mid(0, 11);
        QTest::newRow("defaults") << plain << lines(defaultStored);
        QStringList withEmpty = plain;
        withEmpty[4] = "";
        QStringList storedEmpty = defaultStored;
        storedEmpty[4] = "";
        QTest::newRow("empty caption keeps its line") << withEmpty << lines(storedEmpty);
        QStringList pasted = plain;
        pasted[0] = "Autor\r\nin";
        pasted[1] = "Werk\n";
        QStringList storedPasted = defaultStored;
        storedPasted[0] = "Autor in";
        storedPasted[1] = "Werk ";
        QTest::newRow("pasted line breaks shift nothing") << pasted << lines(storedPasted);
    }

    void storedText()
    {
        QFETCH(QStringList, captions);
        QFETCH(QString, stored);
        QCOMPARE(CaptionStore::storedText(captions), stored);
    }

    void renameAuthor()
    {
        createLibrary();
        start();
        main()->grid(MainTab::Books)->setColumnWidth(1, 140);
        QVERIFY(inDialog("actFeldnamen", "TOptionenF", [&](QDialog* dlg) {
            QCOMPARE(dlg->windowTitle(), QStringLiteral("Optionen"));
            QWidget* w = child<QWidget>(dlg, "EVerfasser");
            for (const char* next : {"ETitel", "EVerlag", "EErscheinungsort", "ESachgruppe", "EAuflage", "ESignatur",
                                     "EISBN", "EStandort", "EErscheinungsjahr", "EBemerkungen"}) {
                do
                    w = w->nextInFocusChain();
                while (!qobject_cast<QLineEdit*>(w));
                QCOMPARE(w->objectName(), QString::fromLatin1(next));
            }
            QCOMPARE(child<QLineEdit>(dlg, "EVerfasser")->text(), QStringLiteral("Verfasser"));
            auto* edit = child<QLineEdit>(dlg, "EVerfasser");
            edit->selectAll();
            QTest::keyClicks(edit, "Autor/in");
            QTest::keyClick(edit, Qt::Key_Return); // presses no button
            QVERIFY(dlg->isVisible());
            click(dlg, "BNeu");
        }));
        QStringList expected = defaultStored;
        expected[0] = "Autor/in";
        QCOMPARE(storedCaptions(), lines(expected));
        // without a restart: the grid's title, the book entry's label
        QCOMPARE(gridTitle(1), QStringLiteral("Autor/in"));
        QCOMPARE(entryLabel("LVerfasser"), QStringLiteral("Autor/in"));
        // the widths are stored under the new title right away
        QCOMPARE(Settings::ReadSettingInt("BreiteAAutor/in"), 140);

        fixture->windows.reset(); // ends without the closing steps
        start();
        QCOMPARE(gridTitle(1), QStringLiteral("Autor/in"));
        QCOMPARE(main()->grid(MainTab::Books)->columnWidth(1), 140);
        QCOMPARE(entryLabel("LVerfasser"), QStringLiteral("Autor/in"));
    }

    void cancelKeepsCaptions()
    {
        createLibrary();
        start();
        const QString before = storedCaptions();
        QVERIFY(inDialog("actFeldnamen", "TOptionenF", [&](QDialog* dlg) {
            auto* edit = child<QLineEdit>(dlg, "ETitel");
            edit->selectAll();
            QTest::keyClicks(edit, "Werk");
            click(dlg, "BSchliessen");
        }));
        QCOMPARE(storedCaptions(), before);
        QCOMPARE(gridTitle(2), QStringLiteral("Titel"));
        // shown again, the edits show the captions in force, not what was typed
        QVERIFY(inDialog("actFeldnamen", "TOptionenF", [&](QDialog* dlg) {
            QCOMPARE(child<QLineEdit>(dlg, "ETitel")->text(), QStringLiteral("Titel"));
            QTest::keyClick(child<QLineEdit>(dlg, "ETitel"), Qt::Key_Escape);
        }));
    }

    // Each caption line reaches its edit, label and grid column, and OK writes it back to the
    // same line.
    void captionLinesFindTheirPlaces()
    {
        QStringList stored;
        for (int i = 1; i <= 12; ++i)
            stored << QStringLiteral("Z%1").arg(i);
        createLibrary(QStringLiteral("UPDATE Blob SET FeldnamenBuecher = '%1'").arg(lines(stored)));
        start();
        for (const CaptionPlace& p : places) {
            const QString caption = QStringLiteral("Z%1").arg(p.line);
            QCOMPARE(gridTitle(p.column), caption);
            QCOMPARE(entryLabel(p.label), caption);
        }
        // fixed: number, price, keywords
        QCOMPARE(gridTitle(0), QStringLiteral("Nr."));
        QCOMPARE(gridTitle(11), QStringLiteral("Preis"));
        QCOMPARE(entryLabel("LPreis"), QStringLiteral("Preis"));
        QCOMPARE(gridTitle(13), QStringLiteral("Schlagwort 1"));

        QVERIFY(inDialog("actFeldnamen", "TOptionenF", [&](QDialog* dlg) {
            for (const CaptionPlace& p : places)
                QCOMPARE(child<QLineEdit>(dlg, p.edit)->text(), QStringLiteral("Z%1").arg(p.line));
            click(dlg, "BNeu");
        }));
        stored[11] = "Sonstiges"; // the twelfth line is written, never read
        QCOMPARE(storedCaptions(), lines(stored));
    }

    void damagedCaptionsKeepDefaults()
    {
        createLibrary(QStringLiteral("UPDATE Blob SET FeldnamenBuecher = 'Autor' || char(13, 10) || 'Werk'"));
        start();
        QCOMPARE(gridTitle(1), QStringLiteral("Autor"));
        QCOMPARE(gridTitle(2), QStringLiteral("Werk"));
        QCOMPARE(gridTitle(3), QStringLiteral("Verlag"));
        QCOMPARE(gridTitle(12), QStringLiteral("Bemerkungen"));
        QCOMPARE(entryLabel("LVerfasser"), QStringLiteral("Autor"));
        QCOMPARE(entryLabel("LErcsheinungsjahr"), QStringLiteral("Erscheinungsjahr"));
        QCOMPARE(entryLabel("LBemerkungen"), QStringLiteral("Bemerkungen"));
        // OK repairs the stored text
        QVERIFY(inDialog("actFeldnamen", "TOptionenF", [&](QDialog* dlg) { click(dlg, "BNeu"); }));
        QStringList repaired = defaultStored;
        repaired[0] = "Autor";
        repaired[1] = "Werk";
        repaired[10] = "Bemerkungen";
        QCOMPARE(storedCaptions(), lines(repaired));
    }

    void deleteStoredValue_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<int>("list"); // 1..5: list box and delete button
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QStringList>("shown");
        QTest::addColumn<QString>("selected");  // empty: nothing selected
        QTest::addColumn<QString>("meanwhile"); // stored by another workstation after showing
        QTest::addColumn<QString>("after");
        QTest::addColumn<QStringList>("shownAfter");

        QTest::newRow("keyword from the sorted list")
            << "Schlagwort" << 1 << lines({"Zebra", "Ärger", "apfel", "Maus"})
            << QStringList{"apfel", "Ärger", "Maus", "Zebra"} << "apfel"
            << "" << lines({"Zebra", "Ärger", "Maus"}) << QStringList{"Ärger", "Maus", "Zebra"};
        QTest::newRow("keyword spelled exactly wins")
            << "Schlagwort" << 1 << lines({"roman", "Roman"}) << QStringList{"roman", "Roman"} << "Roman"
            << "" << lines({"roman"}) << QStringList{"roman"};
        QTest::newRow("publisher, stored order")
            << "Verlag" << 2 << lines({"Reclam", "Hanser", "Dressler"}) << QStringList{"Reclam", "Hanser", "Dressler"}
            << "Hanser"
            << "" << lines({"Reclam", "Dressler"}) << QStringList{"Reclam", "Dressler"};
        QTest::newRow("last place") << "Erscheinungsort" << 3 << lines({"Berlin"}) << QStringList{"Berlin"} << "Berlin"
                                    << ""
                                    << "" << QStringList{};
        QTest::newRow("subject group respelled meanwhile")
            << "Sachgruppe" << 4 << lines({"Roman", "Drama"}) << QStringList{"Roman", "Drama"} << "Roman"
            << lines({"ROMAN", "Drama", "Lyrik"}) << lines({"Drama", "Lyrik"}) << QStringList{"Drama", "Lyrik"};
        QTest::newRow("location removed meanwhile")
            << "Standort" << 5 << lines({"Regal 1", "Regal 2"}) << QStringList{"Regal 1", "Regal 2"} << "Regal 1"
            << lines({"Regal 2", "Regal 3"}) << lines({"Regal 2", "Regal 3"}) << QStringList{"Regal 2", "Regal 3"};
        QTest::newRow("nothing selected") << "Verlag" << 2 << lines({"Reclam"}) << QStringList{"Reclam"} << ""
                                          << "" << lines({"Reclam"}) << QStringList{"Reclam"};
    }

    void deleteStoredValue()
    {
        QFETCH(QString, field);
        QFETCH(int, list);
        QFETCH(QString, stored);
        QFETCH(QStringList, shown);
        QFETCH(QString, selected);
        QFETCH(QString, meanwhile);
        QFETCH(QString, after);
        QFETCH(QStringList, shownAfter);
        const QStringList boxes{"LBSchlagworte", "LBVerlag", "LBErscheinungsort", "LBSachgruppe", "LBStandort"};
        createLibrary();
        start();
        // stored by another workstation after the program started: showing re-reads
        FixtureWriter(fixture->env.dbDir()).exec(QStringLiteral("UPDATE Blob SET %1 = '%2'").arg(field, stored));
        QVERIFY(inDialog("actGespeicherteDaten", "TSpeicherwerteLoeschenF", [&](QDialog* dlg) {
            QCOMPARE(dlg->windowTitle(), QStringLiteral("Gespeicherte Daten ..."));
            QVERIFY(!child<QWidget>(dlg, "LBTEMP")->isVisible());
            for (int i = 0; i < boxes.size(); ++i)
                QCOMPARE(entries(child<QListWidget>(dlg, boxes.at(i))), i + 1 == list ? shown : QStringList());
            auto* box = child<QListWidget>(dlg, boxes.at(list - 1));
            if (!selected.isEmpty())
                box->setCurrentItem(box->findItems(selected, Qt::MatchExactly).value(0));
            if (!meanwhile.isEmpty())
                FixtureWriter(fixture->env.dbDir())
                    .exec(QStringLiteral("UPDATE Blob SET %1 = '%2'").arg(field, meanwhile));
            click(dlg, QStringLiteral("SRColorButton%1").arg(list));
            QCOMPARE(entries(box), shownAfter);
            click(dlg, "BSchliessen");
        }));
        QCOMPARE(
            FixtureWriter(fixture->env.dbDir()).scalar(QStringLiteral("SELECT %1 FROM Blob").arg(field)).toString(),
            after);
    }
};

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    AppSetup::configure(app);
    TestCaptions t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_captions.moc"
