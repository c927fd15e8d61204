// The print dialogs and the preview as users meet them: the check boxes of each list, the stored
// title and page-number switch, the preview's tool bar and paging, the orientation toggle, and
// printing into a PDF file when the system lists no printer.
#include "GuiSupport.h"
#include "TestSupport.h"
#include "common/gui/FileDialogs.h"
#include "datastore/LibraryData.h"
#include "datastore/Settings.h"
#include "printing/ListPreview.h"
#include "printing/ListPrintDialog.h"
#include "printing/PrinterChoice.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPrinterInfo>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

#include <memory>

namespace {

enum class List { Books, Readers, Loans };

QStringList bookCaptions()
{
    QStringList captions{
        "Nr.",      "Autor/in", "Titel", "Verlag", "Erscheinungsjahr", "Erscheinungsort", "Auflage", "Sachgruppe",
        "Signatur", "Standort", "ISBN",  "Preis",  "Bemerkungen"};
    for (int i = 1; i <= 10; ++i)
        captions << QStringLiteral("Schlagwort %1").arg(i);
    return captions;
}

PrintListDefinition definition(List list)
{
    switch (list) {
    case List::Books:
        return PrintLists::books(bookCaptions());
    case List::Readers:
        return PrintLists::readers();
    case List::Loans:
        break;
    }
    return PrintLists::loans();
}

// Object names of the tool bar's controls, left to right, with their hints.
QStringList toolbarControls(QWidget* preview)
{
    QStringList names;
    auto* toolbar = child<QToolBar>(preview, "PreviewToolbar1");
    QList<QWidget*> widgets = toolbar->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly);
    std::sort(widgets.begin(), widgets.end(), [](QWidget* a, QWidget* b) { return a->x() < b->x(); });
    for (QWidget* w : widgets)
        if (w->isVisible() && (qobject_cast<QToolButton*>(w) || qobject_cast<QComboBox*>(w)) &&
            !w->objectName().isEmpty())
            names << w->objectName() + '=' + (w->toolTip().isEmpty() ? w->property("text").toString() : w->toolTip());
    return names;
}

QString pdfText(const QString& fileName)
{
    QProcess p;
    p.start(QStandardPaths::findExecutable("pdftotext"), {"-layout", "-enc", "UTF-8", fileName, "-"});
    p.waitForFinished(30000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

} // namespace

Q_DECLARE_METATYPE(List)

class TestPrintDialogs : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestEnvironment> env;
    std::unique_ptr<LibraryData> data;

    RecordSet& recordsOf(List list)
    {
        switch (list) {
        case List::Books:
            return data->books();
        case List::Readers:
            return data->readers();
        case List::Loans:
            break;
        }
        return data->loans();
    }

    void open(int books)
    {
        createLibraryDatabase(env->dbDir());
        {
            FixtureWriter fx(env->dbDir());
            fx.exec("BEGIN");
            for (int i = 1; i <= books; ++i) {
                fx.insert("Buecher", {{"Verfasser", QStringLiteral("Autor %1").arg(i)},
                                      {"Titel", QStringLiteral("Band %1").arg(i, 3, 10, QChar('0'))}});
                fx.insert("Leser", {{"Vorname", "Anna"}, {"Nachname", QStringLiteral("Leserin %1").arg(i)}});
                fx.insert("Ausleihe", {{"BuecherID", i},
                                       {"LeserID", i},
                                       {"DatumVon", "2026-11-02 09:30:00"},
                                       {"DatumBisSoll", "2026-12-02 09:30:00"}});
            }
            fx.exec("COMMIT");
        }
        data = std::make_unique<LibraryData>();
        QVERIFY(data->openAtStart(env->dbDir()));
    }

    std::unique_ptr<ListPrintDialog> dialog(List list)
    {
        return std::make_unique<ListPrintDialog>([list] { return definition(list); }, recordsOf(list));
    }

    bool noPrinters() const { return QPrinterInfo::availablePrinterNames().isEmpty(); }

private slots:
    void init() { env = std::make_unique<TestEnvironment>(); }

    void cleanup()
    {
        FileDialogs::setSaveFileHandler({});
        data.reset();
        env.reset();
    }

    void dialogControls_data()
    {
        QTest::addColumn<List>("list");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QStringList>("firstLine"); // check boxes of the first line, left to right
        QTest::addColumn<int>("switches");
        QTest::addColumn<bool>("narrowButton");

        QTest::newRow("books") << List::Books << "TDruckerDialogF"
                               << "Bücherdaten drucken"
                               << QStringList{"CBNummer=Nummer", "CBVerlag=Verlag", "CBAuflage=Auflage",
                                              "CBSignatur=Signatur"}
                               << 23 << true;
        QTest::newRow("readers") << List::Readers << "TDruckerDialogLeserF"
                                 << "Leserdaten drucken"
                                 << QStringList{"CBNummer=Nummer", "CBVorname=Vorname", "CBNachname=Nachname"} << 10
                                 << false;
        QTest::newRow("loans") << List::Loans << "TDruckerDialogAusleihlisteF"
                               << "Ausleihliste"
                               << QStringList{"CBBuchNummer=Buch-Nr.", "CBVerfasser=Verfasser", "CBTitel=Titel"} << 9
                               << false;
    }

    void dialogControls()
    {
        QFETCH(List, list);
        QFETCH(QString, name);
        QFETCH(QString, caption);
        QFETCH(QStringList, firstLine);
        QFETCH(int, switches);
        QFETCH(bool, narrowButton);
        open(1);
        auto d = dialog(list);
        d->show();
        QCOMPARE(d->objectName(), name);
        QCOMPARE(d->windowTitle(), caption);
        auto* felder = child<QGroupBox>(d.get(), "GBFelder");
        const QList<QCheckBox*> boxes = felder->findChildren<QCheckBox*>();
        QCOMPARE(boxes.size(), switches);
        QStringList top;
        for (QCheckBox* box : boxes) {
            QVERIFY(box->isChecked());
            if (box->y() == boxes.first()->y())
                top << box->objectName() + '=' + box->text();
        }
        std::sort(top.begin(), top.end(), [&](const QString& a, const QString& b) {
            return felder->findChild<QCheckBox*>(a.section('=', 0, 0))->x() <
                   felder->findChild<QCheckBox*>(b.section('=', 0, 0))->x();
        });
        QCOMPARE(top, firstLine);
        QCOMPARE(child<QPushButton>(d.get(), "Button4")->isVisible(), narrowButton);
        if (noPrinters())
            QCOMPARE(child<QLabel>(d.get(), "LDrucker")->text(), "PDF-Datei");
        else
            QVERIFY(child<QLabel>(d.get(), "LDrucker")->text() != "Standarddrucker");
        if (list == List::Books)
            QCOMPARE(child<QCheckBox>(d.get(), "CBVerfasser")->text(), "Autor/in"); // the user's caption
    }

    void storedSettings_data()
    {
        QTest::addColumn<List>("list");
        QTest::addColumn<QString>("titleSetting");
        QTest::addColumn<QString>("pageSetting");
        QTest::addColumn<int>("stored");
        QTest::addColumn<bool>("ticked");

        QTest::newRow("books: 2 ticks") << List::Books << "DruckTitel"
                                        << "SeitenzahlenDrucken" << 2 << true;
        QTest::newRow("books: 0 does not") << List::Books << "DruckTitel"
                                           << "SeitenzahlenDrucken" << 0 << false;
        QTest::newRow("readers: 2 does not") << List::Readers << "DruckTitelLeser"
                                             << "DruckSeitenzahlenLeser" << 2 << false;
        QTest::newRow("readers: 1 ticks") << List::Readers << "DruckTitelLeser"
                                          << "DruckSeitenzahlenLeser" << 1 << true;
        QTest::newRow("loans: 2 does not") << List::Loans << "DruckTitelAusleihliste"
                                           << "DruckSeitenzahlenAusleihliste" << 2 << false;
    }

    // Shown: the stored title and switch; "Schließen" stores nothing; closing the preview stores
    // both and closes the dialog.
    void storedSettings()
    {
        QFETCH(List, list);
        QFETCH(QString, titleSetting);
        QFETCH(QString, pageSetting);
        QFETCH(int, stored);
        QFETCH(bool, ticked);
        open(1);
        Settings::WriteSettingString(titleSetting, "Bestand");
        Settings::WriteSettingInt(pageSetting, stored);
        auto d = dialog(list);
        d->show();
        QCOMPARE(child<QLineEdit>(d.get(), "ETitel")->text(), "Bestand");
        QCOMPARE(child<QCheckBox>(d.get(), "CBSeitenzahlenDrucken")->isChecked(), ticked);

        child<QLineEdit>(d.get(), "ETitel")->setText("Nicht gespeichert");
        click(d.get(), "BSchliessen");
        QVERIFY(!d->isVisible());
        QCOMPARE(Settings::ReadSettingString(titleSetting), "Bestand");

        d->show();
        child<QLineEdit>(d.get(), "ETitel")->setText("Neu");
        child<QCheckBox>(d.get(), "CBSeitenzahlenDrucken")->setChecked(!ticked);
        const PrintListDefinition def = definition(list);
        auto ran = whenModal(def.previewName, [](QWidget* preview) { preview->close(); });
        click(d.get(), "BNeu");
        QVERIFY(*ran);
        QVERIFY(!d->isVisible());
        QCOMPARE(d->result(), int(QDialog::Accepted));
        QCOMPARE(Settings::ReadSettingString(titleSetting), "Neu");
        QCOMPARE(Settings::ReadSettingInt(pageSetting), ticked ? 0 : 1);
    }

    void previewToolbarAndPaging_data()
    {
        QTest::addColumn<List>("list");
        QTest::addColumn<bool>("toggle");
        QTest::newRow("books") << List::Books << true;
        QTest::newRow("readers") << List::Readers << true;
        QTest::newRow("loans") << List::Loans << false;
    }

    void previewToolbarAndPaging()
    {
        QFETCH(List, list);
        QFETCH(bool, toggle);
        open(60);
        auto d = dialog(list);
        d->show();
        const PrintListDefinition def = definition(list);
        QStringList controls;
        QList<int> pages;
        QList<bool> nextEnabled;
        auto ran = whenModal(def.previewName, [&](QWidget* preview) {
            controls = toolbarControls(preview);
            auto* p = static_cast<ListPreview*>(preview);
            pages << p->pageCount() << p->currentPage();
            click(preview, "btnNextPage");
            pages << p->currentPage();
            nextEnabled << child<QToolButton>(preview, "btnNextPage")->isEnabled();
            click(preview, "btnFirstPage");
            pages << p->currentPage();
            if (toggle) {
                click(preview, "SpeedButton1");
                pages << p->pageCount();
            }
            preview->close();
        });
        click(d.get(), "BNeu");
        QVERIFY(*ran);
        QStringList expected{"btnPrint=Drucken",          "btnPrinterSetupDialog=Druckereinrichtung",
                             "btnFirstPage=Erste Seite",  "btnPrevPage=Vorherige Seite",
                             "btnNextPage=Nächste Seite", "ScaleBox=Ansicht und Maßstab",
                             "btnZoomOut=Verkleinern",    "btnZoomIn=Vergrößern"};
        if (toggle)
            expected << "SpeedButton1=Hochformat/Querformat";
        QCOMPARE(controls, expected);
        // 60 rows: three portrait pages of 28 (loans: 27); landscape holds 19, so four pages.
        QList<int> expectedPages{3, 1, 2, 1};
        if (toggle)
            expectedPages << 4;
        QCOMPARE(pages, expectedPages);
        QCOMPARE(nextEnabled, QList<bool>{true});
    }

    // Without a printer, "Drucken" asks for a file and writes the list as PDF.
    void printWithoutPrinterWritesPdf()
    {
        if (!noPrinters())
            QSKIP("this system lists a printer");
        open(3);
        auto d = dialog(List::Books);
        d->show();
        child<QLineEdit>(d.get(), "ETitel")->setText("Bestand 2026");
        const QString file = env->root() + "/bestand.pdf";
        QStringList asked;
        FileDialogs::setSaveFileHandler([&](const QString& title, const QString&, const QString&) {
            asked << title;
            return file;
        });
        auto ran = whenModal("TDruckervorschauF", [&](QWidget* preview) {
            click(preview, "btnPrint");
            preview->close();
        });
        click(d.get(), "BNeu");
        QVERIFY(*ran);
        QCOMPARE(asked, QStringList{"Als PDF speichern"});
        const QString text = pdfText(file);
        QVERIFY2(text.contains("Bestand 2026"), qPrintable(text.left(300)));
        QVERIFY(text.indexOf("Band 001") < text.indexOf("Band 002"));
        QVERIFY(text.indexOf("Band 002") < text.indexOf("Band 003"));
    }

    void narrowAndSortLeavesTheMarker()
    {
        open(1);
        auto d = dialog(List::Books);
        d->show();
        click(d.get(), "Button4");
        QVERIFY(!d->isVisible());
        QCOMPARE(d->DruckDialogAktion, ListPrintDialog::NarrowAndSort);

        d->setNarrowButtonVisible(false);
        d->show();
        QVERIFY(!child<QPushButton>(d.get(), "Button4")->isVisible());
    }
};

QTEST_MAIN(TestPrintDialogs)
#include "tst_printdialogs.moc"
