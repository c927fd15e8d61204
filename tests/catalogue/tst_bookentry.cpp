// The book entry as users meet it through the main window: a new book, the close question, the
// stored value lists in the combo boxes, prices, the borrower display and deleting.
#include "GuiFixture.h"
#include "GuiSupport.h"
#include "TestSupport.h"
#include "catalogue/BookEntryDialog.h"
#include "common/Clock.h"
#include "datastore/LibraryData.h"
#include "datastore/Settings.h"
#include "mainwindow/AppSetup.h"
#include "mainwindow/MainWindow.h"
#include "mainwindow/WindowSet.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>

using Answer = Messages::Answer;

namespace {

QString shown(QWidget* dlg, const QString& label)
{
    return child<QLabel>(dlg, label)->text();
}

// Key presses for every character, also those without a key of their own ("ö", "€").
void keyClicks(QWidget* w, const QString& text)
{
    for (const QChar ch : text) {
        if (ch.unicode() < 128)
            QTest::keyClick(w, ch.toLatin1());
        else
            QTest::sendKeyEvent(QTest::Click, w, Qt::Key_unknown, QString(ch), Qt::NoModifier);
    }
}

// Types into a line edit or an editable combo box, replacing what it shows.
void type(QWidget* dlg, const QString& name, const QString& text)
{
    QWidget* w = child<QWidget>(dlg, name);
    QLineEdit* edit = qobject_cast<QLineEdit*>(w);
    if (auto* combo = qobject_cast<QComboBox*>(w))
        edit = combo->lineEdit();
    edit->selectAll();
    keyClicks(edit, text);
}

QStringList items(QWidget* dlg, const QString& combo)
{
    auto* c = child<QComboBox>(dlg, combo);
    QStringList list;
    for (int i = 0; i < c->count(); ++i)
        list << c->itemText(i);
    return list;
}

// The order in which Tab visits the named controls, starting at the first.
QStringList tabOrder(QWidget* dlg, const QStringList& names)
{
    QStringList order;
    QWidget* w = child<QWidget>(dlg, names.first());
    for (int guard = 0; order.size() < names.size() && guard < 1000; ++guard, w = w->nextInFocusChain())
        if (names.contains(w->objectName()) && !order.contains(w->objectName()))
            order << w->objectName();
    return order;
}

QString stamp(int days)
{
    return Clock::today().addDays(days).toString("yyyy-MM-dd") + " 10:00:00";
}

} // namespace

class TestBookEntry : public QObject
{
    Q_OBJECT

    std::unique_ptr<GuiFixture> fixture;

    MainWindow* main() const { return fixture->windows->mainWindow; }
    RecordSet& books() const { return main()->data().books(); }

    // Starts the program on the library; `fill` writes rows first, as another workstation would.
    void start(const std::function<void(FixtureWriter&)>& fill = {})
    {
        createLibraryDatabase(fixture->env.dbDir());
        if (fill) {
            FixtureWriter fx(fixture->env.dbDir());
            fill(fx);
        }
        Settings::WriteSettingString("DBPfad", fixture->env.dbDir());
        fixture->windows = std::make_unique<WindowSet>();
        fixture->windows->mainWindow->show();
        QTRY_VERIFY(main()->refreshTimer()->isActive());
    }

    // Opens the book entry through the main window's action and runs `act` in it. False when
    // the dialog did not open or `act` left it open (it is then closed without saving).
    bool inBookEntry(const QString& action, std::function<void(QDialog*)> act)
    {
        auto leftOpen = std::make_shared<bool>(false);
        RecordSet* rs = &books();
        auto ran = whenModal("TDB1EingabeF", [act, leftOpen, rs](QWidget* w) {
            auto* dlg = static_cast<QDialog*>(w);
            act(dlg);
            if (dlg->isVisible()) {
                *leftOpen = true;
                if (rs->isEditing())
                    rs->cancel();
                dlg->done(QDialog::Rejected);
            }
        });
        if (!triggerAction(main(), action))
            return false;
        return *ran && !*leftOpen;
    }

    int bookCount() const { return FixtureWriter(fixture->env.dbDir()).scalar("SELECT count(*) FROM Buecher").toInt(); }

private slots:
    void init()
    {
        fixture = std::make_unique<GuiFixture>();
        Clock::setFixedNow(QDateTime(QDate(2026, 3, 2), QTime(9, 0)));
    }

    void cleanup()
    {
        const QString problems = fixture->finish();
        fixture.reset();
        QVERIFY2(problems.isEmpty(), qPrintable(problems));
    }

    void newBookWithOnlyATitle()
    {
        start();
        QVariant id;
        QVERIFY(inBookEntry("actBuchNeu", [&](QDialog* dlg) {
            QCOMPARE(dlg->windowTitle(), QStringLiteral("Bücher eingeben"));
            QCOMPARE(books().state(), DataSetState::Insert);
            QCOMPARE(books().value("ausgeliehen").toBool(), false);
            QCOMPARE(shown(dlg, "DBText1"), QString());
            QCOMPARE(shown(dlg, "LAusleiher"), QString());
            type(dlg, "DBEdit2", "Nur ein Titel");
            // Enter in an edit presses no button
            QTest::keyClick(child<QLineEdit>(dlg, "DBEdit2"), Qt::Key_Return);
            QVERIFY(dlg->isVisible());
            QCOMPARE(books().state(), DataSetState::Insert);
            click(dlg, "BSpeichern");
            QCOMPARE(books().state(), DataSetState::Browse);
            id = books().value("ID");
            QVERIFY(!id.isNull());
            QCOMPARE(shown(dlg, "DBText1"), id.toString());
            click(dlg, "BSchliessen"); // saved: nothing to ask
        }));
        QCOMPARE(books().value("Nummer"), id);

        FixtureWriter fx(fixture->env.dbDir());
        QSqlQuery q(fx.db());
        QVERIFY(q.exec("SELECT * FROM Buecher"));
        QVERIFY(q.next());
        const QSqlRecord r = q.record();
        for (int c = 0; c < r.count(); ++c) {
            const QString name = r.fieldName(c);
            if (name == "ID")
                QCOMPARE(r.value(c).toLongLong(), id.toLongLong());
            else if (name == "Titel")
                QCOMPARE(r.value(c).toString(), QStringLiteral("Nur ein Titel"));
            else if (name == "ausgeliehen")
                QCOMPARE(r.value(c).toInt(), 0);
            else
                QVERIFY2(r.value(c).isNull(), qPrintable(name));
        }
        QVERIFY(!q.next());
    }

    void tabOrderOfTheFields()
    {
        start();
        const QStringList fields{"DBEdit1",       "DBEdit2",       "CBVerlag",      "DBEdit8",       "CBOrt",
                                 "DBEdit9",       "CBSach",        "DBEdit6",       "DBID",          "CBStand",
                                 "DBEdit3",       "DBMemo1",       "CBSchlagwort1", "CBSchlagwort2", "CBSchlagwort3",
                                 "CBSchlagwort4", "CBSchlagwort5", "CBSchlagwort6", "CBSchlagwort7", "CBSchlagwort8",
                                 "CBSchlagwort9", "CBSchlagwort10"};
        QCOMPARE(tabOrder(fixture->windows->bookEntryDialog, fields), fields);
    }

    void closeQuestion_data()
    {
        QTest::addColumn<QString>("way");
        QTest::addColumn<QString>("title"); // typed before closing; empty: untouched new book
        QTest::addColumn<QString>("price");
        QTest::addColumn<Answer>("answer");
        QTest::addColumn<bool>("closes");
        QTest::addColumn<bool>("saved");

        QTest::newRow("Schließen, Ja") << "button"
                                       << "Neu"
                                       << "" << Answer::Yes << true << true;
        QTest::newRow("Escape, Ja") << "escape"
                                    << "Neu"
                                    << "" << Answer::Yes << true << true;
        QTest::newRow("close box, Nein") << "closebox"
                                         << "Neu"
                                         << "" << Answer::No << true << false;
        QTest::newRow("untouched new, Nein") << "button"
                                             << ""
                                             << "" << Answer::No << true << false;
        QTest::newRow("Escape, Abbrechen") << "escape"
                                           << "Neu"
                                           << "" << Answer::Cancel << false << false;
        QTest::newRow("close box, Abbrechen") << "closebox"
                                              << ""
                                              << "" << Answer::Cancel << false << false;
        QTest::newRow("Ja, save fails") << "button"
                                        << "Neu"
                                        << "zwölf" << Answer::Yes << false << false;
    }

    void closeQuestion()
    {
        QFETCH(QString, way);
        QFETCH(QString, title);
        QFETCH(QString, price);
        QFETCH(Answer, answer);
        QFETCH(bool, closes);
        QFETCH(bool, saved);
        start();
        QVERIFY(inBookEntry("actBuchNeu", [&](QDialog* dlg) {
            if (!title.isEmpty())
                type(dlg, "DBEdit2", title);
            if (!price.isEmpty()) {
                type(dlg, "DBEdit3", price);
                fixture->messages.expect("kein gültiger Betrag");
            }
            fixture->messages.expect("Änderungen speichern beim aktuellen Datensatz?", answer);
            if (way == "button")
                click(dlg, "BSchliessen");
            else if (way == "escape")
                QTest::keyClick(child<QLineEdit>(dlg, "DBEdit2"), Qt::Key_Escape);
            else
                dlg->close();
            QCOMPARE(dlg->isVisible(), !closes);
            if (closes)
                return;
            // still open, the record as it was
            QCOMPARE(books().state(), DataSetState::Insert);
            QCOMPARE(child<QLineEdit>(dlg, "DBEdit2")->text(), title);
            QCOMPARE(child<QLineEdit>(dlg, "DBEdit3")->text(), price);
            fixture->messages.expect("Änderungen speichern beim aktuellen Datensatz?", Answer::No);
            click(dlg, "BSchliessen");
        }));
        QVERIFY(fixture->messages.allAnswered());
        QCOMPARE(bookCount(), saved ? 1 : 0);
        QCOMPARE(books().recordCount(), saved ? 1 : 0);
        QCOMPARE(books().state(), DataSetState::Browse);
    }

    void price_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<qint64>("stored"); // ten-thousandths; -1: refused

        QTest::newRow("12,5") << "12,5" << qint64(125000);
        QTest::newRow("with currency sign") << "12,50 €" << qint64(125000);
        QTest::newRow("grouped") << "1.234,50" << qint64(12345000);
        QTest::newRow("emptied") << "" << qint64(0);
        QTest::newRow("no amount") << "zwölf" << qint64(-1);
    }

    void price()
    {
        QFETCH(QString, typed);
        QFETCH(qint64, stored);
        start([](FixtureWriter& fx) { fx.insert("Buecher", {{"Titel", "Teuer"}, {"Preis", 50000}}); });
        const auto storedPrice = [this] {
            return FixtureWriter(fixture->env.dbDir()).scalar("SELECT Preis FROM Buecher");
        };
        QVERIFY(inBookEntry("actBuchBearbeiten", [&](QDialog* dlg) {
            auto* edit = child<QLineEdit>(dlg, "DBEdit3");
            QCOMPARE(edit->text(), QStringLiteral("5,00 €"));
            type(dlg, "DBEdit3", typed);
            if (typed.isEmpty())
                QTest::keyClick(edit, Qt::Key_Backspace);
            if (stored < 0)
                fixture->messages.expect(QStringLiteral("„%1“ ist kein gültiger Betrag").arg(typed));
            click(dlg, "BSpeichern");
            if (stored < 0) {
                QCOMPARE(books().state(), DataSetState::Edit);
                QCOMPARE(edit->text(), typed);
                QCOMPARE(storedPrice().toLongLong(), 50000);
                fixture->messages.expect("Änderungen speichern", Answer::No);
            } else {
                QCOMPARE(books().state(), DataSetState::Browse);
                if (stored == 0) {
                    QVERIFY(storedPrice().isNull());
                    QCOMPARE(edit->text(), QString());
                } else {
                    QCOMPARE(storedPrice().toLongLong(), stored);
                    QCOMPARE(edit->text(), stored == 125000 ? QStringLiteral("12,50 €") : QStringLiteral("1234,50 €"));
                }
            }
            click(dlg, "BSchliessen");
        }));
        if (stored < 0)
            QCOMPARE(books().value("Preis").toLongLong(), 50000); // "Nein" restored it
    }

    void storedValuesInTheCombos()
    {
        start([](FixtureWriter& fx) {
            fx.insert("Buecher", {{"Titel", "Effi Briest"}, {"Verlag", "Reclam"}});
            fx.exec("UPDATE Blob SET Schlagwort = 'Ehe' || char(13, 10) || 'Preußen' || char(13, 10), "
                    "Verlag = 'Hanser' || char(13, 10) || 'Reclam' || char(13, 10)");
        });
        const QStringList all{"CBSchlagwort1", "CBSchlagwort2", "CBSchlagwort3", "CBSchlagwort4", "CBSchlagwort5",
                              "CBSchlagwort6", "CBSchlagwort7", "CBSchlagwort8", "CBSchlagwort9", "CBSchlagwort10"};

        // the context menu's "Buch bearbeiten" does not prepare the lists
        QVERIFY(inBookEntry("actKontextBearbeiten", [&](QDialog* dlg) {
            QCOMPARE(items(dlg, "CBSchlagwort1"), QStringList());
            QCOMPARE(items(dlg, "CBVerlag"), QStringList());
            QCOMPARE(child<QComboBox>(dlg, "CBVerlag")->currentText(), QStringLiteral("Reclam"));
            click(dlg, "BSchliessen");
        }));

        QVERIFY(inBookEntry("actBuchBearbeiten", [&](QDialog* dlg) {
            for (const QString& cb : all)
                QCOMPARE(items(dlg, cb), (QStringList{"Ehe", "Preußen"}));
            QCOMPARE(items(dlg, "CBVerlag"), (QStringList{"Hanser", "Reclam"}));
            QCOMPARE(items(dlg, "CBOrt"), QStringList());
            // filling the lists showed no item in place of the book's value
            QCOMPARE(child<QComboBox>(dlg, "CBVerlag")->currentText(), QStringLiteral("Reclam"));
            QCOMPARE(child<QComboBox>(dlg, "CBSchlagwort1")->currentText(), QString());
            QCOMPARE(books().state(), DataSetState::Browse);

            type(dlg, "CBSchlagwort7", "Neuwort");
            type(dlg, "CBSchlagwort3", "ehe"); // known in other letter case
            type(dlg, "CBVerlag", "RECLAM");
            type(dlg, "CBOrt", "Berlin");
            click(dlg, "BSpeichern");
            QCOMPARE(books().state(), DataSetState::Browse);

            for (const QString& cb : all)
                QCOMPARE(items(dlg, cb), (QStringList{"Ehe", "Preußen", "Neuwort"}));
            QCOMPARE(items(dlg, "CBVerlag"), (QStringList{"Hanser", "Reclam"}));
            QCOMPARE(items(dlg, "CBOrt"), QStringList{"Berlin"});
            // the refilled combos still show what the book holds
            QCOMPARE(child<QComboBox>(dlg, "CBSchlagwort7")->currentText(), QStringLiteral("Neuwort"));
            QCOMPARE(child<QComboBox>(dlg, "CBSchlagwort3")->currentText(), QStringLiteral("ehe"));
            QCOMPARE(child<QComboBox>(dlg, "CBSchlagwort1")->currentText(), QString());
            QCOMPARE(child<QComboBox>(dlg, "CBVerlag")->currentText(), QStringLiteral("RECLAM"));
            QCOMPARE(books().state(), DataSetState::Browse);
            click(dlg, "BSchliessen");
        }));
        FixtureWriter fx(fixture->env.dbDir());
        QCOMPARE(fx.scalar("SELECT Schlagwort FROM Blob").toString(), QStringLiteral("Ehe\r\nPreußen\r\nNeuwort\r\n"));
        QCOMPARE(fx.scalar("SELECT Verlag FROM Blob").toString(), QStringLiteral("Hanser\r\nReclam\r\n"));
        QCOMPARE(fx.scalar("SELECT Schlagwort3 || Schlagwort7 || Verlag FROM Buecher").toString(),
                 QStringLiteral("eheNeuwortRECLAM"));
    }

    // The completer fills in the rest of a known value; what the user sees is what is saved,
    // also when the record is saved without the field losing the focus.
    void completedValueIsStored()
    {
        start([](FixtureWriter& fx) {
            fx.insert("Buecher", {{"Titel", "Effi Briest"}});
            fx.insert("Buecher", {{"Titel", "Faust"}});
            fx.exec("UPDATE Blob SET Sachgruppe = 'Roman' || char(13, 10) || 'Drama' || char(13, 10)");
        });
        QString seen;
        QVERIFY(inBookEntry("actBuchBearbeiten", [&](QDialog* dlg) {
            dlg->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(dlg));
            auto* combo = child<QComboBox>(dlg, "CBSach");
            combo->setFocus();
            keyClicks(combo->lineEdit(), "ro");
            QCoreApplication::processEvents(); // as between two inputs of the user
            seen = combo->currentText();
            QCOMPARE(seen, QStringLiteral("roman"));
            click(dlg, "DBNavigator2Next"); // saves; the focus stays in the combo box
            QVERIFY(combo->hasFocus());
            QCOMPARE(books().value("Titel").toString(), QStringLiteral("Faust"));
            click(dlg, "BSchliessen");
        }));
        QCOMPARE(
            FixtureWriter(fixture->env.dbDir()).scalar("SELECT Sachgruppe FROM Buecher WHERE Titel = 'Effi Briest'"),
            QVariant(seen));
    }

    void borrower()
    {
        qint64 openLoan = 0;
        start([&](FixtureWriter& fx) {
            fx.insert("Leser", {{"Vorname", "Anna"}, {"Nachname", "Schmidt"}});
            fx.insert("Leser", {{"Vorname", "Jörg"}, {"Nachname", "Weiß"}});
            const qint64 lent = fx.insert("Buecher", {{"Titel", "Verliehen"}, {"ausgeliehen", 1}});
            const qint64 back = fx.insert("Buecher", {{"Titel", "Zurück"}});
            const qint64 orphan = fx.insert("Buecher", {{"Titel", "Leser gelöscht"}, {"ausgeliehen", 1}});
            fx.insert("Buecher", {{"Titel", "Nie verliehen"}});
            // an earlier, returned loan of the lent book to another reader
            fx.insert("Ausleihe",
                      {{"BuecherID", lent}, {"LeserID", 2}, {"DatumVon", stamp(-90)}, {"DatumBis", stamp(-80)}});
            openLoan =
                fx.insert("Ausleihe",
                          {{"BuecherID", lent}, {"LeserID", 1}, {"DatumVon", stamp(-5)}, {"DatumBisSoll", stamp(25)}});
            fx.insert("Ausleihe",
                      {{"BuecherID", back}, {"LeserID", 1}, {"DatumVon", stamp(-20)}, {"DatumBis", stamp(-2)}});
            fx.insert("Ausleihe",
                      {{"BuecherID", orphan}, {"LeserID", 99}, {"DatumVon", stamp(-5)}, {"DatumBisSoll", stamp(25)}});
        });
        RecordSet& loans = main()->data().loans();
        RecordSet& readers = main()->data().readers();
        QVERIFY(inBookEntry("actBuchBearbeiten", [&](QDialog* dlg) {
            QCOMPARE(books().value("Titel").toString(), QStringLiteral("Verliehen"));
            QCOMPARE(shown(dlg, "LAusleiher"), QStringLiteral("Anna Schmidt"));
            // the main window's loans and readers lists show what was found
            QCOMPARE(loans.value("ID").toLongLong(), openLoan);
            QCOMPARE(readers.value("Vorname").toString(), QStringLiteral("Anna"));
            QVERIFY(!child<QWidget>(dlg, "DBNavigator2Prior")->isEnabled());

            const QStringList expected{"", "", ""}; // returned, reader deleted, never lent
            for (const QString& name : expected) {
                click(dlg, "DBNavigator2Next");
                QCOMPARE(shown(dlg, "LAusleiher"), name);
            }
            QCOMPARE(books().value("Titel").toString(), QStringLiteral("Nie verliehen"));
            QVERIFY(!child<QWidget>(dlg, "DBNavigator2Next")->isEnabled());
            for (int i = 0; i < 3; ++i)
                click(dlg, "DBNavigator2Prior");
            QCOMPARE(shown(dlg, "LAusleiher"), QStringLiteral("Anna Schmidt"));

            auto history = whenModal("TAusleihhistorieF", [](QWidget* w) { static_cast<QDialog*>(w)->reject(); });
            click(dlg, "SpeedButton1");
            QVERIFY(*history);

            click(dlg, "SRColorButton1"); // a new book is lent to nobody
            QCOMPARE(books().state(), DataSetState::Insert);
            QCOMPARE(shown(dlg, "LAusleiher"), QString());
            fixture->messages.expect("Änderungen speichern", Answer::No);
            click(dlg, "BSchliessen");
        }));
        // dropping the new book leaves the others as they were
        QCOMPARE(books().recordCount(), 4);
        QCOMPARE(books().value("Titel").toString(), QStringLiteral("Verliehen"));

        // The overdue tab hides the loan (due in 25 days); the borrower still shows, and the
        // loans cursor stays within what the tab shows.
        main()->tabs()->setCurrentIndex(3);
        QCOMPARE(loans.recordCount(), 0);
        books().first();
        QVERIFY(inBookEntry("actBuchBearbeiten", [&](QDialog* dlg) {
            QCOMPARE(shown(dlg, "LAusleiher"), QStringLiteral("Anna Schmidt"));
            click(dlg, "BSchliessen");
        }));
    }

    void deleteBook()
    {
        start([](FixtureWriter& fx) {
            fx.insert("Leser", {{"Vorname", "Anna"}, {"Nachname", "Schmidt"}});
            const qint64 lent = fx.insert("Buecher", {{"Titel", "Verliehen"}, {"ausgeliehen", 1}});
            fx.insert("Buecher", {{"Titel", "Bleibt"}});
            fx.insert("Ausleihe",
                      {{"BuecherID", lent}, {"LeserID", 1}, {"DatumVon", stamp(-5)}, {"DatumBisSoll", stamp(25)}});
        });
        QVERIFY(inBookEntry("actBuchBearbeiten", [&](QDialog* dlg) {
            // A lent book is refused before any question: who has it would be lost.
            fixture->messages.expect(
                QStringLiteral("Das Buch ist an Anna Schmidt ausgeliehen (seit %1). Bitte zuerst zurückbuchen.")
                    .arg(Clock::today().addDays(-5).toString("dd.MM.yyyy")));
            click(dlg, "BLoeschen");
            QVERIFY(fixture->messages.allAnswered());
            QCOMPARE(books().recordCount(), 2);
            books().last();
            fixture->messages.expect("Möchten Sie dieses Buch wirklich löschen?", Answer::No);
            click(dlg, "BLoeschen");
            QCOMPARE(books().recordCount(), 2);
            books().first();
            fixture->messages.expect("Möchten Sie dieses Buch wirklich löschen?", Answer::Yes);
            FixtureWriter(fixture->env.dbDir()).exec("UPDATE Ausleihe SET DatumBis = DatumVon"); // returned
            click(dlg, "BLoeschen");
            QCOMPARE(books().recordCount(), 1);
            QCOMPARE(books().value("Titel").toString(), QStringLiteral("Bleibt"));
            QCOMPARE(child<QLineEdit>(dlg, "DBEdit2")->text(), QStringLiteral("Bleibt"));
            click(dlg, "BSchliessen");
        }));
        FixtureWriter fx(fixture->env.dbDir());
        QCOMPARE(fx.scalar("SELECT group_concat(Titel) FROM Buecher").toString(), QStringLiteral("Bleibt"));
        QCOMPARE(fx.scalar("SELECT count(*) FROM Ausleihe").toInt(), 1); // the returned loan stays as history
    }

    void deleteInEmptySetAsksNothing()
    {
        start();
        QVERIFY(inBookEntry("actBuchNeu", [&](QDialog* dlg) {
            // the unsaved new book is the one record: deleting it drops it
            fixture->messages.expect("Möchten Sie dieses Buch wirklich löschen?", Answer::Yes);
            click(dlg, "BLoeschen");
            QVERIFY(books().isEmpty());
            QCOMPARE(books().state(), DataSetState::Browse);
            click(dlg, "BLoeschen");  // nothing to delete, nothing asked
            click(dlg, "BSpeichern"); // nothing to save
            click(dlg, "BSchliessen");
        }));
        QVERIFY(fixture->messages.allAnswered());
        QCOMPARE(bookCount(), 0);
    }
};

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    AppSetup::configure(app);
    TestBookEntry t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_bookentry.moc"
