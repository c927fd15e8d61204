#include "ReaderEntryDialog.h"
#include "ui_ReaderEntryDialog.h"

#include "ReaderEntry.h"
#include "RecordEntryController.h"
#include "common/gui/DialogLook.h"
#include "common/gui/ErrorGuard.h"
#include "common/gui/FieldBinder.h"
#include "common/gui/GridBinding.h"
#include "datastore/LibraryData.h"
#include "datastore/RecordSet.h"
#include "datastore/RecordSetModel.h"
#include "lending/LoanRecords.h"
#include "lending/LoanView.h"
#include "mainwindow/MainWindowServices.h"

#include <QFocusEvent>
#include <QHeaderView>
#include <QShowEvent>
#include <QSignalBlocker>

ReaderEntryDialog::ReaderEntryDialog(LibraryData& data, MainWindowServices& main, QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::ReaderEntryDialog>()), m_main(main), m_readers(data.readers()),
      m_loans(data.loans()), m_binder(new FieldBinder(&m_readers, this))
{
    ui->setupUi(this);

    m_binder->bind(ui->DBEdit1, Field::Vorname);
    m_binder->bind(ui->DBEdit2, Field::Nachname);
    m_binder->bind(ui->DBEdit3, Field::Strasse);
    m_binder->bind(ui->DBEdit8, Field::PLZ);
    m_binder->bind(ui->CBOrt, Field::Ort);
    m_binder->bind(ui->DBEdit5, Field::Telefon);
    m_binder->bind(ui->DBEdit9, Field::EMail);
    m_binder->bind(ui->DBEdit6, Field::Sonstiges1);
    m_binder->bind(ui->DBMemo1, Field::Bemerkung);
    m_binder->bind(ui->DBText1, Field::ID);

    auto* loansModel = new RecordSetModel(&m_loans,
                                          {{Field::BuchNummer, tr("Nummer"), 50, false},
                                           {Field::BuchVerfasser, tr("Verfasser"), 100, false},
                                           {Field::BuchTitel, tr("Titel"), 100, false}},
                                          ui->DBGrid1);
    auto* loansGrid = new GridBinding(ui->DBGrid1, loansModel);
    loansGrid->applyDesignWidths();
    // Its columns are looked up from the books; the loans cannot be sorted by them.
    ui->DBGrid1->horizontalHeader()->setSectionsClickable(false);

    DialogLook::apply(this, ui->GradientPanel1);

    ui->DBEdit8->installEventFilter(this);
    m_entry = new RecordEntryController(
        m_readers, this,
        {ui->SRColorButton1, ui->BSpeichern, ui->BLoeschen, ui->DBNavigator2Prior, ui->DBNavigator2Next},
        tr("Möchten Sie diesen Leser wirklich löschen?"));
    // A reader with open loans is refused: the loans would stay without a borrower.
    m_entry->setRemover(
        [&data](const std::function<bool()>& ask) { LoanRecords::deleteAfterAsking(data, data.readers(), ask); });
    connect(ui->BSchliessen, &QPushButton::clicked, this, &ReaderEntryDialog::reject);
    connect(ui->SpeedButton5, &QToolButton::clicked, this, [this] { m_main.openManual(); });
    // Also after "NEU" (no loans yet) and after saving a new reader (now with an ID).
    for (auto signal : {&RecordSet::afterScroll, &RecordSet::afterPost, &RecordSet::stateChanged})
        connect(&m_readers, signal, this, [this] {
            if (isVisible())
                guarded(this, [this] { showOpenLoans(); });
        });
}

ReaderEntryDialog::~ReaderEntryDialog() = default;

void ReaderEntryDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    guarded(this, [this] { showOpenLoans(); });
    m_entry->updateNavigator();
}

void ReaderEntryDialog::showOpenLoans()
{
    ReaderEntry::showOpenLoans(m_readers, m_loans);
}

bool ReaderEntryDialog::eventFilter(QObject* watched, QEvent* event)
{
    // Leaving the field for another control of this dialog; not when the window itself loses
    // the focus (a message box, another application).
    if (watched == ui->DBEdit8 && event->type() == QEvent::FocusOut) {
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            guarded(this, [this] { lookUpTown(); });
    }
    return QDialog::eventFilter(watched, event);
}

void ReaderEntryDialog::lookUpTown()
{
    fillTownList(ReaderEntry::lookUpTown(m_readers, m_main.postalCodes(), ui->DBEdit8->text()));
}

void ReaderEntryDialog::fillTownList(const QStringList& towns)
{
    // Filling the list must neither change the record nor the town shown.
    const QSignalBlocker block(ui->CBOrt);
    const QString shown = ui->CBOrt->currentText();
    ui->CBOrt->clear();
    ui->CBOrt->addItems(towns);
    ui->CBOrt->setCurrentIndex(-1);
    ui->CBOrt->setEditText(shown);
}

void ReaderEntryDialog::reject()
{
    if (m_entry->mayClose())
        QDialog::reject();
}

void ReaderEntryDialog::done(int result)
{
    // Back to what the main window's loan lists show.
    guarded(this, [this] { m_main.loanView().restore(); });
    QDialog::done(result);
}
