#include "AboutDialog.h"
#include "ui_AboutDialog.h"

#include "common/gui/DialogLook.h"

#include <QCoreApplication>
#include <QPushButton>

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent), ui(std::make_unique<Ui::AboutDialog>())
{
    ui->setupUi(this);
    ui->LVersion->setText(tr("Version %1").arg(QStringLiteral(TOMARIS_VERSION)));
    connect(ui->BOK, &QPushButton::clicked, this, &QDialog::accept);
    DialogLook::apply(this, ui->GradientPanel1);
}

AboutDialog::~AboutDialog() = default;
