// Usage: QT_QPA_PLATFORM=offscreen tomaris_snapshot <output folder>
// Builds a small sample library in a temporary folder (with temporary settings), creates the
// windows as the program does, and writes one PNG per main-window tab and per dialog.
#include "common/gui/FileDialogs.h"
#include "common/gui/Messages.h"
#include "datastore/LibraryData.h"
#include "datastore/Settings.h"
#include "datastore/SqlEngine.h"
#include "exchange/ImportWizard.h"
#include "mainwindow/AppSetup.h"
#include "mainwindow/MainWindow.h"
#include "mainwindow/WindowSet.h"
#include "printing/ListPreview.h"
#include "printing/ListPrintDialog.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDateTime>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QSqlQuery>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTimer>

namespace {

void fillSampleLibrary(const QString& dir)
{
    SqliteEngine().createDatabase(dir);
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("sample"));
        db.setDatabaseName(SqliteEngine().databaseLocation(dir));
        db.open();
        QSqlQuery q(db);
        const QStringList books{
            "'Fontane, Theodor','Effi Briest','Reclam','1896','Berlin','3','Roman','F-12','Regal "
            "1','978-3-15-006961-4',"
            "49000,'Schullektüre',1,'Ehe','Preußen'",
            "'Kästner, Erich','Emil und die Detektive','Dressler','1929','Hamburg','12','Kinderbuch','K-3','Regal 4',"
            "'978-3-7915-3012-4',120000,NULL,0,'Berlin','Detektiv'",
            "'Zweig, Stefan','Schachnovelle','Fischer','1942','Frankfurt','5','Novelle','Z-1','Regal 2',"
            "'978-3-596-21522-4',5000,NULL,0,'Schach',NULL",
            "'Müller, Herta','Atemschaukel','Hanser','2009','München','1','Roman','M-7','Regal 1',NULL,NULL,"
            "'Nobelpreis',1,'Lager','Rumänien'",
            "'Goethe, Johann Wolfgang','Faust','Insel','1808','Leipzig','2','Drama','G-1','Regal 3',NULL,89900,NULL,0,"
            "'Tragödie',NULL",
        };
        for (const QString& b : books)
            q.exec("INSERT INTO Buecher (Verfasser, Titel, Verlag, Erscheinungsjahr, Erscheinungsort, Auflage, "
                   "Sachgruppe, Signatur, Standort, ISBN, Preis, Bemerkung, ausgeliehen, Schlagwort1, Schlagwort2) "
                   "VALUES (" +
                   b + ")");
        q.exec("INSERT INTO Leser (Vorname, Nachname, \"Straße\", PLZ, Ort, Telefon, eMail) VALUES "
               "('Anna','Schmidt','Lindenweg 3','01067','Dresden','0351 123456','anna@example.org'),"
               "('Jörg','Weiß','Am Markt 1','80331','München','089 998877',NULL),"
               "('Ülkü','Yılmaz','Hauptstraße 20','50667','Köln',NULL,NULL)");
        const QDateTime now = QDateTime::currentDateTime();
        const auto t = [&](int days) { return now.addDays(days).toString("yyyy-MM-dd HH:mm:ss"); };
        q.exec(QStringLiteral("INSERT INTO Ausleihe (BuecherID, LeserID, DatumVon, DatumBisSoll) VALUES "
                              "(1, 1, '%1', '%2'), (4, 2, '%3', '%4')")
                   .arg(t(-40), t(-10), t(-5), t(25)));
        q.exec(QStringLiteral("INSERT INTO Ausleihe (BuecherID, LeserID, DatumVon, DatumBis) VALUES "
                              "(2, 3, '%1', '%2')")
                   .arg(t(-90), t(-70)));
        q.exec("UPDATE Blob SET Schlagwort = 'Ehe\r\nPreußen\r\nBerlin\r\nDetektiv\r\n', Verlag = "
               "'Reclam\r\nDressler\r\nFischer\r\n'");
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("sample"));
}

bool save(QWidget* w, const QString& folder, const QString& name)
{
    const QString path = QDir(folder).filePath(name + QStringLiteral(".png"));
    const bool ok = w->grab().save(path);
    QTextStream(stdout) << (ok ? "wrote " : "FAILED ") << path << '\n';
    return ok;
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    AppSetup::configure(app);
    if (argc < 2) {
        QTextStream(stderr) << "usage: tomaris_snapshot <output folder>\n";
        return 2;
    }
    const QString out = QDir(QString::fromLocal8Bit(argv[1])).absolutePath();
    QDir().mkpath(out);

    QTemporaryDir temp;
    qputenv("XDG_CONFIG_HOME", QDir(temp.path()).filePath("config").toLocal8Bit());
    const QString dbDir = QDir(temp.path()).filePath("db");
    QDir().mkpath(dbDir);
    fillSampleLibrary(dbDir);
    Settings::WriteSettingString(QStringLiteral("DBPfad"), dbDir);
    Settings::WriteSettingInt(QStringLiteral("Width"), 900);
    Settings::WriteSettingInt(QStringLiteral("Height"), 560);

    WindowSet windows;
    MainWindow* m = windows.mainWindow;
    // As after choosing the database on the first start: the design widths are stored.
    m->applyFieldCaptions();
    m->saveColumnWidths();
    m->show();
    int failures = 0;
    QTimer::singleShot(200, [&] {
        const char* tabs[] = {"main-1-buecher", "main-2-leser", "main-3-ausleihliste", "main-4-ueberfaellig"};
        for (int i = 0; i < 4; ++i) {
            m->tabs()->setCurrentIndex(i); // as a click: the overdue tab filters
            QApplication::processEvents();
            failures += !save(m, out, QString::fromLatin1(tabs[i]));
        }
        m->tabs()->setCurrentIndex(0);
        // Every dialog, shown without blocking and closed the way the user does, so that its
        // clean-up (filters off) runs before the next one. Questions on closing get "No".
        Messages::setHandler([](Messages::Kind, const QString&, Messages::Buttons) { return Messages::Answer::No; });
        for (QDialog* d : m->findChildren<QDialog*>()) {
            if (d->parent() != m)
                continue;
            d->show();
            QApplication::processEvents();
            failures += !save(d, out, d->objectName());
            d->reject();
            QApplication::processEvents();
        }
        // A preview page of every printed list.
        for (ListPrintDialog* d : {windows.bookPrintDialog, windows.readerPrintDialog, windows.loanPrintDialog}) {
            d->show();
            QApplication::processEvents();
            {
                ListPreview preview(d->pageModel(), d->printer(), m);
                preview.show();
                QApplication::processEvents();
                failures += !save(&preview, out, preview.objectName());
            }
            d->reject();
            QApplication::processEvents();
        }
        // The book import wizard with a source loaded, on both pages, with a few assignments.
        {
            QFile csv(QDir(temp.path()).filePath("katalog.csv"));
            if (csv.open(QIODevice::WriteOnly))
                csv.write("Autor;Titel;Verlag;Preis;Schlagwort\r\nFontane;Effi Briest;Reclam;12,50;Ehe\r\n"
                          "K\xe4stner;Emil und die Detektive;Dressler;8,00;Detektiv\r\n"
                          "Mann;Der Zauberberg;Fischer;;Sanatorium\r\n");
            csv.close();
            FileDialogs::setOpenFileHandler([&csv](const QString&, const QString&) { return csv.fileName(); });
            QDialog* wizard = windows.importBooksWizard;
            wizard->show();
            wizard->findChild<QAbstractButton*>("SpeedButton4")->click();
            QApplication::processEvents();
            failures += !save(wizard, out, QStringLiteral("TWizzardF-1"));
            wizard->findChild<QAbstractButton*>("SRColorButton4")->click();
            auto* mapping = wizard->findChild<QTableWidget*>("SGDatenbank");
            auto* source = wizard->findChild<QTableWidget*>("SgDatei2");
            for (auto [target, field] : {std::pair{0, 0}, {1, 1}, {2, 2}, {11, 3}, {13, 4}}) {
                mapping->selectRow(target);
                source->selectRow(field);
                wizard->findChild<QAbstractButton*>("SpeedButton5")->click();
            }
            QApplication::processEvents();
            failures += !save(wizard, out, QStringLiteral("TWizzardF-2"));
            wizard->reject();
            FileDialogs::setOpenFileHandler({});
        }
        QCoreApplication::exit(failures == 0 ? 0 : 1);
    });
    return app.exec();
}
