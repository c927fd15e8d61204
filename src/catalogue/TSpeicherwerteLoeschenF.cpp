#include "TSpeicherwerteLoeschenF.h"
#include "ui_TSpeicherwerteLoeschenF.h"

#include "StoredListEditing.h"
#include "common/gui/DialogLook.h"
#include "common/gui/ErrorGuard.h"
#include "datastore/LibraryData.h"
#include "mainwindow/TMainform.h"

#include <QShowEvent>

TSpeicherwerteLoeschenF::TSpeicherwerteLoeschenF(TMainform& main)
    : QDialog(&main), ui(std::make_unique<Ui::TSpeicherwerteLoeschenF>()), m_main(main)
{
    ui->setupUi(this);
    m_views = {{ui->LBSchlagworte, StoredValueLists::Schlagwort, true},
               {ui->LBVerlag, StoredValueLists::Verlag, false},
               {ui->LBErscheinungsort, StoredValueLists::Erscheinungsort, false},
               {ui->LBSachgruppe, StoredValueLists::Sachgruppe, false},
               {ui->LBStandort, StoredValueLists::Standort, false}};
    DialogLook::apply(this, ui->GradientPanel1);

    QPushButton* buttons[] = {ui->SRColorButton1, ui->SRColorButton2, ui->SRColorButton3, ui->SRColorButton4,
                              ui->SRColorButton5};
    for (int i = 0; i < 5; ++i)
        connect(buttons[i], &QPushButton::clicked, this, [this, i] { deleteSelected(m_views.at(i)); });
    connect(ui->BSchliessen, &QPushButton::clicked, this, &QDialog::reject);
}

TSpeicherwerteLoeschenF::~TSpeicherwerteLoeschenF() = default;

void TSpeicherwerteLoeschenF::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TSpeicherwerteLoeschenF::FormShow()
{
    guarded(this, [this] {
        m_main.data().ClientBlob().requery();
        loadLists();
    });
}

void TSpeicherwerteLoeschenF::loadLists()
{
    const RecordSet& blob = m_main.data().ClientBlob();
    for (const ListView& v : m_views) {
        const QStringList entries = StoredListEditing::storedList(blob, v.which);
        v.list->clear();
        v.list->addItems(v.sorted ? StoredListEditing::sortedAlphabetically(entries) : entries);
    }
}

void TSpeicherwerteLoeschenF::deleteSelected(const ListView& view)
{
    QListWidgetItem* selected = view.list->currentItem();
    if (!selected || !selected->isSelected())
        return;
    const QString text = selected->text();
    guarded(this, [&] {
        ui->LBTEMP->clear();
        ui->LBTEMP->addItems(StoredListEditing::removeEntry(m_main.data(), view.which, text));
    });
    // Whatever happened, show what is stored now.
    guarded(this, [this] { loadLists(); });
}
