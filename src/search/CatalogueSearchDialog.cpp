#include "CatalogueSearchDialog.h"
#include "ui_CatalogueSearchDialog.h"

#include "SearchFilter.h"
#include "catalogue/FieldCaptions.h"
#include "common/gui/DialogLook.h"
#include "common/gui/ErrorGuard.h"
#include "common/gui/GridBinding.h"
#include "datastore/LibraryData.h"
#include "datastore/RecordSetModel.h"
#include "mainwindow/MainWindowServices.h"

#include <QAction>
#include <QHeaderView>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QStyle>

namespace {

const QString NumberSort = Field::ID;

} // namespace

CatalogueSearchDialog::CatalogueSearchDialog(LibraryData& data, MainWindowServices& main, QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::CatalogueSearchDialog>()), m_data(data), m_main(main)
{
    ui->setupUi(this);
    ui->SpeedButton1->setIcon(style()->standardIcon(QStyle::SP_DialogHelpButton));
    // The sort choices are kept for "Alle Daten (sortiert)" but cannot be changed.
    const QList<QWidget*> sortControls{ui->Label1, ui->CBSort, ui->Label2, ui->CBSOrt2};
    for (QWidget* w : sortControls)
        w->setVisible(false);
    ui->LAnzahl->setVisible(false);

    const QStringList& fields = FieldCaptions::bookColumnFields();
    const QStringList& captions = FieldCaptions::bookFieldCaptions();
    const QList<int>& widths = FieldCaptions::bookColumnDesignWidths();
    QList<RecordSetModel::Column> columns;
    for (int i = 0; i < fields.size(); ++i)
        columns.append({fields.at(i), captions.at(i), widths.at(i), false});
    m_model = new RecordSetModel(&m_data.books(), columns, ui->DBGrid1);
    auto* binding = new GridBinding(ui->DBGrid1, m_model);
    binding->applyDesignWidths();

    DialogLook::apply(this, ui->GradientPanel1);

    m_main.registerWidthGrid(QStringLiteral("BreiteB"), ui->DBGrid1);
    m_main.onFieldCaptionsApplied([this] { applyCaptions(); });

    connectGuarded(ui->BAnzeigen, &QPushButton::clicked, this, &CatalogueSearchDialog::search);
    connectGuarded(ui->E1, &QLineEdit::returnPressed, this, &CatalogueSearchDialog::search);
    // The button named "Schließen" in the form shows all books in the chosen order.
    connectGuarded(ui->BSchliessen, &QPushButton::clicked, this, &CatalogueSearchDialog::showAllSorted);
    connectGuarded(ui->DBGrid1->horizontalHeader(), &QHeaderView::sectionClicked, this,
                   &CatalogueSearchDialog::sortByColumn);
    connect(ui->SpeedButton1, &QToolButton::clicked, this, [this] { m_main.openManual(); });
    // Prints the books as narrowed and sorted here; the print dialog then offers no way back.
    ui->Button4->setEnabled(true);
    connect(ui->Button4, &QPushButton::clicked, this, [this] { m_main.printBookList(false); });
}

CatalogueSearchDialog::~CatalogueSearchDialog() = default;

RecordSet& CatalogueSearchDialog::books() const
{
    return m_data.books();
}

void CatalogueSearchDialog::applyCaptions()
{
    const QStringList& captions = FieldCaptions::bookFieldCaptions();
    for (int k = 0; k < captions.size() && k < m_model->columnCount(); ++k)
        m_model->setColumnTitle(k, captions.at(k));
}

void CatalogueSearchDialog::showEvent(QShowEvent* event)
{
    if (!event->spontaneous()) // restoring the minimised window keeps the search and its hits
        prepare();
    QDialog::showEvent(event);
}

void CatalogueSearchDialog::prepare()
{
    ui->LAnzahl->setVisible(false);
    const QStringList& captions = FieldCaptions::bookFieldCaptions();
    {
        const QSignalBlocker block(ui->CB1);
        ui->CB1->clear();
        ui->CB1->addItems(captions.mid(0, 13));
        ui->CB1->addItem(SearchFilter::keywordChoice());
        ui->CB1->setCurrentIndex(ui->CB1->count() - 1);
    }
    for (QComboBox* sort : {ui->CBSort, ui->CBSOrt2}) {
        const QSignalBlocker block(sort);
        sort->clear();
        sort->addItems(captions);
        sort->setCurrentIndex(0); // the number
    }
    ui->E1->setFocus();
}

void CatalogueSearchDialog::search()
{
    const QString text = SearchFilter::trimSearchText(ui->E1->text());
    ui->E1->setText(text);
    const QString caption = ui->CB1->currentText();
    const QString filter = ui->RBexakt->isChecked() ? SearchFilter::exactFilter(caption, text)
                                                    : SearchFilter::partialFilter(caption, text);
    RecordSet& rs = books();
    rs.setFilter(filter);
    rs.setFiltered(true);
    ui->LAnzahl->setText(tr("%1 Treffer").arg(rs.recordCount()));
    ui->LAnzahl->setVisible(true);
}

void CatalogueSearchDialog::showAllSorted()
{
    RecordSet& rs = books();
    rs.setFiltered(false);
    rs.setIndexFieldNames(SearchFilter::fieldForCaption(ui->CBSort->currentText()) + u';' +
                          SearchFilter::fieldForCaption(ui->CBSOrt2->currentText()));
}

void CatalogueSearchDialog::sortByColumn(int column)
{
    sortByTitle(m_model, column);
}

void CatalogueSearchDialog::done(int result)
{
    guarded(this, [this] { liftNarrowing(); });
    QDialog::done(result);
}

void CatalogueSearchDialog::liftNarrowing()
{
    RecordSet& rs = books();
    if (!rs.active())
        return;
    rs.setFiltered(false);
    rs.setIndexFieldNames(NumberSort);
}
