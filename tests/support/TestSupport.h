#pragma once

#include <QString>
#include <QTemporaryDir>

// A private settings location and database folder for one test (or one test function).
// Setting XDG_CONFIG_HOME moves the settings store; the old value comes back on destruction.
class TestEnvironment
{
public:
    TestEnvironment();
    ~TestEnvironment();
    TestEnvironment(const TestEnvironment&) = delete;
    TestEnvironment& operator=(const TestEnvironment&) = delete;

    QString root() const { return m_dir.path(); }
    QString configDir() const;
    // An existing, empty folder for a database (created on first call).
    QString dbDir() const;

private:
    QTemporaryDir m_dir;
    QByteArray m_oldConfig;
    bool m_hadConfig = false;
};

// A file of the repository (test data, the postal-code table), by its path from the top.
QString sourceFile(const QString& relative);

#include <QSqlDatabase>
#include <QVariantMap>

// Writes rows straight into a library database through a connection of its own, as another
// workstation (or another program) would. Values are given in stored form: texts, integers,
// prices in ten-thousandths, date-times as "yyyy-MM-dd HH:mm:ss".
class FixtureWriter
{
public:
    explicit FixtureWriter(const QString& dbDir);
    ~FixtureWriter();
    FixtureWriter(const FixtureWriter&) = delete;
    FixtureWriter& operator=(const FixtureWriter&) = delete;

    qint64 insert(const QString& table, const QVariantMap& values);
    void exec(const QString& sql);
    QVariant scalar(const QString& sql);
    QSqlDatabase db() const;

private:
    QString m_connection;
};

// Creates an empty library database in the folder (the program's own creation code).
void createLibraryDatabase(const QString& dbDir);
