#include "IntervalSpinBox.h"

#include <QLineEdit>
#include <QStyle>

#include <algorithm>
#include <limits>

IntervalSpinBox::IntervalSpinBox(QWidget* parent) : QSpinBox(parent)
{
    // The spin box's own range must not clamp typed numbers; the arrows clamp in stepBy.
    setRange(std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
}

IntervalSpinBox::~IntervalSpinBox() = default;

void IntervalSpinBox::setNumber(int value)
{
    m_formatting = true;
    setValue(value);
    m_formatting = false;
}

int IntervalSpinBox::current() const
{
    bool ok = false;
    const int typed = lineEdit()->displayText().trimmed().toInt(&ok);
    return ok ? typed : value();
}

void IntervalSpinBox::stepBy(int steps)
{
    const qint64 next = qint64(current()) + qint64(steps) * singleStep();
    setNumber(int(std::clamp<qint64>(next, StepMin, StepMax)));
    if (style()->styleHint(QStyle::SH_SpinBox_SelectOnStep, nullptr, this))
        selectAll();
}

QAbstractSpinBox::StepEnabled IntervalSpinBox::stepEnabled() const
{
    if (isReadOnly())
        return StepNone;
    const int n = current();
    StepEnabled enabled = StepNone;
    if (n < StepMax)
        enabled |= StepUpEnabled;
    if (n > StepMin)
        enabled |= StepDownEnabled;
    return enabled;
}

QValidator::State IntervalSpinBox::validate(QString&, int&) const
{
    return QValidator::Acceptable;
}

void IntervalSpinBox::fixup(QString&) const {}

int IntervalSpinBox::valueFromText(const QString& text) const
{
    bool ok = false;
    const int typed = text.trimmed().toInt(&ok);
    return ok ? typed : value();
}

QString IntervalSpinBox::textFromValue(int value) const
{
    // QAbstractSpinBox rewrites the text from the value on focus loss and Enter; keep the
    // user's text then, unless it shows a different number.
    if (!m_formatting) {
        const QString shown = lineEdit()->displayText();
        bool ok = false;
        const int typed = shown.trimmed().toInt(&ok);
        if (!ok || typed == value)
            return shown;
    }
    return QString::number(value);
}
