#pragma once

#include <QDialog>
#include <memory>

class TMainform;

namespace Ui {
class TAusleiheBuchenF;
}

// "Ausleihe buchen": lends a book that is not lent to a reader. Narrows the main window's readers
// and books while the user types; the filters are switched off again however the dialog closes.
class TAusleiheBuchenF : public QDialog
{
    Q_OBJECT

public:
    explicit TAusleiheBuchenF(TMainform& main);
    ~TAusleiheBuchenF() override;

    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormShow();
    void FormClose();
    void DTPVonChange();
    void BBuchenClick();

    const std::unique_ptr<Ui::TAusleiheBuchenF> ui;
    TMainform& m_main;
};
