#pragma once

#include <QDialog>
#include <QStringList>
#include <QVariant>
#include <memory>

class FieldBinder;
class PostalCodes;
class RecordSet;
class TMainform;

namespace Ui {
class TLeserEingebenF;
}

// The steps of the reader entry that need no window.
namespace ReaderEntry {

// Filter of the loans record set for the reader's open loans; "" for a reader without ID.
QString openLoansFilter(const QVariant& readerId);
// Narrows the loans to the current reader's open loans. A reader not saved yet has no ID: the
// loans then stay as they are.
void showOpenLoans(RecordSet& readers, RecordSet& loans);
// The postal-code lookup for `code` as typed: gives the towns to offer (table order). When
// there are some, the reader is being edited and has no town yet, the first becomes the
// reader's Ort; an existing town is never overwritten.
QStringList lookUpTown(RecordSet& readers, const PostalCodes& codes, const QString& code);

} // namespace ReaderEntry

// "Leserverwaltung": enters, changes and deletes readers, one at a time, on the main window's
// readers record set, and lists the current reader's open loans.
class TLeserEingebenF : public QDialog
{
    Q_OBJECT

public:
    explicit TLeserEingebenF(TMainform& main);
    ~TLeserEingebenF() override;

    // Every way of closing (Schließen, Escape, the close box) comes here.
    void reject() override;
    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void DBEdit8Exit();
    void SRColorButton1Click();
    void BSpeichernClick();
    void BLoeschenClick();
    void SpeedButton5Click();
    bool FormCloseQuery();
    void FormClose();
    void ClientLeserAfterScroll();
    void fillTownList(const QStringList& towns);
    void updateNavigator();

    const std::unique_ptr<Ui::TLeserEingebenF> ui;
    TMainform& m_main;
    RecordSet& m_readers;
    RecordSet& m_loans;
    FieldBinder* m_binder;
};
