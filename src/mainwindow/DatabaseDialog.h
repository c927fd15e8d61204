#pragma once

#include <QDialog>
#include <functional>
#include <memory>

class LibraryData;
class QLineEdit;

namespace Ui {
class DatabaseDialog;
}

// "Datenbank erstellen": creates a new library database in a folder, or opens the one that is
// already there. The dialog closes once the database is connected; a failure leaves it open.
class DatabaseDialog : public QDialog
{
    Q_OBJECT

public:
    DatabaseDialog(LibraryData& data, std::function<void()> afterConnect, QWidget* parent);
    ~DatabaseDialog() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void chooseFolder(QLineEdit* edit, const QString& title);
    void createDatabase();
    void openDatabase();
    void showNetworkHelp();

    const std::unique_ptr<Ui::DatabaseDialog> ui;
    LibraryData& m_data;
    std::function<void()> m_afterConnect;
};
