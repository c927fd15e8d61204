// The import wizards as users meet them: choosing a source, table and separator, assigning and
// removing, finishing; the books and readers in the database, the stored lists updated once,
// and what is kept for the next opening.
#include "GuiFixture.h"
#include "GuiSupport.h"
#include "TestSupport.h"
#include "catalogue/StoredValueLists.h"
#include "common/gui/FileDialogs.h"
#include "datastore/LibraryData.h"
#include "datastore/Settings.h"
#include "mainwindow/MainWindow.h"
#include "mainwindow/WindowSet.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QHeaderView>
#include <QLineEdit>
#include <QRadioButton>
#include <QScopeGuard>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTableWidget>
#include <QTest>

#include <memory>

namespace {

QString data(const QString& name)
{
    return QStringLiteral(TOMARIS_TEST_DATA_DIR "/import/") + name;
}

QString cell(QTableWidget* grid, int row, int column)
{
    const QTableWidgetItem* item = grid->item(row, column);
    return item ? item->text() : QString();
}

QStringList gridRow(QTableWidget* grid, int row)
{
    QStringList texts;
    for (int c = 0; c < grid->columnCount(); ++c)
        texts << cell(grid, row, c);
    return texts;
}

void clickCell(QTableWidget* grid, int row, int column = 0)
{
    grid->scrollToItem(grid->item(row, column));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                      grid->visualRect(grid->model()->index(row, column)).center());
}

// Assigns source row `source` to target row `target` as the user does: two clicks and the arrow.
void assign(QWidget* dlg, int target, int source)
{
    clickCell(child<QTableWidget>(dlg, "SGDatenbank"), target);
    clickCell(child<QTableWidget>(dlg, "SgDatei2"), source);
    click(dlg, "SpeedButton5");
}

} // namespace

class TestImportWizard : public QObject
{
    Q_OBJECT

    std::unique_ptr<GuiFixture> fixture;
    std::unique_ptr<FixtureWriter> fx;
    QString chosenFile;

    MainWindow* start()
    {
        Settings::WriteSettingString("DBPfad", fixture->env.dbDir());
        fixture->windows = std::make_unique<WindowSet>();
        fixture->windows->mainWindow->show();
        MainWindow* m = fixture->windows->mainWindow;
        if (!QTest::qWaitFor([m] { return QApplication::activeWindow() == m; }))
            qWarning("main window not active");
        return m;
    }

    QString writeFile(const QString& name, const QByteArray& bytes)
    {
        QFile f(fixture->env.root() + '/' + name);
        if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
            qFatal("cannot write %s", qPrintable(f.fileName()));
        return f.fileName();
    }

    QStringList query(const QString& sql)
    {
        QStringList rows;
        QSqlQuery q(fx->db());
        q.exec(sql);
        while (q.next()) {
            QStringList v;
            for (int c = 0; c < q.record().count(); ++c)
                v << (q.value(c).isNull() ? QString("NULL") : q.value(c).toString());
            rows << v.join('|');
        }
        return rows;
    }

private slots:
    void init()
    {
        fixture = std::make_unique<GuiFixture>();
        createLibraryDatabase(fixture->env.dbDir());
        fx = std::make_unique<FixtureWriter>(fixture->env.dbDir());
        FileDialogs::setOpenFileHandler([this](const QString&, const QString&) { return chosenFile; });
    }

    void cleanup()
    {
        FileDialogs::setOpenFileHandler({});
        fx.reset();
        const QString problems = fixture->finish();
        fixture.reset();
        QVERIFY2(problems.isEmpty(), qPrintable(problems));
    }

    void booksFromTextAssignRemoveAndFinish()
    {
        fx->exec("UPDATE Blob SET Verlag = 'Aufbau'");
        MainWindow* m = start();
        // Windows-1252, semicolons, a quoted value holding the separator, a header line.
        chosenFile = writeFile("katalog.TXT", "Autor;Titel;Verlag;Preis;Schlagwort\r\n"
                                              "Fontane;\"Effi Briest; Roman\";aufbau;12,50;Ehe\r\n"
                                              "K\xe4stner;Emil;Dressler;8,00;Kinder\r\n"
                                              "Mann;Zauberberg;Fischer;;Sanatorium\r\n");
        int listUpdates = 0;
        connect(&m->storedLists(), &StoredValueLists::listsChanged, this, [&] { ++listUpdates; });

        auto ran = whenModal("TWizzardF", [&](QWidget* dlg) {
            const auto closeAtEnd = qScopeGuard([dlg] {
                if (dlg->isVisible())
                    dlg->close();
            });
            QCOMPARE(dlg->windowTitle(), QString("Importassistent für Bücherdaten"));
            QVERIFY(child<QWidget>(dlg, "P1")->isVisible());
            QVERIFY(!child<QWidget>(dlg, "P2")->isVisible());
            auto* mapping = child<QTableWidget>(dlg, "SGDatenbank");
            QCOMPARE(mapping->rowCount(), 23);
            QCOMPARE(mapping->horizontalHeaderItem(1)->text(), QString("zug. Dateifeld"));
            QCOMPARE(cell(mapping, 10, 0), QString("Schlagworte"));
            QCOMPARE(cell(mapping, 22, 0), QString("Schlagwort 10"));

            click(dlg, "SpeedButton4");
            QCOMPARE(child<QLineEdit>(dlg, "EQuelldatei")->text(), chosenFile);
            auto* preview = child<QTableWidget>(dlg, "SGDatei");
            // Transposed: a column per record, a row per field.
            QCOMPARE(preview->columnCount(), 4);
            QCOMPARE(preview->rowCount(), 5);
            QCOMPARE(gridRow(preview, 1), QStringList({"Titel", "Effi Briest; Roman", "Emil", "Zauberberg"}));
            QCOMPARE(cell(preview, 0, 2), QString("Kästner"));
            // Another separator reloads at once.
            click(dlg, "RBKomma");
            QCOMPARE(preview->rowCount(), 2);
            QCOMPARE(cell(preview, 1, 1), QString("50;Ehe"));
            click(dlg, "RBSemikolon");
            QCOMPARE(preview->rowCount(), 5);
            click(dlg, "CBTitelzeile");

            click(dlg, "SRColorButton4");
            QVERIFY(!child<QWidget>(dlg, "P1")->isVisible());
            QVERIFY(child<QWidget>(dlg, "P2")->isVisible());
            auto* source = child<QTableWidget>(dlg, "SgDatei2");
            QCOMPARE(gridRow(source, 0), QStringList({"Autor", "Fontane", "Kästner", "Mann"}));

            assign(dlg, 0, 0); // Verfasser
            QCOMPARE(gridRow(mapping, 0), QStringList({"Verfasser", "Autor", "Fontane"}));
            assign(dlg, 1, 1);  // Titel
            assign(dlg, 2, 2);  // Verlag
            assign(dlg, 11, 3); // Preis
            assign(dlg, 10, 4); // Schlagworte: takes the assignment, writes nothing
            assign(dlg, 22, 4); // Schlagwort 10, the last row
            QCOMPARE(gridRow(mapping, 22), QStringList({"Schlagwort 10", "Schlagwort", "Ehe"}));
            clickCell(mapping, 11);
            click(dlg, "SpeedButton1"); // Preis again unassigned
            QCOMPARE(gridRow(mapping, 11), QStringList({"Preis", "", ""}));
            QCOMPARE(gridRow(mapping, 1), QStringList({"Titel", "Titel", "Effi Briest; Roman"}));

            click(dlg, "SRColorButton11");
            QVERIFY(child<QWidget>(dlg, "P1")->isVisible());
            click(dlg, "SRColorButton4");
            fixture->messages.expect("3 Bücher importiert");
            click(dlg, "SRColorButton12");
            QVERIFY(!dlg->isVisible());
        });
        QVERIFY(triggerAction(m, "actBuecherImport"));
        QVERIFY(*ran);
        QCOMPARE(query("SELECT Verfasser, Titel, Verlag, Preis, Schlagwort1, Schlagwort10, ausgeliehen FROM Buecher "
                       "ORDER BY ID"),
                 QStringList({"Fontane|Effi Briest; Roman|aufbau|NULL|NULL|Ehe|0",
                              "Kästner|Emil|Dressler|NULL|NULL|Kinder|0",
                              "Mann|Zauberberg|Fischer|NULL|NULL|Sanatorium|0"}));
        // The stored lists took the new values once, regardless of letter case.
        QCOMPARE(listUpdates, 1);
        QCOMPARE(query("SELECT Verlag, Schlagwort FROM Blob"),
                 QStringList({"Aufbau\r\nDressler\r\nFischer\r\n|Ehe\r\nKinder\r\nSanatorium\r\n"}));
        QCOMPARE(m->data().books().recordCount(), 3);

        // The next opening starts on page 1 and keeps the assignments.
        auto again = whenModal("TWizzardF", [&](QWidget* dlg) {
            const auto closeAtEnd = qScopeGuard([dlg] { dlg->close(); });
            QVERIFY(child<QWidget>(dlg, "P1")->isVisible());
            auto* mapping = child<QTableWidget>(dlg, "SGDatenbank");
            QCOMPARE(gridRow(mapping, 0), QStringList({"Verfasser", "Autor", "Fontane"}));
            QCOMPARE(gridRow(mapping, 11), QStringList({"Preis", "", ""}));
        });
        QVERIFY(triggerAction(m, "actBuecherImport"));
        QVERIFY(*again);
    }

    void readersFromAccessWithFailuresAndSmallerSources()
    {
        MainWindow* m = start();
        auto ran = whenModal("TWizzardLeserF", [&](QWidget* dlg) {
            const auto closeAtEnd = qScopeGuard([dlg] {
                if (dlg->isVisible())
                    dlg->close();
            });
            QCOMPARE(dlg->windowTitle(), QString("Importassistent für Leserdaten"));
            auto* mapping = child<QTableWidget>(dlg, "SGDatenbank");
            QCOMPARE(mapping->rowCount(), 10);
            QCOMPARE(cell(mapping, 0, 0), QString("Nr."));
            QCOMPARE(cell(mapping, 9, 0), QString("Bemerkung"));

            chosenFile = data("pivot.mdb");
            click(dlg, "SpeedButton4");
            auto* tables = child<QComboBox>(dlg, "CBTabellen");
            QCOMPARE(tables->itemText(0), QString("t_pivot"));
            QVERIFY(tables->count() > 1); // the system tables follow
            QCOMPARE(tables->currentText(), QString("t_pivot"));
            auto* preview = child<QTableWidget>(dlg, "SGDatei");
            QCOMPARE(preview->columnCount(), 4);
            QCOMPARE(gridRow(preview, 0), QStringList({"paperino", "piero", "pippo", "pluto"}));

            // A workbook FreeXL cannot read: a message, and the preview stays.
            chosenFile = data("Formate.xls");
            fixture->messages.expect("Exceldatei konnte nicht gelesen werden");
            click(dlg, "SpeedButton4");
            QCOMPARE(gridRow(preview, 0), QStringList({"paperino", "piero", "pippo", "pluto"}));

            // A smaller source leaves nothing of the larger one behind.
            chosenFile = writeFile("leser.csv", "Vorname,Nachname\nAnna,Arndt\n");
            click(dlg, "SpeedButton4");
            QCOMPARE(preview->rowCount(), 1); // still read with semicolons
            click(dlg, "RBKomma");
            QCOMPARE(tables->count(), 0);
            QCOMPARE(preview->columnCount(), 2);
            QCOMPARE(preview->rowCount(), 2);
            QCOMPARE(gridRow(preview, 0), QStringList({"Vorname", "Anna"}));

            click(dlg, "SRColorButton4");
            assign(dlg, 1, 0);
            assign(dlg, 2, 1);
            assign(dlg, 9, 1); // Bemerkung, the last row
        });
        QVERIFY(triggerAction(m, "actLeserImport"));
        QVERIFY(*ran);
        QCOMPARE(query("SELECT count(*) FROM Leser"), QStringList({"0"})); // closed by its frame: nothing

        auto finish = whenModal("TWizzardLeserF", [&](QWidget* dlg) {
            const auto closeAtEnd = qScopeGuard([dlg] {
                if (dlg->isVisible())
                    dlg->close();
            });
            // The source and the options stayed; the header record is skipped this time.
            QCOMPARE(child<QLineEdit>(dlg, "EQuelldatei")->text(), chosenFile);
            QVERIFY(child<QRadioButton>(dlg, "RBKomma")->isChecked());
            click(dlg, "CBTitelzeile");
            click(dlg, "SRColorButton4");
            fixture->messages.expect("1 Leser importiert");
            click(dlg, "SRColorButton12");
        });
        QVERIFY(triggerAction(m, "actLeserImport"));
        QVERIFY(*finish);
        QCOMPARE(query("SELECT Vorname, Nachname, Bemerkung FROM Leser"), QStringList({"Anna|Arndt|Arndt"}));
    }

    void finishingWithoutSourceImportsNothing()
    {
        MainWindow* m = start();
        auto ran = whenModal("TWizzardF", [&](QWidget* dlg) {
            const auto closeAtEnd = qScopeGuard([dlg] {
                if (dlg->isVisible())
                    dlg->close();
            });
            click(dlg, "SRColorButton4");
            fixture->messages.expect("0 Bücher importiert");
            click(dlg, "SRColorButton12");
        });
        QVERIFY(triggerAction(m, "actBuecherImport"));
        QVERIFY(*ran);
        QCOMPARE(query("SELECT count(*) FROM Buecher"), QStringList({"0"}));
    }
};

QTEST_MAIN(TestImportWizard)
#include "tst_importwizard.moc"
