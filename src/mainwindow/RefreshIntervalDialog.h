#pragma once

#include <QDialog>
#include <memory>

class QTimer;

namespace Ui {
class RefreshIntervalDialog;
}

// "Datenbankaktualisierung": how often the local copy is refreshed from the shared database.
class RefreshIntervalDialog : public QDialog
{
    Q_OBJECT

public:
    RefreshIntervalDialog(QTimer* timer, QWidget* parent);
    ~RefreshIntervalDialog() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void takeInterval();

    const std::unique_ptr<Ui::RefreshIntervalDialog> ui;
    QTimer* m_timer;
};
