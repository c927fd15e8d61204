#include "ImportWizard.h"
#include "ui_ImportWizard.h"

#include "Importer.h"
#include "SourceReader.h"
#include "catalogue/StoredValueLists.h"
#include "common/gui/DialogLook.h"
#include "common/gui/ErrorGuard.h"
#include "common/gui/FileDialogs.h"
#include "common/gui/Messages.h"
#include "datastore/LibraryData.h"

#include <QHeaderView>
#include <QProgressDialog>
#include <QSignalBlocker>

namespace {

// A grid of text cells, at least one row and one column, as the wizard's grids always are.
void fill(QTableWidget* grid, int rows, int columns, const std::function<QString(int row, int column)>& text)
{
    grid->clearContents();
    grid->setRowCount(std::max(1, rows));
    grid->setColumnCount(std::max(1, columns));
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < columns; ++c)
            grid->setItem(r, c, new QTableWidgetItem(text(r, c)));
}

int selectedRow(const QTableWidget* grid)
{
    const QModelIndexList rows = grid->selectionModel()->selectedRows();
    return rows.isEmpty() ? grid->currentRow() : rows.first().row();
}

} // namespace

ImportWizard::ImportWizard(ImportTarget::Kind kind, LibraryData& data, StoredValueLists& lists, QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::ImportWizard>()), m_data(data), m_lists(lists), m_session(kind)
{
    ui->setupUi(this);
    const bool books = kind == ImportTarget::Kind::Books;
    setObjectName(books ? QStringLiteral("TWizzardF") : QStringLiteral("TWizzardLeserF"));
    setWindowTitle(books ? tr("Importassistent für Bücherdaten") : tr("Importassistent für Leserdaten"));
    DialogLook::apply(this, ui->GradientPanel1);

    for (QTableWidget* grid : {ui->SGDatei, ui->SgDatei2, ui->SGDatenbank}) {
        grid->verticalHeader()->setVisible(false);
        grid->verticalHeader()->setDefaultSectionSize(grid->fontMetrics().height() + 6);
    }
    ui->SGDatei->horizontalHeader()->setVisible(false);
    ui->SgDatei2->horizontalHeader()->setVisible(false);
    ui->SGDatenbank->setColumnCount(3);
    ui->SGDatenbank->setHorizontalHeaderLabels({tr("Feldname"), tr("zug. Dateifeld"), tr("1. Datensatz")});
    ui->SGDatenbank->horizontalHeader()->setStretchLastSection(true);
    fill(ui->SGDatei, 0, 0, {});
    fill(ui->SgDatei2, 0, 0, {});

    connectGuarded(ui->SpeedButton4, &QToolButton::clicked, this, &ImportWizard::chooseSource);
    connectGuarded(ui->CBTabellen, &QComboBox::activated, this, &ImportWizard::loadSource);
    for (QAbstractButton* b :
         {static_cast<QAbstractButton*>(ui->RBTabulator), static_cast<QAbstractButton*>(ui->RBSemikolon),
          static_cast<QAbstractButton*>(ui->RBKomma), static_cast<QAbstractButton*>(ui->CBTitelzeile)})
        connectGuarded(b, &QAbstractButton::clicked, this, &ImportWizard::loadSource);
    connectGuarded(ui->SRColorButton4, &QPushButton::clicked, this, &ImportWizard::nextPage);
    connectGuarded(ui->SpeedButton5, &QToolButton::clicked, this, &ImportWizard::assignSelected);
    connectGuarded(ui->SpeedButton1, &QToolButton::clicked, this, &ImportWizard::removeSelected);
    connect(ui->SRColorButton11, &QPushButton::clicked, this, [this] { showPage(1); });
    connectGuarded(ui->SRColorButton12, &QPushButton::clicked, this, &ImportWizard::runImport);
}

ImportWizard::~ImportWizard() = default;

void ImportWizard::showEvent(QShowEvent* event)
{
    // Each opening starts on page 1; the mapping keeps the previous assignments.
    showPage(1);
    showMapping();
    QDialog::showEvent(event);
}

void ImportWizard::showPage(int page)
{
    ui->P1->setVisible(page == 1);
    ui->SRColorButton4->setVisible(page == 1);
    ui->P2->setVisible(page == 2);
    ui->SRColorButton11->setVisible(page == 2);
    ui->SRColorButton12->setVisible(page == 2);
}

void ImportWizard::chooseSource()
{
    const QString file = FileDialogs::chooseOpenFile(this, tr("Quelldatei öffnen"), ui->EQuelldatei->text(), QString());
    if (file.isEmpty())
        return;
    m_session.clearTables();
    {
        const QSignalBlocker quiet(ui->CBTabellen);
        ui->CBTabellen->clear();
        ui->CBTabellen->setEditText(QString());
    }
    ui->EQuelldatei->setText(file);
    loadSource();
}

void ImportWizard::loadSource()
{
    m_session.fileName = ui->EQuelldatei->text();
    m_session.table = ui->CBTabellen->currentText();
    m_session.separator = ui->RBTabulator->isChecked() ? QChar(u'\t')
                          : ui->RBKomma->isChecked()   ? QChar(u',')
                                                       : QChar(u';');
    m_session.firstRecordHoldsNames = ui->CBTitelzeile->isChecked();
    try {
        m_session.load();
    } catch (...) {
        showPreview(); // the table list may have been filled before the table failed
        throw;
    }
    showPreview();
}

void ImportWizard::showPreview()
{
    {
        const QSignalBlocker quiet(ui->CBTabellen);
        if (ui->CBTabellen->count() == 0 && !m_session.tableNames.isEmpty())
            ui->CBTabellen->addItems(m_session.tableNames);
        ui->CBTabellen->setEditText(m_session.table);
    }
    // Transposed: a column per source record, a row per source field.
    const SourceTable& t = m_session.preview();
    fill(ui->SGDatei, t.fieldCount(), t.recordCount(), [&t](int field, int record) { return t.value(record, field); });
}

void ImportWizard::showMapping()
{
    const QList<ImportTarget>& targets = m_session.targets();
    ui->SGDatenbank->setRowCount(int(targets.size()));
    for (int r = 0; r < targets.size(); ++r) {
        ui->SGDatenbank->setItem(r, 0, new QTableWidgetItem(targets.at(r).caption));
        ui->SGDatenbank->setItem(r, 1, new QTableWidgetItem(m_session.shownFirst(r)));
        ui->SGDatenbank->setItem(r, 2, new QTableWidgetItem(m_session.shownSecond(r)));
    }
    ui->SGDatenbank->resizeColumnToContents(0);
}

void ImportWizard::nextPage()
{
    const QTableWidget* from = ui->SGDatei;
    fill(ui->SgDatei2, from->rowCount(), from->columnCount(), [from](int r, int c) {
        const QTableWidgetItem* item = from->item(r, c);
        return item ? item->text() : QString();
    });
    showPage(2);
}

void ImportWizard::assignSelected()
{
    const int target = selectedRow(ui->SGDatenbank);
    const int source = selectedRow(ui->SgDatei2);
    if (target < 0 || source < 0)
        return;
    m_session.assign(target, source);
    showMapping();
    ui->SGDatenbank->selectRow(target);
}

void ImportWizard::removeSelected()
{
    const int target = selectedRow(ui->SGDatenbank);
    if (target < 0)
        return;
    m_session.remove(target);
    showMapping();
    ui->SGDatenbank->selectRow(target);
}

void ImportWizard::runImport()
{
    // Without a source nothing is imported (not one empty record).
    const SourceTable nothing;
    const SourceTable& source = m_session.hasSource() ? m_session.preview() : nothing;
    Importer importer(m_data, m_session.kind());
    QProgressDialog progress(tr("Die Daten werden importiert …"), tr("Abbrechen"), 0, 100, this);
    progress.setObjectName(QStringLiteral("ImportProgress"));
    progress.setWindowTitle(windowTitle());
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(300);
    importer.setProgress([&progress](int done, int total) {
        progress.setMaximum(std::max(1, total));
        progress.setValue(done);
        return !progress.wasCanceled();
    });
    if (m_session.kind() == ImportTarget::Kind::Books)
        importer.setAfterImport([this](const QList<int>& rows) { m_lists.addValuesOfBooks(rows); });
    const Importer::Result result = importer.run(source, m_session.assignments(), m_session.firstRecordHoldsNames);
    progress.reset();
    Messages::inform(this, importer.summary(result));
    if (!result.cancelled)
        accept();
}
