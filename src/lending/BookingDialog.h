#pragma once

#include <QDialog>
#include <QList>
#include <QVariant>

class LibraryData;
class QAbstractButton;
class QLabel;
class QWidget;
class RecordPicker;

// What the lend and return dialogs share: pick lists over the main window's record sets, the
// "EINGETRAGEN" label that confirms a booking, the buttons "Buchen", "Schließen" and help, the
// show step, and lifting every narrowing however the dialog closes.
class BookingDialog : public QDialog
{
    Q_OBJECT

public:
    // Every way of closing (button, Escape, the window's close box) passes here.
    void done(int result) override;

protected:
    BookingDialog(LibraryData& data, QWidget* parent);

    LibraryData& m_data;

    struct Controls
    {
        QLabel* booked;
        QAbstractButton* book;
        QAbstractButton* close;
        QAbstractButton* help;
        QWidget* buttonBar;
    };
    void setUpControls(const Controls& controls);
    void addPicker(RecordPicker* picker);

    // The show step of the dialog (dates); the pick lists are prepared before it runs.
    virtual void prepare() = 0;
    // "Buchen", inside the error guard. Booked: confirmed with "EINGETRAGEN"; Settled: something
    // else was changed on the user's word; Refused: nothing changed, `refusal` says why.
    enum class Outcome { Booked, Settled, Refused };
    virtual Outcome book(QString* refusal) = 0;

    void showEvent(QShowEvent* event) override;

private:
    void bookAndConfirm();
    QList<QVariant> chosenIds() const;

    QLabel* m_booked = nullptr;
    QAbstractButton* m_book = nullptr;
    QList<RecordPicker*> m_pickers;
};
