#pragma once

#include <QDialog>
#include <memory>

class LibraryData;
class RecordPicker;

namespace Ui {
class LendDialog;
}

// "Ausleihe buchen": lends a book that is not lent to a reader. Narrows the main window's readers
// and books while the user types; the filters are switched off again however the dialog closes.
class LendDialog : public QDialog
{
    Q_OBJECT

public:
    LendDialog(LibraryData& data, QWidget* parent);
    ~LendDialog() override;

    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void prepare();
    void updateDueDate();
    void bookLoan();

    const std::unique_ptr<Ui::LendDialog> ui;
    LibraryData& m_data;
    RecordPicker* m_readers;
    RecordPicker* m_books;
};
