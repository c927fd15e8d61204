#include "LendDialog.h"
#include "ui_LendDialog.h"

#include "LoanBooking.h"
#include "RecordPicker.h"
#include "common/Clock.h"
#include "common/gui/DialogLook.h"
#include "common/gui/ErrorGuard.h"
#include "common/gui/HelpManual.h"
#include "common/gui/Messages.h"
#include "datastore/LibraryData.h"

#include <QShowEvent>
#include <QStyle>

LendDialog::LendDialog(LibraryData& data, QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::LendDialog>()), m_data(data)
{
    ui->setupUi(this);
    setObjectName(QStringLiteral("TAusleiheBuchenF"));
    ui->SpeedButton5->setIcon(style()->standardIcon(QStyle::SP_DialogHelpButton));
    RecordPicker::prepareBookedLabel(ui->LEingetragen);
    DialogLook::apply(this, ui->GradientPanel1);

    m_readers = new RecordPicker(data.readers(), QString(), ui->DBGrid1,
                                 {{Field::Nummer, tr("Nummer"), ui->ELeserNummer},
                                  {Field::Vorname, tr("Vorname"), ui->EVorname},
                                  {Field::Nachname, tr("Nachname"), ui->ENachname}},
                                 ui->LEingetragen, this);
    m_books = new RecordPicker(data.books(), LoanBooking::lendableBooks(), ui->DBGrid2,
                               {{Field::Nummer, tr("Nummer"), ui->EBuchNummer},
                                {Field::Verfasser, tr("Verfasser"), ui->EVerfasser},
                                {Field::Titel, tr("Titel"), ui->ETitel}},
                               ui->LEingetragen, this);

    connect(ui->DTPVon, &QDateTimeEdit::dateTimeChanged, this, &LendDialog::updateDueDate);
    connectGuarded(ui->BBuchen, &QPushButton::clicked, this, &LendDialog::bookLoan);
    connect(ui->BSchliessen, &QPushButton::clicked, this, &QDialog::reject);
    connect(ui->SpeedButton5, &QToolButton::clicked, this, [] { HelpManual::open(HelpManual::NetManual); });
}

LendDialog::~LendDialog() = default;

void LendDialog::showEvent(QShowEvent* event)
{
    if (!event->spontaneous())
        prepare();
    QDialog::showEvent(event);
}

void LendDialog::prepare()
{
    ui->LEingetragen->hide();
    ui->DTPVon->setDateTime(Clock::now());
    updateDueDate();
    // The search edits keep their texts from the last showing; the lists start unnarrowed.
    guarded(this, [this] { m_books->show(); });
}

void LendDialog::updateDueDate()
{
    ui->DTPSollBis->setDateTime(LoanBooking::dueDate(ui->DTPVon->dateTime(), ui->DTPSollBis->dateTime()));
}

void LendDialog::bookLoan()
{
    switch (LoanBooking::bookLoan(m_data, ui->DTPVon->dateTime(), ui->DTPSollBis->dateTime())) {
    case LoanBooking::BookingResult::NoReader:
        Messages::inform(this, tr("Keine Leser vorhanden"));
        return;
    case LoanBooking::BookingResult::NoBook:
        Messages::inform(this, tr("Keine ausleihbaren Bücher vorhanden"));
        return;
    case LoanBooking::BookingResult::Booked:
        ui->LEingetragen->show();
        return;
    }
}

void LendDialog::done(int result)
{
    // Every way of closing (button, Escape, the window's close box) passes here.
    for (RecordPicker* picker : {m_readers, m_books})
        guarded(this, [picker] { picker->close(); });
    QDialog::done(result);
}
