#pragma once

#include "PageCanvas.h"
#include "PrintList.h"
#include "datastore/Schema.h"

#include <QList>
#include <QObject>
#include <QString>

class RecordSet;

// The sheet a page is drawn on: its physical size in device dots and its orientation.
struct PageGeometry
{
    double width = 0;
    double height = 0;
    bool landscape = false;
};

// What the print dialog holds at the moment of drawing.
struct PrintOptions
{
    QString title;
    bool pageNumbers = false;
    QList<bool> columnsOn; // by column; missing entries count as on
};

// Lays out and draws the pages of one printed list over a record set. Positions and sizes are
// design units of an A4 sheet at 600 dots per inch, scaled to the sheet being drawn on.
//
// The layout (column widths, rows per page, page count) is measured once and kept until the
// record set's content, the sheet or the options change. Drawing reads records by position and
// never moves the record set's cursor.
class PageModel : public QObject
{
    Q_OBJECT

public:
    static constexpr int ReferenceWidth = 4961;
    static constexpr int ReferenceHeight = 7016;

    struct Layout
    {
        double sx = 0;
        double sy = 0;
        QList<int> widths; // dots, gap included; 0 for columns never measured (switched off)
        QList<bool> visible;
        int wrapsPerRow = 0;
        int firstBaseline = 0;
        int rowAdvance = 0;
        int rowsPerPage = 1;
        int records = 0;
        int pageCount = 1;
    };

    PageModel(RecordSet& records, PrintListDefinition list, QObject* parent = nullptr);

    const PrintListDefinition& list() const { return m_list; }
    RecordSet& records() const { return m_records; }

    void setOptions(const PrintOptions& options);
    const PrintOptions& options() const { return m_options; }

    // Measures what is not measured yet for this sheet; draws nothing.
    const Layout& prepare(PageCanvas& canvas, const PageGeometry& page);
    int pageCount(PageCanvas& canvas, const PageGeometry& page) { return prepare(canvas, page).pageCount; }
    // Draws page n (1-based). A page beyond the data carries the page head alone.
    void drawPage(PageCanvas& canvas, const PageGeometry& page, int n);

    // Forgets the measured widths; the record set's own changes do this by themselves.
    void invalidate();

    // The text of a column for the record at a position of the record set.
    QString cellText(int column, int position) const;

private:
    int h(int v) const;
    int v(int v) const;
    double wrapLimit(const PageGeometry& page) const;
    double pageFullLimit(const PageGeometry& page) const;
    bool columnOn(int column) const;
    QString textAt(int row, int column) const;
    void measureWidths(PageCanvas& canvas);
    // Lays out one line of columns at baseline y; `draw(column, x, y)` for each visible column.
    // Returns the baseline after the wraps.
    template <typename Draw>
    int columnWalk(const PageGeometry& page, int y, Draw&& draw) const;
    int drawHead(PageCanvas& canvas, const PageGeometry& page, int n);

    RecordSet& m_records;
    PrintListDefinition m_list;
    QList<int> m_fieldIndex;
    QList<ColumnType> m_fieldTypes;
    PrintOptions m_options;
    Layout m_layout;
    // Measured widths per column, valid while generation and scales stay the same.
    QList<int> m_measured;
    QList<bool> m_measuredValid;
    quint64 m_generation = 0;
    quint64 m_measuredGeneration = 0;
    double m_measuredSx = -1;
    double m_measuredSy = -1;
};
