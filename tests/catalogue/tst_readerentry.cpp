// The reader entry as users meet it: entering and saving readers, the town suggestions from
// the postal code, the reader's open loans, the close question, deleting, and a plz.xml next to
// the program replacing the built-in postal codes.
#include "GuiFixture.h"
#include "GuiSupport.h"
#include "TestSupport.h"
#include "catalogue/PostalCodes.h"
#include "catalogue/ReaderEntry.h"
#include "catalogue/ReaderEntryDialog.h"
#include "common/Clock.h"
#include "datastore/LibraryData.h"
#include "datastore/RecordSetModel.h"
#include "datastore/Settings.h"
#include "lending/LoanView.h"
#include "mainwindow/AppSetup.h"
#include "mainwindow/MainWindow.h"
#include "mainwindow/WindowSet.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QSqlQuery>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>
#include <QTimer>

#include <memory>

namespace {

using Answer = Messages::Answer;
const QString CloseQuestion = QStringLiteral("Änderungen speichern beim aktuellen Datensatz?");
const QString DeleteQuestion = QStringLiteral("Möchten Sie diesen Leser wirklich löschen?");

// Types into the field as a user does (replacing its text) and leaves it with Tab.
void typeAndLeave(QWidget* dlg, const char* name, const QString& text)
{
    auto* edit = child<QLineEdit>(dlg, name);
    // Focus moves (and leaving the field runs the lookup) only in the active window; under load
    // the platform may activate the main window after the dialog.
    QApplication::setActiveWindow(dlg->window());
    QVERIFY(QTest::qWaitForWindowActive(dlg->window()));
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, text);
    QTest::keyClick(edit, Qt::Key_Tab);
}

void closeBy(QWidget* dlg, const QString& how)
{
    if (how == u"Schließen")
        click(dlg, "BSchliessen");
    else if (how == u"Escape")
        QTest::keyClick(dlg, Qt::Key_Escape);
    else
        dlg->close(); // the window's close box
}

QStringList items(QComboBox* combo)
{
    QStringList list;
    for (int i = 0; i < combo->count(); ++i)
        list << combo->itemText(i);
    return list;
}

QStringList column(QTableView* grid, int col)
{
    QStringList values;
    for (int r = 0; r < grid->model()->rowCount(); ++r)
        values << grid->model()->index(r, col).data().toString();
    values.sort();
    return values;
}

// A code of the built-in table with several towns whose first town is not the alphabetically
// first one, read from the data file.
struct MultiTownCode
{
    QString code;
    QStringList towns;
};

MultiTownCode findMultiTownCode()
{
    QFile file(sourceFile("data/plz/plz-de.tsv"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    MultiTownCode current;
    const QList<QByteArray> lines = file.readAll().split('\n');
    const auto suits = [](const MultiTownCode& c) {
        return c.towns.size() > 2 && c.towns.first() != *std::min_element(c.towns.begin(), c.towns.end());
    };
    for (const QByteArray& line : lines.mid(1)) {
        const QList<QByteArray> cols = line.trimmed().split('\t');
        if (cols.size() != 2)
            continue;
        const QString code = QString::fromUtf8(cols.at(0));
        if (code != current.code) {
            if (suits(current))
                return current;
            current = {code, {}};
        }
        current.towns << QString::fromUtf8(cols.at(1));
    }
    return suits(current) ? current : MultiTownCode{};
}

// Child process, started from a copy of this program in a folder with or without plz.xml:
// prints the towns the main window's table gives for the code, then the messages shown.
int runPlzChild(const QString& code)
{
    QStringList shown;
    Messages::setHandler([&](Messages::Kind, const QString& text, Messages::Buttons) {
        shown << text;
        return Answer::Ok;
    });
    WindowSet windows;
    QTextStream out(stdout);
    out << windows.mainWindow->postalCodes().towns(code).join(u'|') << '\n';
    for (QString text : shown)
        out << "MESSAGE " << text.replace(u'\n', u' ') << '\n';
    return 0;
}

const QByteArray PlzFixture = R"(<?xml version="1.0" encoding="UTF-8"?>
<plz>
  <ort plz="01067">Zwergenhausen</ort>
  <ort plz="01067">Ährenfeld</ort>
</plz>
)";

} // namespace

class TestReaderEntry : public QObject
{
    Q_OBJECT

    std::unique_ptr<GuiFixture> fixture;
    MultiTownCode multi;
    qint64 anna = 0, bernd = 0, clara = 0;
    QList<qint64> books;

    MainWindow* main() const { return fixture->windows->mainWindow; }
    ReaderEntryDialog* dialog() const { return fixture->windows->readerEntryDialog; }
    RecordSet& readers() const { return fixture->windows->mainWindow->data().readers(); }
    RecordSet& loans() const { return fixture->windows->mainWindow->data().loans(); }

    // Anna has two open loans (one overdue) and a returned one, Bernd one open loan and a
    // town, Clara a postal code with several towns but no town and no loans.
    void writeLibrary()
    {
        createLibraryDatabase(fixture->env.dbDir());
        FixtureWriter fx(fixture->env.dbDir());
        anna = fx.insert("Leser", {{"Vorname", "Anna"}, {"Nachname", "Schmidt"}});
        bernd =
            fx.insert("Leser", {{"Vorname", "Bernd"}, {"Nachname", "Weber"}, {"PLZ", "80331"}, {"Ort", "Altstadt"}});
        clara = fx.insert("Leser", {{"Vorname", "Clara"}, {"Nachname", "Vogel"}, {"PLZ", multi.code}});
        books.clear();
        for (int i = 1; i <= 4; ++i)
            books << fx.insert("Buecher", {{"Titel", QStringLiteral("Titel %1").arg(i)},
                                           {"Verfasser", QStringLiteral("Verfasser %1").arg(i)},
                                           {"ausgeliehen", i == 3 ? 0 : 1}});
        const auto loan = [&](int book, qint64 reader, const char* from, const QVariant& until, const QVariant& due) {
            fx.insert("Ausleihe", {{"BuecherID", books.at(book)},
                                   {"LeserID", reader},
                                   {"DatumVon", QString::fromLatin1(from)},
                                   {"DatumBis", until},
                                   {"DatumBisSoll", due}});
        };
        loan(0, anna, "2026-11-01 09:00:00", QVariant(), "2026-12-01 09:00:00"); // overdue
        loan(1, anna, "2026-12-06 09:00:00", QVariant(), "2027-01-05 09:00:00");
        loan(2, anna, "2026-10-01 09:00:00", "2026-10-20 09:00:00", QVariant()); // returned
        loan(3, bernd, "2026-11-20 09:00:00", QVariant(), "2026-12-20 09:00:00");
    }

    // Shows the dialog without blocking, on the given reader (0: leave the cursor).
    void showOn(qint64 readerId)
    {
        if (readerId)
            QVERIFY(readers().locate("ID", {readerId}));
        dialog()->show();
        QApplication::setActiveWindow(dialog());
        QTRY_VERIFY(dialog()->isActiveWindow());
    }

    QString bookNumber(int i) const { return QString::number(books.at(i)); }

private slots:
    void initTestCase() { multi = findMultiTownCode(); }

    void init()
    {
        fixture = std::make_unique<GuiFixture>();
        Clock::setFixedNow(QDateTime(QDate(2026, 12, 11), QTime(10, 0)));
        writeLibrary();
        Settings::WriteSettingString("DBPfad", fixture->env.dbDir());
        fixture->windows = std::make_unique<WindowSet>();
        main()->show();
        QTRY_VERIFY(main()->refreshTimer()->isActive());
        main()->refreshTimer()->stop(); // no refresh in the middle of a test
    }

    void cleanup()
    {
        if (fixture->windows && dialog()->isVisible()) {
            if (readers().isEditing())
                readers().cancel();
            dialog()->done(QDialog::Rejected);
        }
        const QString problems = fixture->finish();
        fixture.reset();
        QVERIFY2(problems.isEmpty(), qPrintable(problems));
    }

    void tabOrderFollowsTheForm()
    {
        showOn(anna);
        child<QWidget>(dialog(), "DBEdit1")->setFocus();
        QStringList order;
        for (int i = 0; i < 9; ++i) {
            QWidget* f = QApplication::focusWidget();
            QVERIFY(f);
            if (qobject_cast<QComboBox*>(f->parentWidget()))
                f = f->parentWidget();
            order << f->objectName();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        QCOMPARE(order, (QStringList{"DBEdit1", "DBEdit2", "DBEdit3", "DBEdit8", "CBOrt", "DBEdit5", "DBEdit9",
                                     "DBEdit6", "DBMemo1"}));
    }

    void newReaderIsSavedThroughTheDialog()
    {
        // The table is part of the repository: without such a code something is broken.
        QVERIFY2(!multi.code.isEmpty(), "the postal-code table has no code with several towns");
        QString shownTown, idShown;
        QStringList offered;
        int loansShown = -1;
        QString loansAfterSave;
        bool browseAfterSave = false;
        auto ran = whenModal("TLeserEingebenF", [&](QWidget* dlg) {
            loansShown = child<QTableView>(dlg, "DBGrid1")->model()->rowCount();
            typeAndLeave(dlg, "DBEdit1", "Hanna");
            typeAndLeave(dlg, "DBEdit2", "Berger");
            typeAndLeave(dlg, "DBEdit3", QStringLiteral("Ringstraße 4"));
            typeAndLeave(dlg, "DBEdit8", multi.code);
            shownTown = child<QComboBox>(dlg, "CBOrt")->currentText();
            offered = items(child<QComboBox>(dlg, "CBOrt"));
            click(dlg, "BSpeichern");
            browseAfterSave = readers().state() == DataSetState::Browse;
            idShown = child<QLabel>(dlg, "DBText1")->text();
            loansAfterSave = loans().filtered() ? loans().filter() : QString();
            click(dlg, "BSchliessen"); // saved: no question
        });
        QVERIFY(triggerAction(main(), "actLeserNeu"));
        QVERIFY(*ran);
        QVERIFY(!dialog()->isVisible());

        QCOMPARE(shownTown, multi.towns.first());
        QCOMPARE(offered, multi.towns);
        QCOMPARE(loansShown, 0); // a reader not saved yet has no loans
        QCOMPARE(loansAfterSave, ReaderEntry::openLoansFilter(idShown.toLongLong())); // and then its own
        QVERIFY(browseAfterSave);
        FixtureWriter fx(fixture->env.dbDir());
        QSqlQuery q(fx.db());
        QVERIFY(q.exec("SELECT ID, Vorname, \"Straße\", PLZ, Ort FROM Leser WHERE Nachname = 'Berger'"));
        QVERIFY(q.next());
        QCOMPARE(q.value(0).toString(), idShown);
        QCOMPARE(q.value(1).toString(), QStringLiteral("Hanna"));
        QCOMPARE(q.value(2).toString(), QStringLiteral("Ringstraße 4"));
        QCOMPARE(q.value(3).toString(), multi.code);
        QCOMPARE(q.value(4).toString(), multi.towns.first());
        QVERIFY(!q.next());
    }

    void postalLookup_data()
    {
        QTest::addColumn<QString>("reader"); // "new": a new reader by NEU
        QTest::addColumn<QString>("typed");  // null: the field is only entered and left
        QTest::addColumn<QString>("town");   // the town afterwards; "<first>": the code's first town
        QTest::addColumn<bool>("offered");   // the code's towns are in the list

        QTest::newRow("new reader gets the first town") << "new"
                                                        << "<code>"
                                                        << "<first>" << true;
        QTest::newRow("existing town is kept") << "Bernd"
                                               << "<code>"
                                               << "Altstadt" << true;
        QTest::newRow("not editing: list only") << "Clara" << QString() << "" << true;
        QTest::newRow("unknown code") << "new"
                                      << "00000"
                                      << "" << false;
        QTest::newRow("leading blank") << "new"
                                       << " <code>"
                                       << "" << false;
        QTest::newRow("four digits") << "new"
                                     << "<code4>"
                                     << "" << false;
        QTest::newRow("six digits") << "new"
                                    << "<code>0"
                                    << "" << false;
        QTest::newRow("quote") << "new"
                               << "<code4>'"
                               << "" << false;
    }

    void postalLookup()
    {
        QFETCH(QString, reader);
        QFETCH(QString, typed);
        QFETCH(QString, town);
        QFETCH(bool, offered);
        // The table is part of the repository: without such a code something is broken.
        QVERIFY2(!multi.code.isEmpty(), "the postal-code table has no code with several towns");
        QVERIFY(main()->postalCodes().towns("00000").isEmpty());
        typed.replace("<code4>", multi.code.left(4)).replace("<code>", multi.code);
        town.replace("<first>", multi.towns.first());

        showOn(reader == u"Bernd" ? bernd : reader == u"Clara" ? clara : anna);
        if (reader == u"new")
            click(dialog(), "SRColorButton1");
        const DataSetState stateBefore = readers().state();
        if (typed.isNull()) {
            auto* plz = child<QLineEdit>(dialog(), "DBEdit8");
            QApplication::setActiveWindow(dialog());
            plz->setFocus();
            QTest::keyClick(plz, Qt::Key_Tab);
        } else {
            typeAndLeave(dialog(), "DBEdit8", typed);
        }

        auto* ort = child<QComboBox>(dialog(), "CBOrt");
        QCOMPARE(readers().text("Ort"), town);
        QCOMPARE(ort->currentText(), town);
        QCOMPARE(items(ort), offered ? multi.towns : QStringList());
        if (typed.isNull())
            QCOMPARE(readers().state(), stateBefore); // nothing written
    }

    void openLoansFollowTheReader_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("Schließen") << "Schließen";
        QTest::newRow("Escape") << "Escape";
        QTest::newRow("close box") << "close box";
    }

    void openLoansFollowTheReader()
    {
        QFETCH(QString, how);
        QVERIFY(readers().locate("ID", {anna}));
        QStringList annas, bernds, claras, titles;
        QList<int> widths;
        int mainListWhileShowing = -1;
        auto ran = whenModal("TLeserEingebenF", [&](QWidget* dlg) {
            auto* grid = child<QTableView>(dlg, "DBGrid1");
            for (int c = 0; c < 3; ++c) {
                titles << grid->model()->headerData(c, Qt::Horizontal).toString();
                widths << grid->columnWidth(c);
            }
            annas = column(grid, 0);
            mainListWhileShowing = main()->grid(MainTab::Loans)->model()->rowCount();
            click(dlg, "DBNavigator2Next");
            bernds = column(grid, 2);
            click(dlg, "DBNavigator2Next");
            claras = column(grid, 0);
            closeBy(dlg, how);
        });
        QVERIFY(triggerAction(main(), "actLeserBearbeiten"));
        QVERIFY(*ran);
        QVERIFY(!dialog()->isVisible());

        QCOMPARE(titles, (QStringList{"Nummer", "Verfasser", "Titel"}));
        QCOMPARE(widths, (QList<int>{50, 100, 100}));
        QCOMPARE(annas, (QStringList{bookNumber(0), bookNumber(1)})); // not the returned one
        QCOMPARE(mainListWhileShowing, 2);
        QCOMPARE(bernds, QStringList{"Titel 4"});
        QCOMPARE(claras, QStringList());
        QVERIFY(!loans().filtered());
        QCOMPARE(main()->grid(MainTab::Loans)->model()->rowCount(), 4);
    }

    void closingOnTheOverdueTabKeepsTheOverdueList()
    {
        main()->tabs()->setCurrentIndex(3); // as the user's click
        QCOMPARE(main()->grid(MainTab::Overdue)->model()->rowCount(), 1);
        QVERIFY(readers().locate("ID", {anna}));
        int shownInDialog = -1;
        auto ran = whenModal("TLeserEingebenF", [&](QWidget* dlg) {
            shownInDialog = child<QTableView>(dlg, "DBGrid1")->model()->rowCount();
            closeBy(dlg, "Escape");
        });
        QVERIFY(triggerAction(main(), "actLeserBearbeiten"));
        QVERIFY(*ran);
        QCOMPARE(shownInDialog, 2);
        QVERIFY(loans().filtered());
        QCOMPARE(loans().filter(), LoanView::overdueFilter(Clock::today()));
        QCOMPARE(column(main()->grid(MainTab::Overdue), 0), QStringList{bookNumber(0)});
    }

    void closeQuestion_data()
    {
        QTest::addColumn<bool>("newReader");
        QTest::addColumn<int>("answer");
        QTest::addColumn<QString>("how");
        QTest::addColumn<bool>("saved");
        QTest::addColumn<bool>("staysOpen");
        QTest::newRow("changed, Ja, Schließen") << false << int(Answer::Yes) << "Schließen" << true << false;
        QTest::newRow("changed, Nein, Escape") << false << int(Answer::No) << "Escape" << false << false;
        QTest::newRow("changed, Abbrechen, close box") << false << int(Answer::Cancel) << "close box" << false << true;
        QTest::newRow("new, Ja, Escape") << true << int(Answer::Yes) << "Escape" << true << false;
        QTest::newRow("new, Nein, close box") << true << int(Answer::No) << "close box" << false << false;
    }

    void closeQuestion()
    {
        QFETCH(bool, newReader);
        QFETCH(int, answer);
        QFETCH(QString, how);
        QFETCH(bool, saved);
        QFETCH(bool, staysOpen);
        showOn(anna);
        if (newReader)
            click(dialog(), "SRColorButton1");
        typeAndLeave(dialog(), "DBEdit1", "Anneliese");
        fixture->messages.expect(CloseQuestion, Answer(answer));
        closeBy(dialog(), how);

        QCOMPARE(dialog()->isVisible(), staysOpen);
        QCOMPARE(readers().isEditing(), staysOpen);
        FixtureWriter fx(fixture->env.dbDir());
        QCOMPARE(fx.scalar("SELECT count(*) FROM Leser WHERE Vorname = 'Anneliese'").toInt(), saved ? 1 : 0);
        QCOMPARE(fx.scalar("SELECT count(*) FROM Leser").toInt(), 3 + (newReader && saved ? 1 : 0));
        QCOMPARE(fx.scalar(QStringLiteral("SELECT Vorname FROM Leser WHERE ID = %1").arg(anna)).toString(),
                 saved && !newReader ? "Anneliese" : "Anna");
        if (!staysOpen)
            QVERIFY(!loans().filtered());
    }

    void failedSaveKeepsTheDialogOpen()
    {
        showOn(anna);
        typeAndLeave(dialog(), "DBEdit1", "Anneliese");
        FixtureWriter(fixture->env.dbDir())
            .exec(QStringLiteral("UPDATE Leser SET Vorname = 'Annette' WHERE ID = %1").arg(anna));
        fixture->messages.expect(CloseQuestion, Answer::Yes);
        fixture->messages.expect("anderen Arbeitsplatz");
        closeBy(dialog(), "Schließen");
        QVERIFY(dialog()->isVisible());
        QVERIFY(readers().isEditing());
        QCOMPARE(FixtureWriter(fixture->env.dbDir())
                     .scalar(QStringLiteral("SELECT Vorname FROM Leser WHERE ID = %1").arg(anna)),
                 QVariant("Annette"));

        fixture->messages.expect(CloseQuestion, Answer::No);
        closeBy(dialog(), "Escape");
        QVERIFY(!dialog()->isVisible());
    }

    void deleteReader_data()
    {
        QTest::addColumn<int>("answer");
        QTest::newRow("Ja") << int(Answer::Yes);
        QTest::newRow("Nein") << int(Answer::No);
    }

    void deleteReader()
    {
        QFETCH(int, answer);
        const bool yes = Answer(answer) == Answer::Yes;
        showOn(anna);
        // With open loans the reader is refused before any question, the loans named.
        fixture->messages.expect(QStringLiteral("Der Leser hat noch 2 Bücher ausgeliehen: „Titel 1“ (seit "));
        click(dialog(), "BLoeschen");
        QVERIFY(fixture->messages.allAnswered());
        FixtureWriter fx(fixture->env.dbDir());
        QCOMPARE(fx.scalar(QStringLiteral("SELECT count(*) FROM Leser WHERE ID = %1").arg(anna)).toInt(), 1);
        fx.exec(QStringLiteral("UPDATE Ausleihe SET DatumBis = DatumVon WHERE LeserID = %1").arg(anna));

        fixture->messages.expect(DeleteQuestion, Answer(answer));
        click(dialog(), "BLoeschen");
        QCOMPARE(fx.scalar(QStringLiteral("SELECT count(*) FROM Leser WHERE ID = %1").arg(anna)).toInt(), yes ? 0 : 1);
        // The reader's returned loans stay as history.
        QCOMPARE(fx.scalar(QStringLiteral("SELECT count(*) FROM Ausleihe WHERE LeserID = %1").arg(anna)).toInt(), 3);
        // The dialog shows the reader now current, with that reader's open loans.
        QCOMPARE(child<QLineEdit>(dialog(), "DBEdit1")->text(), yes ? "Bernd" : "Anna");
        QCOMPARE(child<QTableView>(dialog(), "DBGrid1")->model()->rowCount(), yes ? 1 : 2);
    }

    void emptyReaderListAsksNothing()
    {
        FixtureWriter(fixture->env.dbDir()).exec("DELETE FROM Leser");
        main()->refreshNow();
        QVERIFY(readers().isEmpty());
        showOn(0);
        click(dialog(), "BLoeschen");
        click(dialog(), "BSpeichern");
        closeBy(dialog(), "Schließen");
        QVERIFY(!dialog()->isVisible());
        QCOMPARE(FixtureWriter(fixture->env.dbDir()).scalar("SELECT count(*) FROM Leser").toInt(), 0);
    }

    void plzXmlNextToTheProgram_data()
    {
        QTest::addColumn<QByteArray>("content"); // empty: no file
        QTest::addColumn<bool>("fromFile");
        QTest::addColumn<bool>("reported");
        QTest::newRow("no plz.xml") << QByteArray() << false << false;
        QTest::newRow("plz.xml") << PlzFixture << true << false;
        QTest::newRow("broken plz.xml") << QByteArray("<plz><ort plz=\"01067\">Zwergenhausen</plz>") << false << true;
    }

    void plzXmlNextToTheProgram()
    {
        QFETCH(QByteArray, content);
        QFETCH(bool, fromFile);
        QFETCH(bool, reported);
        // A copy of this program in a folder of its own, so that its folder can hold a plz.xml.
        QTemporaryDir programDir;
        const QString program = QDir(programDir.path()).filePath("reader-entry-copy");
        QVERIFY(QFile::copy(QCoreApplication::applicationFilePath(), program));
        const QString plz = QDir(programDir.path()).filePath("plz.xml");
        if (!content.isEmpty()) {
            QFile f(plz);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(content);
        }

        QProcess p;
        QProcessEnvironment pe = QProcessEnvironment::systemEnvironment();
        pe.insert("XDG_CONFIG_HOME", QDir(programDir.path()).filePath("config"));
        p.setProcessEnvironment(pe);
        p.setWorkingDirectory(fixture->env.root()); // not the program's folder
        p.start(program, {"--plz-child", "01067"});
        QVERIFY(p.waitForFinished(60000));
        QCOMPARE(p.exitStatus(), QProcess::NormalExit);
        QCOMPARE(p.exitCode(), 0);
        const QStringList lines = QString::fromUtf8(p.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
        QVERIFY(!lines.isEmpty() || !fromFile);
        const QString towns = lines.value(0);

        if (fromFile)
            QCOMPARE(towns, QStringLiteral("Zwergenhausen|Ährenfeld"));
        else
            QCOMPARE(towns, PostalCodes::builtIn().towns("01067").join(u'|'));
        const QStringList shown = lines.mid(1);
        QCOMPARE(shown.size(), reported ? 1 : 0);
        if (reported)
            QVERIFY2(shown.first().contains("plz.xml"), qPrintable(shown.first()));
        // Read, never written.
        QCOMPARE(QFile::exists(plz), !content.isEmpty());
        if (!content.isEmpty()) {
            QFile f(plz);
            QVERIFY(f.open(QIODevice::ReadOnly));
            QCOMPARE(f.readAll(), content);
        }
    }
};

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    AppSetup::configure(app);
    const QStringList args = app.arguments();
    if (args.size() > 2 && args.at(1) == u"--plz-child")
        return runPlzChild(args.at(2));
    TestReaderEntry t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_readerentry.moc"
