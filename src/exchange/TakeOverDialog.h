#pragma once

#include <QDialog>
#include <memory>

class LibraryData;
class MainWindowServices;

namespace Ui {
class TakeOverDialog;
}

// "Datenbank aus Tomaris 2004/05 importieren": takes the books of the previous version's book
// file over into the library, with a progress dialog that can stop it, and closes after the
// summary. The chosen file name is kept between openings.
class TakeOverDialog : public QDialog
{
    Q_OBJECT

public:
    TakeOverDialog(LibraryData& data, MainWindowServices& main, QWidget* parent);
    ~TakeOverDialog() override;

private:
    void chooseFile();
    void takeOver();

    const std::unique_ptr<Ui::TakeOverDialog> ui;
    LibraryData& m_data;
    MainWindowServices& m_main;
};
