#include "TDBErstellenF.h"
#include "ui_TDBErstellenF.h"

#include "common/gui/DialogLook.h"
#include "common/gui/ErrorGuard.h"
#include "common/gui/FileDialogs.h"
#include "common/gui/Messages.h"
#include "datastore/LibraryData.h"
#include "datastore/Settings.h"

#include <QDir>
#include <QStandardPaths>
#include <QStyle>

TDBErstellenF::TDBErstellenF(LibraryData& data, std::function<void()> afterConnect, QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::TDBErstellenF>()), m_data(data), m_afterConnect(std::move(afterConnect))
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
    connect(ui->Button1, &QPushButton::clicked, this, &TDBErstellenF::createClicked);
    connect(ui->Button2, &QPushButton::clicked, this, &TDBErstellenF::openClicked);
    connect(ui->SRColorButton1, &QPushButton::clicked, this, &TDBErstellenF::helpClicked);
    connect(ui->BSchliessen, &QPushButton::clicked, this, &QDialog::reject);
}

TDBErstellenF::~TDBErstellenF() = default;

void TDBErstellenF::showEvent(QShowEvent* event)
{
    QString folder = Settings::ReadSettingString(QStringLiteral("DBPfad"));
    if (folder.isEmpty())
        folder = QDir::toNativeSeparators(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
    ui->Edit1->setText(folder);
    ui->Edit2->setText(folder);
    QDialog::showEvent(event);
}

void TDBErstellenF::chooseFolder(QLineEdit* edit, const QString& title)
{
    guarded(this, [&] {
        const QString folder = FileDialogs::chooseFolder(this, title, edit->text());
        if (!folder.isEmpty())
            edit->setText(folder);
    });
}

void TDBErstellenF::createClicked()
{
    guarded(this, [this] {
        m_data.createDatabase(ui->Edit1->text(), m_afterConnect);
        accept();
    });
}

void TDBErstellenF::openClicked()
{
    guarded(this, [this] {
        m_data.openDatabase(ui->Edit2->text(), m_afterConnect);
        accept();
    });
}

void TDBErstellenF::helpClicked()
{
    guarded(this, [this] {
        Messages::inform(this, tr("Bitte wählen Sie ein (Netzwerk-)Verzeichnis aus, für das Sie Schreibrechte haben.\n"
                                  "Das Programm kann ansonsten die Datenbank nicht speichern.\n\n"
                                  "Sollten Sie eine Fehlermeldung erhalten, starten Sie das Programm bitte erneut "
                                  "und wählen ein gültiges Verzeichnis aus."));
    });
}
