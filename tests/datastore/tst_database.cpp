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
        if (!dropTable.isEmpty()) {
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
