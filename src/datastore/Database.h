#pragma once

#include "SqlEngine.h"

#include <QHash>
#include <QList>
#include <QPointer>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

class RecordSet;

// One workstation's connection to the library's database, and its write transactions.
class Database
{
public:
    Database();
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    const SqlEngine& engine() const { return *m_engine; }

    // Connects to the existing database in the folder (closing a previous connection first).
    // Throws DataError; the previous connection is kept when the new one cannot be made.
    void open(const QString& directory);
    void close();
    // Takes over the other's connection (closing this one's first); the other is left closed.
    void takeOver(Database& other);
    bool isOpen() const;
    // What the last open() found worth telling the user without refusing the file.
    QStringList notices() const { return m_notices; }
    // True when the file or its folder may not be written: everything can be viewed only.
    bool isReadOnly() const;
    QString directory() const { return m_directory; }
    QSqlDatabase connection() const;
    // The statement prepared once for this connection and kept, for statements run again and
    // again (the inserts of an import): preparing costs more than running them.
    QSqlQuery& preparedQuery(const QString& sql);

    // Transactions (see Transaction below).
    int transactionDepth() const { return m_depth; }
    // Runs f after the outermost transaction commits (at once when none is open).
    void afterCommit(std::function<void()> f);
    // A record set whose memory must be re-read if the outermost transaction rolls back.
    void touched(RecordSet* rs);

private:
    friend class Transaction;
    void begin();
    void commit();
    void rollback();

    std::unique_ptr<SqlEngine> m_engine;
    QString m_connectionName;
    QString m_directory;
    QStringList m_notices;
    int m_depth = 0;
    bool m_rollbackOnly = false;
    QList<std::function<void()>> m_afterCommit;
    QList<QPointer<RecordSet>> m_touched;
    QHash<QString, QSqlQuery> m_prepared;
};

// RAII write transaction: the outermost one begins with BEGIN IMMEDIATE (a deferred BEGIN fails
// when two workstations read and then write at once); inner ones join it. Without commit() the
// destructor rolls back. A rollback re-reads the record sets written inside it.
class Transaction
{
public:
    explicit Transaction(Database& db);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    void commit();

private:
    Database& m_db;
    bool m_done = false;
};
