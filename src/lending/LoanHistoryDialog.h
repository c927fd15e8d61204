#pragma once

#include <QDialog>
#include <memory>

class FieldBinder;
class RecordSetModel;
class LibraryData;
class MainWindowServices;

namespace Ui {
class LoanHistoryDialog;
}

// "Ausleihhistorie": the loans of the current book, headed by its author and title. Dates and
// remarks can be corrected in place; a changed loan is saved when the cursor leaves it or the
// dialog closes, a return date at once (with the book's lent mark). Ctrl+Delete deletes a loan.
class LoanHistoryDialog : public QDialog
{
    Q_OBJECT

public:
    LoanHistoryDialog(LibraryData& data, MainWindowServices& main, QWidget* parent);
    ~LoanHistoryDialog() override;

    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    const std::unique_ptr<Ui::LoanHistoryDialog> ui;
    LibraryData& m_data;
    MainWindowServices& m_main;
    RecordSetModel* m_model = nullptr;
    FieldBinder* m_bookBinder = nullptr;
};
