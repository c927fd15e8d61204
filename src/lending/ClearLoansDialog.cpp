#include "ClearLoansDialog.h"
#include "ui_ClearLoansDialog.h"

#include "LoanBooking.h"
#include "common/gui/DialogLook.h"
#include "common/gui/ErrorGuard.h"
#include "datastore/LibraryData.h"

ClearLoansDialog::ClearLoansDialog(LibraryData& data, QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::ClearLoansDialog>()), m_data(data)
{
    ui->setupUi(this);
    setObjectName(QStringLiteral("TAusleihlisteLoeschenF"));
    DialogLook::apply(this, ui->GradientPanel1);

    connect(ui->Button1, &QPushButton::clicked, this, &ClearLoansDialog::clearLoans);
    connect(ui->BLoeschen, &QPushButton::clicked, this, &QDialog::reject);
}

ClearLoansDialog::~ClearLoansDialog() = default;

void ClearLoansDialog::clearLoans()
{
    // No question and no count. A failure deletes nothing and keeps the dialog open.
    if (guarded(this, [this] { LoanBooking::clearLoanList(m_data, ui->DTP_ab->date()); }))
        accept();
}
