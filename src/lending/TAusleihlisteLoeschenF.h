#pragma once

#include <QDialog>
#include <memory>

class TMainform;

namespace Ui {
class TAusleihlisteLoeschenF;
}

// "Ausleihliste löschen": deletes the returned loans up to a chosen return day. The day is kept
// for the rest of the run.
class TAusleihlisteLoeschenF : public QDialog
{
    Q_OBJECT

public:
    explicit TAusleihlisteLoeschenF(TMainform& main);
    ~TAusleihlisteLoeschenF() override;

private:
    void Button1Click();

    const std::unique_ptr<Ui::TAusleihlisteLoeschenF> ui;
    TMainform& m_main;
};
