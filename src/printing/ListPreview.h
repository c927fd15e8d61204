#pragma once

#include <QDialog>
#include <QPageLayout>

class PageModel;
class QComboBox;
class QLabel;
class QPrintPreviewWidget;
class QPrinter;
class QToolButton;

// The preview of a printed list: one page at a time on the selected printer's sheet, paged,
// zoomed and printed from its tool bar. Each list's page model draws the page shown.
class ListPreview : public QDialog
{
    Q_OBJECT

public:
    ListPreview(PageModel& model, QPrinter& printer, QWidget* parent = nullptr);
    ~ListPreview() override;

    int currentPage() const { return m_page; }
    int pageCount() const { return m_pageCount; }

private:
    void paintPage(QPrinter* printer);
    void showPage(int page);
    void recount();
    void print();
    void printerSetup();
    void toggleOrientation();
    void scaleChosen(int index);

    PageModel& m_model;
    QPrinter& m_printer;
    QPageLayout::Orientation m_orientation = QPageLayout::Portrait;
    int m_page = 1;
    int m_pageCount = 1;

    QPrintPreviewWidget* m_preview;
    QToolButton* m_first = nullptr;
    QToolButton* m_previous = nullptr;
    QToolButton* m_next = nullptr;
    QComboBox* m_scale = nullptr;
    QLabel* m_pageLabel = nullptr;
};
