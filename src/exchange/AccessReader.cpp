#include "AccessReader.h"

#include "common/Formats.h"
#include "datastore/DataError.h"

#include <QCollator>
#include <QCoreApplication>
#include <QFileInfo>
#include <QList>
#include <cstring>
#include <mdbtools.h>
#include <vector>

struct AccessReader::Handle
{
    MdbHandle* mdb = nullptr;
};

namespace {

QString failure()
{
    return QCoreApplication::translate("AccessReader", "Accessdatei konnte nicht gefunden werden");
}

// Jet keeps date-times as days since 30.12.1899, the fraction being the time of day (also for
// dates before 1899, where only the day part is negative).
QString jetDateText(double value)
{
    const double days = std::trunc(value);
    const double fraction = std::fabs(value - days);
    qint64 seconds = qint64(std::llround(fraction * 86400.0));
    qint64 dayCount = qint64(days);
    if (seconds >= 86400) {
        seconds -= 86400;
        dayCount += value < 0 ? -1 : 1;
    }
    const QDate date = QDate(1899, 12, 30).addDays(dayCount);
    return SourceReader::dateTimeText(QDateTime(date, QTime(0, 0).addSecs(int(seconds))));
}

// "3.5000" → "3,5"; "4444.0000" → "4444".
QString decimalText(QString text)
{
    if (text.contains(u'.')) {
        while (text.endsWith(u'0'))
            text.chop(1);
        if (text.endsWith(u'.'))
            text.chop(1);
        text.replace(u'.', u',');
    }
    return text;
}

} // namespace

AccessReader::AccessReader(const QString& fileName) : m_handle(new Handle)
{
    // libmdb prints to stderr and accepts a missing file name; check first.
    if (!QFileInfo(fileName).isFile()) {
        delete m_handle;
        throw DataError(failure());
    }
    m_handle->mdb = mdb_open(QFile::encodeName(fileName).constData(), MDB_NOFLAGS);
    if (!m_handle->mdb || !mdb_read_catalog(m_handle->mdb, MDB_ANY)) {
        if (m_handle->mdb)
            mdb_close(m_handle->mdb);
        delete m_handle;
        throw DataError(failure());
    }
    QStringList user, system;
    for (unsigned i = 0; i < m_handle->mdb->num_catalog; ++i) {
        auto* entry = static_cast<MdbCatalogEntry*>(g_ptr_array_index(m_handle->mdb->catalog, i));
        if (entry->object_type != MDB_TABLE)
            continue;
        const QString name = QString::fromUtf8(entry->object_name);
        (mdb_is_system_table(entry) ? system : user).append(name);
    }
    // User tables first, so that the table shown at once is one of the user's.
    QCollator collator(QLocale(QLocale::German, QLocale::Germany));
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::sort(user.begin(), user.end(), collator);
    std::sort(system.begin(), system.end(), collator);
    m_tables = user + system;
}

AccessReader::~AccessReader()
{
    if (m_handle && m_handle->mdb)
        mdb_close(m_handle->mdb);
    delete m_handle;
}

QStringList AccessReader::tableNames() const
{
    return m_tables;
}

SourceTable AccessReader::read(const QString& tableName) const
{
    if (!m_tables.contains(tableName))
        throw DataError(failure());
    MdbHandle* mdb = m_handle->mdb;
    QByteArray name = tableName.toUtf8();
    MdbTableDef* table = mdb_read_table_by_name(mdb, name.data(), MDB_TABLE);
    if (!table)
        throw DataError(failure());
    struct TableGuard
    {
        MdbTableDef* t;
        ~TableGuard() { mdb_free_tabledef(t); }
    } guard{table};
    if (!mdb_read_columns(table))
        throw DataError(failure());

    const int columns = int(table->num_cols);
    // Memo texts can be long; a value longer than the buffer would be cut.
    const size_t bindSize = 256 * 1024;
    mdb_set_bind_size(mdb, bindSize);
    std::vector<std::vector<char>> buffers(columns, std::vector<char>(bindSize + 1));
    std::vector<int> lengths(columns, 0);
    QList<MdbColumn*> cols;
    for (int c = 0; c < columns; ++c) {
        auto* col = static_cast<MdbColumn*>(g_ptr_array_index(table->columns, c));
        cols.append(col);
        mdb_bind_column(table, c + 1, buffers[c].data(), &lengths[c]);
    }
    mdb_rewind_table(table);

    SourceTable result;
    result.setMinimumFieldCount(columns);
    while (mdb_fetch_row(table)) {
        QStringList values;
        values.reserve(columns);
        for (int c = 0; c < columns; ++c) {
            const MdbColumn* col = cols.at(c);
            const int length = lengths[c];
            QString v;
            switch (col->col_type) {
            case MDB_BOOL:
                v = buffers[c][0] == '1' ? QStringLiteral("Wahr") : QStringLiteral("Falsch");
                break;
            case MDB_DATETIME:
                if (length > 0 && col->cur_value_len == 8)
                    v = jetDateText(mdb_pg_get_double(mdb, col->cur_value_start));
                break;
            case MDB_FLOAT:
                if (length > 0 && col->cur_value_len == 4)
                    v = numberText(mdb_pg_get_single(mdb, col->cur_value_start), 7);
                break;
            case MDB_DOUBLE:
                if (length > 0 && col->cur_value_len == 8)
                    v = numberText(mdb_pg_get_double(mdb, col->cur_value_start));
                break;
            case MDB_MONEY:
            case MDB_NUMERIC:
                v = decimalText(QString::fromUtf8(buffers[c].data(), length));
                break;
            case MDB_OLE:
            case MDB_BINARY:
                break; // pictures and documents have no text
            default:
                v = QString::fromUtf8(buffers[c].data(), length);
                break;
            }
            values.append(v);
        }
        result.appendRecord(std::move(values));
    }
    return result;
}
