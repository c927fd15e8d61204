#include "TDB1EingabeF.h"
#include "ui_TDB1EingabeF.h"

#include "BookBorrower.h"
#include "common/gui/DialogLook.h"
#include "common/gui/ErrorGuard.h"
#include "common/gui/FieldBinder.h"
#include "common/gui/HelpManual.h"
#include "common/gui/Messages.h"
#include "datastore/LibraryData.h"
#include "datastore/RecordSet.h"
#include "lending/TAusleihhistorieF.h"
#include "mainwindow/FieldCaptions.h"
#include "mainwindow/StoredValueLists.h"
#include "mainwindow/TMainform.h"
#include "mainwindow/WindowSet.h"

#include <QLineEdit>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QStyle>

namespace {

// Replaces a combo box's item list; neither the text shown nor the record changes.
void setItems(QComboBox* combo, const QStringList& items)
{
    QLineEdit* edit = combo->lineEdit();
    const QSignalBlocker blockCombo(combo);
    const QSignalBlocker blockEdit(edit);
    const QString shown = combo->currentText();
    const int cursor = edit ? edit->cursorPosition() : 0;
    combo->clear();
    combo->addItems(items);
    combo->setCurrentIndex(-1);
    combo->setEditText(shown);
    if (edit)
        edit->setCursorPosition(cursor);
}

} // namespace

TDB1EingabeF::TDB1EingabeF(TMainform& main)
    : QDialog(&main), ui(std::make_unique<Ui::TDB1EingabeF>()), m_main(main), m_books(main.data().ClientBuecher()),
      m_binder(new FieldBinder(&m_books, this))
{
    ui->setupUi(this);
    ui->SpeedButton5->setIcon(style()->standardIcon(QStyle::SP_DialogHelpButton));

    m_binder->bind(ui->DBEdit1, QStringLiteral("Verfasser"));
    m_binder->bind(ui->DBEdit2, QStringLiteral("Titel"));
    m_binder->bind(ui->CBVerlag, QStringLiteral("Verlag"));
    m_binder->bind(ui->DBEdit8, QStringLiteral("Erscheinungsjahr"));
    m_binder->bind(ui->CBOrt, QStringLiteral("Erscheinungsort"));
    m_binder->bind(ui->DBEdit9, QStringLiteral("Auflage"));
    m_binder->bind(ui->CBSach, QStringLiteral("Sachgruppe"));
    m_binder->bind(ui->DBEdit6, QStringLiteral("ISBN"));
    m_binder->bind(ui->DBID, QStringLiteral("Signatur"));
    m_binder->bind(ui->CBStand, QStringLiteral("Standort"));
    m_binder->bind(ui->DBEdit3, QStringLiteral("Preis"));
    m_binder->bind(ui->DBMemo1, QStringLiteral("Bemerkung"));
    const auto keywords = keywordCombos();
    for (int i = 0; i < int(keywords.size()); ++i)
        m_binder->bind(keywords[i], QStringLiteral("Schlagwort%1").arg(i + 1));
    m_binder->bind(ui->DBText1, QStringLiteral("ID"));

    applyCaptions();
    main.onFieldCaptionsApplied([this] { applyCaptions(); });
    // The lists change when they are loaded and after every saved book.
    connect(&main.storedLists(), &StoredValueLists::listsChanged, this, &TDB1EingabeF::fillLists);

    DialogLook::apply(this, ui->GradientPanel2);

    connect(ui->SRColorButton1, &QPushButton::clicked, this, &TDB1EingabeF::BNeuClick);
    connect(ui->BSpeichern, &QPushButton::clicked, this, &TDB1EingabeF::Button3Click);
    connect(ui->BLoeschen, &QPushButton::clicked, this, &TDB1EingabeF::Button4Click);
    connect(ui->BSchliessen, &QPushButton::clicked, this, &TDB1EingabeF::reject);
    connect(ui->SpeedButton1, &QToolButton::clicked, this, &TDB1EingabeF::SpeedButton1Click);
    connect(ui->SpeedButton5, &QToolButton::clicked, this, &TDB1EingabeF::SpeedButton3Click);
    connect(ui->DBNavigator2Prior, &QToolButton::clicked, this, [this] { guarded(this, [this] { m_books.prior(); }); });
    connect(ui->DBNavigator2Next, &QToolButton::clicked, this, [this] { guarded(this, [this] { m_books.next(); }); });

    connect(&m_books, &RecordSet::afterScroll, this, [this] {
        if (isVisible())
            showBorrower();
    });
    for (auto signal : {&RecordSet::afterScroll, &RecordSet::reset, &RecordSet::stateChanged})
        connect(&m_books, signal, this, &TDB1EingabeF::updateNavigator);
    connect(&m_books, &RecordSet::rowRemoved, this, &TDB1EingabeF::updateNavigator);
    updateNavigator();
}

TDB1EingabeF::~TDB1EingabeF() = default;

std::array<QComboBox*, 10> TDB1EingabeF::keywordCombos() const
{
    return {ui->CBSchlagwort1, ui->CBSchlagwort2, ui->CBSchlagwort3, ui->CBSchlagwort4, ui->CBSchlagwort5,
            ui->CBSchlagwort6, ui->CBSchlagwort7, ui->CBSchlagwort8, ui->CBSchlagwort9, ui->CBSchlagwort10};
}

void TDB1EingabeF::FillBookEntryLists()
{
    m_main.storedLists().reload(); // fills the combo boxes through listsChanged
}

void TDB1EingabeF::fillLists()
{
    const StoredValueLists& lists = m_main.storedLists();
    for (QComboBox* keyword : keywordCombos()) // all ten on the one keyword list
        setItems(keyword, lists.list(StoredValueLists::Schlagwort));
    setItems(ui->CBOrt, lists.list(StoredValueLists::Erscheinungsort));
    setItems(ui->CBSach, lists.list(StoredValueLists::Sachgruppe));
    setItems(ui->CBStand, lists.list(StoredValueLists::Standort));
    setItems(ui->CBVerlag, lists.list(StoredValueLists::Verlag));
}

void TDB1EingabeF::applyCaptions()
{
    const QStringList& captions = FieldCaptions::BookFieldCaptions();
    const std::pair<QLabel*, int> labels[] = {
        {ui->LVerfasser, 1},       {ui->LTitel, 2},   {ui->LVerlag, 3},     {ui->LErcsheinungsjahr, 4},
        {ui->LErscheinungsort, 5}, {ui->LAuflage, 6}, {ui->LSachgruppe, 7}, {ui->LSignatur, 8},
        {ui->LStandort, 9},        {ui->LISBN, 10},   {ui->LPreis, 11},     {ui->LBemerkungen, 12}};
    for (const auto& [label, index] : labels)
        label->setText(captions.at(index));
}

void TDB1EingabeF::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    showBorrower();
    updateNavigator();
}

void TDB1EingabeF::showBorrower()
{
    LibraryData& data = m_main.data();
    const QVariant id = m_books.active() && !m_books.isEmpty() ? m_books.value(QStringLiteral("ID")) : QVariant();
    ui->LAusleiher->setText(BookBorrower::show(data.ClientAusleihe(), data.ClientLeser(), id));
}

void TDB1EingabeF::updateNavigator()
{
    const bool any = m_books.active() && !m_books.isEmpty();
    ui->DBNavigator2Prior->setEnabled(any && m_books.recNo() > 1);
    ui->DBNavigator2Next->setEnabled(any && m_books.recNo() < m_books.recordCount());
}

void TDB1EingabeF::BNeuClick()
{
    guarded(this, [this] { m_books.insert(); });
}

void TDB1EingabeF::Button3Click()
{
    guarded(this, [this] {
        if (m_books.isEditing())
            m_books.post();
    });
}

void TDB1EingabeF::Button4Click()
{
    guarded(this, [this] {
        if (!m_books.active() || m_books.isEmpty())
            return;
        const QVariant id = m_books.value(QStringLiteral("ID"));
        if (Messages::ask(this, tr("Möchten Sie dieses Buch wirklich löschen?"), Messages::Buttons::YesNo) !=
            Messages::Answer::Yes)
            return;
        // The book asked about, even if the cursor moved meanwhile.
        if (!id.isNull() && m_books.value(QStringLiteral("ID")) != id && !m_books.locate(QStringLiteral("ID"), {id}))
            return;
        m_books.deleteRecord(); // its loans stay: they are the lending history
    });
}

void TDB1EingabeF::SpeedButton1Click()
{
    if (WindowSet* windows = m_main.windows(); windows && windows->AusleihhistorieF)
        windows->AusleihhistorieF->exec();
}

void TDB1EingabeF::SpeedButton3Click()
{
    HelpManual::open(HelpManual::NetManual);
}

void TDB1EingabeF::reject()
{
    if (FormCloseQuery())
        QDialog::reject();
}

bool TDB1EingabeF::FormCloseQuery()
{
    if (!m_books.active() || !m_books.isEditing())
        return true;
    switch (Messages::ask(this, tr("Änderungen speichern beim aktuellen Datensatz?"), Messages::Buttons::YesNoCancel)) {
    case Messages::Answer::Yes:
        return guarded(this, [this] { m_books.post(); }); // a failed save keeps the dialog open
    case Messages::Answer::No:
        return guarded(this, [this] { m_books.cancel(); });
    default:
        return false;
    }
}
