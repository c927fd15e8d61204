#pragma once

#include <QDialog>
#include <memory>

class RecordSet;
class RecordSetModel;
class LibraryData;
class MainWindowServices;

namespace Ui {
class CatalogueSearchDialog;
}

// "Auswerten": narrows and sorts the main window's books by a field value or a keyword and
// counts the hits. The narrowed books are what the main window and the book printing show
// while the dialog is open; closing it lifts the narrowing.
class CatalogueSearchDialog : public QDialog
{
    Q_OBJECT

public:
    CatalogueSearchDialog(LibraryData& data, MainWindowServices& main, QWidget* parent);
    ~CatalogueSearchDialog() override;

    // Every way of closing (close box, Escape) ends here.
    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void prepare();
    void liftNarrowing();
    void search();
    void showAllSorted();
    void sortByColumn(int column);
    void applyCaptions();
    RecordSet& books() const;

    const std::unique_ptr<Ui::CatalogueSearchDialog> ui;
    LibraryData& m_data;
    MainWindowServices& m_main;
    RecordSetModel* m_model;
};
