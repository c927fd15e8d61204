// The printed lists as the main window and the search open them: the book list with its way to
// the search, the search's "Drucken" over the narrowed and sorted books, the reader list, and the
// loan and overdue lists with what their tabs show.
#include "GuiFixture.h"
#include "GuiSupport.h"
#include "TestSupport.h"
#include "common/Clock.h"
#include "common/gui/FileDialogs.h"
#include "datastore/LibraryData.h"
#include "datastore/Settings.h"
#include "mainwindow/MainWindow.h"
#include "mainwindow/WindowSet.h"
#include "printing/ListPrintDialog.h"
#include "printing/PrinterChoice.h"
#include "search/CatalogueSearchDialog.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QPrinterInfo>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include <memory>

namespace {

const QDateTime Now(QDate(2026, 12, 11), QTime(10, 0));

QString pdfText(const QString& fileName)
{
    QProcess p;
    p.start(QStandardPaths::findExecutable("pdftotext"), {"-layout", "-enc", "UTF-8", fileName, "-"});
    p.waitForFinished(30000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

} // namespace

class TestPrintMenus : public QObject
{
    Q_OBJECT

    std::unique_ptr<GuiFixture> fixture;
    MainWindow* m = nullptr;

    void start()
    {
        fixture->windows = std::make_unique<WindowSet>();
        m = fixture->windows->mainWindow;
        m->show();
        QTRY_VERIFY(m->refreshTimer()->isActive());
    }

    RecordSet& loans() { return m->data().loans(); }

private slots:
    void init()
    {
        fixture = std::make_unique<GuiFixture>();
        createLibraryDatabase(fixture->env.dbDir());
        Settings::WriteSettingString(SettingName::DBPfad, fixture->env.dbDir());
        Clock::setFixedNow(Now);
        FixtureWriter fx(fixture->env.dbDir());
        // Stored order differs from the order by author.
        fx.insert("Buecher", {{"Verfasser", "Zeta"}, {"Titel", "Band 03"}, {"Verlag", "Reclam"}});
        fx.insert("Buecher", {{"Verfasser", "Alpha"}, {"Titel", "Band 01"}, {"Verlag", "Reclam"}});
        fx.insert("Buecher", {{"Verfasser", "Mitte"}, {"Titel", "Band 02"}, {"Verlag", "Reclam"}});
        fx.insert("Buecher", {{"Verfasser", "Anders"}, {"Titel", "Band 00"}, {"Verlag", "Fischer"}});
        fx.insert("Leser", {{"Vorname", "Anna"}, {"Nachname", "Schmidt"}});
        // One loan due yesterday (overdue), one due today (not yet overdue).
        fx.insert("Ausleihe", {{"BuecherID", 1},
                               {"LeserID", 1},
                               {"DatumVon", "2026-11-10 09:00:00"},
                               {"DatumBisSoll", "2026-12-10 09:00:00"}});
        fx.insert("Ausleihe", {{"BuecherID", 2},
                               {"LeserID", 1},
                               {"DatumVon", "2026-11-11 09:00:00"},
                               {"DatumBisSoll", "2026-12-11 09:00:00"}});
    }

    void cleanup()
    {
        FileDialogs::setSaveFileHandler({});
        m = nullptr;
        Clock::setFixedNow({});
        const QString problems = fixture->finish();
        fixture.reset();
        QVERIFY2(problems.isEmpty(), qPrintable(problems));
    }

    // "Bücher eingrenzen/sortieren" closes the print dialog; then the search opens.
    void bookListLeadsToTheSearch()
    {
        start();
        QAction* tool = m->findChild<QAction*>("TBBuecherlisten");
        QVERIFY(tool && tool->isEnabled());
        bool offered = false;
        bool printDialogClosed = false;
        auto search = whenModal(
            "TAuswertenF",
            [&](QWidget* s) {
                printDialogClosed = !fixture->windows->bookPrintDialog->isVisible();
                s->close();
            },
            10000);
        auto print = whenModal("TDruckerDialogF", [&](QWidget* d) {
            offered = child<QPushButton>(d, "Button4")->isVisible();
            click(d, "Button4");
        });
        tool->trigger();
        QVERIFY(*print);
        QVERIFY(*search);
        QVERIFY(offered);
        QVERIFY(printDialogClosed);
        QCOMPARE(fixture->windows->bookPrintDialog->DruckDialogAktion, 0);

        // Closed with "Schließen": no search.
        auto plain = whenModal("TDruckerDialogF", [&](QWidget* d) { click(d, "BSchliessen"); });
        QVERIFY(triggerAction(m, "actBuecherDrucken"));
        QVERIFY(*plain);
        QVERIFY(!fixture->windows->searchDialog->isVisible());
    }

    // The search's "Drucken" prints the books it narrowed and sorted, without the way back.
    void searchPrintsItsBooks()
    {
        if (!QPrinterInfo::availablePrinterNames().isEmpty())
            QSKIP("this system lists a printer");
        start();
        const QString file = fixture->env.root() + "/suche.pdf";
        FileDialogs::setSaveFileHandler([&](const QString&, const QString&, const QString&) { return file; });
        bool offered = true;
        auto ran = whenModal("TAuswertenF", [&](QWidget* s) {
            auto* field = child<QComboBox>(s, "CB1");
            field->setCurrentIndex(field->findText("Verlag"));
            QTest::mouseClick(child<QAbstractButton>(s, "RBexakt"), Qt::LeftButton);
            auto* edit = child<QLineEdit>(s, "E1");
            edit->setText("Reclam");
            QTest::keyClick(edit, Qt::Key_Return);
            QHeaderView* header = child<QTableView>(s, "DBGrid1")->horizontalHeader();
            QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                              QPoint(header->sectionViewportPosition(1) + 5, 5)); // by author

            auto preview = whenModal("TDruckervorschauF", [&](QWidget* p) {
                click(p, "btnPrint");
                p->close();
            });
            auto print = whenModal("TDruckerDialogF", [&](QWidget* d) {
                offered = child<QPushButton>(d, "Button4")->isVisible();
                click(d, "BNeu");
            });
            click(s, "Button4");
            QVERIFY(*print);
            QVERIFY(*preview);
            s->close();
        });
        QVERIFY(triggerAction(m, "actAuswerten"));
        QVERIFY(*ran);
        QVERIFY(!offered);
        const QString text = pdfText(file);
        QVERIFY2(text.contains("Band 01"), qPrintable(text));
        QVERIFY(text.indexOf("Band 01") < text.indexOf("Band 02"));
        QVERIFY(text.indexOf("Band 02") < text.indexOf("Band 03"));
        QVERIFY(!text.contains("Band 00"));
    }

    void readerList()
    {
        start();
        auto ran = whenModal("TDruckerDialogLeserF", [&](QWidget* d) { click(d, "BSchliessen"); });
        QVERIFY(triggerAction(m, "actLeserDrucken"));
        QVERIFY(*ran);
    }

    // Each loan list shows its tab and prints what the tab shows; the overdue filter stays on.
    void loanLists()
    {
        start();
        int tab = -1;
        int count = -1;
        const auto look = [&](QWidget* d) {
            tab = m->tabs()->currentIndex();
            count = loans().recordCount();
            click(d, "BSchliessen");
        };
        auto overdue = whenModal("TDruckerDialogAusleihlisteF", look);
        QVERIFY(triggerAction(m, "actUeberfaelligeDrucken"));
        QVERIFY(*overdue);
        QCOMPARE(tab, 3);
        QCOMPARE(count, 1); // due today is not overdue
        QCOMPARE(loans().recordCount(), 1);

        auto all = whenModal("TDruckerDialogAusleihlisteF", look);
        QVERIFY(triggerAction(m, "actAusleihlisteDrucken"));
        QVERIFY(*all);
        QCOMPARE(tab, 2);
        QCOMPARE(count, 2);
    }
};

QTEST_MAIN(TestPrintMenus)
#include "tst_printmenus.moc"
