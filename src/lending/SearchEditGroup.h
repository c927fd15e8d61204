#pragma once

#include "common/gui/GridBinding.h" // sortOnTitleClick

#include <QList>
#include <QObject>
#include <QPair>
#include <QPointer>
#include <functional>

class QLineEdit;
class QTableView;
class QWidget;
class RecordSetModel;

// A group of search edits over one grid (number, and two text fields): every change of an edit's
// text narrows the list at once, and entering one edit empties the others of the group, so that
// only one narrowing is in force.
class SearchEditGroup : public QObject
{
    Q_OBJECT

public:
    // `narrow` gets the edit's field and its text (empty: no narrowing); errors it raises are shown.
    using Narrow = std::function<void(const QString& field, const QString& text)>;

    SearchEditGroup(QWidget* errorParent, const QList<QPair<QLineEdit*, QString>>& edits, Narrow narrow);
    ~SearchEditGroup() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPointer<QWidget> m_errorParent;
    QList<QLineEdit*> m_edits;
    Narrow m_narrow;
};
