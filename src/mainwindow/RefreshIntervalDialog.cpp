#include "RefreshIntervalDialog.h"
#include "ui_RefreshIntervalDialog.h"

#include "RefreshTimer.h"
#include "common/gui/DialogLook.h"
#include "common/gui/ErrorGuard.h"
#include "common/gui/Messages.h"
#include "datastore/Settings.h"
#include "datastore/SqlFailure.h"

#include <QShowEvent>
#include <QTimer>

RefreshIntervalDialog::RefreshIntervalDialog(QTimer* timer, QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::RefreshIntervalDialog>()), m_timer(timer)
{
    ui->setupUi(this);
    DialogLook::apply(this, ui->GradientPanel1);

    connectGuarded(ui->BOK, &QPushButton::clicked, this, &RefreshIntervalDialog::takeInterval);
    connect(ui->BAbbrechen, &QPushButton::clicked, this, &QDialog::reject);
}

RefreshIntervalDialog::~RefreshIntervalDialog() = default;

void RefreshIntervalDialog::showEvent(QShowEvent* event)
{
    // Only when opened: restoring the minimised window keeps what was typed.
    if (!event->spontaneous())
        ui->SEIntervall->setNumber(Settings::ReadSettingInt(SettingName::Refresh));
    QDialog::showEvent(event);
}

void RefreshIntervalDialog::takeInterval()
{
    const QString text = ui->SEIntervall->text();
    bool ok = false;
    const int seconds = text.trimmed().toInt(&ok);
    if (!ok) {
        Messages::error(this, tr("„%1“ ist kein gültiger ganzzahliger Wert.").arg(SqlFailure::shortened(text)));
        return;
    }
    // The new interval applies to this run even if it cannot be stored.
    RefreshTimer::applyInterval(m_timer, seconds);
    Settings::WriteSettingInt(SettingName::Refresh, seconds);
    accept();
}
