#pragma once

#include <QDialog>
#include <memory>

class QLineEdit;
class LibraryData;
class MainWindowServices;

namespace Ui {
class CaptionsDialog;
}

// "Optionen": the library's own names for ten book fields and the remark field. They are stored
// with the database, so every workstation shows them.
class CaptionsDialog : public QDialog
{
    Q_OBJECT

public:
    CaptionsDialog(LibraryData& data, MainWindowServices& main, QWidget* parent);
    ~CaptionsDialog() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    struct CaptionEdit
    {
        QLineEdit* edit;
        int captionIndex; // entry of BookFieldCaptions shown and edited
        int line;         // line of the stored text written (0-based)
    };

    void showCaptions();
    void saveCaptions();

    const std::unique_ptr<Ui::CaptionsDialog> ui;
    LibraryData& m_data;
    MainWindowServices& m_main;
    QList<CaptionEdit> m_edits;
};
