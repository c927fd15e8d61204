#pragma once

#include <QAbstractTableModel>
#include <QList>
#include <QPointer>

class RecordSet;

// A grid's view of a record set: one row per record the filter lets through, in sort order,
// one column per configured field. Titles can be changed at run time (user captions).
class RecordSetModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    struct Column
    {
        QString field;
        QString title;
        int width = 0; // design width in pixels; 0 = the grid's default
        bool editable = false;
    };

    RecordSetModel(RecordSet* recordSet, QList<Column> columns, QObject* parent = nullptr);

    RecordSet* recordSet() const { return m_rs; }
    const QList<Column>& columns() const { return m_columns; }
    void setColumnTitle(int column, const QString& title);
    QString fieldAt(int column) const { return m_columns.at(column).field; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    // Never throws (the caller is the view's editor code): a refused value is reported through
    // errorOccurred with the record set's German message, and false is returned.
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

signals:
    void errorOccurred(const QString& message);

private:
    QPointer<RecordSet> m_rs;
    QList<Column> m_columns;
    QList<int> m_fieldIndex;
};
