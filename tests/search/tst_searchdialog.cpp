// The book search as users meet it: opened from the main window, searching fields and keywords,
// counting hits, "Alle Daten (sortiert)", renamed captions, and lifting the narrowing on close.
#include "GuiFixture.h"
#include "GuiSupport.h"
#include "TestSupport.h"
#include "catalogue/FieldCaptions.h"
#include "datastore/LibraryData.h"
#include "datastore/RecordSet.h"
#include "datastore/RecordSetModel.h"
#include "datastore/Settings.h"
#include "mainwindow/AppSetup.h"
#include "mainwindow/MainWindow.h"
#include "mainwindow/WindowSet.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QSqlQuery>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <memory>

namespace {

template <typename T>
T* child(QWidget* dialog, const char* name)
{
    T* w = dialog->findChild<T*>(QString::fromLatin1(name));
    if (!w)
        qWarning("control %s is missing", name);
    return w;
}

// Titles the dialog's grid shows, sorted.
QStringList shownTitles(QWidget* dialog)
{
    QAbstractItemModel* model = child<QTableView>(dialog, "DBGrid1")->model();
    QStringList titles;
    for (int r = 0; r < model->rowCount(); ++r)
        titles << model->index(r, 2).data().toString();
    titles.sort();
    return titles;
}

// Picks the field, the mode and the text and presses Enter in the search text.
void search(QWidget* dialog, const QString& caption, bool exact, const QString& text)
{
    auto* field = child<QComboBox>(dialog, "CB1");
    const int index = field->findText(caption);
    if (index >= 0)
        field->setCurrentIndex(index);
    else
        field->setEditText(caption);
    QTest::mouseClick(child<QAbstractButton>(dialog, exact ? "RBexakt" : "RBTeil"), Qt::LeftButton);
    auto* edit = child<QLineEdit>(dialog, "E1");
    edit->setText(text);
    QTest::keyClick(edit, Qt::Key_Return);
}

QStringList keywordBookTitles()
{
    QStringList t;
    for (int i = 1; i <= 10; ++i)
        t << QStringLiteral("K%1").arg(i, 2, 10, QChar(u'0'));
    return t;
}

} // namespace

class TestAuswerten : public QObject
{
    Q_OBJECT

    std::unique_ptr<GuiFixture> fixture;
    MainWindow* m = nullptr;

    // Books K01..K10 carry a keyword about crime novels in keyword field 1..10 respectively.
    void fillLibrary()
    {
        FixtureWriter fx(fixture->env.dbDir());
        for (int i = 1; i <= 10; ++i) {
            const QString keyword = i == 2       ? QStringLiteral("KRIMI")
                                    : i % 2 == 1 ? QStringLiteral("Krimi")
                                                 : QStringLiteral("Regionalkrimi");
            QVariantMap book{
                {"ID", i}, {"Titel", keywordBookTitles().at(i - 1)}, {QStringLiteral("Schlagwort%1").arg(i), keyword}};
            if (i <= 5)
                book.insert("Verlag", "Reclam");
            fx.insert("Buecher", book);
        }
        fx.insert("Buecher", {{"ID", 11},
                              {"Titel", "Effi Briest"},
                              {"Verfasser", "Fontane, Theodor"},
                              {"Verlag", "Fischer"},
                              {"Schlagwort1", "Ehe"}});
        fx.insert("Buecher", {{"ID", 12}, {"Titel", "Krimi ohne Schlagwort"}, {"Verfasser", "Glauser, Friedrich"}});
        fx.insert("Buecher",
                  {{"ID", 17}, {"Titel", "Siebzehn"}, {"Verfasser", "O'Brien, Flann"}, {"Schlagwort4", "Rock'n'Roll"}});
        fx.insert("Buecher", {{"ID", 117}, {"Titel", "Hundertsiebzehn"}});
    }

    void start()
    {
        fixture->windows = std::make_unique<WindowSet>();
        m = fixture->windows->mainWindow;
        m->show();
        QTRY_VERIFY(m->refreshTimer()->isActive());
    }

    RecordSet& books() { return m->data().books(); }

    // Opens the search from the menu and runs `act` on it; whatever `act` leaves open is closed
    // by the close box, so that a failed check cannot leave the dialog hanging.
    void withSearch(const std::function<void(QDialog*)>& act)
    {
        auto ran = whenModal("TAuswertenF", [&](QWidget* w) {
            act(static_cast<QDialog*>(w));
            if (w->isVisible())
                w->close();
        });
        QVERIFY(triggerAction(m, "actAuswerten"));
        QVERIFY(*ran);
    }

private slots:
    void init()
    {
        fixture = std::make_unique<GuiFixture>();
        createLibraryDatabase(fixture->env.dbDir());
        Settings::WriteSettingString("DBPfad", fixture->env.dbDir());
    }

    void cleanup()
    {
        m = nullptr;
        const QString problems = fixture->finish();
        fixture.reset();
        QVERIFY2(problems.isEmpty(), qPrintable(problems));
    }

    void opening()
    {
        start();
        fillLibrary(); // after start: the refresh step on opening must bring them
        withSearch([&](QDialog* d) {
            QCOMPARE(d->windowTitle(), QStringLiteral("Auswerten"));
            auto* field = child<QComboBox>(d, "CB1");
            QVERIFY(field->isEditable());
            QStringList items;
            for (int i = 0; i < field->count(); ++i)
                items << field->itemText(i);
            QCOMPARE(items, FieldCaptions::bookFieldCaptions().mid(0, 13) << QStringLiteral("Schlagwort"));
            QCOMPARE(field->currentText(), QStringLiteral("Schlagwort"));
            QVERIFY(child<QAbstractButton>(d, "RBTeil")->isChecked());
            QVERIFY(!child<QLabel>(d, "LAnzahl")->isVisible());
            QVERIFY(child<QWidget>(d, "Button4")->isEnabled()); // "Drucken"
            for (const char* hidden : {"CBSort", "CBSOrt2"}) {
                auto* sort = child<QComboBox>(d, hidden);
                QVERIFY(!sort->isVisible());
                QCOMPARE(sort->count(), 23);
                QCOMPARE(sort->currentText(), QStringLiteral("Nr."));
            }
            auto* grid = child<QTableView>(d, "DBGrid1");
            QCOMPARE(grid->model()->columnCount(), 23);
            for (int k = 0; k < 23; ++k)
                QCOMPARE(grid->model()->headerData(k, Qt::Horizontal).toString(),
                         FieldCaptions::bookFieldCaptions().at(k));
            QCOMPARE(grid->model()->rowCount(), 14);
            QTRY_COMPARE(QApplication::focusWidget(), child<QWidget>(d, "E1"));

            // Shown again: the count is hidden and the field list preselected once more.
            search(d, "Titel", false, "Effi");
            QVERIFY(child<QLabel>(d, "LAnzahl")->isVisible());
        });
        withSearch([&](QDialog* d) {
            QVERIFY(!child<QLabel>(d, "LAnzahl")->isVisible());
            QCOMPARE(child<QComboBox>(d, "CB1")->currentText(), QStringLiteral("Schlagwort"));
            QCOMPARE(child<QLineEdit>(d, "E1")->text(), QStringLiteral("Effi")); // kept
        });
    }

    void searching_data()
    {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<bool>("exact");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("trimmed");
        QTest::addColumn<QStringList>("expected");

        const QStringList k = keywordBookTitles();
        QTest::newRow("keyword part in all ten fields") << "Schlagwort" << false << "krimi"
                                                        << "krimi" << k;
        QTest::newRow("keyword exact") << "Schlagwort" << true << "Krimi"
                                       << "Krimi" << QStringList{k.at(0), k.at(1), k.at(2), k.at(4), k.at(6), k.at(8)};
        QTest::newRow("keyword part, empty text: any keyword filled") << "Schlagwort" << false << ""
                                                                      << ""
                                                                      << (QStringList(k) << "Effi Briest"
                                                                                         << "Siebzehn");
        QTest::newRow("keyword exact, empty text: nothing") << "Schlagwort" << true << ""
                                                            << "" << QStringList{};
        QTest::newRow("field exact, empty text: nothing") << "Verlag" << true << ""
                                                          << "" << QStringList{};
        QTest::newRow("field part, empty text: field filled") << "Verlag" << false << ""
                                                              << "" << (k.mid(0, 5) << "Effi Briest");
        QTest::newRow("blanks trimmed") << "Verfasser" << true << " \tFontane, Theodor \r\n"
                                        << "Fontane, Theodor" << QStringList{"Effi Briest"};
        QTest::newRow("only blanks") << "Verlag" << true << "   "
                                     << "" << QStringList{};
        QTest::newRow("number exact") << "Nr." << true << "17"
                                      << "17" << QStringList{"Siebzehn"};
        QTest::newRow("number part") << "Nr." << false << "17"
                                     << "17" << QStringList{"Hundertsiebzehn", "Siebzehn"};
        QTest::newRow("quote exact") << "Verfasser" << true << "O'Brien, Flann"
                                     << "O'Brien, Flann" << QStringList{"Siebzehn"};
        QTest::newRow("quote part") << "Verfasser" << false << "o'b"
                                    << "o'b" << QStringList{"Siebzehn"};
        QTest::newRow("quote in keyword") << "Schlagwort" << false << "n'r"
                                          << "n'r" << QStringList{"Siebzehn"};
        QTest::newRow("remark caption") << "Bemerkung" << false << "x"
                                        << "x" << QStringList{};
        QTest::newRow("title part") << "Titel" << false << "KRIMI"
                                    << "KRIMI" << QStringList{"Krimi ohne Schlagwort"};
    }

    void searching()
    {
        QFETCH(QString, caption);
        QFETCH(bool, exact);
        QFETCH(QString, typed);
        QFETCH(QString, trimmed);
        QFETCH(QStringList, expected);
        expected.sort();

        fillLibrary();
        start();
        withSearch([&](QDialog* d) {
            search(d, caption, exact, typed);
            QVERIFY2(d->isVisible(), "Enter in the search text closed the dialog");
            QCOMPARE(child<QLineEdit>(d, "E1")->text(), trimmed);
            QCOMPARE(shownTitles(d), expected);
            auto* count = child<QLabel>(d, "LAnzahl");
            QVERIFY(count->isVisible());
            QCOMPARE(count->text(), QStringLiteral("%1 Treffer").arg(expected.size()));
            // The main window's list is narrowed alike while the dialog is open.
            QCOMPARE(m->gridModel(MainTab::Books)->rowCount(), int(expected.size()));
        });
        QVERIFY(!books().filtered());
        QCOMPARE(m->gridModel(MainTab::Books)->rowCount(), 14);
    }

    void renamedCaption()
    {
        fillLibrary();
        start();
        withSearch([&](QDialog* d) { QCOMPARE(child<QComboBox>(d, "CB1")->itemText(1), QStringLiteral("Verfasser")); });
        {
            FixtureWriter fx(fixture->env.dbDir());
            QSqlQuery q(fx.db());
            QVERIFY(q.prepare("UPDATE Blob SET FeldnamenBuecher = ?"));
            q.addBindValue(
                FieldCaptions::joinLines({"Autor/in", "Titel", "Verlag", "Erscheinungsort", "Auflage", "Sachgruppe",
                                          "ISBN", "Signatur", "Standort", "Jahr", "Bemerkung", "Sonstiges"}));
            QVERIFY(q.exec());
        }
        // Renamed while the program runs (as the field names dialog does).
        m->applyFieldCaptions();
        withSearch([&](QDialog* d) {
            auto* grid = child<QTableView>(d, "DBGrid1");
            QCOMPARE(grid->model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Autor/in"));
            QCOMPARE(grid->model()->headerData(4, Qt::Horizontal).toString(), QStringLiteral("Jahr"));
            QCOMPARE(child<QComboBox>(d, "CB1")->itemText(1), QStringLiteral("Autor/in"));
            search(d, "Autor/in", false, "fontane");
            QCOMPARE(shownTitles(d), QStringList{"Effi Briest"});
            QCOMPARE(child<QLabel>(d, "LAnzahl")->text(), QStringLiteral("1 Treffer"));
        });
    }

    void allDataSortedKeepsCount()
    {
        fillLibrary();
        start();
        withSearch([&](QDialog* d) {
            search(d, "Verfasser", false, "fontane");
            QCOMPARE(child<QLabel>(d, "LAnzahl")->text(), QStringLiteral("1 Treffer"));
            auto* grid = child<QTableView>(d, "DBGrid1");
            QTest::mouseClick(grid->horizontalHeader()->viewport(), Qt::LeftButton, {},
                              QPoint(grid->horizontalHeader()->sectionViewportPosition(2) + 5, 5));
            QCOMPARE(books().indexFieldNames(), QStringLiteral("Titel"));

            QTest::mouseClick(child<QAbstractButton>(d, "BSchliessen"), Qt::LeftButton);
            QVERIFY(!books().filtered());
            QCOMPARE(books().indexFieldNames(), QStringLiteral("ID;ID"));
            QCOMPARE(grid->model()->rowCount(), 14);
            QCOMPARE(grid->model()->index(0, 2).data().toString(), QStringLiteral("K01"));
            QCOMPARE(grid->model()->index(13, 2).data().toString(), QStringLiteral("Hundertsiebzehn"));
            auto* count = child<QLabel>(d, "LAnzahl");
            QVERIFY(count->isVisible());
            QCOMPARE(count->text(), QStringLiteral("1 Treffer"));

            // The number column sorts by the number users see.
            QTest::mouseClick(grid->horizontalHeader()->viewport(), Qt::LeftButton, {},
                              QPoint(grid->horizontalHeader()->sectionViewportPosition(0) + 5, 5));
            QCOMPARE(books().indexFieldNames(), QStringLiteral("ID"));
        });
    }

    void closingLiftsNarrowing_data()
    {
        QTest::addColumn<bool>("byEscape");
        QTest::newRow("close box") << false;
        QTest::newRow("Escape") << true;
    }

    void closingLiftsNarrowing()
    {
        QFETCH(bool, byEscape);
        fillLibrary();
        start();
        withSearch([&](QDialog* d) {
            search(d, "Schlagwort", true, "Ehe");
            auto* grid = child<QTableView>(d, "DBGrid1");
            QTest::mouseClick(grid->horizontalHeader()->viewport(), Qt::LeftButton, {},
                              QPoint(grid->horizontalHeader()->sectionViewportPosition(1) + 5, 5));
            QCOMPARE(books().indexFieldNames(), QStringLiteral("Verfasser"));
            QCOMPARE(m->gridModel(MainTab::Books)->rowCount(), 1);
            if (byEscape)
                QTest::keyClick(d, Qt::Key_Escape);
            else
                d->close();
            QVERIFY(!d->isVisible());
        });
        QVERIFY(!books().filtered());
        QCOMPARE(books().indexFieldNames(), QStringLiteral("ID"));
        QCOMPARE(books().recordCount(), 14);
        QCOMPARE(m->gridModel(MainTab::Books)->rowCount(), 14);
        QCOMPARE(m->gridModel(MainTab::Books)->index(0, 2).data().toString(), QStringLiteral("K01"));
    }

    void filterErrorKeepsCount()
    {
        fillLibrary();
        start();
        withSearch([&](QDialog* d) {
            search(d, "Titel", false, "Effi");
            QCOMPARE(child<QLabel>(d, "LAnzahl")->text(), QStringLiteral("1 Treffer"));
            fixture->messages.expect(QStringLiteral("Gibtsnicht"));
            search(d, "Gibtsnicht", false, "x");
            QVERIFY(fixture->messages.allAnswered());
            QCOMPARE(child<QLabel>(d, "LAnzahl")->text(), QStringLiteral("1 Treffer"));
            QCOMPARE(shownTitles(d), QStringList{"Effi Briest"}); // the former filter stays
        });
    }

    void columnWidths()
    {
        Settings::WriteSettingInt("BreiteBTitel", 123);
        start();
        withSearch([&](QDialog* d) {
            auto* grid = child<QTableView>(d, "DBGrid1");
            QCOMPARE(grid->columnWidth(2), 123);
            grid->setColumnWidth(1, 97);
        });
        m->saveColumnWidths();
        QCOMPARE(Settings::ReadSettingInt("BreiteBVerfasser"), 97);
        QCOMPARE(Settings::ReadSettingInt("BreiteBTitel"), 123);
    }
};

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    AppSetup::configure(app);
    TestAuswerten t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_searchdialog.moc"
