#pragma once

#include "FilterExpression.h"
#include "Schema.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QVariant>
#include <functional>
#include <optional>

class Database;
class RecordSet;

enum class DataSetState { Inactive, Browse, Edit, Insert };

// One field of a record set: a table column, a computed field, or a field looked up in
// another record set.
struct FieldDef
{
    enum class Kind { Data, Calculated, Lookup };
    QString name;
    ColumnType type = ColumnType::Text;
    int size = 0;
    Kind kind = Kind::Data;
    int column = -1; // Data: index into the stored row
    std::function<QVariant(const RecordSet&, int row)> calculate;
    // Lookup: the row of `lookupSet` whose `lookupKey` equals this record's `keyField`.
    QString keyField;
    QPointer<RecordSet> lookupSet;
    QString resultField;
};

// Client-side cursor over one table: reads all rows on open/requery and keeps them in memory.
// Post and Delete write to the database at once; nothing else writes.
//
// Rows are addressed two ways: a "row" is an index into all rows read (whatever the filter),
// a "position" is an index into the rows the filter lets through, in sort order.
class RecordSet : public QObject
{
    Q_OBJECT

public:
    explicit RecordSet(const QString& name, QObject* parent = nullptr);
    ~RecordSet() override;

    // Configuration: the database, the table ("select * from <table>") and extra fields.
    void setDatabase(Database* db) { m_db = db; }
    Database* database() const { return m_db; }
    void setTable(const QString& table, const QStringList& hiddenColumns = {});
    QString table() const { return m_table; }
    void addCalculatedField(const QString& name, ColumnType type,
                            std::function<QVariant(const RecordSet&, int row)> calculate);
    void addLookupField(const QString& name, ColumnType type, int size, const QString& keyField, RecordSet* lookupSet,
                        const QString& resultField);

    const QList<FieldDef>& fields() const { return m_fields; }
    int fieldIndex(const QString& name) const; // -1 when unknown
    const FieldDef& field(const QString& name) const;

    // Open / close
    void open();
    // All rows of the table as read through a connection; openWith() shows them. Opening
    // another database reads everything first, so that a file that cannot be read replaces nothing.
    struct Rows
    {
        QList<QList<QVariant>> rows;
    };
    Rows readRows(Database& db) const; // throws DataError
    void openWith(Rows rows);
    void close();
    bool active() const { return m_state != DataSetState::Inactive; }
    DataSetState state() const { return m_state; }
    bool isEditing() const { return m_state == DataSetState::Edit || m_state == DataSetState::Insert; }
    bool modified() const { return m_modified; }
    void markModified();

    // Editing
    void insert();
    void edit();
    void post();
    void cancel();
    void deleteRecord();

    // Filter and sort
    QString filter() const { return m_filterText; }
    void setFilter(const QString& text); // throws DataError; the former filter stays in force
    bool filtered() const { return m_filtered; }
    void setFiltered(bool on);
    QString indexFieldNames() const { return m_sortText; }
    void setIndexFieldNames(const QString& fields); // throws DataError for unknown fields

    // Cursor
    int recordCount() const { return int(m_view.size()); }
    bool isEmpty() const { return m_view.isEmpty(); }
    int recNo() const { return m_view.isEmpty() ? 0 : m_pos + 1; }
    void setRecNo(int recNo);
    void first();
    void next();
    void prior();
    void last();
    bool eof() const { return m_eof; }
    bool bof() const { return m_bof; }
    // ";"-separated fields, one value each; exact match, an empty value matches NULL.
    bool locate(const QString& fields, const QVariantList& values);
    // The same over all rows read, whatever the filter: the row found, or -1.
    int findRow(const QString& fields, const QVariantList& values) const;
    void requery();
    // Re-reads without settling the pending edit (it is dropped); used after a rollback.
    void discardAndReload();

    // Current record
    QVariant value(const QString& field) const;
    QString text(const QString& field) const;
    bool isNull(const QString& field) const { return value(field).isNull(); }
    void setValue(const QString& field, const QVariant& value);
    // Converts the text to the field's type; throws DataError with a German message when it can't.
    void setText(const QString& field, const QString& text);

    // Access by position (grids) and by row (lookups, all rows)
    int currentRow() const; // -1 when empty
    int rowAt(int position) const { return m_view.at(position); }
    int positionOfRow(int row) const { return int(m_view.indexOf(row)); }
    int rowCountAll() const { return int(m_rows.size()); }
    QVariant valueAt(int row, int fieldIndex) const;
    // The same without a copy; valid until the next call (computed fields use one scratch value).
    const QVariant& valueRef(int row, int fieldIndex) const;
    QString textAt(int row, int fieldIndex) const;
    int rowById(qint64 id) const; // -1 when not read

    // DisableControls / EnableControls: grids stop and resume following the cursor.
    void disableControls();
    void enableControls();
    bool controlsDisabled() const { return m_disableCount > 0; }

    // Display text of a value of the given type ("#.00 €", "dd.mm.yyyy").
    static QString displayText(ColumnType type, const QVariant& value);

signals:
    void afterInsert();
    void afterPost();
    void afterScroll();
    void beforePost(); // editors write pending input into the record
    void stateChanged();
    // For grid models
    void aboutToReset();
    void reset();
    void rowAboutToBeInserted(int position);
    void rowInserted(int position);
    void rowAboutToBeRemoved(int position);
    void rowRemoved(int position);
    void rowChanged(int position);
    void cursorMoved(int position);

private:
    using Row = QList<QVariant>;

    void requireActive() const;
    void requireRecord() const;
    void checkBrowseMode();
    void load();
    void adopt(Rows rows);
    // Text as it can be stored: lone surrogates replaced, NUL refused (DataError).
    QString typedText(const QString& field, const QString& text) const;
    void rebuildView();
    void sortView(QList<int>& view) const;
    bool rowMatchesFilter(int row) const;
    void moveTo(int position);
    void emitMoved();
    void setState(DataSetState s);
    void removeRowFromStorage(int row);
    void finishPost(int row);
    void validateForPost() const;
    QString columnList() const;
    std::optional<FilterExpression::Field> resolve(const QString& name) const;
    // Null when a value cannot match its field at all.
    std::function<bool(int row)> rowMatcher(const QString& fields, const QVariantList& values) const;

    QString m_name;
    Database* m_db = nullptr;
    QString m_table;
    QList<FieldDef> m_fields;
    QHash<QString, int> m_fieldByName;      // by lower-case name
    QHash<QString, int> m_fieldByExactName; // by the name as defined
    QString m_insertSql;
    QList<ColumnDef> m_columns; // the table columns read, in stored-row order
    int m_idColumn = -1;

    QList<Row> m_rows;
    QHash<qint64, int> m_idIndex;
    QList<int> m_view;
    int m_pos = 0;
    bool m_eof = true;
    bool m_bof = true;

    DataSetState m_state = DataSetState::Inactive;
    bool m_modified = false;
    Row m_original; // values when the edit began
    int m_insertRow = -1;

    QString m_filterText;
    FilterExpression m_filter;
    bool m_filtered = false;
    QString m_sortText;
    QList<int> m_sortFields;
    // All rows in sort order, kept while the rows and the sort stay the same, so that a new
    // filter only has to filter.
    QList<int> m_sortedAll;
    bool m_sortedValid = false;
    mutable QVariant m_scratch;
    int m_disableCount = 0;
};
