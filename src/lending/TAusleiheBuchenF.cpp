#include "TAusleiheBuchenF.h"
#include "ui_TAusleiheBuchenF.h"

#include "common/gui/HelpManual.h"
#include "LoanBooking.h"
#include "SearchControls.h"
#include "common/Clock.h"
#include "common/gui/DialogLook.h"
#include "common/gui/ErrorGuard.h"
#include "common/gui/GridBinding.h"
#include "common/gui/Messages.h"
#include "datastore/LibraryData.h"
#include "datastore/RecordSetModel.h"
#include "mainwindow/TMainform.h"

#include <QHeaderView>
#include <QShowEvent>
#include <QStyle>

namespace {
constexpr int GridDefaultWidth = 64; // the "Nummer" columns
}

TAusleiheBuchenF::TAusleiheBuchenF(TMainform& main)
    : QDialog(&main), ui(std::make_unique<Ui::TAusleiheBuchenF>()), m_main(main)
{
    ui->setupUi(this);
    setObjectName(QStringLiteral("TAusleiheBuchenF"));
    ui->SpeedButton5->setIcon(style()->standardIcon(QStyle::SP_DialogHelpButton));
    // The label keeps its place while hidden, so the lists do not jump when it shows.
    QSizePolicy keep = ui->LEingetragen->sizePolicy();
    keep.setRetainSizeWhenHidden(true);
    ui->LEingetragen->setSizePolicy(keep);
    ui->LEingetragen->hide();
    DialogLook::apply(this, ui->GradientPanel1);

    RecordSet& readers = main.data().ClientLeser();
    RecordSet& books = main.data().ClientBuecher();
    auto* readersModel = new RecordSetModel(&readers,
                                            {{QStringLiteral("Nummer"), tr("Nummer"), 0, false},
                                             {QStringLiteral("Vorname"), tr("Vorname"), 160, false},
                                             {QStringLiteral("Nachname"), tr("Nachname"), 160, false}},
                                            ui->DBGrid1);
    auto* booksModel = new RecordSetModel(&books,
                                          {{QStringLiteral("Nummer"), tr("Nummer"), 0, false},
                                           {QStringLiteral("Verfasser"), tr("Verfasser"), 160, false},
                                           {QStringLiteral("Titel"), tr("Titel"), 160, false}},
                                          ui->DBGrid2);
    for (QTableView* grid : {ui->DBGrid1, ui->DBGrid2})
        grid->horizontalHeader()->setDefaultSectionSize(GridDefaultWidth);
    (new GridBinding(ui->DBGrid1, readersModel))->applyDesignWidths();
    (new GridBinding(ui->DBGrid2, booksModel))->applyDesignWidths();
    sortOnTitleClick(ui->DBGrid1, readersModel, this);
    sortOnTitleClick(ui->DBGrid2, booksModel, this);
    // DBGrid1CellClick, shared by both grids.
    for (QTableView* grid : {ui->DBGrid1, ui->DBGrid2})
        connect(grid, &QAbstractItemView::clicked, ui->LEingetragen, &QWidget::hide);

    new SearchEditGroup(this,
                        {{ui->ELeserNummer, QStringLiteral("Nummer")},
                         {ui->EVorname, QStringLiteral("Vorname")},
                         {ui->ENachname, QStringLiteral("Nachname")}},
                        [&readers](const QString& field, const QString& text) {
                            LoanBooking::applyFilter(readers, LoanBooking::searchCondition(field, text));
                        });
    new SearchEditGroup(this,
                        {{ui->EBuchNummer, QStringLiteral("Nummer")},
                         {ui->EVerfasser, QStringLiteral("Verfasser")},
                         {ui->ETitel, QStringLiteral("Titel")}},
                        [&books](const QString& field, const QString& text) {
                            LoanBooking::applyFilter(books,
                                                     LoanBooking::narrowed(LoanBooking::lendableBooks(),
                                                                           LoanBooking::searchCondition(field, text)));
                        });

    connect(ui->DTPVon, &QDateTimeEdit::dateTimeChanged, this, &TAusleiheBuchenF::DTPVonChange);
    connect(ui->BBuchen, &QPushButton::clicked, this, &TAusleiheBuchenF::BBuchenClick);
    connect(ui->BSchliessen, &QPushButton::clicked, this, &QDialog::reject);
    connect(ui->SpeedButton5, &QToolButton::clicked, this, [] { HelpManual::open(HelpManual::NetManual); });
}

TAusleiheBuchenF::~TAusleiheBuchenF() = default;

void TAusleiheBuchenF::showEvent(QShowEvent* event)
{
    if (!event->spontaneous())
        FormShow();
    QDialog::showEvent(event);
}

void TAusleiheBuchenF::FormShow()
{
    ui->LEingetragen->hide();
    ui->DTPVon->setDateTime(Clock::now());
    DTPVonChange();
    // The search edits keep their texts from the last showing; the lists start unnarrowed.
    guarded(this, [this] { LoanBooking::applyFilter(m_main.data().ClientBuecher(), LoanBooking::lendableBooks()); });
}

void TAusleiheBuchenF::DTPVonChange()
{
    ui->DTPSollBis->setDateTime(LoanBooking::dueDate(ui->DTPVon->dateTime(), ui->DTPSollBis->dateTime()));
}

void TAusleiheBuchenF::BBuchenClick()
{
    guarded(this, [this] {
        switch (LoanBooking::bookLoan(m_main.data(), ui->DTPVon->dateTime(), ui->DTPSollBis->dateTime())) {
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
    });
}

void TAusleiheBuchenF::done(int result)
{
    // Every way of closing (button, Escape, the window's close box) passes here.
    FormClose();
    QDialog::done(result);
}

void TAusleiheBuchenF::FormClose()
{
    for (RecordSet* rs : {&m_main.data().ClientLeser(), &m_main.data().ClientBuecher()})
        guarded(this, [rs] {
            if (rs->active())
                rs->setFiltered(false);
        });
}
