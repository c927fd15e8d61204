#include "TAusleihlisteLoeschenF.h"
#include "ui_TAusleihlisteLoeschenF.h"

#include "LoanBooking.h"
#include "common/gui/DialogLook.h"
#include "common/gui/ErrorGuard.h"
#include "mainwindow/TMainform.h"

TAusleihlisteLoeschenF::TAusleihlisteLoeschenF(TMainform& main)
    : QDialog(&main), ui(std::make_unique<Ui::TAusleihlisteLoeschenF>()), m_main(main)
{
    ui->setupUi(this);
    setObjectName(QStringLiteral("TAusleihlisteLoeschenF"));
    DialogLook::apply(this, ui->GradientPanel1);

    connect(ui->Button1, &QPushButton::clicked, this, &TAusleihlisteLoeschenF::Button1Click);
    connect(ui->BLoeschen, &QPushButton::clicked, this, &QDialog::reject);
}

TAusleihlisteLoeschenF::~TAusleihlisteLoeschenF() = default;

void TAusleihlisteLoeschenF::Button1Click()
{
    // No question and no count. A failure deletes nothing and keeps the dialog open.
    if (guarded(this, [this] { LoanBooking::clearLoanList(m_main.data(), ui->DTP_ab->date()); }))
        accept();
}
