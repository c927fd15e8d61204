#include "LoanView.h"

#include "common/Clock.h"
#include "datastore/FieldNames.h"
#include "datastore/FilterText.h"
#include "datastore/RecordSet.h"

QString LoanView::overdueFilter(const QDate& today)
{
    return FilterText::before(Field::DatumBisSoll, today);
}

void LoanView::apply()
{
    if (!m_loans.active())
        return;
    if (m_overdue) {
        m_applied = overdueFilter(Clock::today());
        m_loans.setFilter(m_applied);
        m_loans.setFiltered(true);
    } else if (m_loans.filtered()) {
        m_loans.setFiltered(false);
    }
}

void LoanView::restore()
{
    if (!m_loans.active())
        return;
    m_loans.setFiltered(false);
    if (m_overdue)
        apply();
}

void LoanView::renewDate()
{
    // Only our own filter: a dialog's narrowing stays as it is.
    if (!m_overdue || !m_loans.active() || !m_loans.filtered() || m_loans.filter() != m_applied)
        return;
    if (m_applied != overdueFilter(Clock::today()))
        apply();
}
