// The take-over dialog as users meet it: opened from the menu, a file chosen, the books taken
// over into the grid and the book entry's lists; stopping, damaged files and a repeated file.
#include "GuiFixture.h"
#include "GuiSupport.h"
#include "PacketWriter.h"
#include "TestSupport.h"
#include "catalogue/BookEntryDialog.h"
#include "common/gui/FileDialogs.h"
#include "datastore/LibraryData.h"
#include "datastore/RecordSetModel.h"
#include "datastore/Settings.h"
#include "exchange/TakeOverDialog.h"
#include "mainwindow/AppSetup.h"
#include "mainwindow/MainWindow.h"
#include "mainwindow/WindowSet.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include <memory>

namespace {

QVariantMap book(int id, const QString& title, const QVariantMap& more = {})
{
    QVariantMap v = more;
    v.insert("ID", id);
    v.insert("Titel", title);
    return v;
}

QStringList items(QComboBox* box)
{
    QStringList texts;
    for (int i = 0; i < box->count(); ++i)
        texts << box->itemText(i);
    return texts;
}

} // namespace

class TestTakeOverDialog : public QObject
{
    Q_OBJECT

    std::unique_ptr<GuiFixture> fixture;
    std::unique_ptr<FixtureWriter> fx;
    QStringList chooserCalls;
    QString chosenFile;

    MainWindow* start()
    {
        Settings::WriteSettingString(SettingName::DBPfad, fixture->env.dbDir());
        fixture->windows = std::make_unique<WindowSet>();
        fixture->windows->mainWindow->show();
        MainWindow* m = fixture->windows->mainWindow;
        if (!QTest::qWaitFor([m] { return QApplication::activeWindow() == m; }))
            qWarning("main window not active");
        return m;
    }

    bool showDialog(QDialog* dialog)
    {
        dialog->open();
        return QTest::qWaitFor([dialog] { return QApplication::activeWindow() == dialog; });
    }

    QString writeFile(const PacketWriter& w, const QString& name = "buecher30.t04")
    {
        const QString path = fixture->env.root() + '/' + name;
        w.write(path);
        return path;
    }

    // Chooses the file through the browse button, as a user does.
    void choose(QWidget* dialog, const QString& file)
    {
        chosenFile = file;
        click(dialog, "SpeedButton2");
        QCOMPARE(child<QLineEdit>(dialog, "Edit2")->text(), file);
    }

    int storedBooks() { return fx->scalar("SELECT count(*) FROM Buecher").toInt(); }

private slots:
    void init()
    {
        fixture = std::make_unique<GuiFixture>();
        createLibraryDatabase(fixture->env.dbDir());
        fx = std::make_unique<FixtureWriter>(fixture->env.dbDir());
        chooserCalls.clear();
        FileDialogs::setOpenFileHandler([this](const QString& title, const QString& start) {
            chooserCalls << title + '|' + start;
            return chosenFile;
        });
    }

    void cleanup()
    {
        FileDialogs::setOpenFileHandler({});
        fx.reset();
        const QString problems = fixture->finish();
        fixture.reset();
        QVERIFY2(problems.isEmpty(), qPrintable(problems));
    }

    void takeOverThroughTheMenu()
    {
        fx->insert("Buecher", {{"Titel", "Bestand"}, {"Verlag", "Reclam"}, {"ausgeliehen", 0}});
        fx->exec("UPDATE Blob SET Verlag = 'Reclam' || char(13) || char(10)");
        MainWindow* m = start();
        PacketWriter w = PacketWriter::bookFile();
        w.addRecord(
            book(4, "Emil und die Detektive",
                 {{"Verfasser", "Erich Kästner"}, {"Verlag", "Dressler"}, {"Preis", 12.9}, {"ausgeliehen", true}}));
        w.addRecord(book(9, "Effi Briest", {{"Verlag", "reclam"}, {"Schlagwort1", "Preußen"}}));
        w.addRecord(book(2, "Schachnovelle", {{"Verlag", "Fischer"}, {"Schlagwort4", "Schach"}}));
        const QString file = writeFile(w);

        fixture->messages.expect("3 Bücher übernommen\n\n1 Buch war in der Datei als ausgeliehen markiert.");
        auto ran = whenModal("TDBImportF", [&](QWidget* d) {
            QCOMPARE(d->windowTitle(), QString("Datenbank aus Tomaris 2004/05 importieren"));
            QCOMPARE(child<QLabel>(d, "Label1")->text(),
                     QString("Folgende Datenbank importieren (Dateiname muss buecher30.t04 sein):"));
            QLineEdit* edit = child<QLineEdit>(d, "Edit2");
            QCOMPARE(edit->text(), QString("c:\\"));
            QVERIFY(edit->isReadOnly());
            QVERIFY(!edit->hasFrame());
            QCOMPARE(child<QPushButton>(d, "Button1")->text(), QString("  Importieren"));
            QCOMPARE(child<QPushButton>(d, "BLoeschen")->text(), QString("  Schließen"));
            QCOMPARE(child<QToolButton>(d, "SpeedButton5")->toolTip(), QString("Hile aufrufen"));
            choose(d, file);
            QCOMPARE(chooserCalls, QStringList({"Öffnen|c:\\"}));
            click(d, "Button1");
        });
        QVERIFY(triggerAction(m, "actDatenuebernahme"));
        QVERIFY(*ran);
        QVERIFY(!fixture->windows->takeOverDialog->isVisible());

        QCOMPARE(fx->scalar("SELECT group_concat(ID || ':' || Titel || ':' || coalesce(Preis, '') || ':' || "
                            "ausgeliehen, ' / ') FROM (SELECT * FROM Buecher ORDER BY ID)")
                     .toString(),
                 QString("1:Bestand::0 / 2:Emil und die Detektive:129000:0 / 3:Effi Briest::0 / "
                         "4:Schachnovelle::0"));
        QCOMPARE(m->gridModel(MainTab::Books)->rowCount(), 4);
        // The book entry offers the new values at once, each once.
        BookEntryDialog* entry = fixture->windows->bookEntryDialog;
        QCOMPARE(items(child<QComboBox>(entry, "CBVerlag")), QStringList({"Reclam", "Dressler", "Fischer"}));
        QCOMPARE(items(child<QComboBox>(entry, "CBSchlagwort7")), QStringList({"Preußen", "Schach"}));

        // The file name stays for the next opening.
        QVERIFY(showDialog(fixture->windows->takeOverDialog));
        QCOMPARE(child<QLineEdit>(fixture->windows->takeOverDialog, "Edit2")->text(), file);
        click(fixture->windows->takeOverDialog, "BLoeschen");
        QVERIFY(!fixture->windows->takeOverDialog->isVisible());
        QCOMPARE(storedBooks(), 4);
    }

    void refusedFilesAndRepeatsKeepTheDialogOpen()
    {
        start();
        TakeOverDialog* dlg = fixture->windows->takeOverDialog;
        QVERIFY(showDialog(dlg));

        // A cancelled chooser keeps the name shown.
        chosenFile.clear();
        click(dlg, "SpeedButton2");
        QCOMPARE(child<QLineEdit>(dlg, "Edit2")->text(), QString("c:\\"));

        PacketWriter w = PacketWriter::bookFile();
        w.addRecord(book(1, "Erstes"));
        w.addRecord(book(2, "Letztes"));
        QByteArray damaged = w.bytes();
        damaged.chop(2);
        const QString damagedFile = fixture->env.root() + "/kaputt.t04";
        QFile f(damagedFile);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(damaged);
        f.close();
        choose(dlg, damagedFile);
        fixture->messages.expect("ist kein lesbares Datenpaket");
        click(dlg, "Button1");
        QVERIFY(dlg->isVisible());

        PacketWriter noPrice = PacketWriter::bookFile();
        noPrice.columns().removeAt(20);
        noPrice.addRecord(book(1, "Erstes"));
        choose(dlg, writeFile(noPrice, "ohnepreis.t04"));
        fixture->messages.expect("Das Feld 'Preis' wurde nicht gefunden");
        click(dlg, "Button1");
        QVERIFY(dlg->isVisible());
        QCOMPARE(storedBooks(), 0);

        choose(dlg, writeFile(w));
        fixture->messages.expect("2 Bücher übernommen");
        click(dlg, "Button1");
        QVERIFY(!dlg->isVisible());
        QCOMPARE(storedBooks(), 2);

        // The same file again: asked first; "Nein" adds nothing and keeps the dialog open.
        QVERIFY(showDialog(dlg));
        QVERIFY(fixture->messages.allAnswered() && fixture->messages.unexpected.isEmpty());
        // No progress window may wait behind the question (it would show over it).
        QStringList asked;
        Messages::setHandler([&](Messages::Kind, const QString& text, Messages::Buttons) {
            asked << text;
            if (dlg->findChild<QProgressDialog*>())
                asked << "progress window present";
            return Messages::Answer::No;
        });
        click(dlg, "Button1");
        fixture->messages.reinstall(); // the scripted answers take over again
        QCOMPARE(asked.size(), 1);
        QVERIFY2(asked.first().startsWith("Die 2 Bücher dieser Datei scheinen schon übernommen zu sein"),
                 qPrintable(asked.first()));
        QVERIFY(dlg->isVisible());
        QCOMPARE(storedBooks(), 2);
        fixture->messages.expect("Die 2 Bücher dieser Datei scheinen schon übernommen zu sein", Messages::Answer::Yes);
        fixture->messages.expect("2 Bücher übernommen");
        click(dlg, "Button1");
        QVERIFY(!dlg->isVisible());
        QCOMPARE(storedBooks(), 4);
    }

    void stoppingInTheProgressDialogTakesNothingOver()
    {
        MainWindow* m = start();
        PacketWriter w = PacketWriter::bookFile();
        // Enough books that the take-over is still running when its progress window appears
        // (after half a second), however fast the machine.
        for (int i = 1; i <= 40000; ++i)
            w.addRecord(book(i, QString("Buch %1").arg(i), {{"Verlag", QString("Verlag %1").arg(i % 40)}}));
        TakeOverDialog* dlg = fixture->windows->takeOverDialog;
        QVERIFY(showDialog(dlg));
        choose(dlg, writeFile(w));

        auto stopped = whenModal(
            "TakeOverProgress",
            [](QWidget* progress) {
                QCOMPARE(progress->windowTitle(), QString("Datenbank aus Tomaris 2004/05 importieren"));
                QCOMPARE(child<QLabel>(progress, {})->text(), QString("Die Bücher werden übernommen …"));
                auto* cancel = progress->findChild<QPushButton*>();
                QVERIFY(cancel);
                QCOMPARE(cancel->text(), QString("Abbrechen"));
                QTest::mouseClick(cancel, Qt::LeftButton);
            },
            60000);
        click(dlg, "Button1");
        QVERIFY(*stopped);
        QVERIFY(dlg->isVisible());
        QCOMPARE(storedBooks(), 0);
        QCOMPARE(m->gridModel(MainTab::Books)->rowCount(), 0);
        QCOMPARE(items(child<QComboBox>(fixture->windows->bookEntryDialog, "CBVerlag")), QStringList());
        QCOMPARE(fx->scalar("SELECT coalesce(Verlag, '') FROM Blob").toString(), QString());
    }
};

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    AppSetup::configure(app);
    TestTakeOverDialog t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_takeoverdialog.moc"
