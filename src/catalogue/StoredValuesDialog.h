#pragma once

#include "StoredValueLists.h"

#include <QDialog>
#include <memory>

class QListWidget;
class LibraryData;

namespace Ui {
class StoredValuesDialog;
}

// "Gespeicherte Daten ...": the five stored value lists offered by the book entry, with a
// button under each that deletes the selected entry.
class StoredValuesDialog : public QDialog
{
    Q_OBJECT

public:
    StoredValuesDialog(LibraryData& data, QWidget* parent);
    ~StoredValuesDialog() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    struct ListView
    {
        QListWidget* list;
        StoredValueLists::List which;
        bool sorted;
    };

    void loadLists();
    void deleteSelected(const ListView& view);

    const std::unique_ptr<Ui::StoredValuesDialog> ui;
    LibraryData& m_data;
    QList<ListView> m_views;
};
