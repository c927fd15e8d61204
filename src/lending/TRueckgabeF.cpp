#include "TRueckgabeF.h"
#include "ui_TRueckgabeF.h"

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
constexpr int GridDefaultWidth = 64; // the "Nummer" column
}

TRueckgabeF::TRueckgabeF(TMainform& main) : QDialog(&main), ui(std::make_unique<Ui::TRueckgabeF>()), m_main(main)
{
    ui->setupUi(this);
    setObjectName(QStringLiteral("TRueckgabeF"));
    ui->SpeedButton5->setIcon(style()->standardIcon(QStyle::SP_DialogHelpButton));
    QSizePolicy keep = ui->LEingetragen->sizePolicy();
    keep.setRetainSizeWhenHidden(true);
    ui->LEingetragen->setSizePolicy(keep);
    ui->LEingetragen->hide();
    DialogLook::apply(this, ui->GradientPanel1);

    RecordSet& books = main.data().ClientBuecher();
    auto* booksModel = new RecordSetModel(&books,
                                          {{QStringLiteral("Nummer"), tr("Nummer"), 0, false},
                                           {QStringLiteral("Verfasser"), tr("Verfasser"), 160, false},
                                           {QStringLiteral("Titel"), tr("Titel"), 160, false}},
                                          ui->DBGrid2);
    ui->DBGrid2->horizontalHeader()->setDefaultSectionSize(GridDefaultWidth);
    (new GridBinding(ui->DBGrid2, booksModel))->applyDesignWidths();
    sortOnTitleClick(ui->DBGrid2, booksModel, this);
    connect(ui->DBGrid2, &QAbstractItemView::clicked, ui->LEingetragen, &QWidget::hide);

    new SearchEditGroup(this,
                        {{ui->EBuchNummer, QStringLiteral("Nummer")},
                         {ui->EVerfasser, QStringLiteral("Verfasser")},
                         {ui->ETitel, QStringLiteral("Titel")}},
                        [&books](const QString& field, const QString& text) {
                            LoanBooking::applyFilter(books,
                                                     LoanBooking::narrowed(LoanBooking::lentBooks(),
                                                                           LoanBooking::searchCondition(field, text)));
                        });

    connect(ui->BBuchen, &QPushButton::clicked, this, &TRueckgabeF::BBuchenClick);
    connect(ui->BSchliessen, &QPushButton::clicked, this, &QDialog::reject);
    connect(ui->SpeedButton5, &QToolButton::clicked, this, [] { HelpManual::open(HelpManual::NetManual); });
}

TRueckgabeF::~TRueckgabeF() = default;

void TRueckgabeF::showEvent(QShowEvent* event)
{
    if (!event->spontaneous())
        FormShow();
    QDialog::showEvent(event);
}

void TRueckgabeF::FormShow()
{
    ui->LEingetragen->hide();
    ui->DTPBis->setDateTime(Clock::now());
    // The search edits keep their texts from the last showing; the list starts unnarrowed.
    guarded(this, [this] { LoanBooking::applyFilter(m_main.data().ClientBuecher(), LoanBooking::lentBooks()); });
}

void TRueckgabeF::BBuchenClick()
{
    guarded(this, [this] {
        switch (LoanBooking::returnBook(m_main.data(), ui->DTPBis->dateTime())) {
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
    });
}

void TRueckgabeF::done(int result)
{
    // Every way of closing (button, Escape, the window's close box) passes here.
    FormClose();
    QDialog::done(result);
}

void TRueckgabeF::FormClose()
{
    for (RecordSet* rs : {&m_main.data().ClientLeser(), &m_main.data().ClientBuecher()})
        guarded(this, [rs] {
            if (rs->active())
                rs->setFiltered(false);
        });
}
