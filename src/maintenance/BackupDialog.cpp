#include "BackupDialog.h"
#include "ui_BackupDialog.h"

#include "LibraryBackup.h"
#include "common/gui/DialogLook.h"
#include "common/gui/ErrorGuard.h"
#include "common/gui/FileDialogs.h"
#include "common/gui/Messages.h"
#include "datastore/Settings.h"
#include "mainwindow/MainWindowServices.h"

#include <QDir>
#include <QStyle>

BackupDialog::BackupDialog(LibraryData& data, MainWindowServices& main, QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::BackupDialog>()), m_data(data), m_main(main)
{
    ui->setupUi(this);
    const QIcon folderIcon = style()->standardIcon(QStyle::SP_DirOpenIcon);
    ui->SpeedButton1->setIcon(folderIcon);
    ui->SpeedButton2->setIcon(folderIcon);
    DialogLook::apply(this, ui->GradientPanel1);

    // The root of the file system until a backup folder is known.
    const QString root = QDir::toNativeSeparators(QDir::rootPath());
    ui->Edit1->setText(root);
    ui->Edit2->setText(root);
    updateButtons();

    connect(ui->Edit1, &QLineEdit::textChanged, this, &BackupDialog::updateButtons);
    connect(ui->Edit2, &QLineEdit::textChanged, this, &BackupDialog::updateButtons);
    connect(ui->SpeedButton1, &QToolButton::clicked, this,
            [this] { chooseFolder(ui->Edit1, tr("Verzeichnis für die Sicherung auswählen")); });
    connect(ui->SpeedButton2, &QToolButton::clicked, this,
            [this] { chooseFolder(ui->Edit2, tr("Verzeichnis der Sicherung auswählen")); });
    connect(ui->Button1, &QPushButton::clicked, this, &BackupDialog::backupClicked);
    connect(ui->Button3, &QPushButton::clicked, this, &BackupDialog::restoreClicked);
    connect(ui->BSchliessen, &QPushButton::clicked, this, &QDialog::reject);
}

BackupDialog::~BackupDialog() = default;

void BackupDialog::showEvent(QShowEvent* event)
{
    const QString last = Settings::ReadSettingString(SettingName::Sicherung);
    if (!last.isEmpty()) {
        ui->Edit1->setText(QDir::toNativeSeparators(last));
        ui->Edit2->setText(QDir::toNativeSeparators(last));
    }
    QDialog::showEvent(event);
}

void BackupDialog::updateButtons()
{
    ui->Button1->setEnabled(!ui->Edit1->text().trimmed().isEmpty());
    ui->Button3->setEnabled(!ui->Edit2->text().trimmed().isEmpty());
}

void BackupDialog::chooseFolder(QLineEdit* edit, const QString& title)
{
    guarded(this, [&] {
        const QString folder = FileDialogs::chooseFolder(this, title, edit->text().trimmed());
        if (!folder.isEmpty())
            edit->setText(QDir::toNativeSeparators(folder));
    });
}

QString BackupDialog::folderOf(QLineEdit* edit)
{
    // The field shows the folder as it is used, with its final separator.
    const QString folder = LibraryBackup::withSeparator(edit->text().trimmed());
    edit->setText(QDir::toNativeSeparators(folder));
    return QDir::fromNativeSeparators(folder);
}

void BackupDialog::backupClicked()
{
    guarded(this, [this] {
        const QString folder = folderOf(ui->Edit1);
        const auto replace = [&](const QDateTime& existing) {
            return Messages::ask(this, LibraryBackup::replaceQuestion(QDir::toNativeSeparators(folder), existing),
                                 Messages::Buttons::YesNo) == Messages::Answer::Yes;
        };
        const std::optional<BackupSet> set = LibraryBackup(m_data).backup(folder, replace);
        if (!set)
            return;
        BackupSet shown = *set;
        shown.folder = QDir::toNativeSeparators(shown.folder);
        Messages::inform(this, LibraryBackup::backupDoneText(shown));
        accept();
    });
}

void BackupDialog::restoreClicked()
{
    guarded(this, [this] {
        LibraryBackup backup(m_data);
        // Checked whole before the question, so that the question can say what comes back.
        const BackupSet set = backup.checkRestore(folderOf(ui->Edit2));
        BackupSet shown = set;
        shown.folder = QDir::toNativeSeparators(shown.folder);
        if (Messages::ask(this, LibraryBackup::restoreQuestion(shown), Messages::Buttons::YesNo) !=
            Messages::Answer::Yes)
            return;
        backup.restore(set);
        // The main window shows the restored data and settings at once.
        m_main.applyRestoredState();
        Messages::inform(this, backup.restoreDoneText(set));
        accept();
    });
}
