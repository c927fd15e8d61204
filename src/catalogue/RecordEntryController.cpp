#include "RecordEntryController.h"

#include "common/gui/ErrorGuard.h"
#include "common/gui/Messages.h"
#include "datastore/RecordSet.h"
#include "datastore/RecordSetHelpers.h"

#include <QAbstractButton>
#include <QWidget>

RecordEntryController::RecordEntryController(RecordSet& records, QWidget* dialog, const Controls& controls,
                                             QString deleteQuestion)
    : QObject(dialog), m_records(records), m_dialog(dialog), m_controls(controls),
      m_deleteQuestion(std::move(deleteQuestion))
{
    connect(controls.newRecord, &QAbstractButton::clicked, this,
            [this] { guarded(m_dialog, [this] { newRecord(); }); });
    connect(controls.save, &QAbstractButton::clicked, this, [this] { guarded(m_dialog, [this] { saveRecord(); }); });
    connect(controls.remove, &QAbstractButton::clicked, this,
            [this] { guarded(m_dialog, [this] { deleteRecord(); }); });
    connect(controls.prior, &QAbstractButton::clicked, this,
            [this] { guarded(m_dialog, [this] { m_records.prior(); }); });
    connect(controls.next, &QAbstractButton::clicked, this,
            [this] { guarded(m_dialog, [this] { m_records.next(); }); });

    for (auto signal : {&RecordSet::afterScroll, &RecordSet::reset, &RecordSet::stateChanged})
        connect(&m_records, signal, this, &RecordEntryController::updateNavigator);
    connect(&m_records, &RecordSet::rowRemoved, this, &RecordEntryController::updateNavigator);
    updateNavigator();
}

void RecordEntryController::updateNavigator()
{
    const bool any = m_records.active() && !m_records.isEmpty();
    m_controls.prior->setEnabled(any && m_records.recNo() > 1);
    m_controls.next->setEnabled(any && m_records.recNo() < m_records.recordCount());
}

void RecordEntryController::newRecord()
{
    m_records.insert();
}

void RecordEntryController::saveRecord()
{
    if (m_records.isEditing())
        m_records.post();
}

void RecordEntryController::deleteRecord()
{
    const auto ask = [this] {
        return Messages::ask(m_dialog, m_deleteQuestion, Messages::Buttons::YesNo) == Messages::Answer::Yes;
    };
    if (m_remove)
        m_remove(ask);
    else
        deleteAfterAsking(m_records, ask);
}

bool RecordEntryController::mayClose()
{
    if (!m_records.active() || !m_records.isEditing())
        return true;
    switch (
        Messages::ask(m_dialog, tr("Änderungen speichern beim aktuellen Datensatz?"), Messages::Buttons::YesNoCancel)) {
    case Messages::Answer::Yes:
        return guarded(m_dialog, [this] { m_records.post(); });
    case Messages::Answer::No:
        return guarded(m_dialog, [this] { m_records.cancel(); });
    default:
        return false;
    }
}
