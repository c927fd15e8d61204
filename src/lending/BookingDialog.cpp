#include "BookingDialog.h"

#include "RecordPicker.h"
#include "common/gui/DialogLook.h"
#include "common/gui/ErrorGuard.h"
#include "common/gui/HelpManual.h"
#include "common/gui/Messages.h"

#include <QAbstractButton>
#include <QLabel>
#include <QShowEvent>
#include <QStyle>

BookingDialog::BookingDialog(QWidget* parent) : QDialog(parent) {}

void BookingDialog::setUpControls(const Controls& controls)
{
    m_booked = controls.booked;
    controls.help->setIcon(style()->standardIcon(QStyle::SP_DialogHelpButton));
    RecordPicker::prepareBookedLabel(m_booked);
    DialogLook::apply(this, controls.buttonBar);
    connect(controls.book, &QAbstractButton::clicked, this, [this] { guarded(this, [this] { bookAndConfirm(); }); });
    connect(controls.close, &QAbstractButton::clicked, this, &QDialog::reject);
    connect(controls.help, &QAbstractButton::clicked, this, [] { HelpManual::open(HelpManual::NetManual); });
}

void BookingDialog::bookAndConfirm()
{
    const QString refusal = book();
    if (refusal.isEmpty())
        m_booked->show();
    else
        Messages::inform(this, refusal);
}

void BookingDialog::showEvent(QShowEvent* event)
{
    if (!event->spontaneous()) {
        m_booked->hide();
        prepare();
        // The search edits keep their texts from the last showing; the lists start unnarrowed.
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
