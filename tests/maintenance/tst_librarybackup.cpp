// Backing up the open database with the settings, and reading such a set back: consistent
// copies while others write, the question before an old backup is replaced, and a restore that
// either takes the whole set or changes nothing.
#include "TestSupport.h"
#include "common/Formats.h"
#include "datastore/DataError.h"
#include "datastore/LibraryData.h"
#include "datastore/Settings.h"
#include "maintenance/LibraryBackup.h"
#include "maintenance/SettingsRegFile.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSqlQuery>
#include <QTest>
#include <QThread>

#include <csignal>
#include <optional>
#include <sys/resource.h>

namespace {

const char* const ChildFlag = "--child";

QString dbFile(const QString& dir)
{
    return QDir(dir).filePath(QStringLiteral("db.sqlite"));
}

QByteArray digest(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
}

QByteArray content(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

QStringList titles(RecordSet& rs)
{
    QStringList out;
    for (int row = 0; row < rs.rowCountAll(); ++row)
        out << rs.textAt(row, rs.fieldIndex(QStringLiteral("Titel")));
    out.sort();
    return out;
}

// Files other than the backup set left in a folder (temporary copies must not stay behind).
QStringList strayFiles(const QString& folder)
{
    QStringList files = QDir(folder).entryList(QDir::Files | QDir::Hidden);
    files.removeAll(QStringLiteral("db.sqlite"));
    files.removeAll(QStringLiteral("einstellungen.reg"));
    return files;
}

// A lent book and its open loan in one transaction, as the lending dialog books them.
void lendNewBook(FixtureWriter& w, qint64 readerId, int n)
{
    w.exec(QStringLiteral("BEGIN IMMEDIATE"));
    const qint64 book =
        w.insert(QStringLiteral("Buecher"), {{"Titel", QStringLiteral("Neu %1").arg(n)}, {"ausgeliehen", 1}});
    w.insert(QStringLiteral("Ausleihe"), {{"BuecherID", book},
                                          {"LeserID", readerId},
                                          {"DatumVon", "2026-12-01 10:00:00"},
                                          {"DatumBisSoll", "2026-12-31 10:00:00"}});
    w.exec(QStringLiteral("COMMIT"));
}

// Child process: writes lent books until the stop file appears.
int runWriter(const QString& dbDir, const QString& stopFile)
{
    FixtureWriter w(dbDir);
    w.exec(QStringLiteral("PRAGMA synchronous = OFF")); // many small transactions, quickly
    const qint64 reader = w.scalar(QStringLiteral("SELECT min(ID) FROM Leser")).toLongLong();
    int n = 0;
    while (!QFile::exists(stopFile) && n < 100000)
        lendNewBook(w, reader, ++n);
    return 0;
}

// Child process: a backup on a "disk" that takes only a few bytes per file.
int runLimitedBackup(const QString& dbDir, const QString& folder)
{
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit{};
    getrlimit(RLIMIT_FSIZE, &limit);
    limit.rlim_cur = 4096;
    setrlimit(RLIMIT_FSIZE, &limit);
    LibraryData data;
    if (!data.openAtStart(dbDir))
        return 3;
    try {
        LibraryBackup(data).backup(folder, [](const QDateTime&) { return true; });
    } catch (const DataError& e) {
        const QByteArray out = e.message().toUtf8();
        fwrite(out.constData(), 1, size_t(out.size()), stdout);
        return 1;
    }
    return 0;
}

// The checks a copy must pass: the program's own inspection, and one consistent state of the
// loans (every open loan's book is there and marked lent, and no other book is).
DatabaseContents checkCopy(const QString& folder)
{
    const DatabaseContents contents = SqliteEngine().inspectDatabaseFile(dbFile(folder));
    FixtureWriter w(folder);
    const qint64 lentBooks =
        w.scalar(QStringLiteral("SELECT count(*) FROM Buecher WHERE ausgeliehen = 1")).toLongLong();
    const qint64 openLoans =
        w.scalar(QStringLiteral("SELECT count(*) FROM Ausleihe a JOIN Buecher b ON b.ID = a.BuecherID "
                                "WHERE a.DatumBis IS NULL AND b.ausgeliehen = 1"))
            .toLongLong();
    const qint64 loans = w.scalar(QStringLiteral("SELECT count(*) FROM Ausleihe")).toLongLong();
    if (lentBooks != openLoans || loans != contents.loans || loans != openLoans)
        qWarning("inconsistent copy: %lld lent books, %lld open loans, %lld loans", lentBooks, openLoans, loans);
    return lentBooks == openLoans && loans == openLoans ? contents : DatabaseContents{-1, -1, -1, -1};
}

} // namespace

class TestLibraryBackup : public QObject
{
    Q_OBJECT

private:
    std::optional<TestEnvironment> m_env;
    std::optional<LibraryData> m_data;
    QString m_dbDir;
    qint64 m_reader = 0;

    QString folder(const QString& name)
    {
        const QString path = m_env->root() + u'/' + name;
        QDir().mkpath(path);
        return path;
    }

    DataError backupError(const QString& target)
    {
        try {
            LibraryBackup(*m_data).backup(target, [](const QDateTime&) { return true; });
        } catch (const DataError& e) {
            return e;
        }
        return DataError(QString());
    }

private slots:
    // A library with two books (one lent), two readers and one loan, open as at start.
    void init()
    {
        m_env.emplace();
        m_dbDir = m_env->dbDir();
        createLibraryDatabase(m_dbDir);
        {
            FixtureWriter w(m_dbDir);
            m_reader = w.insert("Leser", {{"Vorname", "Anna"}, {"Nachname", "Müller"}});
            w.insert("Leser", {{"Vorname", "Bernd"}, {"Nachname", "Schulz"}});
            w.insert("Buecher", {{"Titel", "Alte Bücher"}, {"Preis", 125000}});
            lendNewBook(w, m_reader, 1);
        }
        Settings::WriteSettingString("DBPfad", m_dbDir);
        Settings::WriteSettingInt("Height", 640);
        Settings::WriteSettingString("SortBuecher", "Titel");
        m_data.emplace();
        QVERIFY(m_data->openAtStart(m_dbDir));
    }
    void cleanup()
    {
        m_data.reset();
        m_env.reset();
    }

    void backupWritesACheckedSet()
    {
        const QString target = folder("sicherung");
        bool asked = false;
        const std::optional<BackupSet> set = LibraryBackup(*m_data).backup(target, [&](const QDateTime&) {
            asked = true;
            return true;
        });
        QVERIFY(set);
        QVERIFY(!asked); // nothing to replace
        QCOMPARE(set->folder, target + u'/');
        QCOMPARE(set->contents.books, 2);
        QCOMPARE(set->contents.readers, 2);
        QCOMPARE(set->contents.loans, 1);
        QCOMPARE(checkCopy(target).books, 2);
        QCOMPARE(strayFiles(target), QStringList());

        // The folder is remembered, and the settings file holds every value including it.
        QCOMPARE(Settings::ReadSettingString("Sicherung"), target + u'/');
        QCOMPARE(SettingsRegFile::readFile(target + "/einstellungen.reg"), Settings::AllSettings());

        const QString done = LibraryBackup::backupDoneText(*set);
        QVERIFY2(done.startsWith("Sicherung abgeschlossen") && done.contains(target) &&
                     done.contains("Bücher: 2\nLeser: 2\nAusleihen: 1") &&
                     done.contains(Formats::formatDate(set->time)),
                 qPrintable(done));
    }

    void existingBackupIsReplacedOnlyWhenConfirmed()
    {
        const QString target = folder("sicherung");
        QVERIFY(LibraryBackup(*m_data).backup(target, [](const QDateTime&) { return true; }));
        const QDateTime firstTime = QFileInfo(dbFile(target)).lastModified();
        const QByteArray firstCopy = digest(dbFile(target));
        const QByteArray firstReg = content(target + "/einstellungen.reg");
        FixtureWriter(m_dbDir).insert("Buecher", {{"Titel", "Dazugekommen"}});
        Settings::WriteSettingInt("Height", 700);

        QDateTime askedAbout;
        const auto keep = [&](const QDateTime& old) {
            askedAbout = old;
            return false;
        };
        QVERIFY(!LibraryBackup(*m_data).backup(target, keep));
        QCOMPARE(askedAbout, firstTime);
        QCOMPARE(digest(dbFile(target)), firstCopy);
        QCOMPARE(content(target + "/einstellungen.reg"), firstReg);
        const QString question = LibraryBackup::replaceQuestion(target + u'/', askedAbout);
        QVERIFY2(question.startsWith(QStringLiteral("Im Ordner %1/ liegt schon eine Sicherung vom %2")
                                         .arg(target, Formats::formatDate(firstTime))) &&
                     question.endsWith("Ersetzen?"),
                 qPrintable(question));

        const std::optional<BackupSet> second =
            LibraryBackup(*m_data).backup(target, [](const QDateTime&) { return true; });
        QVERIFY(second);
        QCOMPARE(second->contents.books, 3);
        QCOMPARE(checkCopy(target).books, 3);
        const QList<Settings::SettingEntry> reg = SettingsRegFile::readFile(target + "/einstellungen.reg");
        QVERIFY(reg.contains(Settings::SettingEntry{"Height", qint32(700)}));
    }

    void backupFailuresSayWhyAndKeepTheOldBackup_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<QString>("expected");
        QTest::newRow("empty field") << "empty"
                                     << "Bitte geben Sie den Ordner an";
        QTest::newRow("missing folder") << "missing"
                                        << "gibt es nicht";
        QTest::newRow("a file, no folder") << "file"
                                           << "gibt es nicht";
        QTest::newRow("the database's own folder") << "own"
                                                   << "enthält die Datenbank selbst";
        QTest::newRow("no database open") << "closed"
                                          << "keine Datenbank geöffnet";
        QTest::newRow("target cannot be replaced") << "blocked"
                                                   << "ist fehlgeschlagen";
        QTest::newRow("disk full") << "full"
                                   << "ist fehlgeschlagen";
    }

    void backupFailuresSayWhyAndKeepTheOldBackup()
    {
        QFETCH(QString, how);
        QFETCH(QString, expected);
        QString target = folder("sicherung");
        const QString reg = target + "/einstellungen.reg";
        writeBytes(reg, "alt");
        const QByteArray liveBefore = digest(dbFile(m_dbDir));
        QString message;
        if (how == "empty") {
            target.clear();
        } else if (how == "missing") {
            target += "/gibtsnicht";
        } else if (how == "file") {
            target = reg;
        } else if (how == "own") {
            target = m_dbDir;
        } else if (how == "closed") {
            m_data.emplace();
        } else if (how == "blocked") {
            QDir().mkpath(dbFile(target) + "/voll"); // a folder where the copy should go
        }
        if (how == "full") {
            QProcess child;
            child.setProcessEnvironment(QProcessEnvironment::systemEnvironment());
            child.start(QCoreApplication::applicationFilePath(), {ChildFlag, "backup-limited", m_dbDir, target});
            QVERIFY(child.waitForFinished(60000));
            QCOMPARE(child.exitCode(), 1);
            message = QString::fromUtf8(child.readAllStandardOutput());
        } else {
            message = backupError(target).message();
        }
        QVERIFY2(message.contains(expected), qPrintable(message));
        QVERIFY(!message.contains('\0'));
        QCOMPARE(content(reg), QByteArray("alt"));
        QCOMPARE(strayFiles(folder("sicherung")), QStringList());
        QCOMPARE(Settings::ReadSettingString("Sicherung"), QString());
        QCOMPARE(digest(dbFile(m_dbDir)), liveBefore);
    }

    void backupWhileAnotherConnectionHoldsAWriteTransaction()
    {
        FixtureWriter other(m_dbDir);
        other.exec("BEGIN IMMEDIATE");
        other.insert("Buecher", {{"Titel", "Noch nicht gespeichert"}});
        const QString target = folder("sicherung");
        const std::optional<BackupSet> set =
            LibraryBackup(*m_data).backup(target, [](const QDateTime&) { return true; });
        other.exec("COMMIT");
        QVERIFY(set);
        QCOMPARE(set->contents.books, 2); // the committed state, without the open transaction's row
        QCOMPARE(checkCopy(target).books, 2);
    }

    void backupWhileAnotherProcessWrites()
    {
        const QString stop = m_env->root() + "/stop";
        QProcess writer;
        writer.setProcessChannelMode(QProcess::ForwardedChannels);
        writer.setProcessEnvironment(QProcessEnvironment::systemEnvironment());
        writer.start(QCoreApplication::applicationFilePath(), {ChildFlag, "writer", m_dbDir, stop});
        QVERIFY(writer.waitForStarted());
        FixtureWriter probe(m_dbDir);
        QTRY_VERIFY_WITH_TIMEOUT(probe.scalar("SELECT count(*) FROM Buecher").toLongLong() > 20, 20000);

        QList<qint64> books;
        for (int i = 0; i < 6; ++i) {
            const QString target = folder(QStringLiteral("sicherung%1").arg(i));
            const std::optional<BackupSet> set =
                LibraryBackup(*m_data).backup(target, [](const QDateTime&) { return true; });
            QVERIFY(set);
            const DatabaseContents copy = checkCopy(target);
            QCOMPARE(copy.books, set->contents.books);
            QCOMPARE(copy.loans, set->contents.books - 1); // one book was never lent
            books << copy.books;
            QThread::msleep(20);
        }
        writeBytes(stop, "");
        QVERIFY(writer.waitForFinished(30000));
        QCOMPARE(writer.exitCode(), 0);
        // The copies were taken while the other process wrote: they show different states.
        QVERIFY2(books.first() < books.last(), qPrintable(QString::number(books.first())));
        QVERIFY(books.last() < probe.scalar("SELECT count(*) FROM Buecher").toLongLong());
    }

    void restoreBringsBackDataAndSettings()
    {
        const QString source = folder("sicherung");
        QVERIFY(LibraryBackup(*m_data).backup(source, [](const QDateTime&) { return true; }));
        // The settings file of the backup names another database folder.
        QList<Settings::SettingEntry> reg = SettingsRegFile::readFile(source + "/einstellungen.reg");
        for (Settings::SettingEntry& e : reg)
            if (e.name == "DBPfad")
                e.value = QStringLiteral("/anderswo");
        writeBytes(source + "/einstellungen.reg", SettingsRegFile::serialise(reg));

        // Afterwards: a book more, a reader less, other settings, one value the file lacks.
        {
            FixtureWriter w(m_dbDir);
            w.insert("Buecher", {{"Titel", "Nach der Sicherung"}});
            w.exec("DELETE FROM Leser WHERE Vorname = 'Bernd'");
        }
        m_data->books().requery();
        Settings::WriteSettingInt("Height", 999);
        Settings::WriteSettingString("SortBuecher", "ID");
        Settings::WriteSettingInt("BreiteANeu", 80);

        LibraryBackup backup(*m_data);
        const BackupSet set = backup.checkRestore(source);
        QCOMPARE(set.contents.books, 2);
        QCOMPARE(set.contents.readers, 2);
        QVERIFY(set.hasSettings);
        const QString question = LibraryBackup::restoreQuestion(set);
        QVERIFY2(question.contains("enthält 2 Bücher, 2 Leser und 1 Ausleihen") &&
                     question.contains(Formats::formatDate(set.time)) &&
                     question.endsWith("überschrieben! Sind Sie sicher?"),
                 qPrintable(question));

        backup.restore(set);
        QVERIFY(m_data->isOpen());
        QCOMPARE(titles(m_data->books()), (QStringList{"Alte Bücher", "Neu 1"}));
        QCOMPARE(m_data->readers().rowCountAll(), 2);
        QCOMPARE(m_data->loans().rowCountAll(), 1);
        QCOMPARE(m_data->loans().value("LeserNachname").toString(), QStringLiteral("Müller"));
        const int price = m_data->books().fieldIndex("Preis");
        QCOMPARE(m_data->books().valueAt(m_data->books().findRow("Titel", {"Alte Bücher"}), price),
                 QVariant(qint64(125000)));

        // The former state is kept beside the database, whole.
        QCOMPARE(backup.previousDatabasePath(), dbFile(m_dbDir) + ".vorher");
        {
            const QString kept = folder("vorher");
            QVERIFY(QFile::copy(dbFile(m_dbDir) + ".vorher", dbFile(kept)));
            const DatabaseContents before = SqliteEngine().inspectDatabaseFile(dbFile(kept));
            QCOMPARE(before.books, 3);
            QCOMPARE(before.readers, 1);
        }
        QCOMPARE(strayFiles(m_dbDir), QStringList{"db.sqlite.vorher"});

        QCOMPARE(Settings::ReadSettingInt("Height"), 640);
        QCOMPARE(Settings::ReadSettingString("SortBuecher"), QStringLiteral("Titel"));
        QCOMPARE(Settings::ReadSettingInt("BreiteANeu"), 80);     // not in the file: stays
        QCOMPARE(Settings::ReadSettingString("DBPfad"), m_dbDir); // the restored data live here

        // A number handed out after the backup is not handed out again.
        m_data->books().insert();
        m_data->books().setValue("Titel", "Nach dem Zurücklesen");
        m_data->books().post();
        QCOMPARE(m_data->books().value("ID").toLongLong(), 4);
    }

    void failedRestoreChangesNothing_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<QString>("expected");
        QTest::newRow("no database in the folder") << "nodb"
                                                   << "liegt keine Sicherung der Datenbank";
        QTest::newRow("not a database") << "garbage"
                                        << "keine lesbare Datenbank";
        QTest::newRow("damaged pages") << "damaged"
                                       << "beschädigt";
        QTest::newRow("a foreign database") << "foreign"
                                            << "keine Datenbank dieses Programms";
        QTest::newRow("a newer version") << "newer"
                                         << "neueren Version";
        QTest::newRow("damaged settings file") << "badreg"
                                               << "Zeile 5";
        QTest::newRow("the database's own folder") << "own"
                                                   << "enthält die geöffnete Datenbank selbst";
        QTest::newRow("writing refused") << "trigger"
                                         << "Die Datenbank ist unverändert";
    }

    void failedRestoreChangesNothing()
    {
        QFETCH(QString, how);
        QFETCH(QString, expected);
        QString source = folder("sicherung");
        QVERIFY(LibraryBackup(*m_data).backup(source, [](const QDateTime&) { return true; }));
        Settings::WriteSettingInt("Height", 999);
        {
            FixtureWriter w(m_dbDir);
            w.insert("Buecher", {{"Titel", "Nach der Sicherung"}});
            if (how == "trigger")
                w.exec("CREATE TRIGGER nein BEFORE INSERT ON Leser BEGIN SELECT RAISE(ABORT, 'gesperrt'); END");
        }
        m_data->books().requery();
        const QString db = dbFile(source);
        if (how == "nodb") {
            QFile::remove(db);
        } else if (how == "garbage") {
            writeBytes(db, QByteArray(8192, 'x'));
        } else if (how == "damaged") {
            // A valid header, then pages overwritten in the middle of the tables.
            QByteArray bytes = content(db);
            QVERIFY(bytes.size() > 4 * 4096);
            for (qsizetype i = 4096 + 100; i < bytes.size() - 1; i += 3)
                bytes[i] = char(0xA5);
            writeBytes(db, bytes);
        } else if (how == "foreign") {
            QFile::remove(db);
            FixtureWriter(source).exec("CREATE TABLE Buecher (ID INTEGER)");
        } else if (how == "newer") {
            FixtureWriter(source).exec("PRAGMA user_version = 99");
        } else if (how == "badreg") {
            writeBytes(source + "/einstellungen.reg",
                       content(source + "/einstellungen.reg")
                           .replace(QByteArray("d\0w\0o\0r\0d\0", 10), QByteArray("q\0w\0o\0r\0d\0", 10)));
        } else if (how == "own") {
            source = m_dbDir;
        }
        const QByteArray liveBefore = digest(dbFile(m_dbDir));
        const QByteArray settingsBefore = content(Settings::storePath());

        QString message;
        try {
            LibraryBackup backup(*m_data);
            backup.restore(backup.checkRestore(source));
        } catch (const DataError& e) {
            message = e.message();
        }
        QVERIFY2(message.contains(expected), qPrintable(message));
        QVERIFY2(message.contains("Es wurde nichts verändert") || message.contains("unverändert"), qPrintable(message));
        QCOMPARE(content(Settings::storePath()), settingsBefore);
        QVERIFY(m_data->isOpen());
        QCOMPARE(m_data->books().rowCountAll(), 3);
        FixtureWriter w(m_dbDir);
        QCOMPARE(w.scalar("SELECT count(*) FROM Buecher").toInt(), 3);
        QCOMPARE(w.scalar("SELECT count(*) FROM Leser").toInt(), 2);
        if (how != "trigger") {
            // Refused before anything was touched.
            QCOMPARE(digest(dbFile(m_dbDir)), liveBefore);
            QVERIFY(!QFile::exists(dbFile(m_dbDir) + ".vorher"));
        }
    }
};

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    if (argc > 2 && qstrcmp(argv[1], ChildFlag) == 0) {
        const QStringList args = app.arguments().mid(2);
        if (args.value(0) == "writer")
            return runWriter(args.value(1), args.value(2));
        if (args.value(0) == "backup-limited")
            return runLimitedBackup(args.value(1), args.value(2));
        return 2;
    }
    TestLibraryBackup test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_librarybackup.moc"
