#include "Database.h"

#include "DataError.h"
#include "RecordSet.h"
#include "SqlFailure.h"

#include <QCoreApplication>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>

namespace {
QString tr(const char* text)
{
    return QCoreApplication::translate("Database", text);
}
} // namespace

Database::Database() : m_engine(std::make_unique<SqliteEngine>()) {}

Database::~Database()
{
    close();
}

void Database::open(const QString& directory)
{
    const QString name = QStringLiteral("library-") + QUuid::createUuid().toString(QUuid::Id128);
    QStringList notices;
    QSqlDatabase db = m_engine->connect(name, directory, &notices); // throws; the old connection stays
    db = QSqlDatabase();
    close();
    m_connectionName = name;
    m_directory = directory;
    m_notices = notices;
}

void Database::takeOver(Database& other)
{
    Q_ASSERT(other.m_depth == 0);
    close();
    m_connectionName = std::exchange(other.m_connectionName, {});
    m_directory = std::exchange(other.m_directory, {});
    m_notices = std::exchange(other.m_notices, {});
}

void Database::close()
{
    if (m_connectionName.isEmpty())
        return;
    m_prepared.clear(); // no statement may outlive its connection
    {
        QSqlDatabase db = QSqlDatabase::database(m_connectionName, false);
        if (db.isOpen())
            db.close();
    }
    QSqlDatabase::removeDatabase(m_connectionName);
    m_connectionName.clear();
    m_directory.clear();
    m_notices.clear();
    m_depth = 0;
    m_afterCommit.clear();
    m_touched.clear();
}

bool Database::isReadOnly() const
{
    return isOpen() && connection().connectOptions().contains(QStringLiteral("QSQLITE_OPEN_READONLY"));
}

bool Database::isOpen() const
{
    return !m_connectionName.isEmpty();
}

QSqlDatabase Database::connection() const
{
    if (m_connectionName.isEmpty())
        throw DataError(tr("Es ist keine Datenbank geöffnet."));
    return QSqlDatabase::database(m_connectionName, false);
}

QSqlQuery& Database::preparedQuery(const QString& sql)
{
    auto it = m_prepared.find(sql);
    if (it == m_prepared.end()) {
        QSqlQuery q(connection());
        if (!q.prepare(sql))
            throw DataError(tr("Die Datenbank kann die Anweisung nicht ausführen: %1").arg(q.lastError().text()));
        it = m_prepared.insert(sql, q);
    }
    return *it;
}

void Database::afterCommit(std::function<void()> f)
{
    if (m_depth == 0)
        f();
    else
        m_afterCommit.append(std::move(f));
}

void Database::touched(RecordSet* rs)
{
    if (m_depth > 0 && !m_touched.contains(rs))
        m_touched.append(rs);
}

void Database::begin()
{
    if (m_depth == 0) {
        QSqlQuery q(connection());
        if (!q.exec(m_engine->beginWriteStatement()))
            throw SqlFailure::from(tr("Die Änderung konnte nicht gespeichert werden."), q.lastError());
        m_rollbackOnly = false;
    }
    ++m_depth;
}

void Database::commit()
{
    Q_ASSERT(m_depth > 0);
    if (m_depth > 1) {
        --m_depth;
        return;
    }
    if (m_rollbackOnly)
        throw DataError(tr("Die Änderungen wurden verworfen, weil ein Teil davon nicht gespeichert werden konnte."));
    QSqlQuery q(connection());
    if (!q.exec(QStringLiteral("COMMIT")))
        throw SqlFailure::from(tr("Die Änderungen konnten nicht gespeichert werden."), q.lastError());
    m_depth = 0;
    m_touched.clear();
    const auto pending = std::exchange(m_afterCommit, {});
    for (const auto& f : pending)
        f();
}

void Database::rollback()
{
    Q_ASSERT(m_depth > 0);
    if (m_depth > 1) {
        --m_depth;
        m_rollbackOnly = true;
        return;
    }
    {
        QSqlQuery q(connection());
        q.exec(QStringLiteral("ROLLBACK"));
    }
    m_depth = 0;
    m_afterCommit.clear();
    const auto touched = std::exchange(m_touched, {});
    // Memory must again show what the database holds.
    for (const QPointer<RecordSet>& rs : touched)
        if (rs)
            rs->discardAndReload();
}

Transaction::Transaction(Database& db) : m_db(db)
{
    m_db.begin();
}

Transaction::~Transaction()
{
    if (!m_done) {
        try {
            m_db.rollback();
        } catch (...) {
        }
    }
}

void Transaction::commit()
{
    m_done = true; // a failing COMMIT is rolled back below, not by the destructor
    try {
        m_db.commit();
    } catch (...) {
        if (m_db.m_depth > 0) {
            m_db.m_depth = 1;
            m_db.rollback();
        }
        throw;
    }
}
