#include "ListPrintDialog.h"
#include "ui_ListPrintDialog.h"

#include "ListPreview.h"
#include "PageModel.h"
#include "PrinterChoice.h"
#include "common/gui/DialogLook.h"
#include "common/gui/ErrorGuard.h"
#include "datastore/RecordSet.h"
#include "datastore/Settings.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QPrintDialog>
#include <QPrinter>
#include <QShowEvent>

ListPrintDialog::ListPrintDialog(std::function<PrintListDefinition()> list, RecordSet& records, QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::ListPrintDialog>()), m_listSource(std::move(list)),
      m_list(m_listSource()), m_records(records), m_printer(std::make_unique<QPrinter>(QPrinter::HighResolution))
{
    ui->setupUi(this);
    setObjectName(m_list.dialogName);

    auto* grid = static_cast<QGridLayout*>(ui->GBFelder->layout());
    for (const PrintColumn& column : m_list.columns) {
        auto* box = new QCheckBox(column.switchText, ui->GBFelder);
        box->setObjectName(column.switchName);
        box->setChecked(true); // kept while the program runs, not stored
        grid->addWidget(box, column.switchLine, column.switchSlot);
        m_switches.append(box);
    }
    ui->Button4->setVisible(m_list.narrowButton);
    applyList();
    // After the check boxes: the fixed size follows the list's own.
    DialogLook::apply(this, ui->GradientPanel1);

    connect(ui->Button2, &QPushButton::clicked, this, [this] { guarded(this, [this] { changePrinter(); }); });
    connect(ui->BNeu, &QPushButton::clicked, this, [this] { guarded(this, [this] { showPreview(); }); });
    connect(ui->BSchliessen, &QPushButton::clicked, this, &QDialog::reject);
    connect(ui->Button4, &QPushButton::clicked, this, &ListPrintDialog::narrowAndSort);
}

ListPrintDialog::~ListPrintDialog() = default;

void ListPrintDialog::setNarrowButtonVisible(bool visible)
{
    ui->Button4->setVisible(visible && m_list.narrowButton);
}

void ListPrintDialog::applyList()
{
    setWindowTitle(m_list.dialogCaption);
    for (int i = 0; i < m_switches.size(); ++i)
        m_switches[i]->setText(m_list.columns.at(i).switchText);
    m_model = std::make_unique<PageModel>(m_records, m_list);
}

void ListPrintDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        guarded(this, [this] { FormShow(); });
}

void ListPrintDialog::FormShow()
{
    m_list = m_listSource();
    applyList();
    if (!m_list.dialogPlace.isNull())
        move(m_list.dialogPlace);
    ui->LDrucker->setText(PrinterChoice::selectDefault(*m_printer));
    ui->ETitel->setText(Settings::ReadSettingString(m_list.titleSetting));
    const int pageNumbers = Settings::ReadSettingInt(m_list.pageNumberSetting);
    ui->CBSeitenzahlenDrucken->setChecked(
        m_list.pageNumberTick == PrintListDefinition::PageNumberTick::NotZero ? pageNumbers != 0 : pageNumbers == 1);
}

PrintOptions ListPrintDialog::options() const
{
    PrintOptions o;
    o.title = ui->ETitel->text();
    o.pageNumbers = ui->CBSeitenzahlenDrucken->isChecked();
    for (const QCheckBox* box : m_switches)
        o.columnsOn.append(box->isChecked());
    return o;
}

void ListPrintDialog::changePrinter()
{
    QPrintDialog dialog(m_printer.get(), this);
    dialog.setOption(QAbstractPrintDialog::PrintToFile, true);
    dialog.exec();
    // Whichever way it closed, show the printer now selected.
    m_printer->setFullPage(true);
    ui->LDrucker->setText(PrinterChoice::displayName(*m_printer));
}

PageModel& ListPrintDialog::pageModel()
{
    m_model->setOptions(options());
    return *m_model;
}

void ListPrintDialog::showPreview()
{
    {
        ListPreview preview(pageModel(), *m_printer, this);
        preview.exec();
    }
    Settings::WriteSettingString(m_list.titleSetting, ui->ETitel->text());
    Settings::WriteSettingInt(m_list.pageNumberSetting, ui->CBSeitenzahlenDrucken->isChecked() ? 1 : 0);
    accept();
}

void ListPrintDialog::narrowAndSort()
{
    DruckDialogAktion = NarrowAndSort;
    reject();
}
