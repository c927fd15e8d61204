#include "TOptionenF.h"
#include "ui_TOptionenF.h"

#include "CaptionStore.h"
#include "common/gui/DialogLook.h"
#include "common/gui/ErrorGuard.h"
#include "mainwindow/FieldCaptions.h"
#include "mainwindow/TMainform.h"

#include <QShowEvent>

TOptionenF::TOptionenF(TMainform& main) : QDialog(&main), ui(std::make_unique<Ui::TOptionenF>()), m_main(main)
{
    ui->setupUi(this);
    // In tab order; the stored text has its own line order.
    m_edits = {{ui->EVerfasser, 1, 0},        {ui->ETitel, 2, 1},        {ui->EVerlag, 3, 2},
               {ui->EErscheinungsort, 5, 3},  {ui->ESachgruppe, 7, 5},   {ui->EAuflage, 6, 4},
               {ui->ESignatur, 8, 7},         {ui->EISBN, 10, 6},        {ui->EStandort, 9, 8},
               {ui->EErscheinungsjahr, 4, 9}, {ui->EBemerkungen, 12, 10}};
    DialogLook::apply(this, ui->GradientPanel1);

    connect(ui->BNeu, &QPushButton::clicked, this, &TOptionenF::Button1Click);
    connect(ui->BSchliessen, &QPushButton::clicked, this, &QDialog::reject);
}

TOptionenF::~TOptionenF() = default;

void TOptionenF::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TOptionenF::FormShow()
{
    const QStringList& captions = FieldCaptions::BookFieldCaptions();
    for (const CaptionEdit& e : m_edits)
        e.edit->setText(captions.at(e.captionIndex));
}

void TOptionenF::Button1Click()
{
    guarded(this, [this] {
        QStringList lines(m_edits.size());
        for (const CaptionEdit& e : m_edits)
            lines[e.line] = e.edit->text();
        CaptionStore::write(m_main.data(), CaptionStore::storedText(lines));
        m_main.ApplyFieldCaptions();
        // Widths are stored under the column titles, which are the new captions now.
        m_main.SaveColumnWidths();
        accept();
    });
}
