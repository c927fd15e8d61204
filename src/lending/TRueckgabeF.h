#pragma once

#include <QDialog>
#include <memory>

class TMainform;

namespace Ui {
class TRueckgabeF;
}

// "Buchrückgabe": books the return of a lent book. Narrows the main window's books to the lent
// ones while open; the filters are switched off again however the dialog closes.
class TRueckgabeF : public QDialog
{
    Q_OBJECT

public:
    explicit TRueckgabeF(TMainform& main);
    ~TRueckgabeF() override;

    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormShow();
    void FormClose();
    void BBuchenClick();

    const std::unique_ptr<Ui::TRueckgabeF> ui;
    TMainform& m_main;
};
