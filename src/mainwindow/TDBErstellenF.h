#pragma once

#include <QDialog>
#include <functional>
#include <memory>

class LibraryData;
class QLineEdit;

namespace Ui {
class TDBErstellenF;
}

// "Datenbank erstellen": creates a new library database in a folder, or opens the one that is
// already there. The dialog closes once the database is connected; a failure leaves it open.
class TDBErstellenF : public QDialog
{
    Q_OBJECT

public:
    TDBErstellenF(LibraryData& data, std::function<void()> afterConnect, QWidget* parent);
    ~TDBErstellenF() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void chooseFolder(QLineEdit* edit, const QString& title);
    void createClicked();
    void openClicked();
    void helpClicked();

    const std::unique_ptr<Ui::TDBErstellenF> ui;
    LibraryData& m_data;
    std::function<void()> m_afterConnect;
};
