#pragma once

#include <QDialog>
#include <memory>

namespace Ui {
class TAboutF;
}

// Program name, version, maker, and the credits the data we ship asks for.
class TAboutF : public QDialog
{
    Q_OBJECT

public:
    explicit TAboutF(QWidget* parent);
    ~TAboutF() override;

private:
    const std::unique_ptr<Ui::TAboutF> ui;
};
