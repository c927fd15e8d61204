// The export dialog as a user meets it: the option rules of the three formats, choosing or
// typing the target, exporting the checked fields, what stays between openings, and a target
// that cannot be written.
#include "GuiFixture.h"
#include "GuiSupport.h"
#include "TestSupport.h"
#include "common/gui/FileDialogs.h"
#include "datastore/LibraryData.h"
#include "exchange/ExportDialog.h"
#include "mainwindow/AppSetup.h"
#include "mainwindow/MainWindow.h"
#include "mainwindow/WindowSet.h"

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScopeGuard>
#include <QTest>
#include <QTimer>

#include <memory>

namespace {

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

// Which of the six separator and qualifier buttons are enabled and which are checked.
QString buttonState(QWidget* dialog)
{
    QString state;
    for (const char* name : {"RBTabulator", "RBSemikolon", "RBKomma", "RBdoppelt", "RBeinfach", "RBkeine"}) {
        auto* b = child<QRadioButton>(dialog, name);
        state += b->isEnabled() ? (b->isChecked() ? 'X' : 'e') : (b->isChecked() ? 'x' : '-');
    }
    return state;
}

// Clicks a radio button on its indicator (the middle of a wide button is outside its hit area).
void pick(QWidget* dialog, const char* name)
{
    auto* b = child<QRadioButton>(dialog, name);
    QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(6, b->height() / 2));
}

} // namespace

class TestExportDialog : public QObject
{
    Q_OBJECT

    std::unique_ptr<GuiFixture> fixture;
    ExportDialog* dialog = nullptr; // the books export, made by the window set

    MainWindow* main() const { return fixture->main(); }

    // Shows the dialog as the menu does, but without blocking, so that the test can act in it.
    void open(ExportDialog* d)
    {
        d->open();
        QVERIFY(QTest::qWaitForWindowExposed(d));
    }

    void reopen()
    {
        dialog->hide();
        open(dialog);
    }

private slots:
    void init()
    {
        fixture = std::make_unique<GuiFixture>();
        fixture->createLibrary();
        {
            FixtureWriter w(fixture->env.dbDir());
            w.insert("Buecher",
                     {{"Verfasser", "Müller"}, {"Titel", "Kochen, Backen"}, {"Preis", 125000}, {"ausgeliehen", 0}});
            w.insert("Buecher", {{"Verfasser", "Łukasz"}, {"Titel", "Polnisch"}, {"ausgeliehen", 0}});
            w.insert("Leser", {{"Vorname", "Anna"}, {"Nachname", "Roth"}, {"Bemerkung", "<zahlt bar>"}});
        }
        fixture->start();
        QTRY_VERIFY(main()->refreshTimer()->isActive());
        dialog = fixture->windows->exportBooksDialog;
        open(dialog);
    }

    void cleanup()
    {
        FileDialogs::setSaveFileHandler({});
        dialog = nullptr;
        const QString problems = fixture->finish();
        fixture.reset();
        QVERIFY2(problems.isEmpty(), qPrintable(problems));
    }

    void formatRules()
    {
        QWidget* d = dialog;
        QCOMPARE(d->windowTitle(), "Bücher exportieren");
        QVERIFY(child<QRadioButton>(d, "RBCSV")->isChecked());
        QVERIFY(child<QCheckBox>(d, "CBTitelzeile")->isChecked());
        QCOMPARE(d->findChild<QGroupBox*>("GBFelder")->findChildren<QCheckBox*>().size(), 23);
        QVERIFY(child<QCheckBox>(d, "CBS10")->isChecked());
        QCOMPARE(buttonState(d), "--XX--");

        pick(d, "RBTXT");
        QCOMPARE(buttonState(d), "eeXXee");
        pick(d, "RBTabulator");
        pick(d, "RBkeine");
        QCOMPARE(buttonState(d), "XeeeeX");

        pick(d, "RBHTML");
        QVERIFY(!child<QGroupBox>(d, "GroupBox1")->isEnabled());
        QVERIFY(!child<QGroupBox>(d, "GroupBox5")->isEnabled());
        QCOMPARE(buttonState(d), "x----x"); // checked state stays

        pick(d, "RBTXT");
        QCOMPARE(buttonState(d), "XeeeeX");
        pick(d, "RBCSV");
        QVERIFY(child<QGroupBox>(d, "GroupBox1")->isEnabled());
        QCOMPARE(buttonState(d), "--XX--");
    }

    void saveDialogFollowsTheFormat_data()
    {
        QTest::addColumn<QString>("format");
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QString>("suffix");
        QTest::newRow("csv") << "RBCSV"
                             << "CSV-Dateien (*.csv)"
                             << "csv";
        QTest::newRow("html") << "RBHTML"
                              << "HTML-Dateien (*.html)"
                              << "html";
        QTest::newRow("txt") << "RBTXT"
                             << "Text-Dateien (*.txt)"
                             << "txt";
    }

    void saveDialogFollowsTheFormat()
    {
        QFETCH(QString, format);
        QFETCH(QString, filter);
        QFETCH(QString, suffix);
        QWidget* d = dialog;
        QString seenFilter, seenSuffix, answer;
        FileDialogs::setSaveFileHandler([&](const QString&, const QString& f, const QString& s) {
            seenFilter = f;
            seenSuffix = s;
            return answer;
        });
        auto* target = child<QLineEdit>(d, "EZieldatei");
        auto* exportButton = child<QPushButton>(d, "Button1");
        pick(d, qPrintable(format));
        QVERIFY(!exportButton->isEnabled());

        click(d, "SpeedButton1"); // cancelled: nothing changes
        QCOMPARE(seenFilter, filter);
        QCOMPARE(seenSuffix, suffix);
        QCOMPARE(target->text(), QString());
        QVERIFY(!exportButton->isEnabled());

        answer = fixture->env.root() + "/liste." + suffix;
        click(d, "SpeedButton1");
        QCOMPARE(target->text(), answer);
        QVERIFY(exportButton->isEnabled());
        target->clear();
        QVERIFY(!exportButton->isEnabled());
        QTest::keyClicks(target, "x");
        QVERIFY(exportButton->isEnabled());
    }

    void exportsCheckedFieldsAndKeepsSelection()
    {
        fixture->messages.expect("sie stehen in der Datei als „?“");
        QWidget* d = dialog;
        pick(d, "RBTXT");
        pick(d, "RBSemikolon");
        pick(d, "RBkeine");
        for (QCheckBox* box : d->findChild<QGroupBox*>("GBFelder")->findChildren<QCheckBox*>())
            if (box->objectName() != "CBVerfasser" && box->objectName() != "CBPreis")
                box->setChecked(false);
        // Captions changed after the dialog was made reach the header.
        FixtureWriter(fixture->env.dbDir()).exec("UPDATE Blob SET FeldnamenBuecher = 'Autor/in\r\n'");
        main()->applyFieldCaptions();
        const QString path = fixture->env.root() + "/buecher.txt";
        QTest::keyClicks(child<QLineEdit>(d, "EZieldatei"), path);
        click(d, "Button1");

        QCOMPARE(dialog->result(), int(QDialog::Accepted));
        QVERIFY(!dialog->isVisible());
        QCOMPARE(readAll(path), QByteArray("Autor/in;Preis;\r\nM\xfcller;12,50 \x80;\r\n?ukasz;;\r\n"));
        QVERIFY(fixture->messages.allAnswered());

        // The next opening: empty target, comma and double quote again; format and fields stay.
        reopen();
        QCOMPARE(child<QLineEdit>(d, "EZieldatei")->text(), QString());
        QVERIFY(!child<QPushButton>(d, "Button1")->isEnabled());
        QVERIFY(child<QRadioButton>(d, "RBTXT")->isChecked());
        QCOMPARE(buttonState(d), "eeXXee");
        QVERIFY(child<QCheckBox>(d, "CBVerfasser")->isChecked());
        QVERIFY(!child<QCheckBox>(d, "CBTitel")->isChecked());
    }

    void unwritableTargetKeepsTheDialogOpen()
    {
        ScriptedMessages& messages = fixture->messages;
        messages.expect("konnte nicht geschrieben werden");
        QWidget* d = dialog;
        pick(d, "RBTXT");
        pick(d, "RBTabulator");
        const QString path = fixture->env.root() + "/fehlt/buecher.csv";
        child<QLineEdit>(d, "EZieldatei")->setText(path);
        click(d, "Button1");

        QVERIFY(messages.allAnswered());
        QCOMPARE(messages.shown.size(), 1);
        QVERIFY2(messages.shown.first().contains(QDir::toNativeSeparators(path)), qPrintable(messages.shown.first()));
        QVERIFY(dialog->isVisible());
        QCOMPARE(child<QLineEdit>(d, "EZieldatei")->text(), path);
        QVERIFY(child<QRadioButton>(d, "RBTabulator")->isChecked());
        QVERIFY(!QFile::exists(path));
    }

    void throughTheMenus()
    {
        dialog->reject();
        MainWindow* m = main();
        FixtureWriter(fixture->env.dbDir()).exec("UPDATE Blob SET FeldnamenBuecher = 'Autor\r\n'");
        m->applyFieldCaptions();
        // What the books list shows at that moment: one book.
        m->data().books().setFilter("Verfasser = 'Müller'");
        m->data().books().setFiltered(true);

        const QString books = fixture->env.root() + "/buecher.csv";
        auto ranBooks = whenModal("TExportF", [&](QWidget* d) {
            const auto closeAtEnd = qScopeGuard([d] { d->close(); });
            QCOMPARE(d->windowTitle(), "Bücher exportieren");
            for (QCheckBox* box : d->findChild<QGroupBox*>("GBFelder")->findChildren<QCheckBox*>())
                box->setChecked(box->objectName() == "CBNummer" || box->objectName() == "CBVerfasser");
            child<QLineEdit>(d, "EZieldatei")->setText(books);
            click(d, "Button1");
        });
        QVERIFY(triggerAction(m, "actBuecherExport"));
        QVERIFY(*ranBooks);
        QCOMPARE(readAll(books), QByteArray("\"Nr.\",\"Autor\",\r\n\"1\",\"M\xfcller\",\r\n"));

        const QString readers = fixture->env.root() + "/leser.html";
        auto ranReaders = whenModal("TExportLeserF", [&](QWidget* d) {
            const auto closeAtEnd = qScopeGuard([d] { d->close(); });
            QCOMPARE(d->windowTitle(), "Leser exportieren");
            QCOMPARE(d->findChild<QGroupBox*>("GBFelder")->findChildren<QCheckBox*>().size(), 10);
            child<QCheckBox>(d, "CBTitelzeile")->setChecked(false);
            pick(d, "RBHTML");
            child<QLineEdit>(d, "EZieldatei")->setText(readers);
            click(d, "Button1");
        });
        QVERIFY(triggerAction(m, "actLeserExport"));
        QVERIFY(*ranReaders);
        const QByteArray html = readAll(readers);
        QVERIFY2(html.startsWith("<HTML><HEAD><TITLE>Exportierte Leser</TITLE>\r\n"), html.constData());
        QVERIFY2(
            html.contains("<TR>\r\n</TR>\r\n<TR>\r\n<td>1</td><td>Anna</td><td>Roth</td><td></td><td></td><td></td>"
                          "<td></td><td></td><td>&lt;zahlt bar&gt;</td><td></td></TR>\r\n"),
            html.constData());
        QCOMPARE(fixture->messages.shown, QStringList());
    }
};

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    AppSetup::configure(app);
    TestExportDialog t;
    return QTest::qExec(&t, argc, argv);
}
#include "tst_exportdialog.moc"
