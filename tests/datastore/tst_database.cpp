// Creating and opening a library database: the tables, the first row, and refusing what is
// not ours without touching it.
#include "TestSupport.h"
#include "datastore/DataError.h"
#include "datastore/LibraryData.h"
#include "datastore/Settings.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QSqlQuery>
#include <QTest>

#include <csignal>
#include <sys/resource.h>

namespace {

QByteArray fileDigest(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
}

QString dbFile(const QString& dir)
{
    return QDir(dir).filePath("db.sqlite");
}

} // namespace

class TestDatabase : public QObject
{
    Q_OBJECT

private slots:
    void createBuildsTablesAndFirstRow()
    {
        TestEnvironment env;
        LibraryData data;
        int hookRuns = 0;
        bool blobOpenInHook = false;
        data.createDatabase(env.dbDir(), [&] {
            ++hookRuns;
            blobOpenInHook = data.blob().active();
        });
        QCOMPARE(hookRuns, 1);
        QVERIFY(blobOpenInHook);
        QVERIFY(data.isOpen());
        QCOMPARE(Settings::ReadSettingString("DBPfad"), env.dbDir());
        QCOMPARE(Settings::ReadSettingString("SortBuecher"), QStringLiteral("ID"));
        QCOMPARE(Settings::ReadSettingString("SortLeser"), QStringLiteral("ID"));

        FixtureWriter w(env.dbDir());
        // columns in their defined order
        for (const TableDef& t : Schema::tables()) {
            QSqlQuery q(w.db());
            QVERIFY(q.exec(QStringLiteral("PRAGMA table_info(\"%1\")").arg(t.name)));
            QStringList columns;
            while (q.next())
                columns << q.value(1).toString();
            QStringList expected;
            for (const ColumnDef& c : t.columns)
                expected << c.name;
            QCOMPARE(columns, expected);
        }
        for (const char* table : {"Buecher", "Leser", "Ausleihe"})
            QCOMPARE(w.scalar(QStringLiteral("SELECT count(*) FROM %1").arg(table)).toInt(), 0);
        QCOMPARE(w.scalar("SELECT count(*) FROM Blob").toInt(), 1);
        QCOMPARE(w.scalar("SELECT ID FROM Blob").toInt(), 1);
        QCOMPARE(w.scalar("SELECT count(*) FROM Blob WHERE Schlagwort IS NULL AND Standort IS NULL AND "
                          "Sachgruppe IS NULL AND Verlag IS NULL AND Erscheinungsort IS NULL")
                     .toInt(),
                 1);
        QCOMPARE(w.scalar("SELECT FeldnamenBuecher FROM Blob").toString(),
                 QStringLiteral("Verfasser\r\nTitel\r\nVerlag\r\nErscheinungsort\r\nAuflage\r\nSachgruppe\r\nISBN\r\n"
                                "Signatur\r\nStandort\r\nErscheinungsjahr\r\nBemerkung\r\nSonstiges\r\n"));
        // the database itself refuses zero-length strings and over-long texts
        QSqlQuery q(w.db());
        QVERIFY(!q.exec("INSERT INTO Buecher (Titel) VALUES ('')"));
        QVERIFY(!q.exec(QStringLiteral("INSERT INTO Leser (Bemerkung) VALUES ('%1')").arg(QString(101, 'x'))));
        QVERIFY(q.exec(QStringLiteral("INSERT INTO Buecher (Bemerkung) VALUES ('%1')").arg(QString(255, 'x'))));
    }

    void createRefusesExistingOrUnwritable()
    {
        TestEnvironment env;
        LibraryData data;
        data.createDatabase(env.dbDir(), {});
        FixtureWriter(env.dbDir()).insert("Buecher", {{"Titel", "Bleibt"}});
        const QByteArray before = fileDigest(dbFile(env.dbDir()));

        LibraryData other;
        try {
            other.createDatabase(env.dbDir(), {});
            QFAIL("an existing database was overwritten");
        } catch (const DataError& e) {
            QVERIFY2(e.message().contains(QStringLiteral("bereits eine Datenbank")), qPrintable(e.message()));
        }
        QCOMPARE(fileDigest(dbFile(env.dbDir())), before);

        // the former database stays open when creation fails
        for (const QString& bad : {QStringLiteral("/proc"), env.root() + "/gibt-es-nicht", QString()}) {
            try {
                data.createDatabase(bad, {});
                QFAIL(qPrintable("created a database in " + bad));
            } catch (const DataError& e) {
                QVERIFY(!e.message().isEmpty());
            }
            QVERIFY(data.isOpen());
            QCOMPARE(data.books().recordCount(), 0); // it read before the insert above
            QCOMPARE(Settings::ReadSettingString("DBPfad"), env.dbDir());
        }
        QVERIFY(!QFile::exists(env.root() + "/gibt-es-nicht"));
        QCOMPARE(QDir(env.dbDir()).entryList(QDir::Files | QDir::Hidden), QStringList{"db.sqlite"});
    }

    void openRefusesWhatIsNotOurs_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("dropTable");
        QTest::addColumn<QString>("expected");
        QByteArray random(4096, 0);
        for (int i = 0; i < random.size(); ++i)
            random[i] = char((i * 7919 + 13) % 251);
        QTest::newRow("no file") << QByteArray() << QString() << "nicht gefunden";
        QTest::newRow("random bytes") << random << QString() << "keine Datenbank dieses Programms";
        QTest::newRow("empty file") << QByteArray("") << QString() << "keine Datenbank dieses Programms";
        QTest::newRow("table missing") << QByteArray() << "Ausleihe"
                                       << "„Ausleihe“ fehlt";
        QTest::newRow("newer version") << QByteArray() << "PRAGMA user_version = 99"
                                       << "neueren Version des Programms";
        // the tables are all there, but one page of the books is not readable
        QTest::newRow("damaged page") << QByteArray() << "damage"
                                      << "beschädigt";
    }

    void openRefusesWhatIsNotOurs()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, dropTable);
        QFETCH(QString, expected);
        TestEnvironment env;
        // the database open now
        const QString good = env.root() + "/gut";
        QDir().mkpath(good);
        LibraryData data;
        data.createDatabase(good, {});
        // the target
        const QString bad = env.root() + "/schlecht";
        QDir().mkpath(bad);
        const bool noFile = content.isNull() && dropTable.isEmpty();
        if (dropTable == u"damage") {
            createLibraryDatabase(bad);
            {
                FixtureWriter w(bad);
                w.exec("BEGIN");
                for (int i = 0; i < 300; ++i)
                    w.insert("Buecher",
                             {{"Titel", QString(90, QChar('a' + i % 26))}, {"Verfasser", QString::number(i)}});
                w.exec("COMMIT");
            }
            QFile f(dbFile(bad));
            QVERIFY(f.open(QIODevice::ReadWrite));
            QVERIFY(f.size() > 10 * 4096);
            f.seek(8 * 4096); // a leaf page of the books, written after the four tables' first pages
            f.write(QByteArray(4096, char(0xA5)));
        } else if (dropTable.startsWith(u"PRAGMA")) {
            createLibraryDatabase(bad);
            FixtureWriter(bad).exec(dropTable);
        } else if (!dropTable.isEmpty()) {
            createLibraryDatabase(bad);
            FixtureWriter(bad).exec("DROP TABLE " + dropTable);
        } else if (!noFile) {
            QFile f(dbFile(bad));
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(content);
        }
        const QByteArray before = fileDigest(dbFile(bad));
        const auto mtime = QFileInfo(dbFile(bad)).lastModified();
        try {
            data.openDatabase(bad, {});
            QFAIL("a foreign file was opened");
        } catch (const DataError& e) {
            QVERIFY2(e.message().contains(expected), qPrintable(e.message()));
            if (noFile)
                QCOMPARE(e.message(),
                         QStringLiteral("Die Datenbankdatei wurde im Verzeichnis %1 nicht gefunden.\n"
                                        "Bitte wählen Sie ein anderes Verzeichnis aus, um die Datenbank zu öffnen")
                             .arg(bad));
        }
        QCOMPARE(fileDigest(dbFile(bad)), before);
        QCOMPARE(QFileInfo(dbFile(bad)).lastModified(), mtime);
        QCOMPARE(QFile::exists(dbFile(bad)), !noFile); // opening never creates a file
        QStringList leftovers = QDir(bad).entryList(QDir::Files | QDir::Hidden);
        leftovers.removeAll("db.sqlite");
        QCOMPARE(leftovers, QStringList());
        QVERIFY(data.isOpen());
        QCOMPARE(data.database().directory(), good);
        QCOMPARE(Settings::ReadSettingString("DBPfad"), good);
        // and the former database is still the one written to
        data.books().insert();
        data.books().setText("Titel", "Nach dem Fehlversuch");
        data.books().post();
        QCOMPARE(
            FixtureWriter(good).scalar("SELECT count(*) FROM Buecher WHERE Titel = 'Nach dem Fehlversuch'").toInt(), 1);
    }

    void createFailingHalfWayLeavesNoFile()
    {
        TestEnvironment env;
        const QString good = env.root() + "/gut", target = env.root() + "/neu";
        QDir().mkpath(good);
        QDir().mkpath(target);
        LibraryData data;
        data.createDatabase(good, {});
        // The disk "fills up" while the new file is written: writes beyond 6 KB fail.
        struct rlimit old;
        QCOMPARE(getrlimit(RLIMIT_FSIZE, &old), 0);
        const auto oldSignal = signal(SIGXFSZ, SIG_IGN);
        struct rlimit small = old;
        small.rlim_cur = 6 * 1024;
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
        QString message;
        try {
            data.createDatabase(target, {});
        } catch (const DataError& e) {
            message = e.message();
        }
        setrlimit(RLIMIT_FSIZE, &old);
        signal(SIGXFSZ, oldSignal);
        QVERIFY2(message.contains("kann keine Datenbank angelegt werden"), qPrintable(message));
        QCOMPARE(QDir(target).entryList(QDir::Files | QDir::Hidden), QStringList());
        QVERIFY(data.isOpen());
        QCOMPARE(data.database().directory(), good);
        QCOMPARE(Settings::ReadSettingString("DBPfad"), good);
    }

    void secondOpenLoanOfABookIsRefusedByTheDatabase()
    {
        TestEnvironment env;
        createLibraryDatabase(env.dbDir());
        FixtureWriter w(env.dbDir());
        QCOMPARE(w.scalar("PRAGMA user_version").toInt(), 2);
        w.insert("Ausleihe", {{"BuecherID", 1}, {"LeserID", 1}, {"DatumVon", "2026-12-01 10:00:00"}});
        QSqlQuery q(w.db());
        QVERIFY(!q.exec("INSERT INTO Ausleihe (BuecherID, LeserID, DatumVon) VALUES (1, 2, '2026-12-02 10:00:00')"));
        // a returned loan and another book's open loan are fine
        QVERIFY(q.exec("INSERT INTO Ausleihe (BuecherID, LeserID, DatumVon, DatumBis) VALUES (1, 2, "
                       "'2026-11-01 10:00:00', '2026-11-20 10:00:00')"));
        QVERIFY(q.exec("INSERT INTO Ausleihe (BuecherID, LeserID, DatumVon) VALUES (2, 2, '2026-12-02 10:00:00')"));
    }

    void openingAVersionOneFileUpgradesItOrNamesTheBooksLentTwice()
    {
        TestEnvironment env;
        createLibraryDatabase(env.dbDir());
        qint64 extra = 0;
        {
            // a file as version 1 wrote it: no index, and book 7 lent twice at once
            FixtureWriter w(env.dbDir());
            w.exec("DROP INDEX AusleiheEinOffenesProBuch");
            w.exec("PRAGMA user_version = 1");
            w.insert("Ausleihe", {{"BuecherID", 7}, {"LeserID", 1}, {"DatumVon", "2026-12-01 10:00:00"}});
            extra = w.insert("Ausleihe", {{"BuecherID", 7}, {"LeserID", 2}, {"DatumVon", "2026-12-02 10:00:00"}});
            w.insert("Ausleihe", {{"BuecherID", 8}, {"LeserID", 2}, {"DatumVon", "2026-12-02 10:00:00"}});
        }
        LibraryData data;
        data.openDatabase(env.dbDir(), {}); // opened, not refused
        QVERIFY(data.isOpen());
        QCOMPARE(data.loans().recordCount(), 3);
        const QStringList notices = data.database().notices();
        QCOMPARE(notices.size(), 1);
        QVERIFY2(notices.first().contains("Buch-Nr. 7 (2 offene Ausleihen)"), qPrintable(notices.first()));
        QVERIFY(!notices.first().contains("Buch-Nr. 8"));
        {
            FixtureWriter w(env.dbDir());
            QCOMPARE(w.scalar("PRAGMA user_version").toInt(), 1); // nothing changed
            QCOMPARE(w.scalar("SELECT count(*) FROM sqlite_master WHERE type = 'index'").toInt(), 0);
            w.exec(QStringLiteral("UPDATE Ausleihe SET DatumBis = '2026-12-03 10:00:00' WHERE ID = %1").arg(extra));
        }
        // once the book is lent only once, the next opening brings the file up to date
        LibraryData again;
        again.openDatabase(env.dbDir(), {});
        QCOMPARE(again.database().notices(), QStringList());
        FixtureWriter w(env.dbDir());
        QCOMPARE(w.scalar("PRAGMA user_version").toInt(), 2);
        QSqlQuery q(w.db());
        QVERIFY(!q.exec("INSERT INTO Ausleihe (BuecherID, LeserID, DatumVon) VALUES (8, 1, '2026-12-04 10:00:00')"));
    }

    void openSwitchesToAnotherLibrary()
    {
        TestEnvironment env;
        const QString first = env.root() + "/eins", second = env.root() + "/zwei";
        QDir().mkpath(first);
        QDir().mkpath(second);
        createLibraryDatabase(second);
        FixtureWriter(second).insert("Buecher", {{"Titel", "Im Zweiten"}});
        LibraryData data;
        data.createDatabase(first, {});
        Settings::WriteSettingString("SortBuecher", "Titel");
        data.openDatabase(second, {});
        QCOMPARE(Settings::ReadSettingString("DBPfad"), second);
        QCOMPARE(Settings::ReadSettingString("SortBuecher"), QStringLiteral("ID"));
        QCOMPARE(data.books().recordCount(), 1);
        QCOMPARE(data.books().text("Titel"), QStringLiteral("Im Zweiten"));
        // at start: an unusable folder only marks the database as not open
        LibraryData atStart;
        QVERIFY(!atStart.openAtStart(env.root()));
        QVERIFY(!atStart.openAtStart(QString()));
        QVERIFY(!atStart.isOpen());
        QVERIFY(!QFile::exists(dbFile(env.root())));
    }
};

QTEST_GUILESS_MAIN(TestDatabase)
#include "tst_database.moc"
