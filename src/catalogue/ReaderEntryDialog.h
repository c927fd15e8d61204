#pragma once

#include <QDialog>
#include <QStringList>
#include <memory>

class FieldBinder;
class LibraryData;
class MainWindowServices;
class RecordEntryController;
class RecordSet;

namespace Ui {
class ReaderEntryDialog;
}

// "Leserverwaltung": enters, changes and deletes readers, one at a time, on the main window's
// readers record set, and lists the current reader's open loans.
class ReaderEntryDialog : public QDialog
{
    Q_OBJECT

public:
    ReaderEntryDialog(LibraryData& data, MainWindowServices& main, QWidget* parent);
    ~ReaderEntryDialog() override;

    // Every way of closing (Schließen, Escape, the close box) comes here.
    void reject() override;
    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showOpenLoans();
    void lookUpTown();
    void fillTownList(const QStringList& towns);

    const std::unique_ptr<Ui::ReaderEntryDialog> ui;
    MainWindowServices& m_main;
    RecordSet& m_readers;
    RecordSet& m_loans;
    FieldBinder* m_binder;
    RecordEntryController* m_entry;
};
