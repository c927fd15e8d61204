#pragma once

#include <QDialog>
#include <array>
#include <memory>

class FieldBinder;
class QComboBox;
class RecordSet;
class TMainform;

namespace Ui {
class TDB1EingabeF;
}

// "Bücher eingeben": enters, changes and deletes one book at a time. Every control shows the
// current record of the main window's books, so the dialog's navigator moves the main window's
// cursor. The combo boxes offer the stored value lists.
class TDB1EingabeF : public QDialog
{
    Q_OBJECT

public:
    explicit TDB1EingabeF(TMainform& main);
    ~TDB1EingabeF() override;

    // Loads the stored value lists into the combo boxes (re-reading them first).
    void FillBookEntryLists();

    // Escape, the close box and "Schließen" all end here, behind the close question.
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    bool FormCloseQuery();
    std::array<QComboBox*, 10> keywordCombos() const;
    void applyCaptions();
    void fillLists();
    void showBorrower();
    void updateNavigator();

    void BNeuClick();
    void Button3Click();
    void Button4Click();
    void SpeedButton1Click();
    void SpeedButton3Click();

    const std::unique_ptr<Ui::TDB1EingabeF> ui;
    TMainform& m_main;
    RecordSet& m_books;
    FieldBinder* m_binder;
};
