#include "RecordSetModel.h"

#include "DataError.h"
#include "RecordSet.h"

RecordSetModel::RecordSetModel(RecordSet* rs, QList<Column> columns, QObject* parent)
    : QAbstractTableModel(parent), m_rs(rs), m_columns(std::move(columns))
{
    for (const Column& c : m_columns)
        m_fieldIndex.append(rs->fieldIndex(c.field));
    connect(rs, &RecordSet::aboutToReset, this, [this] { beginResetModel(); });
    connect(rs, &RecordSet::reset, this, [this] { endResetModel(); });
    connect(rs, &RecordSet::rowAboutToBeInserted, this, [this](int pos) { beginInsertRows({}, pos, pos); });
    connect(rs, &RecordSet::rowInserted, this, [this](int) { endInsertRows(); });
    connect(rs, &RecordSet::rowAboutToBeRemoved, this, [this](int pos) { beginRemoveRows({}, pos, pos); });
    connect(rs, &RecordSet::rowRemoved, this, [this](int) { endRemoveRows(); });
    connect(rs, &RecordSet::rowChanged, this, [this](int pos) {
        if (pos >= 0 && pos < rowCount())
            emit dataChanged(index(pos, 0), index(pos, columnCount() - 1));
    });
}

void RecordSetModel::setColumnTitle(int column, const QString& title)
{
    if (m_columns.at(column).title == title)
        return;
    m_columns[column].title = title;
    emit headerDataChanged(Qt::Horizontal, column, column);
}

int RecordSetModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() || !m_rs ? 0 : m_rs->recordCount();
}

int RecordSetModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_columns.size());
}

QVariant RecordSetModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || !m_rs || index.row() >= m_rs->recordCount())
        return {};
    const int row = m_rs->rowAt(index.row());
    if (role == Qt::DisplayRole || role == Qt::EditRole)
        return m_rs->textAt(row, m_fieldIndex.at(index.column()));
    return {};
}

QVariant RecordSetModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < m_columns.size())
        return m_columns.at(section).title;
    return QAbstractTableModel::headerData(section, orientation, role);
}

Qt::ItemFlags RecordSetModel::flags(const QModelIndex& index) const
{
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (index.isValid() && m_columns.at(index.column()).editable)
        f |= Qt::ItemIsEditable;
    return f;
}

bool RecordSetModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    // In-place editing goes through the record set like any other editor: move to the row,
    // enter edit state, convert the text (errors are the record set's German messages).
    if (!index.isValid() || role != Qt::EditRole || !m_columns.at(index.column()).editable || !m_rs)
        return false;
    try {
        if (m_rs->recNo() != index.row() + 1)
            m_rs->setRecNo(index.row() + 1);
        if (m_rs->text(m_columns.at(index.column()).field) == value.toString())
            return true;
        m_rs->edit();
        m_rs->setText(m_columns.at(index.column()).field, value.toString());
        return true;
    } catch (const DataError& e) {
        // An exception must not unwind through the view's code, which is built without them.
        emit errorOccurred(e.message());
        return false;
    }
}
