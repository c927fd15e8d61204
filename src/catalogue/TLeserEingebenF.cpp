#include "TLeserEingebenF.h"
#include "ui_TLeserEingebenF.h"

#include "PostalCodes.h"
#include "common/gui/DialogLook.h"
#include "common/gui/ErrorGuard.h"
#include "common/gui/FieldBinder.h"
#include "common/gui/GridBinding.h"
#include "common/gui/HelpManual.h"
#include "common/gui/Messages.h"
#include "datastore/LibraryData.h"
#include "datastore/RecordSet.h"
#include "datastore/RecordSetModel.h"
#include "mainwindow/TMainform.h"

#include <QFocusEvent>
#include <QHeaderView>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QTabWidget>

namespace {
constexpr int OverdueTab = 3;
}

// ---------------------------------------------------------------- steps without a window

namespace ReaderEntry {

QString openLoansFilter(const QVariant& readerId)
{
    if (readerId.isNull())
        return {};
    return QStringLiteral("LeserID = %1 and DatumBis = NULL").arg(readerId.toLongLong());
}

void showOpenLoans(RecordSet& readers, RecordSet& loans)
{
    if (!readers.active() || !loans.active() || readers.isEmpty())
        return;
    const QString filter = openLoansFilter(readers.value(QStringLiteral("ID")));
    if (filter.isEmpty())
        return;
    loans.setFilter(filter);
    loans.setFiltered(true);
}

QStringList lookUpTown(RecordSet& readers, const PostalCodes& codes, const QString& code)
{
    const QStringList towns = codes.towns(code);
    if (towns.isEmpty() || !readers.active() || readers.isEmpty())
        return towns;
    const QString ort = QStringLiteral("Ort");
    if (!readers.text(ort).isEmpty())
        return towns;
    if (readers.isEditing())
        readers.setText(ort, towns.first());
    return towns;
}

} // namespace ReaderEntry

// ---------------------------------------------------------------- the dialog

TLeserEingebenF::TLeserEingebenF(TMainform& main)
    : QDialog(&main), ui(std::make_unique<Ui::TLeserEingebenF>()), m_main(main), m_readers(main.data().ClientLeser()),
      m_loans(main.data().ClientAusleihe()), m_binder(new FieldBinder(&m_readers, this))
{
    ui->setupUi(this);

    m_binder->bind(ui->DBEdit1, QStringLiteral("Vorname"));
    m_binder->bind(ui->DBEdit2, QStringLiteral("Nachname"));
    m_binder->bind(ui->DBEdit3, QStringLiteral("Straße"));
    m_binder->bind(ui->DBEdit8, QStringLiteral("PLZ"));
    m_binder->bind(ui->CBOrt, QStringLiteral("Ort"));
    m_binder->bind(ui->DBEdit5, QStringLiteral("Telefon"));
    m_binder->bind(ui->DBEdit9, QStringLiteral("eMail"));
    m_binder->bind(ui->DBEdit6, QStringLiteral("Sonstiges1"));
    m_binder->bind(ui->DBMemo1, QStringLiteral("Bemerkung"));
    m_binder->bind(ui->DBText1, QStringLiteral("ID"));

    auto* loansModel = new RecordSetModel(&m_loans,
                                          {{QStringLiteral("BuchNummer"), tr("Nummer"), 50, false},
                                           {QStringLiteral("BuchVerfasser"), tr("Verfasser"), 100, false},
                                           {QStringLiteral("BuchTitel"), tr("Titel"), 100, false}},
                                          ui->DBGrid1);
    auto* loansGrid = new GridBinding(ui->DBGrid1, loansModel);
    loansGrid->applyDesignWidths();
    // Its columns are looked up from the books; the loans cannot be sorted by them.
    ui->DBGrid1->horizontalHeader()->setSectionsClickable(false);

    DialogLook::apply(this, ui->GradientPanel1);

    ui->DBEdit8->installEventFilter(this);
    connect(ui->SRColorButton1, &QPushButton::clicked, this, &TLeserEingebenF::SRColorButton1Click);
    connect(ui->BSpeichern, &QPushButton::clicked, this, &TLeserEingebenF::BSpeichernClick);
    connect(ui->BLoeschen, &QPushButton::clicked, this, &TLeserEingebenF::BLoeschenClick);
    connect(ui->BSchliessen, &QPushButton::clicked, this, &TLeserEingebenF::reject);
    connect(ui->SpeedButton5, &QToolButton::clicked, this, &TLeserEingebenF::SpeedButton5Click);
    connect(ui->DBNavigator2Prior, &QToolButton::clicked, this,
            [this] { guarded(this, [this] { m_readers.prior(); }); });
    connect(ui->DBNavigator2Next, &QToolButton::clicked, this, [this] { guarded(this, [this] { m_readers.next(); }); });

    connect(&m_readers, &RecordSet::afterScroll, this, &TLeserEingebenF::ClientLeserAfterScroll);
    connect(&m_readers, &RecordSet::afterScroll, this, &TLeserEingebenF::updateNavigator);
    connect(&m_readers, &RecordSet::reset, this, &TLeserEingebenF::updateNavigator);
    connect(&m_readers, &RecordSet::stateChanged, this, &TLeserEingebenF::updateNavigator);
    connect(&m_readers, &RecordSet::rowRemoved, this, &TLeserEingebenF::updateNavigator);
    updateNavigator();
}

TLeserEingebenF::~TLeserEingebenF() = default;

void TLeserEingebenF::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    guarded(this, [this] { ReaderEntry::showOpenLoans(m_readers, m_loans); });
    updateNavigator();
}

void TLeserEingebenF::ClientLeserAfterScroll()
{
    if (isVisible())
        guarded(this, [this] { ReaderEntry::showOpenLoans(m_readers, m_loans); });
}

void TLeserEingebenF::updateNavigator()
{
    const bool any = m_readers.active() && !m_readers.isEmpty();
    ui->DBNavigator2Prior->setEnabled(any && m_readers.recNo() > 1);
    ui->DBNavigator2Next->setEnabled(any && m_readers.recNo() < m_readers.recordCount());
}

bool TLeserEingebenF::eventFilter(QObject* watched, QEvent* event)
{
    // Leaving the field for another control of this dialog; not when the window itself loses
    // the focus (a message box, another application).
    if (watched == ui->DBEdit8 && event->type() == QEvent::FocusOut) {
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            DBEdit8Exit();
    }
    return QDialog::eventFilter(watched, event);
}

void TLeserEingebenF::DBEdit8Exit()
{
    guarded(this,
            [this] { fillTownList(ReaderEntry::lookUpTown(m_readers, m_main.postalCodes(), ui->DBEdit8->text())); });
}

void TLeserEingebenF::fillTownList(const QStringList& towns)
{
    // Filling the list must neither change the record nor the town shown.
    const QSignalBlocker block(ui->CBOrt);
    const QString shown = ui->CBOrt->currentText();
    ui->CBOrt->clear();
    ui->CBOrt->addItems(towns);
    ui->CBOrt->setCurrentIndex(-1);
    ui->CBOrt->setEditText(shown);
}

void TLeserEingebenF::SRColorButton1Click()
{
    guarded(this, [this] { m_readers.insert(); });
}

void TLeserEingebenF::BSpeichernClick()
{
    guarded(this, [this] {
        if (m_readers.isEditing())
            m_readers.post();
    });
}

void TLeserEingebenF::BLoeschenClick()
{
    guarded(this, [this] {
        if (!m_readers.active() || m_readers.isEmpty())
            return;
        const QVariant id = m_readers.value(QStringLiteral("ID"));
        if (Messages::ask(this, tr("Möchten Sie diesen Leser wirklich löschen?"), Messages::Buttons::YesNo) !=
            Messages::Answer::Yes)
            return;
        // The reader asked about, even if the cursor moved meanwhile.
        if (!id.isNull() && m_readers.value(QStringLiteral("ID")) != id &&
            !m_readers.locate(QStringLiteral("ID"), {id}))
            return;
        m_readers.deleteRecord();
    });
}

void TLeserEingebenF::SpeedButton5Click()
{
    HelpManual::open(HelpManual::NetManual);
}

void TLeserEingebenF::reject()
{
    if (FormCloseQuery())
        QDialog::reject();
}

bool TLeserEingebenF::FormCloseQuery()
{
    if (!m_readers.active() || !m_readers.isEditing())
        return true;
    switch (Messages::ask(this, tr("Änderungen speichern beim aktuellen Datensatz?"), Messages::Buttons::YesNoCancel)) {
    case Messages::Answer::Yes:
        return guarded(this, [this] { m_readers.post(); }); // a failed save keeps the dialog open
    case Messages::Answer::No:
        return guarded(this, [this] { m_readers.cancel(); });
    default:
        return false;
    }
}

void TLeserEingebenF::done(int result)
{
    FormClose();
    QDialog::done(result);
}

void TLeserEingebenF::FormClose()
{
    guarded(this, [this] {
        if (!m_loans.active())
            return;
        m_loans.setFiltered(false);
        // On the overdue tab the main window shows the overdue loans, not all of them.
        if (m_main.PageControl1()->currentIndex() == OverdueTab) {
            m_loans.setFilter(TMainform::overdueFilter());
            m_loans.setFiltered(true);
        }
    });
}
