#pragma once

#include <QDialog>
#include <memory>

class LibraryData;

namespace Ui {
class ClearLoansDialog;
}

// "Ausleihliste löschen": deletes the returned loans up to a chosen return day. The day is kept
// for the rest of the run.
class ClearLoansDialog : public QDialog
{
    Q_OBJECT

public:
    ClearLoansDialog(LibraryData& data, QWidget* parent);
    ~ClearLoansDialog() override;

private:
    void clearLoans();

    const std::unique_ptr<Ui::ClearLoansDialog> ui;
    LibraryData& m_data;
};
