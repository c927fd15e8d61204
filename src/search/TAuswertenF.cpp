#include "TAuswertenF.h"
#include "ui_TAuswertenF.h"

#include "SearchFilter.h"
#include "common/gui/DialogLook.h"
#include "common/gui/ErrorGuard.h"
#include "common/gui/GridBinding.h"
#include "datastore/LibraryData.h"
#include "datastore/RecordSetModel.h"
#include "mainwindow/FieldCaptions.h"
#include "mainwindow/TMainform.h"

#include <QAction>
#include <QHeaderView>
#include <QSignalBlocker>
#include <QStyle>

namespace {

const QString NumberSort = QStringLiteral("ID");

} // namespace

TAuswertenF::TAuswertenF(TMainform& main) : QDialog(&main), ui(std::make_unique<Ui::TAuswertenF>()), m_main(main)
{
    ui->setupUi(this);
    ui->SpeedButton1->setIcon(style()->standardIcon(QStyle::SP_DialogHelpButton));
    // The sort choices are kept for "Alle Daten (sortiert)" but cannot be changed.
    const QList<QWidget*> sortControls{ui->Label1, ui->CBSort, ui->Label2, ui->CBSOrt2};
    for (QWidget* w : sortControls)
        w->setVisible(false);
    ui->LAnzahl->setVisible(false);

    const QStringList& fields = FieldCaptions::bookColumnFields();
    const QStringList& captions = FieldCaptions::BookFieldCaptions();
    const QList<int>& widths = FieldCaptions::bookColumnDesignWidths();
    QList<RecordSetModel::Column> columns;
    for (int i = 0; i < fields.size(); ++i)
        columns.append({fields.at(i), captions.at(i), widths.at(i), false});
    m_model = new RecordSetModel(&m_main.data().ClientBuecher(), columns, ui->DBGrid1);
    auto* binding = new GridBinding(ui->DBGrid1, m_model);
    binding->applyDesignWidths();

    DialogLook::apply(this, ui->GradientPanel1);

    m_main.registerWidthGrid(QStringLiteral("BreiteB"), ui->DBGrid1);
    m_main.onFieldCaptionsApplied([this] { applyCaptions(); });

    connect(ui->BAnzeigen, &QPushButton::clicked, this, &TAuswertenF::BAnzeigenClick);
    connect(ui->E1, &QLineEdit::returnPressed, this, &TAuswertenF::BAnzeigenClick);
    connect(ui->BSchliessen, &QPushButton::clicked, this, &TAuswertenF::Button1Click);
    connect(ui->DBGrid1->horizontalHeader(), &QHeaderView::sectionClicked, this, &TAuswertenF::DBGrid1TitleClick);
    connect(ui->SpeedButton1, &QToolButton::clicked, this, &TAuswertenF::SpeedButton3Click);
}

TAuswertenF::~TAuswertenF() = default;

RecordSet& TAuswertenF::books() const
{
    return m_main.data().ClientBuecher();
}

void TAuswertenF::applyCaptions()
{
    const QStringList& captions = FieldCaptions::BookFieldCaptions();
    for (int k = 0; k < captions.size() && k < m_model->columnCount(); ++k)
        m_model->setColumnTitle(k, captions.at(k));
}

void TAuswertenF::showEvent(QShowEvent* event)
{
    FormShow();
    QDialog::showEvent(event);
}

void TAuswertenF::FormShow()
{
    ui->LAnzahl->setVisible(false);
    const QStringList& captions = FieldCaptions::BookFieldCaptions();
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

void TAuswertenF::BAnzeigenClick()
{
    guarded(this, [this] {
        const QString text = SearchFilter::TrimSearchText(ui->E1->text());
        ui->E1->setText(text);
        const QString caption = ui->CB1->currentText();
        const QString filter = ui->RBexakt->isChecked() ? SearchFilter::BuildExactFilter(caption, text)
                                                        : SearchFilter::BuildPartialFilter(caption, text);
        RecordSet& rs = books();
        rs.setFilter(filter);
        rs.setFiltered(true);
        ui->LAnzahl->setText(tr("%1 Treffer").arg(rs.recordCount()));
        ui->LAnzahl->setVisible(true);
    });
}

void TAuswertenF::Button1Click()
{
    guarded(this, [this] {
        RecordSet& rs = books();
        rs.setFiltered(false);
        rs.setIndexFieldNames(SearchFilter::CaptionToFieldName(ui->CBSort->currentText()) + u';' +
                              SearchFilter::CaptionToFieldName(ui->CBSOrt2->currentText()));
    });
}

void TAuswertenF::DBGrid1TitleClick(int column)
{
    guarded(this, [&] { sortByTitle(m_model, column); });
}

void TAuswertenF::SpeedButton3Click()
{
    // The manual the main window's help opens.
    if (QAction* help = m_main.action(QStringLiteral("actHilfe")))
        help->trigger();
}

void TAuswertenF::done(int result)
{
    FormClose();
    QDialog::done(result);
}

void TAuswertenF::FormClose()
{
    guarded(this, [this] {
        RecordSet& rs = books();
        if (!rs.active())
            return;
        rs.setFiltered(false);
        rs.setIndexFieldNames(NumberSort);
    });
}
