#pragma once

#include <QDialog>
#include <memory>

namespace Ui {
class AboutDialog;
}

// Program name, version, maker, and the credits the data we ship asks for.
class AboutDialog : public QDialog
{
    Q_OBJECT

public:
    explicit AboutDialog(QWidget* parent);
    ~AboutDialog() override;

private:
    const std::unique_ptr<Ui::AboutDialog> ui;
};
