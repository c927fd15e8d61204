#include "LendDialog.h"
#include "ui_LendDialog.h"

#include "LoanBooking.h"
#include "RecordPicker.h"
#include "common/Clock.h"
#include "datastore/LibraryData.h"

LendDialog::LendDialog(LibraryData& data, QWidget* parent)
    : BookingDialog(data, parent), ui(std::make_unique<Ui::LendDialog>())
{
    ui->setupUi(this);
    setObjectName(QStringLiteral("TAusleiheBuchenF"));
    setUpControls({ui->LEingetragen, ui->BBuchen, ui->BSchliessen, ui->SpeedButton5, ui->GradientPanel1});
    addPicker(new RecordPicker(data.readers(), QString(), ui->DBGrid1,
                               {{Field::Nummer, tr("Nummer"), ui->ELeserNummer},
                                {Field::Vorname, tr("Vorname"), ui->EVorname},
                                {Field::Nachname, tr("Nachname"), ui->ENachname}},
                               ui->LEingetragen, this));
    addPicker(new RecordPicker(data.books(), LoanBooking::lendableBooks(), ui->DBGrid2,
                               {{Field::Nummer, tr("Nummer"), ui->EBuchNummer},
                                {Field::Verfasser, tr("Verfasser"), ui->EVerfasser},
                                {Field::Titel, tr("Titel"), ui->ETitel}},
                               ui->LEingetragen, this));
    connect(ui->DTPVon, &QDateTimeEdit::dateTimeChanged, this, &LendDialog::updateDueDate);
}

LendDialog::~LendDialog() = default;

void LendDialog::prepare()
{
    ui->DTPVon->setDateTime(Clock::now());
    updateDueDate();
}

void LendDialog::updateDueDate()
{
    ui->DTPSollBis->setDateTime(LoanBooking::dueDate(ui->DTPVon->dateTime(), ui->DTPSollBis->dateTime()));
}

BookingDialog::Outcome LendDialog::book(QString* refusal)
{
    switch (LoanBooking::bookLoan(m_data, ui->DTPVon->dateTime(), ui->DTPSollBis->dateTime())) {
    case LoanBooking::BookingResult::NoReader:
        *refusal = tr("Keine Leser vorhanden");
        return Outcome::Refused;
    case LoanBooking::BookingResult::NoBook:
        *refusal = tr("Keine ausleihbaren Bücher vorhanden");
        return Outcome::Refused;
    case LoanBooking::BookingResult::Booked:
        break;
    }
    return Outcome::Booked;
}
