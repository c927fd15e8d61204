#include "ReturnDialog.h"
#include "ui_ReturnDialog.h"

#include "LoanBooking.h"
#include "RecordPicker.h"
#include "common/Clock.h"
#include "datastore/LibraryData.h"

ReturnDialog::ReturnDialog(LibraryData& data, QWidget* parent)
    : BookingDialog(parent), ui(std::make_unique<Ui::ReturnDialog>()), m_data(data)
{
    ui->setupUi(this);
    setObjectName(QStringLiteral("TRueckgabeF"));
    setUpControls({ui->LEingetragen, ui->BBuchen, ui->BSchliessen, ui->SpeedButton5, ui->GradientPanel1});
    addPicker(new RecordPicker(data.books(), LoanBooking::lentBooks(), ui->DBGrid2,
                               {{Field::Nummer, tr("Nummer"), ui->EBuchNummer},
                                {Field::Verfasser, tr("Verfasser"), ui->EVerfasser},
                                {Field::Titel, tr("Titel"), ui->ETitel}},
                               ui->LEingetragen, this));
}

ReturnDialog::~ReturnDialog() = default;

void ReturnDialog::prepare()
{
    ui->DTPBis->setDateTime(Clock::now());
}

QString ReturnDialog::book()
{
    switch (LoanBooking::returnBook(m_data, ui->DTPBis->dateTime())) {
    case LoanBooking::ReturnResult::NoBook:
        return tr("Keine rückbuchbaren Bücher vorhanden");
    case LoanBooking::ReturnResult::NoOpenLoan:
        return tr("Fehler 165");
    case LoanBooking::ReturnResult::Returned:
        return QString();
    }
    return QString();
}
