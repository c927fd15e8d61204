#pragma once

#include "BookingDialog.h"

#include <memory>

class LibraryData;

namespace Ui {
class LendDialog;
}

// "Ausleihe buchen": lends a book that is not lent to a reader. Narrows the main window's readers
// and books while the user types; the filters are switched off again however the dialog closes.
class LendDialog : public BookingDialog
{
    Q_OBJECT

public:
    LendDialog(LibraryData& data, QWidget* parent);
    ~LendDialog() override;

private:
    void prepare() override;
    Outcome book(QString* refusal) override;
    void updateDueDate();

    const std::unique_ptr<Ui::LendDialog> ui;
};
