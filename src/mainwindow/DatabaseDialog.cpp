#include "DatabaseDialog.h"
#include "ui_DatabaseDialog.h"

#include "common/gui/DialogLook.h"
#include "common/gui/ErrorGuard.h"
#include "common/gui/FileDialogs.h"
#include "common/gui/Messages.h"
#include "datastore/LibraryData.h"
#include "datastore/Settings.h"

#include <QDir>
#include <QShowEvent>
#include <QStandardPaths>
#include <QStyle>

DatabaseDialog::DatabaseDialog(LibraryData& data, std::function<void()> afterConnect, QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::DatabaseDialog>()), m_data(data), m_afterConnect(std::move(afterConnect))
{
    ui->setupUi(this);
    const QIcon folderIcon = style()->standardIcon(QStyle::SP_DirOpenIcon);
    ui->SpeedButton1->setIcon(folderIcon);
    ui->SpeedButton2->setIcon(folderIcon);
    DialogLook::apply(this, ui->GradientPanel1);

    connect(ui->SpeedButton1, &QToolButton::clicked, this,
            [this] { chooseFolder(ui->Edit1, tr("Verzeichnis für die neue Datenbank auswählen")); });
    connect(ui->SpeedButton2, &QToolButton::clicked, this,
            [this] { chooseFolder(ui->Edit2, tr("Verzeichnis der Datenbank auswählen")); });
    connect(ui->Button1, &QPushButton::clicked, this, &DatabaseDialog::createDatabase);
    connect(ui->Button2, &QPushButton::clicked, this, &DatabaseDialog::openDatabase);
    connect(ui->SRColorButton1, &QPushButton::clicked, this, &DatabaseDialog::showNetworkHelp);
    connect(ui->BSchliessen, &QPushButton::clicked, this, &QDialog::reject);
}

DatabaseDialog::~DatabaseDialog() = default;

void DatabaseDialog::showEvent(QShowEvent* event)
{
    // Only when opened: restoring the minimised window keeps the folders chosen.
    if (!event->spontaneous()) {
        QString folder = Settings::ReadSettingString(SettingName::DBPfad);
        if (folder.isEmpty())
            folder = QDir::toNativeSeparators(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
        ui->Edit1->setText(folder);
        ui->Edit2->setText(folder);
    }
    QDialog::showEvent(event);
}

void DatabaseDialog::chooseFolder(QLineEdit* edit, const QString& title)
{
    guarded(this, [&] {
        const QString folder = FileDialogs::chooseFolder(this, title, edit->text());
        if (!folder.isEmpty())
            edit->setText(folder);
    });
}

void DatabaseDialog::createDatabase()
{
    guarded(this, [this] {
        m_data.createDatabase(ui->Edit1->text(), m_afterConnect);
        accept();
    });
}

void DatabaseDialog::openDatabase()
{
    guarded(this, [this] {
        m_data.openDatabase(ui->Edit2->text(), m_afterConnect);
        accept();
        for (const QString& notice : m_data.database().notices())
            Messages::inform(parentWidget(), notice);
    });
}

void DatabaseDialog::showNetworkHelp()
{
    guarded(this, [this] {
        Messages::inform(this, tr("Bitte wählen Sie ein (Netzwerk-)Verzeichnis aus, für das Sie Schreibrechte haben.\n"
                                  "Das Programm kann ansonsten die Datenbank nicht speichern.\n\n"
                                  "Sollten Sie eine Fehlermeldung erhalten, starten Sie das Programm bitte erneut "
                                  "und wählen ein gültiges Verzeichnis aus."));
    });
}
