// Taking the previous version's book file over into a real library database: numbers, values,
// prices, the stored value lists, lent books, long remarks, a repeated take-over, and failures
// or a stop that must leave the library as it was.
#include "PacketWriter.h"
#include "TestSupport.h"
#include "catalogue/StoredValueLists.h"
#include "datastore/DataError.h"
#include "datastore/LibraryData.h"
#include "exchange/BookTakeOver.h"
#include "exchange/PacketReader.h"
#include "mainwindow/LibraryRefresh.h"

#include <QSqlQuery>
#include <QSqlRecord>
#include <QTest>

#include <cmath>
#include <limits>
#include <memory>

namespace {

QVariantMap book(int id, const QString& title, const QVariantMap& more = {})
{
    QVariantMap v = more;
    v.insert("ID", id);
    v.insert("Titel", title);
    return v;
}

} // namespace

class TestBookTakeOver : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestEnvironment> env;
    std::unique_ptr<FixtureWriter> fx;
    std::unique_ptr<LibraryData> data;
    std::unique_ptr<StoredValueLists> lists;
    QStringList unexpected; // questions no test expected

    QString fileName() const { return env->root() + "/buecher30.t04"; }

    void open()
    {
        data = std::make_unique<LibraryData>();
        QVERIFY(data->openAtStart(env->dbDir()));
        lists = std::make_unique<StoredValueLists>(*data);
        lists->reload();
    }

    BookTakeOver::Hooks hooks()
    {
        BookTakeOver::Hooks h;
        h.confirmRepeat = [this](int n) {
            unexpected << QString("repeat of %1 books").arg(n);
            return false;
        };
        h.bookPosted = [this] { lists->addValuesOfCurrentBook(); };
        return h;
    }

    BookTakeOver::Result takeOver(const PacketWriter& w, const BookTakeOver::Hooks& h)
    {
        w.write(fileName());
        return BookTakeOver::takeOverFile(*data, fileName(), h);
    }

    // What the database holds of the books, one line each.
    QStringList stored()
    {
        QStringList rows;
        QSqlQuery q(fx->db());
        q.exec("SELECT * FROM Buecher ORDER BY ID");
        while (q.next()) {
            QStringList values;
            for (int c = 0; c < q.record().count(); ++c)
                values << (q.isNull(c) ? QString("<null>") : q.value(c).toString());
            rows << values.join('|');
        }
        return rows;
    }

    QVariant column(const QString& sql) { return fx->scalar(sql); }

    QString expectFailure(const std::function<void()>& f)
    {
        try {
            f();
        } catch (const DataError& e) {
            // The engine's own text, where there is one, is in the details.
            return e.details().isEmpty() ? e.message() : e.message() + u'\n' + e.details();
        }
        return QString();
    }

private slots:
    void init()
    {
        env = std::make_unique<TestEnvironment>();
        createLibraryDatabase(env->dbDir());
        fx = std::make_unique<FixtureWriter>(env->dbDir());
        unexpected.clear();
    }

    void cleanup()
    {
        QVERIFY2(unexpected.isEmpty(), qPrintable(unexpected.join(", ")));
        lists.reset();
        data.reset();
        fx.reset();
        env.reset();
    }

    void booksGetNewNumbersInFileOrderWithTheirValues()
    {
        fx->insert("Buecher", {{"Titel", "Schon da"}});
        fx->insert("Buecher", {{"Titel", "Auch schon da"}});
        fx->exec("UPDATE Blob SET Verlag = 'HANSER' || char(13) || char(10)");
        open();

        PacketWriter w = PacketWriter::bookFile();
        w.addRecord(book(1, "Der grüne Heinrich",
                         {{"Verfasser", "Gottfried Keller"},
                          {"Verlag", "Hanser"},
                          {"Erscheinungsjahr", "1854"},
                          {"Erscheinungsort", "Zürich"},
                          {"Auflage", "2."},
                          {"Sachgruppe", "Roman"},
                          {"Signatur", "KEL 1"},
                          {"Standort", "Regal 3"},
                          {"ISBN", "978-3-446-00000-0"},
                          {"Schlagwort1", "Schweiz"},
                          {"Schlagwort2", "Bildungsroman"},
                          {"Schlagwort5", "schweiz"},
                          {"Preis", 19.99},
                          {"Bemerkung", "Einband „fleckig“ – 5 € Pfand"},
                          {"ausgeliehen", false}}));
        w.addRecord(book(2, "Ohne Preis", {{"Verfasser", ""}}));
        w.addRecord(
            book(5, "Nullpreis",
                 {{"Preis", 0.0}, {"Verlag", "Diogenes"}, {"Standort", "Regal 3"}, {"Schlagwort10", "Novelle"}}));
        const BookTakeOver::Result result = takeOver(w, hooks());

        QCOMPARE(result.taken, 3);
        QVERIFY(!result.cancelled);
        QCOMPARE(result.summary(), QString("3 Bücher übernommen"));
        const QStringList rows = stored();
        QCOMPARE(rows.size(), 5);
        // ID, Nummer, then the columns in stored order.
        QCOMPARE(rows.at(2), QString("3|<null>|Gottfried Keller|Der grüne Heinrich|Hanser|1854|Zürich|2.|Roman|KEL 1|"
                                     "Regal 3|978-3-446-00000-0|199900|Einband „fleckig“ – 5 € Pfand|0|Schweiz|"
                                     "Bildungsroman|<null>|<null>|schweiz|<null>|<null>|<null>|<null>|<null>"));
        QVERIFY2(rows.at(3).startsWith("4|<null>|<null>|Ohne Preis|"), qPrintable(rows.at(3)));
        QCOMPARE(column("SELECT Preis IS NULL FROM Buecher WHERE ID = 4").toInt(), 1);
        QCOMPARE(column("SELECT Titel FROM Buecher WHERE ID = 5").toString(), QString("Nullpreis"));
        QCOMPARE(column("SELECT Preis FROM Buecher WHERE ID = 5"), QVariant(qlonglong(0)));

        // The record set shows them at once, and the stored lists took up every new value once.
        RecordSet& books = data->books();
        QCOMPARE(books.state(), DataSetState::Browse);
        QStringList shown;
        for (int p = 0; p < books.recordCount(); ++p)
            shown << books.textAt(books.rowAt(p), books.fieldIndex("Nummer")) + ' ' +
                         books.textAt(books.rowAt(p), books.fieldIndex("Titel"));
        QCOMPARE(shown,
                 QStringList({"1 Schon da", "2 Auch schon da", "3 Der grüne Heinrich", "4 Ohne Preis", "5 Nullpreis"}));
        lists->reload();
        QCOMPARE(lists->list(StoredValueLists::Verlag), QStringList({"HANSER", "Diogenes"}));
        QCOMPARE(lists->list(StoredValueLists::Schlagwort), QStringList({"Schweiz", "Bildungsroman", "Novelle"}));
        QCOMPARE(lists->list(StoredValueLists::Standort), QStringList({"Regal 3"}));
        QCOMPARE(lists->list(StoredValueLists::Erscheinungsort), QStringList({"Zürich"}));
        QCOMPARE(lists->list(StoredValueLists::Sachgruppe), QStringList({"Roman"}));
    }

    void columnsInAnotherOrderGiveTheSameBooks()
    {
        open();
        PacketWriter w = PacketWriter::bookFile();
        w.addRecord(book(7, "Eins", {{"Verfasser", "A"}, {"Preis", 1.5}, {"Schlagwort3", "x"}, {"ISBN", "1"}}));
        w.addRecord(book(8, "Zwei", {{"Bemerkung", "b"}, {"Erscheinungsjahr", "1999"}}));
        takeOver(w, hooks());
        QStringList inOrder = stored();

        fx->exec("DELETE FROM Buecher");
        data->books().requery();
        std::reverse(w.columns().begin(), w.columns().end());
        std::swap(w.columns()[3], w.columns()[17]);
        takeOver(w, hooks());
        QStringList shuffled = stored();
        QCOMPARE(shuffled.size(), 2);
        // Same values under new numbers.
        for (QString& row : inOrder)
            row = row.section('|', 1);
        for (QString& row : shuffled)
            row = row.section('|', 1);
        QCOMPARE(shuffled, inOrder);
    }

    void pricesAreExactToTheCent_data()
    {
        QTest::addColumn<double>("amount");
        QTest::addColumn<qint64>("cents");
        QTest::newRow("0.1 + 0.2") << 0.1 + 0.2 << qint64(30);
        QTest::newRow("19.99") << 19.99 << qint64(1999);
        QTest::newRow("half cent up") << 12.345 << qint64(1235);
        QTest::newRow("binary below the half") << 2.675 << qint64(268);
        QTest::newRow("1.005") << 1.005 << qint64(101);
        QTest::newRow("negative") << -3.2 << qint64(-320);
        QTest::newRow("negative half") << -0.005 << qint64(-1);
        QTest::newRow("below half a cent") << 0.004999 << qint64(0);
        QTest::newRow("large") << 1234567.89 << qint64(123456789);
        QTest::newRow("15 digits round up") << 99999999.995 << qint64(10000000000);
        QTest::newRow("tiny") << 1e-300 << qint64(0);
        QTest::newRow("negative zero") << -0.0 << qint64(0);
    }

    void pricesAreExactToTheCent()
    {
        QFETCH(double, amount);
        QFETCH(qint64, cents);
        QCOMPARE(BookTakeOver::centsOf(amount), std::optional<qint64>(cents));
    }

    void amountsThatAreNoPrice()
    {
        for (double d : {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(),
                         -std::numeric_limits<double>::infinity(), 1e13, -2e15})
            QVERIFY2(!BookTakeOver::centsOf(d), qPrintable(QString::number(d)));
        QCOMPARE(BookTakeOver::centsOf(9999999999999.98), std::optional<qint64>(999999999999998));
    }

    void lentBooksAreTakenOverAsNotLent()
    {
        open();
        PacketWriter w = PacketWriter::bookFile();
        w.addRecord(book(1, "Verliehen", {{"ausgeliehen", true}}));
        w.addRecord(book(2, "Da", {{"ausgeliehen", false}}));
        w.addRecord(book(3, "Auch verliehen", {{"ausgeliehen", true}}));
        w.addRecord(book(4, "Ohne Angabe"));
        const BookTakeOver::Result result = takeOver(w, hooks());

        QCOMPARE(result.lentInFile, 2);
        QCOMPARE(column("SELECT count(*) FROM Buecher WHERE ausgeliehen = 0").toInt(), 4);
        QCOMPARE(column("SELECT count(*) FROM Ausleihe").toInt(), 0);
        QCOMPARE(result.summary(), QString("4 Bücher übernommen\n\n2 Bücher waren in der Datei als ausgeliehen "
                                           "markiert. Da keine Ausleihen übernommen werden, sind sie jetzt nicht "
                                           "ausgeliehen."));
    }

    void longRemarksAreCutAndListed()
    {
        open();
        const QString remark = QString("Anmerkung zu Ausgabe, Einband und Zustand – ").repeated(40).left(1500);
        QCOMPARE(remark.size(), 1500);
        const QString exact = QString("ä").repeated(255);
        PacketWriter w = PacketWriter::bookFile();
        w.addRecord(book(10, "Kurz", {{"Bemerkung", "kurz"}}));
        w.addRecord(book(11, "Lang", {{"Bemerkung", remark}}));
        w.addRecord(book(12, "Genau passend", {{"Bemerkung", exact}}));
        w.addRecord(book(13, "Ein Zeichen zu lang", {{"Bemerkung", exact + "x"}}));
        const BookTakeOver::Result result = takeOver(w, hooks());

        QCOMPARE(result.taken, 4);
        QCOMPARE(result.cutRemarks, QList<qint64>({2, 4}));
        QCOMPARE(column("SELECT Bemerkung FROM Buecher WHERE ID = 2").toString(), remark.left(255));
        QCOMPARE(column("SELECT Bemerkung FROM Buecher WHERE ID = 3").toString(), exact);
        QCOMPARE(column("SELECT Bemerkung FROM Buecher WHERE ID = 4").toString(), exact);
        QCOMPARE(
            result.summary(),
            QString("4 Bücher übernommen\n\nDie Bemerkung war länger als 255 Zeichen und wurde gekürzt bei Nr. 2, 4."));
    }

    void fileWithoutBooksTakesNothingOver()
    {
        open();
        int progressCalls = 0;
        BookTakeOver::Hooks h = hooks();
        h.progress = [&](int, int) { return ++progressCalls, true; };
        const BookTakeOver::Result result = takeOver(PacketWriter::bookFile(), h);
        QCOMPARE(result.taken, 0);
        QVERIFY(!result.cancelled);
        QCOMPARE(result.summary(), QString("0 Bücher übernommen"));
        QCOMPARE(progressCalls, 0);
        QVERIFY(stored().isEmpty());
    }

    void aRepeatedTakeOverIsAskedFirst()
    {
        open();
        PacketWriter file = PacketWriter::bookFile();
        file.addRecord(book(1, "Anfang"));
        file.addRecord(book(2, "Mitte"));
        file.addRecord(book(3, "Ende"));
        QCOMPARE(takeOver(file, hooks()).taken, 3);
        fx->insert("Buecher", {{"Titel", "Danach erfasst"}});
        data->books().requery();

        // Same first title, other last title: another file, no question.
        PacketWriter other = PacketWriter::bookFile();
        other.addRecord(book(1, "Anfang"));
        other.addRecord(book(2, "Mitte"));
        other.addRecord(book(3, "Schluss"));
        QCOMPARE(takeOver(other, hooks()).taken, 3);
        QCOMPARE(stored().size(), 7);

        QList<int> asked;
        BookTakeOver::Hooks h = hooks();
        bool answer = false;
        h.confirmRepeat = [&](int n) { return asked << n, answer; };
        const BookTakeOver::Result declined = takeOver(file, h);
        QVERIFY(declined.cancelled);
        QCOMPARE(declined.taken, 0);
        QCOMPARE(asked, QList<int>({3}));
        QCOMPARE(stored().size(), 7);

        answer = true;
        QCOMPARE(takeOver(file, h).taken, 3);
        QCOMPARE(asked, QList<int>({3, 3}));
        QCOMPARE(column("SELECT group_concat(Titel, ',') FROM (SELECT Titel FROM Buecher WHERE ID > 7 ORDER BY ID)")
                     .toString(),
                 QString("Anfang,Mitte,Ende"));
    }

    void aFailureTakesNothingOver_data()
    {
        QTest::addColumn<QVariantMap>("third");
        QTest::addColumn<QString>("trigger");
        QTest::addColumn<QString>("message");
        QTest::newRow("database refuses") << book(3, "Drei")
                                          << "CREATE TRIGGER t BEFORE INSERT ON Buecher WHEN NEW.Titel = 'Drei' "
                                             "BEGIN SELECT RAISE(ABORT, 'Festplatte voll'); END"
                                          << "Festplatte voll";
        QTest::newRow("price no number") << book(3, "Drei", {{"Preis", std::nan("")}}) << QString()
                                         << "Der Preis in der Datei ist kein gültiger Betrag.";
        QTest::newRow("title longer than the file's width")
            << book(3, QString("T").repeated(101)) << QString() << "Der Text im Feld „Titel“ ist zu lang";
        QTest::newRow("stored lists refused")
            << book(3, "Drei", {{"Verlag", "Neu"}})
            << "CREATE TRIGGER t BEFORE UPDATE OF Verlag ON Blob WHEN NEW.Verlag LIKE '%Neu%' "
               "BEGIN SELECT RAISE(ABORT, 'Liste gesperrt'); END"
            << "Liste gesperrt";
    }

    void aFailureTakesNothingOver()
    {
        QFETCH(QVariantMap, third);
        QFETCH(QString, trigger);
        QFETCH(QString, message);
        fx->insert("Buecher", {{"Titel", "Bestand"}});
        if (!trigger.isEmpty())
            fx->exec(trigger);
        open();
        const QStringList before = stored();
        const QVariant listsBefore = column("SELECT Schlagwort || '/' || coalesce(Verlag, '') FROM Blob");

        PacketWriter w = PacketWriter::bookFile();
        w.addRecord(book(1, "Eins", {{"Verlag", "Erster Verlag"}, {"Schlagwort1", "Eins"}}));
        w.addRecord(book(2, "Zwei", {{"Preis", 2.0}}));
        w.addRecord(third);
        w.addRecord(book(4, "Vier"));
        const QString error = expectFailure([&] { takeOver(w, hooks()); });

        QVERIFY2(error.startsWith("Das 3. Buch der Datei konnte nicht übernommen werden; es wurde kein Buch "
                                  "übernommen.\n"),
                 qPrintable(error));
        QVERIFY2(error.contains(message), qPrintable(error));
        QCOMPARE(stored(), before);
        QCOMPARE(column("SELECT Schlagwort || '/' || coalesce(Verlag, '') FROM Blob"), listsBefore);
        RecordSet& books = data->books();
        QCOMPARE(books.state(), DataSetState::Browse);
        QCOMPARE(books.rowCountAll(), 1);
        QCOMPARE(books.value("Titel").toString(), QString("Bestand"));

        // The library goes on working: the next take-over of a sound file succeeds.
        fx->exec("DROP TRIGGER IF EXISTS t");
        PacketWriter sound = PacketWriter::bookFile();
        sound.addRecord(book(1, "Danach"));
        QCOMPARE(takeOver(sound, hooks()).taken, 1);
        QCOMPARE(stored().size(), 2);
    }

    void stoppingTakesNothingOver()
    {
        open();
        PacketWriter w = PacketWriter::bookFile();
        for (int i = 1; i <= 4; ++i)
            w.addRecord(book(i, QString("Buch %1").arg(i), {{"Verlag", QString("Verlag %1").arg(i)}}));

        QList<int> seen;
        BookTakeOver::Hooks h = hooks();
        h.progress = [&](int done, int total) {
            seen << done;
            return total == 4 && done < 2;
        };
        const BookTakeOver::Result stopped = takeOver(w, h);
        QVERIFY(stopped.cancelled);
        QCOMPARE(stopped.taken, 0);
        QCOMPARE(seen, QList<int>({0, 1, 2}));
        QVERIFY(stored().isEmpty());
        QCOMPARE(data->books().rowCountAll(), 0);
        QVERIFY(column("SELECT Verlag FROM Blob").isNull());

        // The window paints between two books; the periodic refresh must not re-read meanwhile.
        seen.clear();
        h.progress = [&](int done, int) {
            if (LibraryRefresh::run(*data))
                unexpected << QString("refresh at book %1").arg(done);
            return seen << done, true;
        };
        QCOMPARE(takeOver(w, h).taken, 4);
        QCOMPARE(seen, QList<int>({0, 1, 2, 3, 4}));
        QVERIFY(LibraryRefresh::run(*data));
    }

    void missingOrMistypedColumnsAreRefused_data()
    {
        QTest::addColumn<QString>("column");
        QTest::addColumn<int>("type");
        QTest::addColumn<int>("valueLength");
        QTest::addColumn<bool>("money");
        QTest::addColumn<QString>("message");
        QTest::newRow("no ISBN") << "ISBN" << -1 << 0 << false << "Das Feld 'ISBN' wurde nicht gefunden";
        QTest::newRow("no ausgeliehen") << "ausgeliehen" << -1 << 0 << false
                                        << "Das Feld 'ausgeliehen' wurde nicht gefunden";
        QTest::newRow("price without currency")
            << "Preis" << int(PacketWriter::Float) << 8 << false
            << "Unterschiedliche Typen für Feld 'Preis'; erwartet: Währung, gefunden: Gleitkommazahl";
        QTest::newRow("lent as text") << "ausgeliehen" << int(PacketWriter::Text) << 1 << false
                                      << "Unterschiedliche Typen für Feld 'ausgeliehen'; erwartet: Wahrheitswert, "
                                         "gefunden: Text";
        QTest::newRow("number as currency")
            << "ID" << int(PacketWriter::Float) << 8 << true
            << "Unterschiedliche Typen für Feld 'ID'; erwartet: Ganzzahl, gefunden: Währung";
        QTest::newRow("title as number") << "Titel" << int(PacketWriter::Integer) << 4 << false
                                         << "Unterschiedliche Typen für Feld 'Titel'; erwartet: Text, gefunden: "
                                            "Ganzzahl";
    }

    void missingOrMistypedColumnsAreRefused()
    {
        QFETCH(QString, column);
        QFETCH(int, type);
        QFETCH(int, valueLength);
        QFETCH(bool, money);
        QFETCH(QString, message);
        open();
        PacketWriter w = PacketWriter::bookFile();
        for (qsizetype i = 0; i < w.columns().size(); ++i) {
            if (w.columns().at(i).name != column)
                continue;
            if (type < 0) {
                w.columns().removeAt(i);
            } else {
                w.columns()[i] = {column, quint16(type), quint16(valueLength), 0, money};
            }
            break;
        }
        w.addRecord(book(1, "Eins"));
        QCOMPARE(expectFailure([&] { takeOver(w, hooks()); }), message);
        QVERIFY(stored().isEmpty());
    }

    void damagedFilesTakeNothingOver()
    {
        open();
        PacketWriter w = PacketWriter::bookFile();
        w.addRecord(book(1, "Eins", {{"Bemerkung", QString("x").repeated(400)}}));
        w.addRecord(book(2, "Zwei"));
        const QByteArray sound = w.bytes();
        const auto with = [&](int offset, QByteArray bytes) {
            QByteArray b = sound;
            b.replace(offset, bytes.size(), bytes);
            return b;
        };
        const QList<QPair<QByteArray, QString>> cases = {
            {sound.left(sound.size() - 3), "reicht über das Dateiende hinaus"},
            {with(0, "\x96\x19\xE0\xBE"), "die Kennung am Dateianfang fehlt"},
            {with(PacketWriter::HeaderLengthOffset, QByteArray("\xF0\xFF", 2)), "reicht über das Dateiende"},
            {with(PacketWriter::RecordCountOffset, QByteArray("\x03\x00", 2)), "Datensatz 3"},
        };
        for (const auto& [bytes, message] : cases) {
            QFile f(fileName());
            QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
            f.write(bytes);
            f.close();
            const QString error = expectFailure([&] { BookTakeOver::takeOverFile(*data, fileName(), hooks()); });
            QVERIFY2(error.contains("ist kein lesbares Datenpaket") && error.contains(message), qPrintable(error));
            QVERIFY(stored().isEmpty());
        }
    }
};

QTEST_GUILESS_MAIN(TestBookTakeOver)
#include "tst_booktakeover.moc"
