#pragma once

#include "BookingDialog.h"

#include <memory>

class LibraryData;

namespace Ui {
class ReturnDialog;
}

// "Buchrückgabe": books the return of a lent book. Narrows the main window's books to the lent
// ones while open; the filter is switched off again however the dialog closes.
class ReturnDialog : public BookingDialog
{
    Q_OBJECT

public:
    ReturnDialog(LibraryData& data, QWidget* parent);
    ~ReturnDialog() override;

private:
    // A book marked as lent without an open loan: says so and offers to mark it available.
    Outcome offerToMarkAvailable();
    void prepare() override;
    Outcome book(QString* refusal) override;

    const std::unique_ptr<Ui::ReturnDialog> ui;
};
