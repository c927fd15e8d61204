#include "ClearLoansDialog.h"
#include "ui_ClearLoansDialog.h"

#include "LoanBooking.h"
#include "common/gui/DialogLook.h"
#include "common/gui/ErrorGuard.h"
#include "common/gui/Messages.h"
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
    // Deleting for good: say how many up to which day first. "Nein" keeps the dialog open for
    // another day; a failure deletes nothing and keeps it open too.
    const QDate lastDay = ui->DTP_ab->date();
    const QString question = LoanBooking::clearingQuestion(LoanBooking::countClearable(m_data, lastDay), lastDay);
    if (!question.isEmpty() && Messages::ask(this, question, Messages::Buttons::YesNo) != Messages::Answer::Yes)
        return;
    if (guarded(this, [&] { LoanBooking::clearLoanList(m_data, lastDay); }))
        accept();
}
