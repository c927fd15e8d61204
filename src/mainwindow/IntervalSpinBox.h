#pragma once

#include <QSpinBox>

// The refresh-interval field. Its arrows step within 1..10000, but typed text is kept exactly
// as typed: a number outside that range is taken unchanged, and text that is no number stays
// in the field so that OK can refuse it with a message instead of silently correcting it.
class IntervalSpinBox : public QSpinBox
{
    Q_OBJECT

public:
    static constexpr int StepMin = 1;
    static constexpr int StepMax = 10000;

    explicit IntervalSpinBox(QWidget* parent = nullptr);
    ~IntervalSpinBox() override;

    // Shows the number in decimal, replacing whatever was typed.
    void setNumber(int value);

    void stepBy(int steps) override;
    QValidator::State validate(QString& input, int& pos) const override;
    void fixup(QString& input) const override;

protected:
    int valueFromText(const QString& text) const override;
    QString textFromValue(int value) const override;
    StepEnabled stepEnabled() const override;

private:
    // The typed number, or the last valid one while the text is no number.
    int current() const;

    bool m_formatting = false;
};
