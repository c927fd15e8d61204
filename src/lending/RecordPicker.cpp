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
    (new GridBinding(grid, model))->applyDesignWidths();
    sortOnTitleClick(grid, model, dialog);
    connect(grid, &QAbstractItemView::clicked, booked, &QWidget::hide);

    new SearchEditGroup(dialog, edits, [this](const QString& field, const QString& text) { narrow(field, text); });
}

void RecordPicker::narrow(const QString& field, const QString& text)
{
    LoanBooking::applyFilter(m_records, LoanBooking::narrowed(m_baseFilter, LoanBooking::searchCondition(field, text)));
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
    LoanBooking::applyFilter(m_records, m_baseFilter);
}

void RecordPicker::close()
{
    if (m_records.active())
        m_records.setFiltered(false);
}
