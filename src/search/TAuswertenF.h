#pragma once

#include <QDialog>
#include <memory>

class RecordSet;
class RecordSetModel;
class TMainform;

namespace Ui {
class TAuswertenF;
}

// "Auswerten": narrows and sorts the main window's books by a field value or a keyword and
// counts the hits. The narrowed books are what the main window and the book printing show
// while the dialog is open; closing it lifts the narrowing.
class TAuswertenF : public QDialog
{
    Q_OBJECT

public:
    explicit TAuswertenF(TMainform& main);
    ~TAuswertenF() override;

    // Every way of closing (close box, Escape) ends here.
    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormShow();
    void FormClose();
    void BAnzeigenClick();
    void Button1Click();
    void DBGrid1TitleClick(int column);
    void SpeedButton3Click();
    void applyCaptions();
    RecordSet& books() const;

    const std::unique_ptr<Ui::TAuswertenF> ui;
    TMainform& m_main;
    RecordSetModel* m_model;
};
