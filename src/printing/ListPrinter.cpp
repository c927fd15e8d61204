#include "ListPrinter.h"

#include "PainterCanvas.h"

#include <QCoreApplication>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>

namespace ListPrinter {

PageGeometry geometryOf(const QPagedPaintDevice& device)
{
    const QPageLayout layout = device.pageLayout();
    const QRectF inches = layout.fullRect(QPageLayout::Inch);
    PageGeometry page;
    page.width = inches.width() * device.logicalDpiX();
    page.height = inches.height() * device.logicalDpiY();
    page.landscape = layout.orientation() == QPageLayout::Landscape;
    return page;
}

bool printAll(PageModel& model, QPagedPaintDevice& device)
{
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    PainterCanvas canvas(painter);
    const PageGeometry page = geometryOf(device);
    const int pages = model.pageCount(canvas, page);
    for (int n = 1; n <= pages; ++n) {
        if (n > 1)
            device.newPage();
        model.drawPage(canvas, page, n);
    }
    return painter.end();
}

bool writePdf(PageModel& model, const QString& fileName, QPageLayout::Orientation orientation, QString* error)
{
    return writePdf(model, fileName, QPageLayout(QPageSize(QPageSize::A4), orientation, QMarginsF()), error);
}

bool writePdf(PageModel& model, const QString& fileName, const QPageLayout& layout, QString* error)
{
    QSaveFile file(fileName);
    const auto fail = [&](const QString& reason) {
        if (error)
            *error = QCoreApplication::translate("ListPrinter", "Die Datei „%1“ konnte nicht geschrieben werden: %2")
                         .arg(fileName, reason);
        return false;
    };
    if (!file.open(QIODevice::WriteOnly))
        return fail(file.errorString());
    {
        QPdfWriter writer(&file);
        writer.setResolution(600);
        writer.setPageLayout(QPageLayout(layout.pageSize(), layout.orientation(), QMarginsF()));
        writer.setCreator(QCoreApplication::applicationName());
        if (!printAll(model, writer))
            return fail(QCoreApplication::translate("ListPrinter", "Die Seiten konnten nicht erzeugt werden."));
    }
    if (!file.commit())
        return fail(file.errorString());
    return true;
}

} // namespace ListPrinter
