#pragma once

#include <QDialog>
#include <memory>

class LibraryData;
class MainWindowServices;
class QLineEdit;

namespace Ui {
class BackupDialog;
}

// "Datenbank sichern": saves the database and the settings into a folder, or reads such a set
// back. A finished backup or restore closes the dialog; a refusal or failure leaves it open.
class BackupDialog : public QDialog
{
    Q_OBJECT

public:
    BackupDialog(LibraryData& data, MainWindowServices& main, QWidget* parent);
    ~BackupDialog() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void chooseFolder(QLineEdit* edit, const QString& title);
    void updateButtons();
    QString folderOf(QLineEdit* edit);
    void backupClicked();
    void restoreClicked();

    const std::unique_ptr<Ui::BackupDialog> ui;
    LibraryData& m_data;
    MainWindowServices& m_main;
};
