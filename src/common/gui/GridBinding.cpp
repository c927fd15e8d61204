#include "GridBinding.h"

#include "ErrorGuard.h"
#include "datastore/RecordSet.h"
#include "datastore/RecordSetModel.h"

#include <QHeaderView>
#include <QItemSelectionModel>
#include <QTableView>

GridBinding::GridBinding(QTableView* view, RecordSetModel* model) : QObject(view), m_view(view), m_model(model)
{
    // When rows come or go the view moves its current row itself; that is no user's choice.
    // The flag goes up before the view's own handlers run and down after them.
    const auto rowsChanging = [this] { m_rowsChanging = true; };
    const auto rowsChanged = [this] { m_rowsChanging = false; };
    connect(model, &QAbstractItemModel::rowsAboutToBeRemoved, this, rowsChanging);
    connect(model, &QAbstractItemModel::rowsAboutToBeInserted, this, rowsChanging);
    connect(model, &QAbstractItemModel::modelAboutToBeReset, this, rowsChanging);
    view->setModel(model);
    connect(model, &QAbstractItemModel::rowsRemoved, this, rowsChanged);
    connect(model, &QAbstractItemModel::rowsInserted, this, rowsChanged);
    connect(model, &QAbstractItemModel::modelReset, this, rowsChanged);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    bool anyEditable = false;
    for (const auto& c : model->columns())
        anyEditable |= c.editable;
    if (anyEditable)
        view->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                              QAbstractItemView::AnyKeyPressed);
    view->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    view->horizontalHeader()->setSectionsClickable(true);
    view->horizontalHeader()->setHighlightSections(false);
    view->verticalHeader()->setDefaultSectionSize(view->fontMetrics().height() + 6);
    view->setAlternatingRowColors(false);
    view->setWordWrap(false);

    RecordSet* rs = model->recordSet();
    connect(rs, &RecordSet::cursorMoved, this, &GridBinding::followCursor);
    connect(model, &QAbstractItemModel::modelReset, this,
            [this, rs] { followCursor(rs->isEmpty() ? -1 : rs->recNo() - 1); });
    connect(view->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this, rs](const QModelIndex& current) {
                if (m_syncing || m_rowsChanging || !current.isValid() || rs->controlsDisabled())
                    return;
                if (current.row() + 1 == rs->recNo())
                    return;
                guarded(m_view, [&] { rs->setRecNo(current.row() + 1); });
                // A refused move (e.g. a record that cannot be saved) puts the grid back.
                if (rs->recNo() != current.row() + 1)
                    followCursor(rs->recNo() - 1);
                else
                    emit userMovedCursor();
            });
    followCursor(rs->active() && !rs->isEmpty() ? rs->recNo() - 1 : -1);
}

void GridBinding::applyDesignWidths()
{
    const auto& cols = m_model->columns();
    for (int c = 0; c < cols.size(); ++c)
        m_view->setColumnWidth(c, cols.at(c).width > 0 ? cols.at(c).width
                                                       : m_view->horizontalHeader()->defaultSectionSize());
}

void GridBinding::followCursor(int position)
{
    if (!m_view || m_model->recordSet()->controlsDisabled())
        return;
    m_syncing = true;
    QItemSelectionModel* sel = m_view->selectionModel();
    if (position < 0 || position >= m_model->rowCount()) {
        sel->clear();
    } else {
        const QModelIndex idx = m_model->index(position, std::max(0, m_view->currentIndex().column()));
        sel->setCurrentIndex(idx, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        m_view->scrollTo(idx);
    }
    m_syncing = false;
}

void sortByTitle(RecordSetModel* model, int column)
{
    const QString field = model->fieldAt(column);
    model->recordSet()->setIndexFieldNames(field == u"Nummer" ? Field::ID : field);
}

void sortOnTitleClick(QTableView* view, RecordSetModel* model, QWidget* errorParent)
{
    view->horizontalHeader()->setSectionsClickable(true);
    QObject::connect(view->horizontalHeader(), &QHeaderView::sectionClicked, errorParent,
                     [model, errorParent](int column) { guarded(errorParent, [&] { sortByTitle(model, column); }); });
}
