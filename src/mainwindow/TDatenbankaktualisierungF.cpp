#include "TDatenbankaktualisierungF.h"
#include "ui_TDatenbankaktualisierungF.h"

#include "RefreshTimer.h"
#include "common/gui/DialogLook.h"
#include "common/gui/ErrorGuard.h"
#include "common/gui/Messages.h"
#include "datastore/Settings.h"

#include <QLineEdit>
#include <QStyle>
#include <QTimer>

#include <algorithm>
#include <limits>

namespace {
const QString RefreshSetting = QStringLiteral("Refresh");
}

TIntervalSpinBox::TIntervalSpinBox(QWidget* parent) : QSpinBox(parent)
{
    // The spin box's own range must not clamp typed numbers; the arrows clamp in stepBy.
    setRange(std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
}

TIntervalSpinBox::~TIntervalSpinBox() = default;

void TIntervalSpinBox::setNumber(int value)
{
    m_formatting = true;
    setValue(value);
    m_formatting = false;
}

int TIntervalSpinBox::current() const
{
    bool ok = false;
    const int typed = lineEdit()->displayText().trimmed().toInt(&ok);
    return ok ? typed : value();
}

void TIntervalSpinBox::stepBy(int steps)
{
    const qint64 next = qint64(current()) + qint64(steps) * singleStep();
    setNumber(int(std::clamp<qint64>(next, StepMin, StepMax)));
    if (style()->styleHint(QStyle::SH_SpinBox_SelectOnStep, nullptr, this))
        selectAll();
}

QAbstractSpinBox::StepEnabled TIntervalSpinBox::stepEnabled() const
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

QValidator::State TIntervalSpinBox::validate(QString&, int&) const
{
    return QValidator::Acceptable;
}

void TIntervalSpinBox::fixup(QString&) const {}

int TIntervalSpinBox::valueFromText(const QString& text) const
{
    bool ok = false;
    const int typed = text.trimmed().toInt(&ok);
    return ok ? typed : value();
}

QString TIntervalSpinBox::textFromValue(int value) const
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

TDatenbankaktualisierungF::TDatenbankaktualisierungF(QTimer* timer, QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::TDatenbankaktualisierungF>()), m_timer(timer)
{
    ui->setupUi(this);
    DialogLook::apply(this, ui->GradientPanel1);

    connect(ui->BOK, &QPushButton::clicked, this, &TDatenbankaktualisierungF::okClicked);
    connect(ui->BAbbrechen, &QPushButton::clicked, this, &QDialog::reject);
}

TDatenbankaktualisierungF::~TDatenbankaktualisierungF() = default;

void TDatenbankaktualisierungF::showEvent(QShowEvent* event)
{
    ui->SEIntervall->setNumber(Settings::ReadSettingInt(RefreshSetting));
    QDialog::showEvent(event);
}

void TDatenbankaktualisierungF::okClicked()
{
    guarded(this, [this] {
        const QString text = ui->SEIntervall->text();
        bool ok = false;
        const int seconds = text.trimmed().toInt(&ok);
        if (!ok) {
            Messages::error(this, tr("„%1“ ist kein gültiger ganzzahliger Wert.").arg(text));
            return;
        }
        // The new interval applies to this run even if it cannot be stored.
        RefreshTimer::applyInterval(m_timer, seconds);
        Settings::WriteSettingInt(RefreshSetting, seconds);
        accept();
    });
}
