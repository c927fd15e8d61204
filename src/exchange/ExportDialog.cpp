#include "ExportDialog.h"
#include "ui_ExportDialog.h"

#include "catalogue/FieldCaptions.h"
#include "common/gui/DialogLook.h"
#include "common/gui/FileDialogs.h"
#include "common/gui/HelpManual.h"
#include "common/gui/Messages.h"
#include "datastore/RecordSet.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QProgressDialog>
#include <QShowEvent>
#include <QStyle>

namespace {
constexpr int FieldColumns = 3; // columns of check boxes in the field group
}

ExportDialog::Setup ExportDialog::booksSetup()
{
    return {QStringLiteral("TExportF"), tr("Bücher exportieren"), QStringLiteral("Exportierte B&uuml;cher"),
            [] { return ExportColumns::books(FieldCaptions::bookFieldCaptions()); }};
}

ExportDialog::Setup ExportDialog::readersSetup()
{
    return {QStringLiteral("TExportLeserF"), tr("Leser exportieren"), QStringLiteral("Exportierte Leser"),
            [] { return ExportColumns::readers(FieldCaptions::readerFieldCaptions()); }};
}

ExportDialog::ExportDialog(RecordSet& records, Setup setup, QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::ExportDialog>()), m_records(records), m_setup(std::move(setup))
{
    ui->setupUi(this);
    setObjectName(m_setup.objectName);
    setWindowTitle(m_setup.windowTitle);
    ui->SpeedButton3->setIcon(style()->standardIcon(QStyle::SP_DialogHelpButton));

    auto* grid = static_cast<QGridLayout*>(ui->GBFelder->layout());
    const QList<ExportColumn> columns = m_setup.columns();
    const qsizetype rows = (columns.size() + FieldColumns - 1) / FieldColumns;
    for (qsizetype i = 0; i < columns.size(); ++i) {
        auto* box = new QCheckBox(columns.at(i).checkBoxText, ui->GBFelder);
        box->setObjectName(columns.at(i).checkBoxName);
        box->setChecked(true);
        grid->addWidget(box, int(i % rows), int(i / rows));
        m_fieldBoxes << box;
    }
    DialogLook::apply(this, ui->GradientPanel1);

    for (QRadioButton* format : {ui->RBCSV, ui->RBHTML, ui->RBTXT})
        connect(format, &QRadioButton::clicked, this, &ExportDialog::applyFormatRules);
    connect(ui->EZieldatei, &QLineEdit::textChanged, this,
            [this](const QString& text) { ui->Button1->setEnabled(!text.isEmpty()); });
    connect(ui->SpeedButton1, &QToolButton::clicked, this, &ExportDialog::chooseTarget);
    connect(ui->Button1, &QPushButton::clicked, this, &ExportDialog::exportRecords);
    connect(ui->SpeedButton3, &QToolButton::clicked, this, [] { HelpManual::open(HelpManual::Manual); });
    resetForOpening();
}

ExportDialog::~ExportDialog() = default;

void ExportDialog::showEvent(QShowEvent* event)
{
    if (!event->spontaneous())
        resetForOpening();
    QDialog::showEvent(event);
}

void ExportDialog::resetForOpening()
{
    ui->EZieldatei->clear();
    ui->Button1->setEnabled(false);
    ui->RBKomma->setChecked(true);
    ui->RBdoppelt->setChecked(true);
    // The rules of the format still checked from the last opening, so that its buttons are
    // usable without choosing the format again.
    applyFormatRules();
}

ExportFormat ExportDialog::format() const
{
    if (ui->RBHTML->isChecked())
        return ExportFormat::Html;
    if (ui->RBTXT->isChecked())
        return ExportFormat::Txt;
    return ExportFormat::Csv;
}

void ExportDialog::applyFormatRules()
{
    const ExportFormat f = format();
    const bool delimited = f != ExportFormat::Html;
    ui->GroupBox1->setEnabled(delimited);
    ui->GroupBox5->setEnabled(delimited);
    // CSV always writes comma and double quote.
    const bool free = f == ExportFormat::Txt;
    if (f == ExportFormat::Csv) {
        ui->RBKomma->setChecked(true);
        ui->RBdoppelt->setChecked(true);
    }
    for (QRadioButton* b : {ui->RBTabulator, ui->RBSemikolon, ui->RBeinfach, ui->RBkeine})
        b->setEnabled(free);
    ui->RBKomma->setEnabled(delimited);
    ui->RBdoppelt->setEnabled(delimited);
}

void ExportDialog::chooseTarget()
{
    QString filter;
    QString suffix;
    switch (format()) {
    case ExportFormat::Csv:
        filter = tr("CSV-Dateien (*.csv)");
        suffix = QStringLiteral("csv");
        break;
    case ExportFormat::Html:
        filter = tr("HTML-Dateien (*.html)");
        suffix = QStringLiteral("html");
        break;
    case ExportFormat::Txt:
        filter = tr("Text-Dateien (*.txt)");
        suffix = QStringLiteral("txt");
        break;
    }
    const QString path = FileDialogs::chooseSaveFile(this, tr("Speichern unter"), filter, suffix);
    if (!path.isEmpty())
        ui->EZieldatei->setText(path);
}

ExportOptions ExportDialog::options() const
{
    ExportOptions o;
    o.format = format();
    o.separator = ui->RBTabulator->isChecked()   ? QChar(u'\t')
                  : ui->RBSemikolon->isChecked() ? QChar(u';')
                                                 : QChar(u',');
    o.qualifier = ui->RBeinfach->isChecked() ? QStringLiteral("'")
                  : ui->RBkeine->isChecked() ? QString()
                                             : QStringLiteral("\"");
    o.headerLine = ui->CBTitelzeile->isChecked();
    o.htmlTitle = m_setup.htmlTitle;
    const QList<ExportColumn> columns = m_setup.columns();
    for (qsizetype i = 0; i < columns.size() && i < m_fieldBoxes.size(); ++i)
        if (m_fieldBoxes.at(i)->isChecked())
            o.columns << columns.at(i);
    return o;
}

void ExportDialog::exportRecords()
{
    if (ui->EZieldatei->text().isEmpty())
        return;
    RecordExporter exporter(m_records, options());

    // Shown only when the export takes longer than half a second.
    QProgressDialog progress(tr("Die Daten werden exportiert …"), tr("Abbrechen"), 0, m_records.recordCount(), this);
    progress.setObjectName(QStringLiteral("ExportProgress"));
    progress.setWindowTitle(windowTitle());
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(500);
    progress.setAutoReset(false);
    progress.setAutoClose(false);
    exporter.setProgress([&progress](int written, int) {
        progress.setValue(written);
        return !progress.wasCanceled();
    });
    const ExportResult result = exporter.write(ui->EZieldatei->text());
    progress.close();

    switch (result.status) {
    case ExportResult::Status::Failed:
        Messages::error(this, result.error);
        return; // the settings stay for another try
    case ExportResult::Status::Cancelled:
        return;
    case ExportResult::Status::Written:
        break;
    }
    const QStringList notes = result.notes();
    if (!notes.isEmpty())
        Messages::inform(this, notes.join(QStringLiteral("\n\n")));
    accept();
}
