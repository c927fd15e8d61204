#pragma once

#include "mainwindow/StoredValueLists.h"

#include <QDialog>
#include <memory>

class QListWidget;
class TMainform;

namespace Ui {
class TSpeicherwerteLoeschenF;
}

// "Gespeicherte Daten ...": the five stored value lists offered by the book entry, with a
// button under each that deletes the selected entry.
class TSpeicherwerteLoeschenF : public QDialog
{
    Q_OBJECT

public:
    explicit TSpeicherwerteLoeschenF(TMainform& main);
    ~TSpeicherwerteLoeschenF() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    struct ListView
    {
        QListWidget* list;
        StoredValueLists::List which;
        bool sorted;
    };

    void FormShow();
    void loadLists();
    void deleteSelected(const ListView& view);

    const std::unique_ptr<Ui::TSpeicherwerteLoeschenF> ui;
    TMainform& m_main;
    QList<ListView> m_views;
};
