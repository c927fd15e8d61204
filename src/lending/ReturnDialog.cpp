#include "ReturnDialog.h"
#include "ui_ReturnDialog.h"

#include "LoanBooking.h"
#include "LoanRecords.h"
#include "RecordPicker.h"
#include "common/Clock.h"
#include "common/gui/Messages.h"
#include "datastore/LibraryData.h"

ReturnDialog::ReturnDialog(LibraryData& data, QWidget* parent)
    : BookingDialog(data, parent), ui(std::make_unique<Ui::ReturnDialog>())
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

BookingDialog::Outcome ReturnDialog::book(QString* refusal)
{
    switch (LoanBooking::returnBook(m_data, ui->DTPBis->dateTime())) {
    case LoanBooking::ReturnResult::NoBook:
        *refusal = tr("Keine rückbuchbaren Bücher vorhanden");
        return Outcome::Refused;
    case LoanBooking::ReturnResult::NoOpenLoan:
        return offerToMarkAvailable();
    case LoanBooking::ReturnResult::Returned:
        break;
    }
    return Outcome::Booked;
}

BookingDialog::Outcome ReturnDialog::offerToMarkAvailable()
{
    // A mark left behind by an older version or a lost write: say what was found and let the
    // user put it right.
    const QString title = m_data.books().text(Field::Titel);
    const QString question =
        tr("Das Buch „%1“ ist als ausgeliehen markiert, aber es gibt keine offene Ausleihe dazu. Es kann daher "
           "nicht zurückgebucht werden.\n\nSoll das Buch als verfügbar (nicht ausgeliehen) markiert werden?")
            .arg(title);
    if (Messages::ask(this, question, Messages::Buttons::YesNo) != Messages::Answer::Yes)
        return Outcome::Refused;
    LoanRecords::markBookAvailable(m_data);
    return Outcome::Settled;
}
