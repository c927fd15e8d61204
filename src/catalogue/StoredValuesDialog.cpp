#include "StoredValuesDialog.h"
#include "ui_StoredValuesDialog.h"

#include "StoredListEditing.h"
#include "common/gui/DialogLook.h"
#include "common/gui/ErrorGuard.h"
#include "datastore/LibraryData.h"

#include <QShowEvent>

StoredValuesDialog::StoredValuesDialog(LibraryData& data, QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::StoredValuesDialog>()), m_data(data)
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

StoredValuesDialog::~StoredValuesDialog() = default;

void StoredValuesDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    guarded(this, [this] {
        m_data.blob().requery();
        loadLists();
    });
}

void StoredValuesDialog::loadLists()
{
    const RecordSet& blob = m_data.blob();
    for (const ListView& v : m_views) {
        const QStringList entries = StoredListEditing::storedList(blob, v.which);
        v.list->clear();
        v.list->addItems(v.sorted ? StoredListEditing::sortedAlphabetically(entries) : entries);
    }
}

void StoredValuesDialog::deleteSelected(const ListView& view)
{
    QListWidgetItem* selected = view.list->currentItem();
    if (!selected || !selected->isSelected())
        return;
    const QString text = selected->text();
    guarded(this, [&] {
        ui->LBTEMP->clear();
        ui->LBTEMP->addItems(StoredListEditing::removeEntry(m_data, view.which, text));
    });
    // Whatever happened, show what is stored now.
    guarded(this, [this] { loadLists(); });
}
