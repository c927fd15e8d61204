#include "SearchEditGroup.h"

#include "common/gui/ErrorGuard.h"
#include "datastore/RecordSet.h"
#include "datastore/RecordSetModel.h"

#include <QFocusEvent>
#include <QHeaderView>
#include <QLineEdit>
#include <QTableView>

SearchEditGroup::SearchEditGroup(QWidget* errorParent, const QList<QPair<QLineEdit*, QString>>& edits, Narrow narrow)
    : QObject(errorParent), m_errorParent(errorParent), m_narrow(std::move(narrow))
{
    for (const auto& entry : edits) {
        QLineEdit* edit = entry.first;
        const QString field = entry.second;
        m_edits.append(edit);
        edit->installEventFilter(this);
        // Also when the text is emptied from code: that lifts the edit's narrowing.
        connect(edit, &QLineEdit::textChanged, this,
                [this, field](const QString& text) { guarded(m_errorParent, [&] { m_narrow(field, text); }); });
    }
}

SearchEditGroup::~SearchEditGroup() = default;

bool SearchEditGroup::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusIn) {
        // Focus coming back with the window (after a message box, say) is no entering.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
            for (QLineEdit* other : std::as_const(m_edits))
                if (other != watched)
                    other->clear();
        }
    }
    return QObject::eventFilter(watched, event);
}
