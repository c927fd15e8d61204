#pragma once

#include <QDialog>
#include <memory>

class QLineEdit;
class TMainform;

namespace Ui {
class TOptionenF;
}

// "Optionen": the library's own names for ten book fields and the remark field. They are stored
// with the database, so every workstation shows them.
class TOptionenF : public QDialog
{
    Q_OBJECT

public:
    explicit TOptionenF(TMainform& main);
    ~TOptionenF() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    struct CaptionEdit
    {
        QLineEdit* edit;
        int captionIndex; // entry of BookFieldCaptions shown and edited
        int line;         // line of the stored text written (0-based)
    };

    void FormShow();
    void Button1Click();

    const std::unique_ptr<Ui::TOptionenF> ui;
    TMainform& m_main;
    QList<CaptionEdit> m_edits;
};
