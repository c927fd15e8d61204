#include "CaptionsDialog.h"
#include "ui_CaptionsDialog.h"

#include "CaptionStore.h"
#include "FieldCaptions.h"
#include "common/gui/DialogLook.h"
#include "common/gui/ErrorGuard.h"
#include "mainwindow/MainWindowServices.h"

#include <QShowEvent>

CaptionsDialog::CaptionsDialog(LibraryData& data, MainWindowServices& main, QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::CaptionsDialog>()), m_data(data), m_main(main)
{
    ui->setupUi(this);
    // In tab order; the stored text has its own line order.
    m_edits = {{ui->EVerfasser, 1, 0},        {ui->ETitel, 2, 1},        {ui->EVerlag, 3, 2},
               {ui->EErscheinungsort, 5, 3},  {ui->ESachgruppe, 7, 5},   {ui->EAuflage, 6, 4},
               {ui->ESignatur, 8, 7},         {ui->EISBN, 10, 6},        {ui->EStandort, 9, 8},
               {ui->EErscheinungsjahr, 4, 9}, {ui->EBemerkungen, 12, 10}};
    DialogLook::apply(this, ui->GradientPanel1);

    connect(ui->BNeu, &QPushButton::clicked, this, &CaptionsDialog::saveCaptions);
    connect(ui->BSchliessen, &QPushButton::clicked, this, &QDialog::reject);
}

CaptionsDialog::~CaptionsDialog() = default;

void CaptionsDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        showCaptions();
}

void CaptionsDialog::showCaptions()
{
    const QStringList& captions = FieldCaptions::bookFieldCaptions();
    for (const CaptionEdit& e : m_edits)
        e.edit->setText(captions.at(e.captionIndex));
}

void CaptionsDialog::saveCaptions()
{
    guarded(this, [this] {
        QStringList lines(m_edits.size());
        for (const CaptionEdit& e : m_edits)
            lines[e.line] = e.edit->text();
        CaptionStore::write(m_data, CaptionStore::storedText(lines));
        m_main.applyFieldCaptions();
        // Widths are stored under the column titles, which are the new captions now.
        m_main.saveColumnWidths();
        accept();
    });
}
