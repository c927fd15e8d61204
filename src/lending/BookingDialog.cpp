#include "BookingDialog.h"

#include "RecordPicker.h"
#include "common/gui/DialogLook.h"
#include "common/gui/ErrorGuard.h"
#include "common/gui/HelpManual.h"
#include "common/gui/Messages.h"

#include <QAbstractButton>
#include <QLabel>
#include <QScopeGuard>
#include <QShowEvent>
#include <QStyle>

BookingDialog::BookingDialog(LibraryData& data, QWidget* parent) : QDialog(parent), m_data(data) {}

void BookingDialog::setUpControls(const Controls& controls)
{
    m_booked = controls.booked;
    m_book = controls.book;
    controls.help->setIcon(style()->standardIcon(QStyle::SP_DialogHelpButton));
    RecordPicker::prepareBookedLabel(m_booked);
    DialogLook::apply(this, controls.buttonBar);
    connect(controls.book, &QAbstractButton::clicked, this, [this] { guarded(this, [this] { bookAndConfirm(); }); });
    connect(controls.close, &QAbstractButton::clicked, this, &QDialog::reject);
    connect(controls.help, &QAbstractButton::clicked, this, [] { HelpManual::open(HelpManual::NetManual); });
}

void BookingDialog::addPicker(RecordPicker* picker)
{
    m_pickers << picker;
    connect(picker, &RecordPicker::chosen, m_book, [this] { m_book->setEnabled(true); });
}

QList<QVariant> BookingDialog::chosenIds() const
{
    QList<QVariant> ids;
    for (const RecordPicker* picker : m_pickers)
        ids << picker->currentId();
    return ids;
}

void BookingDialog::bookAndConfirm()
{
    // After a booking the lists move on (the lent book leaves them, the cursor lands on its
    // neighbour): "Buchen" waits for the user's next choice instead of acting on that neighbour.
    const QList<QVariant> before = chosenIds();
    bool changed = false;
    const auto awaitChoice = qScopeGuard([&] {
        try {
            if (changed || chosenIds() != before)
                m_book->setEnabled(false);
        } catch (...) {
            m_book->setEnabled(false);
        }
    });
    QString refusal;
    switch (book(&refusal)) {
    case Outcome::Booked:
        changed = true;
        m_booked->show();
        break;
    case Outcome::Settled:
        changed = true;
        break;
    case Outcome::Refused:
        if (!refusal.isEmpty())
            Messages::inform(this, refusal);
        break;
    }
}

void BookingDialog::showEvent(QShowEvent* event)
{
    if (!event->spontaneous()) {
        m_booked->hide();
        m_book->setEnabled(true);
        prepare();
        // Empty search edits over unnarrowed lists.
        for (RecordPicker* picker : std::as_const(m_pickers))
            guarded(this, [picker] { picker->show(); });
    }
    QDialog::showEvent(event);
}

void BookingDialog::done(int result)
{
    for (RecordPicker* picker : std::as_const(m_pickers))
        guarded(this, [picker] { picker->close(); });
    QDialog::done(result);
}
