#include "ReturnDialog.h"
#include "ui_ReturnDialog.h"

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

ReturnDialog::ReturnDialog(LibraryData& data, QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::ReturnDialog>()), m_data(data)
{
    ui->setupUi(this);
    setObjectName(QStringLiteral("TRueckgabeF"));
    ui->SpeedButton5->setIcon(style()->standardIcon(QStyle::SP_DialogHelpButton));
    RecordPicker::prepareBookedLabel(ui->LEingetragen);
    DialogLook::apply(this, ui->GradientPanel1);

    m_books = new RecordPicker(data.books(), LoanBooking::lentBooks(), ui->DBGrid2,
                               {{Field::Nummer, tr("Nummer"), ui->EBuchNummer},
                                {Field::Verfasser, tr("Verfasser"), ui->EVerfasser},
                                {Field::Titel, tr("Titel"), ui->ETitel}},
                               ui->LEingetragen, this);

    connectGuarded(ui->BBuchen, &QPushButton::clicked, this, &ReturnDialog::returnBook);
    connect(ui->BSchliessen, &QPushButton::clicked, this, &QDialog::reject);
    connect(ui->SpeedButton5, &QToolButton::clicked, this, [] { HelpManual::open(HelpManual::NetManual); });
}

ReturnDialog::~ReturnDialog() = default;

void ReturnDialog::showEvent(QShowEvent* event)
{
    if (!event->spontaneous())
        prepare();
    QDialog::showEvent(event);
}

void ReturnDialog::prepare()
{
    ui->LEingetragen->hide();
    ui->DTPBis->setDateTime(Clock::now());
    // The search edits keep their texts from the last showing; the list starts unnarrowed.
    guarded(this, [this] { m_books->show(); });
}

void ReturnDialog::returnBook()
{
    switch (LoanBooking::returnBook(m_data, ui->DTPBis->dateTime())) {
    case LoanBooking::ReturnResult::NoBook:
        Messages::inform(this, tr("Keine rückbuchbaren Bücher vorhanden"));
        return;
    case LoanBooking::ReturnResult::NoOpenLoan:
        Messages::inform(this, tr("Fehler 165"));
        return;
    case LoanBooking::ReturnResult::Returned:
        ui->LEingetragen->show();
        return;
    }
}

void ReturnDialog::done(int result)
{
    // Every way of closing (button, Escape, the window's close box) passes here.
    guarded(this, [this] {
        if (m_data.readers().active())
            m_data.readers().setFiltered(false);
    });
    guarded(this, [this] { m_books->close(); });
    QDialog::done(result);
}
