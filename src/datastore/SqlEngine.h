#pragma once

#include "Schema.h"

#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <memory>

// What a database file holds, as a backup shows it before it is written or read back.
struct DatabaseContents
{
    qint64 books = 0;
    qint64 readers = 0;
    qint64 loans = 0;
    int version = 0;
};

// What differs between database engines: connecting, DDL, and how values are stored.
// SQLite (a file in the library's folder) is the engine in use; a server engine would be a
// second implementation of this interface.
class SqlEngine
{
public:
    virtual ~SqlEngine() = default;

    // The file or address the connection uses for a library folder.
    virtual QString databaseLocation(const QString& directory) const = 0;
    // True when a database exists at the location (does not touch it).
    virtual bool databaseExists(const QString& directory) const = 0;

    // Opens a connection to an existing database; never creates one. Checks the file, and
    // brings an older layout up to date. What the user should know but that does not stop the
    // opening (a layout that could not be brought up to date) goes into `notices`. Throws DataError.
    virtual QSqlDatabase connect(const QString& connectionName, const QString& directory,
                                 QStringList* notices = nullptr) const = 0;
    // Creates the complete database (tables and the Blob row) or nothing at all. Throws DataError.
    virtual void createDatabase(const QString& directory) const = 0;

    // Backup: a consistent copy of the connected database, taken while other workstations may
    // write, into a file that must not exist yet. Throws DataError.
    virtual void copyDatabase(const QSqlDatabase& db, const QString& targetFile) const = 0;
    // Opens a database file read-only and checks it whole: integrity, our tables and columns, a
    // layout version this program reads. Throws DataError; gives what the file holds.
    virtual DatabaseContents inspectDatabaseFile(const QString& file) const = 0;
    // Restore: replaces every row of the connected database by those of the file, in one write
    // transaction, so that other workstations see either the old or the restored data. The file
    // must have passed inspectDatabaseFile(). Throws DataError and then changes nothing.
    virtual void replaceContents(const QSqlDatabase& db, const QString& sourceFile) const = 0;

    virtual QStringList createTableStatements(const TableDef& table) const = 0;
    virtual QString createIndexStatement(const IndexDef& index) const = 0;
    virtual QString beginWriteStatement() const = 0;
    // Comparison that also holds between two NULLs ("x IS ?" in SQLite), for optimistic locking.
    virtual QString nullSafeEqual() const = 0;

    // A stored value as a bound parameter: the mark to write into the statement and the value
    // to bind to it (an engine may need to pass some texts around its driver).
    virtual QString placeholder(const QVariant& stored) const
    {
        Q_UNUSED(stored)
        return QStringLiteral("?");
    }
    virtual QVariant bindable(const QVariant& stored) const { return stored; }

    // Conversion between the record set's in-memory values and the stored ones.
    virtual QVariant toStorage(ColumnType type, const QVariant& value) const = 0;
    virtual QVariant fromStorage(ColumnType type, const QVariant& stored) const = 0;
};

class SqliteEngine : public SqlEngine
{
public:
    static inline const QString FileName = QStringLiteral("db.sqlite");

    QString databaseLocation(const QString& directory) const override;
    bool databaseExists(const QString& directory) const override;
    QSqlDatabase connect(const QString& connectionName, const QString& directory,
                         QStringList* notices = nullptr) const override;
    void createDatabase(const QString& directory) const override;
    void copyDatabase(const QSqlDatabase& db, const QString& targetFile) const override;
    DatabaseContents inspectDatabaseFile(const QString& file) const override;
    void replaceContents(const QSqlDatabase& db, const QString& sourceFile) const override;
    QStringList createTableStatements(const TableDef& table) const override;
    QString createIndexStatement(const IndexDef& index) const override;
    QString beginWriteStatement() const override { return QStringLiteral("BEGIN IMMEDIATE"); }
    QString nullSafeEqual() const override { return QStringLiteral(" IS "); }
    QString placeholder(const QVariant& stored) const override;
    QVariant bindable(const QVariant& stored) const override;
    QVariant toStorage(ColumnType type, const QVariant& value) const override;
    QVariant fromStorage(ColumnType type, const QVariant& stored) const override;

    // Throws DataError unless the connection holds our four tables in a version we can read.
    // Returns the stored layout version.
    static int checkSchema(QSqlDatabase& db, const QString& directory);
    // Brings a layout of an older version up to this one in one transaction. When the data
    // does not allow it (a book with two open loans), nothing changes and the reason is returned.
    QString upgrade(QSqlDatabase& db, int fromVersion) const;

    // How long a write waits for another workstation's write lock.
    static int busyTimeoutMs();
    static void setBusyTimeoutMs(int ms); // tests

private:
    // The same for the database file in `place` (a library folder or a backup folder).
    static int checkSchemaOf(QSqlDatabase& db, const QString& place);
};

// In-memory date-times are packed as the integer yyyyMMddHHmmss: compact, ordered, cheap.
namespace PackedDateTime {
qint64 pack(const QDateTime& dt);
QDateTime unpack(qint64 packed);
bool fromStorageText(const QString& text, qint64* packed);
QString toStorageText(qint64 packed);
} // namespace PackedDateTime
