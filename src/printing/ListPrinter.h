#pragma once

#include "PageModel.h"

#include <QPageLayout>
#include <QString>

class QPagedPaintDevice;

// Puts the pages of a printed list onto a paged device (a printer or a PDF file).
namespace ListPrinter {

// The device's whole sheet in its own dots, with its orientation.
PageGeometry geometryOf(const QPagedPaintDevice& device);

// Draws pages 1 to the page count. The device must be set to paint the whole sheet (no margins),
// since positions are measured from the sheet's top-left corner. False when the device cannot
// be painted on.
bool printAll(PageModel& model, QPagedPaintDevice& device);

// Writes the list as a PDF file at 600 dots per inch on sheets of the layout's size and
// orientation (its margins are ignored). On failure the file is left as it was and `error` gets
// a German message.
bool writePdf(PageModel& model, const QString& fileName, const QPageLayout& layout, QString* error = nullptr);
bool writePdf(PageModel& model, const QString& fileName, QPageLayout::Orientation orientation,
              QString* error = nullptr);

} // namespace ListPrinter
