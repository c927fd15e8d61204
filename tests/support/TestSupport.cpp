#include "TestSupport.h"

#include <QDir>

TestEnvironment::TestEnvironment()
{
    m_hadConfig = qEnvironmentVariableIsSet("XDG_CONFIG_HOME");
    m_oldConfig = qgetenv("XDG_CONFIG_HOME");
    QDir(m_dir.path()).mkpath("config");
    qputenv("XDG_CONFIG_HOME", configDir().toLocal8Bit());
}

TestEnvironment::~TestEnvironment()
{
    if (m_hadConfig)
        qputenv("XDG_CONFIG_HOME", m_oldConfig);
    else
        qunsetenv("XDG_CONFIG_HOME");
}

QString TestEnvironment::configDir() const
{
    return m_dir.filePath("config");
}

QString TestEnvironment::dbDir() const
{
    QDir(m_dir.path()).mkpath("db");
    return m_dir.filePath("db");
}

QString sourceFile(const QString& relative)
{
    return QDir(QStringLiteral(TOMARIS_SOURCE_DIR)).filePath(relative);
}

#include "datastore/SqlEngine.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <QTest>
#include <QUuid>
#include <stdexcept>

FixtureWriter::FixtureWriter(const QString& dbDir)
    : m_connection(QStringLiteral("fixture-") + QUuid::createUuid().toString(QUuid::Id128))
{
    QSqlDatabase d = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connection);
    d.setDatabaseName(SqliteEngine().databaseLocation(dbDir));
    d.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=10000"));
    if (!d.open())
        throw std::runtime_error("fixture: cannot open database");
}

FixtureWriter::~FixtureWriter()
{
    {
        QSqlDatabase d = QSqlDatabase::database(m_connection, false);
        d.close();
    }
    QSqlDatabase::removeDatabase(m_connection);
}

QSqlDatabase FixtureWriter::db() const
{
    return QSqlDatabase::database(m_connection, false);
}

qint64 FixtureWriter::insert(const QString& table, const QVariantMap& values)
{
    QStringList cols, marks;
    for (auto it = values.begin(); it != values.end(); ++it) {
        cols << u'"' + it.key() + u'"';
        marks << QStringLiteral("?");
    }
    QSqlQuery q(db());
    q.prepare(QStringLiteral("INSERT INTO \"%1\" (%2) VALUES (%3)").arg(table, cols.join(u','), marks.join(u',')));
    for (const QVariant& v : values)
        q.addBindValue(v);
    if (!q.exec())
        throw std::runtime_error(("fixture insert failed: " + q.lastError().text()).toStdString());
    return q.lastInsertId().toLongLong();
}

void FixtureWriter::exec(const QString& sql)
{
    QSqlQuery q(db());
    if (!q.exec(sql))
        throw std::runtime_error(("fixture exec failed: " + q.lastError().text()).toStdString());
}

QVariant FixtureWriter::scalar(const QString& sql)
{
    QSqlQuery q(db());
    if (!q.exec(sql) || !q.next())
        throw std::runtime_error(("fixture query failed: " + q.lastError().text()).toStdString());
    return q.value(0);
}

void createLibraryDatabase(const QString& dbDir)
{
    SqliteEngine().createDatabase(dbDir);
}
