#include "RecordPicker.h"

#include "LoanBooking.h"
#include "SearchEditGroup.h"
#include "common/gui/ErrorGuard.h"
#include "common/gui/GridBinding.h"
#include "datastore/RecordSet.h"
#include "datastore/RecordSetModel.h"

#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QTableView>

namespace {
constexpr int NumberColumnWidth = 64; // the grid's default width, taken by the number column
constexpr int TextColumnWidth = 160;
} // namespace

RecordPicker::RecordPicker(RecordSet& records, QString baseFilter, QTableView* grid, const QList<Column>& columns,
                           QLabel* booked, QWidget* dialog)
    : QObject(dialog), m_records(records), m_baseFilter(std::move(baseFilter)), m_dialog(dialog)
{
    QList<RecordSetModel::Column> modelColumns;
    QList<QPair<QLineEdit*, QString>> edits;
    for (int i = 0; i < columns.size(); ++i) {
        const Column& c = columns.at(i);
        modelColumns.append({c.field, c.title, i == 0 ? 0 : TextColumnWidth, false});
        edits.append({c.search, c.field});
    }
    auto* model = new RecordSetModel(&records, modelColumns, grid);
    grid->horizontalHeader()->setDefaultSectionSize(NumberColumnWidth);
    auto* binding = new GridBinding(grid, model);
    binding->applyDesignWidths();
    sortOnTitleClick(grid, model, dialog);
    connect(grid, &QAbstractItemView::clicked, booked, &QWidget::hide);
    connect(grid, &QAbstractItemView::clicked, this, &RecordPicker::chosen);
    connect(binding, &GridBinding::userMovedCursor, this, &RecordPicker::chosen);
    for (const Column& c : columns)
        m_edits << c.search;

    new SearchEditGroup(dialog, edits, [this](const QString& field, const QString& text) { narrow(field, text); });
}

void RecordPicker::narrow(const QString& field, const QString& text)
{
    LoanBooking::applyFilter(m_records, LoanBooking::narrowed(m_baseFilter, LoanBooking::searchCondition(field, text)));
    emit chosen();
}

void RecordPicker::prepareBookedLabel(QLabel* booked)
{
    QSizePolicy keep = booked->sizePolicy();
    keep.setRetainSizeWhenHidden(true);
    booked->setSizePolicy(keep);
    booked->hide();
}

void RecordPicker::show()
{
    // Empty edits over an unnarrowed list: a text left from last time would pretend a narrowing.
    for (QLineEdit* edit : std::as_const(m_edits)) {
        const QSignalBlocker quiet(edit);
        edit->clear();
    }
    LoanBooking::applyFilter(m_records, m_baseFilter);
}

QVariant RecordPicker::currentId() const
{
    if (!m_records.active() || m_records.isEmpty())
        return {};
    return m_records.value(Field::ID);
}

void RecordPicker::close()
{
    if (m_records.active())
        m_records.setFiltered(false);
}
