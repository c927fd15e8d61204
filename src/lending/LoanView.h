#pragma once

#include <QDate>
#include <QString>

class RecordSet;

// What the main window's loan lists show of the loans: all of them, or only the overdue ones
// (those due before today). Dialogs that narrow the loans for a while put this view back when
// they close.
class LoanView
{
public:
    explicit LoanView(RecordSet& loans) : m_loans(loans) {}

    // "DatumBisSoll < 'dd.MM.yyyy'": loans due before that day.
    static QString overdueFilter(const QDate& today);

    // Which view is wanted; apply() puts it in force.
    void setOverdue(bool overdue) { m_overdue = overdue; }
    bool overdue() const { return m_overdue; }
    // Overdue: sets the overdue filter with today's date; all: lifts a filter that is in force.
    void apply();
    // After a dialog's own narrowing: lifts it, then applies the view.
    void restore();
    // The refresh step: while the overdue view is in force, its date becomes today's (after
    // midnight "overdue" means something else). A dialog's own narrowing is left alone.
    void renewDate();

private:
    RecordSet& m_loans;
    bool m_overdue = false;
    QString m_applied; // the overdue filter last set
};
