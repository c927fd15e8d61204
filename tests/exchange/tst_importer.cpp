// The import into a real library database: values as typed, cut and unreadable values counted,
// one transaction (a failure or a cancel leaves the catalogue as it was), one update at the end.
#include "TestSupport.h"
#include "datastore/DataError.h"
#include "datastore/LibraryData.h"
#include "exchange/ExportColumns.h"
#include "exchange/Importer.h"
#include "exchange/RecordExporter.h"
#include "exchange/TextReader.h"
#include "mainwindow/LibraryRefresh.h"

#include <QSqlQuery>
#include <QTest>

#include <memory>

namespace {

// Target rows of the book import by caption.
int bookRow(const QString& caption)
{
    const auto& rows = ImportTarget::rows(ImportTarget::Kind::Books);
    for (int i = 0; i < rows.size(); ++i)
        if (rows.at(i).caption == caption)
            return i;
    qFatal("no book row %s", qPrintable(caption));
}

QList<int> bookAssignments(const QList<std::pair<QString, int>>& pairs)
{
    QList<int> a(ImportTarget::rows(ImportTarget::Kind::Books).size(), -1);
    for (const auto& [caption, field] : pairs)
        a[bookRow(caption)] = field;
    return a;
}

} // namespace

class TestImporter : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestEnvironment> env;
    std::unique_ptr<FixtureWriter> fx;
    std::unique_ptr<LibraryData> data;

    // Every stored book, one line each, in the order of the IDs.
    QStringList storedBooks()
    {
        QStringList lines;
        QSqlQuery q(fx->db());
        q.exec("SELECT Verfasser, Titel, Preis, Schlagwort1, Schlagwort2, Bemerkung, ausgeliehen FROM Buecher "
               "ORDER BY ID");
        while (q.next()) {
            QStringList v;
            for (int c = 0; c < 7; ++c)
                v << (q.value(c).isNull() ? QString("NULL") : q.value(c).toString());
            lines << v.join('|');
        }
        return lines;
    }

private slots:
    void init()
    {
        env = std::make_unique<TestEnvironment>();
        createLibraryDatabase(env->dbDir());
        fx = std::make_unique<FixtureWriter>(env->dbDir());
        fx->insert("Buecher", {{"Verfasser", "Vorhanden"}, {"Titel", "Schon da"}, {"ausgeliehen", 0}});
        data = std::make_unique<LibraryData>();
        QVERIFY(data->openAtStart(env->dbDir()));
    }
    void cleanup()
    {
        data.reset();
        fx.reset();
        env.reset();
    }

    void booksAsTypedWithCutsAndUnreadablePricesCounted()
    {
        const QString longTitle = QString("T").repeated(105);
        const SourceTable source = TextReader::parse("Autor;Titel;Preis;Schlagwort;Notiz\r\n"
                                                     "Fontane;Effi Briest;12,50;Roman;\r\n"
                                                     "Kafka;" +
                                                         longTitle +
                                                         ";zwölf;Erzählung;gelesen\r\n"
                                                         "Mann;Zauberberg;;;\r\n",
                                                     u';');
        // "Schlagworte" takes an assignment and writes nothing; one field may feed two rows.
        const QList<int> assignments = bookAssignments({{"Verfasser", 0},
                                                        {"Titel", 1},
                                                        {"Preis", 2},
                                                        {"Schlagworte", 1},
                                                        {"Schlagwort 1", 3},
                                                        {"Schlagwort 2", 0},
                                                        {"Bemerkung", 4}});
        int perRecordReactions = 0;
        connect(&data->books(), &RecordSet::afterPost, this, [&] { ++perRecordReactions; });
        QList<int> importedRows;
        int afterImportCalls = 0;
        Importer importer(*data, ImportTarget::Kind::Books);
        importer.setAfterImport([&](const QList<int>& rows) {
            ++afterImportCalls;
            importedRows = rows;
        });

        const Importer::Result result = importer.run(source, assignments, true);

        QCOMPARE(result.imported, 3);
        QCOMPARE(result.unreadablePrices, 1);
        QCOMPARE(result.shortened, 1);
        QCOMPARE(importer.summary(result),
                 QString("3 Bücher importiert\n"
                         "1 Preis konnte nicht gelesen werden; dieses Buch wurde ohne Preis übernommen.\n"
                         "1 Wert war länger als sein Feld und wurde gekürzt."));
        QCOMPARE(storedBooks(), QStringList({"Vorhanden|Schon da|NULL|NULL|NULL|NULL|0",
                                             "Fontane|Effi Briest|125000|Roman|Fontane|NULL|0",
                                             "Kafka|" + longTitle.left(100) + "|NULL|Erzählung|Kafka|gelesen|0",
                                             "Mann|Zauberberg|NULL|NULL|Mann|NULL|0"}));
        // The reactions to a stored book run once for the whole import, with the new records.
        QCOMPARE(perRecordReactions, 0);
        QCOMPARE(afterImportCalls, 1);
        RecordSet& books = data->books();
        QStringList titles;
        for (int row : importedRows)
            titles << books.textAt(row, books.fieldIndex("Verfasser"));
        QCOMPARE(titles, QStringList({"Fontane", "Kafka", "Mann"}));
        QCOMPARE(books.recordCount(), 4);
        QCOMPARE(books.state(), DataSetState::Browse);
    }

    void readersGetTheDatabasesNumber()
    {
        const SourceTable source = TextReader::parse("77;Anna;Arndt;12345\n78;Bert;Bauer;0815\n", u';');
        QList<int> a(ImportTarget::rows(ImportTarget::Kind::Readers).size(), -1);
        a[0] = 0; // "Nr."
        a[1] = 1;
        a[2] = 2;
        a[4] = 3; // "PLZ"
        Importer importer(*data, ImportTarget::Kind::Readers);
        const Importer::Result result = importer.run(source, a, false);
        QCOMPARE(importer.summary(result), QString("2 Leser importiert"));
        QSqlQuery q(fx->db());
        q.exec("SELECT ID, Vorname, Nachname, PLZ FROM Leser ORDER BY ID");
        QStringList rows;
        while (q.next())
            rows << QStringList{q.value(1).toString(), q.value(2).toString(), q.value(3).toString()}.join('|');
        QCOMPARE(rows, QStringList({"Anna|Arndt|12345", "Bert|Bauer|0815"}));
        // "Nr." is not stored: the number is the one the database gave.
        RecordSet& readers = data->readers();
        QVERIFY(readers.locate("Vorname", {"Bert"}));
        QCOMPARE(readers.value("Nummer").toLongLong(),
                 fx->scalar("SELECT ID FROM Leser WHERE Vorname = 'Bert'").toLongLong());
        QVERIFY(readers.value("Nummer").toLongLong() != 78);
    }

    void failureInTheMiddleLeavesTheCatalogueUnchanged()
    {
        fx->exec("CREATE TRIGGER stop BEFORE INSERT ON Buecher WHEN NEW.Titel = 'Verboten' "
                 "BEGIN SELECT RAISE(ABORT, 'Titel gesperrt'); END");
        const QStringList before = storedBooks();
        const SourceTable source = TextReader::parse("Titel\nErlaubt\nAuch erlaubt\nVerboten\nNie erreicht\n", u';');
        bool afterImportRan = false;
        Importer importer(*data, ImportTarget::Kind::Books);
        importer.setAfterImport([&](const QList<int>&) { afterImportRan = true; });
        QString message;
        try {
            importer.run(source, bookAssignments({{"Titel", 0}}), true);
        } catch (const DataError& e) {
            message = e.message() + u'\n' + e.details(); // the engine's own text is in the details
        }
        QVERIFY2(message.contains("Datensatz 4 der Quelldatei"), qPrintable(message));
        QVERIFY2(message.contains("Titel gesperrt"), qPrintable(message));
        QVERIFY(message.contains("nichts übernommen"));
        QCOMPARE(storedBooks(), before);
        QVERIFY(!afterImportRan);
        // Memory shows what the database holds, and the record set takes the next edit.
        RecordSet& books = data->books();
        QCOMPARE(books.recordCount(), 1);
        QCOMPARE(books.state(), DataSetState::Browse);
        QVERIFY(!books.controlsDisabled());
        fx->exec("DROP TRIGGER stop");
        QCOMPARE(importer.run(source, bookAssignments({{"Titel", 0}}), true).imported, 4);
        QCOMPARE(books.recordCount(), 5);
    }

    void cancelStoresNothing()
    {
        QString text = "Titel\n";
        for (int i = 0; i < 1000; ++i)
            text += QString("Buch %1\n").arg(i);
        const SourceTable source = TextReader::parse(text, u';');
        const QStringList before = storedBooks();
        QList<std::pair<int, int>> calls;
        Importer importer(*data, ImportTarget::Kind::Books);
        importer.setProgress([&](int done, int total) {
            calls.append({done, total});
            return done < 400;
        });
        const Importer::Result result = importer.run(source, bookAssignments({{"Titel", 0}}), true);
        QVERIFY(result.cancelled);
        QCOMPARE(result.imported, 0);
        QCOMPARE(importer.summary(result), QString("Der Import wurde abgebrochen; es wurde nichts übernommen."));
        QCOMPARE(storedBooks(), before);
        QCOMPARE(data->books().recordCount(), 1);
        QVERIFY(!calls.isEmpty());
        QCOMPARE(calls.first(), std::make_pair(0, 1000));
        QVERIFY(calls.last().first >= 400);
    }

    // The window paints between records; the periodic refresh must not re-read in the middle.
    void refreshWaitsForTheImport()
    {
        QString text;
        for (int i = 0; i < 1000; ++i)
            text += QString("Buch %1\n").arg(i);
        int refreshed = 0;
        Importer importer(*data, ImportTarget::Kind::Books);
        importer.setProgress([&](int, int) {
            refreshed += LibraryRefresh::run(*data) ? 1 : 0;
            return true;
        });
        QList<int> rows;
        importer.setAfterImport([&](const QList<int>& r) { rows = r; });
        QCOMPARE(importer.run(TextReader::parse(text, u';'), bookAssignments({{"Titel", 0}}), false).imported, 1000);
        QCOMPARE(refreshed, 0);
        QCOMPARE(fx->scalar("SELECT count(*) FROM Buecher").toInt(), 1001);
        RecordSet& books = data->books();
        QCOMPARE(books.textAt(rows.at(999), books.fieldIndex("Titel")), QString("Buch 999"));
        QVERIFY(LibraryRefresh::run(*data));
    }

    // What our own export writes comes back unchanged: quotes, separators, line breaks, €, prices.
    void exportThenImportGivesTheSameBooks()
    {
        fx->exec("DELETE FROM Buecher");
        fx->insert("Buecher", {{"Verfasser", "Müller, Hans"},
                               {"Titel", "Er sagte \"ja\"; dann ging er"},
                               {"Verlag", "Dressler"},
                               {"Preis", 1234500},
                               {"Bemerkung", "Zeile 1\r\nZeile 2"},
                               {"Schlagwort1", "€uro"},
                               {"Schlagwort10", "zehn"},
                               {"ausgeliehen", 1}});
        fx->insert("Buecher", {{"Titel", "\"Zitat\" am Anfang"}, {"Preis", 5000}, {"ausgeliehen", 0}});
        data->books().requery();
        const QString columns = "Verfasser, Titel, Verlag, Erscheinungsjahr, Erscheinungsort, Auflage, Sachgruppe, "
                                "Signatur, Standort, ISBN, Preis, Bemerkung, Schlagwort1, Schlagwort2, Schlagwort3, "
                                "Schlagwort4, Schlagwort5, Schlagwort6, Schlagwort7, Schlagwort8, Schlagwort9, "
                                "Schlagwort10";
        auto books = [&] {
            QStringList rows;
            QSqlQuery q(fx->db());
            q.exec("SELECT " + columns + " FROM Buecher ORDER BY ID");
            while (q.next()) {
                QStringList v;
                for (int c = 0; c < 22; ++c)
                    v << (q.value(c).isNull() ? QString("NULL") : q.value(c).toString());
                rows << v.join('|');
            }
            return rows;
        };
        const QStringList original = books();

        QStringList captions;
        for (int i = 0; i < 23; ++i)
            captions << QString("Spalte %1").arg(i);
        ExportOptions options;
        options.separator = u';';
        options.columns = ExportColumns::books(captions);
        const QString file = env->root() + "/buecher.csv";
        QCOMPARE(int(RecordExporter(data->books(), options).write(file).status), int(ExportResult::Status::Written));

        // Each target row takes the exported column of its field.
        QList<int> assignments(ImportTarget::rows(ImportTarget::Kind::Books).size(), -1);
        for (int i = 0; i < assignments.size(); ++i)
            for (int c = 0; c < options.columns.size(); ++c)
                if (options.columns.at(c).field == ImportTarget::rows(ImportTarget::Kind::Books).at(i).field)
                    assignments[i] = c;
        fx->exec("DELETE FROM Buecher");
        data->books().requery();
        Importer importer(*data, ImportTarget::Kind::Books);
        const Importer::Result result = importer.run(TextReader(file, u';').read(), assignments, true);
        QCOMPARE(importer.summary(result), QString("2 Bücher importiert"));
        QCOMPARE(books(), original);
    }

    void nothingToImport_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("skipFirst");
        QTest::newRow("empty source") << "" << false;
        QTest::newRow("only the field names") << "Titel\n" << true;
    }
    void nothingToImport()
    {
        QFETCH(QString, text);
        QFETCH(bool, skipFirst);
        const QStringList before = storedBooks();
        bool afterImportRan = false;
        Importer importer(*data, ImportTarget::Kind::Books);
        importer.setAfterImport([&](const QList<int>&) { afterImportRan = true; });
        const Importer::Result result =
            importer.run(TextReader::parse(text, u';'), bookAssignments({{"Titel", 0}}), skipFirst);
        QCOMPARE(result.imported, 0);
        QCOMPARE(importer.summary(result), QString("0 Bücher importiert"));
        QCOMPARE(storedBooks(), before);
        QVERIFY(!afterImportRan);
    }
};

QTEST_GUILESS_MAIN(TestImporter)
#include "tst_importer.moc"
