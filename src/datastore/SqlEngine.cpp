#include "SqlEngine.h"

#include "DataError.h"
#include "SqlFailure.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <QSqlError>
#include <QSqlQuery>
#include <QUrl>
#include <QUuid>

namespace PackedDateTime {

qint64 pack(const QDateTime& dt)
{
    const QDate d = dt.date();
    const QTime t = dt.time();
    return ((((qint64(d.year()) * 100 + d.month()) * 100 + d.day()) * 100 + t.hour()) * 100 + t.minute()) * 100 +
           t.second();
}

QDateTime unpack(qint64 p)
{
    const int sec = p % 100;
    p /= 100;
    const int min = p % 100;
    p /= 100;
    const int hour = p % 100;
    p /= 100;
    const int day = p % 100;
    p /= 100;
    const int month = p % 100;
    const int year = int(p / 100);
    return QDateTime(QDate(year, month, day), QTime(hour, min, sec));
}

bool fromStorageText(const QString& s, qint64* packed)
{
    // "yyyy-MM-dd HH:mm:ss"; the time part may be missing.
    if (s.size() != 19 && s.size() != 10)
        return false;
    qint64 v = 0;
    int digits = 0;
    for (int i = 0; i < s.size(); ++i) {
        const QChar c = s.at(i);
        if (i == 4 || i == 7) {
            if (c != u'-')
                return false;
        } else if (i == 10) {
            if (c != u' ' && c != u'T')
                return false;
        } else if (i == 13 || i == 16) {
            if (c != u':')
                return false;
        } else {
            if (c < u'0' || c > u'9')
                return false;
            v = v * 10 + (c.unicode() - u'0');
            ++digits;
        }
    }
    if (digits == 8)
        v *= 1000000;
    *packed = v;
    return true;
}

QString toStorageText(qint64 p)
{
    const QDateTime dt = unpack(p);
    return dt.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

} // namespace PackedDateTime

namespace {

QString tr(const char* text)
{
    return QCoreApplication::translate("SqlEngine", text);
}

QString columnDdl(const ColumnDef& c)
{
    QString type;
    switch (c.type) {
    case ColumnType::AutoIncrement:
        return QStringLiteral("\"%1\" INTEGER PRIMARY KEY AUTOINCREMENT").arg(c.name);
    case ColumnType::Integer:
    case ColumnType::Boolean:
    case ColumnType::Money: // ten-thousandths, exact
        type = QStringLiteral("INTEGER");
        break;
    case ColumnType::Text:
        // No zero-length strings: empty input is stored as NULL.
        return QStringLiteral("\"%1\" TEXT CHECK (\"%1\" IS NULL OR length(\"%1\") BETWEEN 1 AND %2)")
            .arg(c.name)
            .arg(c.size);
    case ColumnType::Memo:
        return QStringLiteral("\"%1\" TEXT CHECK (\"%1\" IS NULL OR length(\"%1\") > 0)").arg(c.name);
    case ColumnType::DateTime:
        type = QStringLiteral("TEXT");
        break;
    }
    return QStringLiteral("\"%1\" %2").arg(c.name, type);
}

void exec(QSqlQuery& q, const QString& sql)
{
    if (!q.exec(sql))
        throw SqlFailure::from(tr("Die Datenbank konnte nicht angelegt werden."), q.lastError());
}

} // namespace

QString SqliteEngine::databaseLocation(const QString& directory) const
{
    return QDir(directory).filePath(FileName);
}

bool SqliteEngine::databaseExists(const QString& directory) const
{
    return QFileInfo(databaseLocation(directory)).isFile();
}

namespace {
int g_busyTimeoutMs = 10000;
} // namespace

int SqliteEngine::busyTimeoutMs()
{
    return g_busyTimeoutMs;
}

void SqliteEngine::setBusyTimeoutMs(int ms)
{
    g_busyTimeoutMs = ms;
}

QSqlDatabase SqliteEngine::connect(const QString& connectionName, const QString& directory, QStringList* notices) const
{
    const QString path = databaseLocation(directory);
    const QString shownDir = SqlFailure::shortened(directory);
    const QFileInfo dirInfo(directory);
    if (dirInfo.isDir() && (!dirInfo.isReadable() || !dirInfo.isExecutable()))
        throw DataError(tr("Für das Verzeichnis %1 haben Sie keine Berechtigung: die Datenbank darin kann nicht "
                           "gelesen werden.\nBitte wenden Sie sich an die Person, die die Rechte im Netzwerk "
                           "vergibt, oder wählen Sie ein anderes Verzeichnis aus.")
                            .arg(shownDir),
                        {}, DataError::Kind::ReadOnly);
    if (!QFileInfo(path).isFile())
        throw DataError(tr("Die Datenbankdatei wurde im Verzeichnis %1 nicht gefunden.\n"
                           "Bitte wählen Sie ein anderes Verzeichnis aus, um die Datenbank zu öffnen")
                            .arg(shownDir));
    if (!QFileInfo(path).isReadable())
        throw DataError(tr("Für die Datenbankdatei im Verzeichnis %1 haben Sie keine Berechtigung: sie kann nicht "
                           "gelesen werden.\nBitte wenden Sie sich an die Person, die die Rechte im Netzwerk "
                           "vergibt, oder wählen Sie ein anderes Verzeichnis aus.")
                            .arg(shownDir),
                        {}, DataError::Kind::ReadOnly);
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connectionName);
    // mode=rw: opening must never create a file.
    QUrl url = QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath());
    db.setDatabaseName(QStringLiteral("file:") + url.path(QUrl::FullyEncoded) + QStringLiteral("?mode=rw"));
    db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=%1").arg(g_busyTimeoutMs));
    const auto drop = [&] {
        db.close();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(connectionName);
    };
    if (!db.open()) {
        const QSqlError reason = db.lastError();
        drop();
        throw SqlFailure::from(tr("Die Datenbank im Verzeichnis %1 konnte nicht geöffnet werden.").arg(shownDir),
                               reason);
    }
    // A file or folder we may not write: everything can be viewed, nothing changed. The folder
    // counts too, as every write needs a journal file beside the database.
    if (!QFileInfo(path).isWritable() || !dirInfo.isWritable()) {
        db.close();
        db.setDatabaseName(QStringLiteral("file:") + url.path(QUrl::FullyEncoded) + QStringLiteral("?mode=ro"));
        db.setConnectOptions(
            QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_OPEN_READONLY;QSQLITE_BUSY_TIMEOUT=%1").arg(g_busyTimeoutMs));
        if (!db.open()) {
            const QSqlError reason = db.lastError();
            drop();
            throw SqlFailure::from(tr("Die Datenbank im Verzeichnis %1 konnte nicht geöffnet werden.").arg(shownDir),
                                   reason);
        }
        if (notices)
            notices->append(tr("Die Datenbank im Verzeichnis %1 ist schreibgeschützt: Sie haben keine Berechtigung, "
                               "die Datei oder ihr Verzeichnis zu ändern.\nSie können alles ansehen, aber nichts "
                               "ändern; alles, was die Daten ändert, ist abgeschaltet. Bitte wenden Sie sich an die "
                               "Person, die die Rechte im Netzwerk vergibt.")
                                .arg(shownDir));
    }
    try {
        const int version = checkSchema(db, directory);
        if (version < Schema::Version) {
            const QString problem = upgrade(db, version);
            if (!problem.isEmpty() && notices)
                notices->append(problem);
        }
    } catch (...) {
        drop();
        throw;
    }
    return db;
}

int SqliteEngine::checkSchema(QSqlDatabase& db, const QString& directory)
{
    return checkSchemaOf(db, directory);
}

int SqliteEngine::checkSchemaOf(QSqlDatabase& db, const QString& place)
{
    const QString shownDir = SqlFailure::shortened(place);
    const auto damaged = [&](const QString& details) {
        return DataError(tr("Die Datei %1 im Verzeichnis %2 ist beschädigt oder keine Datenbank dieses Programms; "
                            "sie wurde nicht geöffnet.\nBitte spielen Sie eine Sicherung zurück oder wählen Sie ein "
                            "anderes Verzeichnis aus.")
                             .arg(FileName, shownDir),
                         details, DataError::Kind::Damaged);
    };
    QSqlQuery q(db);
    if (!q.exec(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table'"))) {
        if (SqlFailure::kindOf(q.lastError()) == DataError::Kind::Busy)
            throw SqlFailure::from(tr("Die Datenbank im Verzeichnis %1 konnte nicht geöffnet werden.").arg(shownDir),
                                   q.lastError());
        throw damaged(q.lastError().text());
    }
    QStringList tables;
    while (q.next())
        tables << q.value(0).toString();
    q.finish();
    for (const TableDef& t : Schema::tables()) {
        if (!tables.contains(t.name))
            throw DataError(tr("Die Datei %1 im Verzeichnis %2 ist keine Datenbank dieses Programms: die Tabelle "
                               "„%3“ fehlt.\nBitte wählen Sie ein anderes Verzeichnis aus.")
                                .arg(FileName, shownDir, t.name));
        QSqlQuery info(db);
        info.exec(QStringLiteral("PRAGMA table_info(\"%1\")").arg(t.name));
        QStringList columns;
        while (info.next())
            columns << info.value(1).toString();
        for (const ColumnDef& c : t.columns)
            if (!columns.contains(c.name))
                throw DataError(tr("Die Datei %1 im Verzeichnis %2 ist keine Datenbank dieses Programms: in der "
                                   "Tabelle „%3“ fehlt die Spalte „%4“.\nBitte wählen Sie ein anderes Verzeichnis aus.")
                                    .arg(FileName, shownDir, t.name, c.name));
    }
    int version = 0;
    if (q.exec(QStringLiteral("PRAGMA user_version")) && q.next())
        version = q.value(0).toInt();
    q.finish();
    if (version > Schema::Version)
        throw DataError(tr("Die Datenbank in %1 stammt von einer neueren Version des Programms und kann mit "
                           "dieser Version nicht geöffnet werden.")
                            .arg(shownDir));
    // The tables may be intact while a data page is not; reading would then fail half-way.
    if (!q.exec(QStringLiteral("PRAGMA quick_check")))
        throw damaged(q.lastError().text());
    QStringList problems;
    while (q.next())
        problems << q.value(0).toString();
    if (q.lastError().isValid())
        throw damaged(q.lastError().text());
    if (problems != QStringList{QStringLiteral("ok")})
        throw damaged(problems.mid(0, 10).join(u'\n'));
    return version;
}

QString SqliteEngine::upgrade(QSqlDatabase& db, int fromVersion) const
{
    Q_UNUSED(fromVersion) // versions 0 and 1 have the same tables; 2 adds the index
    if (db.connectOptions().contains(QStringLiteral("QSQLITE_OPEN_READONLY")))
        return {}; // read as it is
    QSqlQuery q(db);
    if (!q.exec(beginWriteStatement())) {
        // A file we may not write is still opened, in its old layout.
        if (SqlFailure::kindOf(q.lastError()) == DataError::Kind::ReadOnly)
            return {};
        throw SqlFailure::from(tr("Die Datenbank konnte nicht auf den neuen Stand gebracht werden."), q.lastError());
    }
    auto rollback = qScopeGuard([&] { QSqlQuery(db).exec(QStringLiteral("ROLLBACK")); });
    if (!q.exec(QStringLiteral("SELECT \"BuecherID\", count(*) FROM \"Ausleihe\" WHERE \"DatumBis\" IS NULL AND "
                               "\"BuecherID\" IS NOT NULL GROUP BY \"BuecherID\" HAVING count(*) > 1 "
                               "ORDER BY \"BuecherID\"")))
        throw SqlFailure::from(tr("Die Datenbank konnte nicht auf den neuen Stand gebracht werden."), q.lastError());
    QStringList twice;
    while (q.next())
        twice << tr("Buch-Nr. %1 (%2 offene Ausleihen)").arg(q.value(0).toLongLong()).arg(q.value(1).toInt());
    q.finish();
    if (!twice.isEmpty())
        return tr("Die Datenbank wurde geöffnet, aber nicht auf den neuen Stand gebracht: diese Bücher sind "
                  "mehrfach ausgeliehen, ohne zurückgegeben worden zu sein:\n%1\n"
                  "Bitte buchen Sie die überzähligen Ausleihen in der Ausleihhistorie des Buches zurück; beim "
                  "nächsten Öffnen wird die Datenbank dann auf den neuen Stand gebracht.")
            .arg(twice.join(u'\n'));
    for (const IndexDef& index : Schema::indexes())
        if (!q.exec(createIndexStatement(index)))
            throw SqlFailure::from(tr("Die Datenbank konnte nicht auf den neuen Stand gebracht werden."),
                                   q.lastError());
    if (!q.exec(QStringLiteral("PRAGMA user_version = %1").arg(Schema::Version)) || !q.exec(QStringLiteral("COMMIT")))
        throw SqlFailure::from(tr("Die Datenbank konnte nicht auf den neuen Stand gebracht werden."), q.lastError());
    rollback.dismiss();
    return {};
}

void SqliteEngine::createDatabase(const QString& directory) const
{
    const QFileInfo dirInfo(directory);
    if (directory.isEmpty() || !dirInfo.isDir())
        throw DataError(
            tr("Das Verzeichnis %1 gibt es nicht. Bitte wählen Sie ein vorhandenes Verzeichnis aus.").arg(directory));
    const QString target = databaseLocation(directory);
    if (QFileInfo::exists(target))
        throw DataError(tr("Im Verzeichnis %1 gibt es bereits eine Datenbank. Sie wird nicht überschrieben.\n"
                           "Bitte öffnen Sie sie oder wählen Sie ein anderes Verzeichnis aus.")
                            .arg(directory));

    // Build the whole file under a temporary name, then move it into place: a failure never
    // leaves a half-built database where the program would open it.
    const QString temp =
        QDir(directory).filePath(QStringLiteral(".db-%1.tmp").arg(QUuid::createUuid().toString(QUuid::Id128)));
    const QString conn = QStringLiteral("create-") + QUuid::createUuid().toString(QUuid::Id128);
    auto cleanup = [&] {
        QSqlDatabase::removeDatabase(conn);
        QFile::remove(temp);
        QFile::remove(temp + QStringLiteral("-journal"));
    };
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), conn);
        db.setDatabaseName(temp);
        if (!db.open()) {
            const QSqlError reason = db.lastError();
            db = QSqlDatabase();
            cleanup();
            throw DataError(tr("Im Verzeichnis %1 kann keine Datenbank angelegt werden.\n"
                               "Bitte wählen Sie ein Verzeichnis, für das Sie Schreibrechte haben.")
                                .arg(SqlFailure::shortened(directory)),
                            reason.text(), DataError::Kind::ReadOnly);
        }
        try {
            QSqlQuery q(db);
            exec(q, QStringLiteral("BEGIN"));
            for (const TableDef& t : Schema::tables())
                for (const QString& sql : createTableStatements(t))
                    exec(q, sql);
            for (const IndexDef& index : Schema::indexes())
                exec(q, createIndexStatement(index));
            q.prepare(QStringLiteral("INSERT INTO \"Blob\" (\"ID\", \"FeldnamenBuecher\") VALUES (1, ?)"));
            q.addBindValue(Schema::defaultFieldCaptions().join(QStringLiteral("\r\n")) + QStringLiteral("\r\n"));
            if (!q.exec())
                throw SqlFailure::from(tr("Die Datenbank konnte nicht angelegt werden."), q.lastError());
            exec(q, QStringLiteral("PRAGMA user_version = %1").arg(Schema::Version));
            exec(q, QStringLiteral("COMMIT"));
        } catch (const DataError& e) {
            db.close();
            db = QSqlDatabase();
            cleanup();
            throw DataError(tr("Im Verzeichnis %1 kann keine Datenbank angelegt werden.\n%2")
                                .arg(SqlFailure::shortened(directory), e.message()),
                            e.details(), e.kind());
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(conn);
    if (!QFile::rename(temp, target)) {
        QFile::remove(temp);
        throw DataError(tr("Im Verzeichnis %1 kann keine Datenbank angelegt werden: die Datei %2 konnte nicht "
                           "geschrieben werden.")
                            .arg(directory, target));
    }
}

namespace {

QString readOnlyUri(const QString& file)
{
    const QUrl url = QUrl::fromLocalFile(QFileInfo(file).absoluteFilePath());
    return QStringLiteral("file:") + url.path(QUrl::FullyEncoded) + QStringLiteral("?mode=ro");
}

QString quotedColumns(const TableDef& table)
{
    QStringList names;
    for (const ColumnDef& c : table.columns)
        names << u'"' + c.name + u'"';
    return names.join(u',');
}

} // namespace

void SqliteEngine::copyDatabase(const QSqlDatabase& db, const QString& targetFile) const
{
    // One read transaction: the copy is a state that existed, whatever others write meanwhile.
    QSqlQuery q(db);
    q.prepare(QStringLiteral("VACUUM INTO ?"));
    q.addBindValue(targetFile);
    if (!q.exec())
        throw DataError(
            tr("Die Datenbank konnte nicht nach %1 kopiert werden: %2").arg(targetFile, q.lastError().text()));
}

DatabaseContents SqliteEngine::inspectDatabaseFile(const QString& file) const
{
    if (!QFileInfo(file).isFile())
        throw DataError(tr("Die Datenbankdatei %1 wurde nicht gefunden.").arg(file));
    const QString conn = QStringLiteral("inspect-") + QUuid::createUuid().toString(QUuid::Id128);
    DatabaseContents contents;
    QString failure;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), conn);
        db.setDatabaseName(readOnlyUri(file));
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_OPEN_READONLY;QSQLITE_BUSY_TIMEOUT=10000"));
        try {
            if (!db.open())
                throw DataError(
                    tr("Die Datenbankdatei %1 konnte nicht geöffnet werden: %2").arg(file, db.lastError().text()));
            QSqlQuery q(db);
            // integrity_check answers a single "ok" or lists what is broken.
            if (!q.exec(QStringLiteral("PRAGMA integrity_check")))
                throw DataError(
                    tr("Die Datei %1 ist keine lesbare Datenbank oder beschädigt: %2").arg(file, q.lastError().text()));
            QStringList problems;
            while (q.next())
                problems << q.value(0).toString();
            q.finish();
            if (problems != QStringList{QStringLiteral("ok")})
                throw DataError(
                    tr("Die Datenbankdatei %1 ist beschädigt:\n%2").arg(file, problems.mid(0, 5).join(u'\n')));
            checkSchemaOf(db, QFileInfo(file).absolutePath());
            if (!q.exec(QStringLiteral("PRAGMA user_version")) || !q.next())
                throw DataError(
                    tr("Die Version der Datenbank %1 kann nicht gelesen werden: %2").arg(file, q.lastError().text()));
            contents.version = q.value(0).toInt();
            q.finish();
            const auto count = [&](const QString& table) {
                if (!q.exec(QStringLiteral("SELECT count(*) FROM \"%1\"").arg(table)) || !q.next())
                    throw DataError(tr("Die Tabelle „%1“ in %2 kann nicht gelesen werden: %3")
                                        .arg(table, file, q.lastError().text()));
                const qint64 n = q.value(0).toLongLong();
                q.finish();
                return n;
            };
            contents.books = count(Schema::Buecher);
            contents.readers = count(Schema::Leser);
            contents.loans = count(Schema::Ausleihe);
        } catch (const DataError& e) {
            failure = e.message();
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(conn);
    if (!failure.isEmpty())
        throw DataError(failure);
    return contents;
}

void SqliteEngine::replaceContents(const QSqlDatabase& db, const QString& sourceFile) const
{
    const auto fail = [](const QSqlQuery& q) {
        throw DataError(tr("Die Datenbank konnte nicht zurückgelesen werden: %1").arg(q.lastError().text()));
    };
    QSqlQuery q(db);
    q.prepare(QStringLiteral("ATTACH DATABASE ? AS sicherung"));
    q.addBindValue(readOnlyUri(sourceFile)); // the connection is opened with URI names
    if (!q.exec())
        fail(q);
    bool inTransaction = false;
    try {
        if (!q.exec(beginWriteStatement()))
            fail(q);
        inTransaction = true;
        for (const TableDef& t : Schema::tables()) {
            const QString columns = quotedColumns(t);
            if (!q.exec(QStringLiteral("DELETE FROM main.\"%1\"").arg(t.name)) ||
                !q.exec(QStringLiteral("INSERT INTO main.\"%1\" (%2) SELECT %2 FROM sicherung.\"%1\"")
                            .arg(t.name, columns)))
                fail(q);
        }
        // The AUTOINCREMENT counters keep the highest number either state handed out: a number
        // given after the backup (and perhaps written on a label) is never given to another book.
        if (!q.exec(QStringLiteral("INSERT INTO main.sqlite_sequence (name, seq) "
                                   "SELECT b.name, b.seq FROM sicherung.sqlite_sequence b WHERE NOT EXISTS "
                                   "(SELECT 1 FROM main.sqlite_sequence m WHERE m.name = b.name)")) ||
            !q.exec(QStringLiteral("UPDATE main.sqlite_sequence SET seq = max(seq, coalesce("
                                   "(SELECT b.seq FROM sicherung.sqlite_sequence b "
                                   "WHERE b.name = main.sqlite_sequence.name), 0))")))
            fail(q);
        if (!q.exec(QStringLiteral("COMMIT")))
            fail(q);
        inTransaction = false;
    } catch (...) {
        if (inTransaction)
            q.exec(QStringLiteral("ROLLBACK"));
        q.exec(QStringLiteral("DETACH DATABASE sicherung"));
        throw;
    }
    q.exec(QStringLiteral("DETACH DATABASE sicherung"));
}

QStringList SqliteEngine::createTableStatements(const TableDef& table) const
{
    QStringList cols;
    for (const ColumnDef& c : table.columns)
        cols << columnDdl(c);
    return {QStringLiteral("CREATE TABLE \"%1\" (%2)").arg(table.name, cols.join(QStringLiteral(", ")))};
}

QString SqliteEngine::createIndexStatement(const IndexDef& index) const
{
    QStringList cols;
    for (const QString& c : index.columns)
        cols << u'"' + c + u'"';
    QString sql = QStringLiteral("CREATE %1INDEX \"%2\" ON \"%3\" (%4)")
                      .arg(index.unique ? QStringLiteral("UNIQUE ") : QString(), index.name, index.table,
                           cols.join(QStringLiteral(", ")));
    if (!index.whereNull.isEmpty())
        sql += QStringLiteral(" WHERE \"%1\" IS NULL").arg(index.whereNull);
    return sql;
}

namespace {
// SQLite takes a leading U+FEFF of a bound UTF-16 text for a byte-order mark and drops it;
// such marks are added in SQL instead.
int leadingByteOrderMarks(const QVariant& v)
{
    if (v.typeId() != QMetaType::QString)
        return 0;
    const QString s = v.toString();
    int n = 0;
    while (n < s.size() && s.at(n) == QChar(0xFEFF))
        ++n;
    return n;
}
} // namespace

QString SqliteEngine::placeholder(const QVariant& stored) const
{
    const int n = leadingByteOrderMarks(stored);
    if (n == 0)
        return QStringLiteral("?");
    QStringList codes(n, QStringLiteral("65279"));
    return QStringLiteral("(char(%1) || ?)").arg(codes.join(u','));
}

QVariant SqliteEngine::bindable(const QVariant& stored) const
{
    const int n = leadingByteOrderMarks(stored);
    return n == 0 ? stored : QVariant(stored.toString().mid(n));
}

QVariant SqliteEngine::toStorage(ColumnType type, const QVariant& value) const
{
    if (!value.isValid() || value.isNull())
        return QVariant();
    switch (type) {
    case ColumnType::Text:
    case ColumnType::Memo: {
        const QString s = value.toString();
        return s.isEmpty() ? QVariant() : QVariant(s);
    }
    case ColumnType::Boolean:
        return QVariant(qint64(value.toBool() ? 1 : 0));
    case ColumnType::DateTime:
        return PackedDateTime::toStorageText(value.toLongLong());
    case ColumnType::AutoIncrement:
    case ColumnType::Integer:
    case ColumnType::Money:
        return QVariant(value.toLongLong());
    }
    return value;
}

QVariant SqliteEngine::fromStorage(ColumnType type, const QVariant& stored) const
{
    if (stored.isNull())
        return QVariant();
    switch (type) {
    case ColumnType::Text:
    case ColumnType::Memo:
        return stored.toString();
    case ColumnType::Boolean:
        return stored.toLongLong() != 0;
    case ColumnType::DateTime: {
        qint64 packed = 0;
        if (PackedDateTime::fromStorageText(stored.toString(), &packed))
            return packed;
        return QVariant();
    }
    case ColumnType::AutoIncrement:
    case ColumnType::Integer:
    case ColumnType::Money:
        return stored.toLongLong();
    }
    return stored;
}
