#pragma once

#include "ImportSession.h"

#include <QDialog>
#include <memory>

class LibraryData;
class QTableWidget;
class StoredValueLists;

namespace Ui {
class ImportWizard;
}

// The import wizard for books ("TWizzardF") and for readers ("TWizzardLeserF"): page 1 chooses
// the source and shows it, page 2 assigns its fields to the target rows; " Abschluss" imports.
// Source, options and assignments are kept for the program's run.
class ImportWizard : public QDialog
{
    Q_OBJECT

public:
    ImportWizard(ImportTarget::Kind kind, LibraryData& data, StoredValueLists& lists, QWidget* parent);
    ~ImportWizard() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void chooseSource();
    void loadSource();
    void showPreview();
    void showMapping();
    void showPage(int page);
    void nextPage();
    void assignSelected();
    void removeSelected();
    void runImport();

    const std::unique_ptr<Ui::ImportWizard> ui;
    LibraryData& m_data;
    StoredValueLists& m_lists;
    ImportSession m_session;
};
