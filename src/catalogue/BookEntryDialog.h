#pragma once

#include <QDialog>
#include <array>
#include <memory>

class FieldBinder;
class LibraryData;
class MainWindowServices;
class QComboBox;
class RecordEntryController;
class RecordSet;

namespace Ui {
class BookEntryDialog;
}

// "Bücher eingeben": enters, changes and deletes one book at a time. Every control shows the
// current record of the main window's books, so the dialog's navigator moves the main window's
// cursor. The combo boxes offer the stored value lists.
class BookEntryDialog : public QDialog
{
    Q_OBJECT

public:
    BookEntryDialog(LibraryData& data, MainWindowServices& main, QWidget* parent);
    ~BookEntryDialog() override;

    // Escape, the close box and "Schließen" all end here, behind the close question.
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    std::array<QComboBox*, 10> keywordCombos() const;
    void applyCaptions();
    void fillLists();
    void showBorrower();

    const std::unique_ptr<Ui::BookEntryDialog> ui;
    LibraryData& m_data;
    MainWindowServices& m_main;
    RecordSet& m_books;
    FieldBinder* m_binder;
    RecordEntryController* m_entry;
};
