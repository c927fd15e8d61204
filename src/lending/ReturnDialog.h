#pragma once

#include <QDialog>
#include <memory>

class LibraryData;
class RecordPicker;

namespace Ui {
class ReturnDialog;
}

// "Buchrückgabe": books the return of a lent book. Narrows the main window's books to the lent
// ones while open; the filters are switched off again however the dialog closes.
class ReturnDialog : public QDialog
{
    Q_OBJECT

public:
    ReturnDialog(LibraryData& data, QWidget* parent);
    ~ReturnDialog() override;

    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void prepare();
    void returnBook();

    const std::unique_ptr<Ui::ReturnDialog> ui;
    LibraryData& m_data;
    RecordPicker* m_books;
};
