#pragma once

#include "PageModel.h"
#include "PrintList.h"

#include <QDialog>
#include <QList>
#include <functional>
#include <memory>

class PageModel;
class QCheckBox;
class QPrinter;
class RecordSet;

namespace Ui {
class ListPrintDialog;
}

// The print dialog of a printed list: printer, title, page numbers and the columns to print,
// and the preview from which the list is printed. One class serves the book, reader and loan
// lists; each list's column table says which check boxes it has.
class ListPrintDialog : public QDialog
{
    Q_OBJECT

public:
    // The marker the book list's "Bücher eingrenzen/sortieren" leaves for the main window.
    static constexpr int NarrowAndSort = 15;

    // `list` is asked again on every showing, so that renamed fields show their new captions.
    ListPrintDialog(std::function<PrintListDefinition()> list, RecordSet& records, QWidget* parent = nullptr);
    ~ListPrintDialog() override;

    void setNarrowButtonVisible(bool visible);
    // 15 after "Bücher eingrenzen/sortieren"; the main window reads and clears it.
    int DruckDialogAktion = 0;

    // The options the check boxes and edits hold now.
    PrintOptions options() const;
    QPrinter& printer() { return *m_printer; }
    // The list's page model with the options shown now (what the preview draws).
    PageModel& pageModel();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormShow();
    void applyList();
    void changePrinter();
    void showPreview();
    void narrowAndSort();

    const std::unique_ptr<Ui::ListPrintDialog> ui;
    std::function<PrintListDefinition()> m_listSource;
    PrintListDefinition m_list;
    RecordSet& m_records;
    std::unique_ptr<PageModel> m_model;
    std::unique_ptr<QPrinter> m_printer;
    QList<QCheckBox*> m_switches;
};
