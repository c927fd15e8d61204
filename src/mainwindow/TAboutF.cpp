#include "TAboutF.h"
#include "ui_TAboutF.h"

#include "common/gui/DialogLook.h"

#include <QCoreApplication>
#include <QPushButton>

TAboutF::TAboutF(QWidget* parent) : QDialog(parent), ui(std::make_unique<Ui::TAboutF>())
{
    ui->setupUi(this);
    ui->LVersion->setText(tr("Version %1").arg(QStringLiteral(TOMARIS_VERSION)));
    connect(ui->BOK, &QPushButton::clicked, this, &QDialog::accept);
    DialogLook::apply(this, ui->GradientPanel1);
}

TAboutF::~TAboutF() = default;
