#include "BookEntryDialog.h"
#include "ui_BookEntryDialog.h"

#include "BookBorrower.h"
#include "FieldCaptions.h"
#include "RecordEntryController.h"
#include "StoredValueLists.h"
#include "common/gui/DialogLook.h"
#include "common/gui/FieldBinder.h"
#include "datastore/LibraryData.h"
#include "datastore/RecordSet.h"
#include "lending/LoanRecords.h"
#include "mainwindow/MainWindowServices.h"

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

BookEntryDialog::BookEntryDialog(LibraryData& data, MainWindowServices& main, QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::BookEntryDialog>()), m_data(data), m_main(main), m_books(data.books()),
      m_binder(new FieldBinder(&m_books, this))
{
    ui->setupUi(this);
    ui->SpeedButton5->setIcon(style()->standardIcon(QStyle::SP_DialogHelpButton));

    m_binder->bind(ui->DBEdit1, Field::Verfasser);
    m_binder->bind(ui->DBEdit2, Field::Titel);
    m_binder->bind(ui->CBVerlag, Field::Verlag);
    m_binder->bind(ui->DBEdit8, Field::Erscheinungsjahr);
    m_binder->bind(ui->CBOrt, Field::Erscheinungsort);
    m_binder->bind(ui->DBEdit9, Field::Auflage);
    m_binder->bind(ui->CBSach, Field::Sachgruppe);
    m_binder->bind(ui->DBEdit6, Field::ISBN);
    m_binder->bind(ui->DBID, Field::Signatur);
    m_binder->bind(ui->CBStand, Field::Standort);
    m_binder->bind(ui->DBEdit3, Field::Preis);
    m_binder->bind(ui->DBMemo1, Field::Bemerkung);
    const auto keywords = keywordCombos();
    for (int i = 0; i < int(keywords.size()); ++i)
        m_binder->bind(keywords[i], Field::schlagwort(i + 1));
    m_binder->bind(ui->DBText1, Field::ID);

    applyCaptions();
    main.onFieldCaptionsApplied([this] { applyCaptions(); });
    // The lists change when they are loaded and after every saved book.
    connect(&main.storedLists(), &StoredValueLists::listsChanged, this, &BookEntryDialog::fillLists);

    DialogLook::apply(this, ui->GradientPanel2);

    m_entry = new RecordEntryController(
        m_books, this, {ui->SRColorButton1, ui->BSpeichern, ui->BLoeschen, ui->DBNavigator2Prior, ui->DBNavigator2Next},
        tr("Möchten Sie dieses Buch wirklich löschen?"));
    // A lent book is refused (who has it would be lost); its returned loans stay as history.
    m_entry->setRemover(
        [this](const std::function<bool()>& ask) { LoanRecords::deleteAfterAsking(m_data, m_books, ask); });
    connect(ui->BSchliessen, &QPushButton::clicked, this, &BookEntryDialog::reject);
    connect(ui->SpeedButton1, &QToolButton::clicked, this, [this] { m_main.openLoanHistory(); });
    connect(ui->SpeedButton5, &QToolButton::clicked, this, [this] { m_main.openManual(); });

    connect(&m_books, &RecordSet::afterScroll, this, [this] {
        if (isVisible())
            showBorrower();
    });
}

BookEntryDialog::~BookEntryDialog() = default;

std::array<QComboBox*, 10> BookEntryDialog::keywordCombos() const
{
    return {ui->CBSchlagwort1, ui->CBSchlagwort2, ui->CBSchlagwort3, ui->CBSchlagwort4, ui->CBSchlagwort5,
            ui->CBSchlagwort6, ui->CBSchlagwort7, ui->CBSchlagwort8, ui->CBSchlagwort9, ui->CBSchlagwort10};
}

void BookEntryDialog::fillLists()
{
    const StoredValueLists& lists = m_main.storedLists();
    for (QComboBox* keyword : keywordCombos()) // all ten on the one keyword list
        setItems(keyword, lists.list(StoredValueLists::Schlagwort));
    setItems(ui->CBOrt, lists.list(StoredValueLists::Erscheinungsort));
    setItems(ui->CBSach, lists.list(StoredValueLists::Sachgruppe));
    setItems(ui->CBStand, lists.list(StoredValueLists::Standort));
    setItems(ui->CBVerlag, lists.list(StoredValueLists::Verlag));
}

void BookEntryDialog::applyCaptions()
{
    const QStringList& captions = FieldCaptions::bookFieldCaptions();
    const std::pair<QLabel*, int> labels[] = {
        {ui->LVerfasser, 1},       {ui->LTitel, 2},   {ui->LVerlag, 3},     {ui->LErcsheinungsjahr, 4},
        {ui->LErscheinungsort, 5}, {ui->LAuflage, 6}, {ui->LSachgruppe, 7}, {ui->LSignatur, 8},
        {ui->LStandort, 9},        {ui->LISBN, 10},   {ui->LPreis, 11},     {ui->LBemerkungen, 12}};
    for (const auto& [label, index] : labels)
        label->setText(captions.at(index));
}

void BookEntryDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    showBorrower();
    m_entry->updateNavigator();
}

void BookEntryDialog::showBorrower()
{
    const QVariant id = m_books.active() && !m_books.isEmpty() ? m_books.value(Field::ID) : QVariant();
    ui->LAusleiher->setText(BookBorrower::show(m_data.loans(), m_data.readers(), id));
}

void BookEntryDialog::reject()
{
    if (m_entry->mayClose())
        QDialog::reject();
}
