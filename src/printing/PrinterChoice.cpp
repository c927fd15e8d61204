#include "PrinterChoice.h"

#include <QCoreApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>
#include <QPrinterInfo>

namespace PrinterChoice {

namespace {

QString tr(const char* text)
{
    return QCoreApplication::translate("PrinterChoice", text);
}

} // namespace

QString selectDefault(QPrinter& printer)
{
    QString name = QPrinterInfo::defaultPrinterName();
    if (name.isEmpty()) {
        const QStringList names = QPrinterInfo::availablePrinterNames();
        if (!names.isEmpty())
            name = names.first();
    }
    if (name.isEmpty()) {
        // A fresh desktop often has no printer at all: the list then goes into a PDF file.
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setResolution(600);
        printer.setPageSize(QPageSize(QPageSize::A4));
    } else {
        printer.setOutputFormat(QPrinter::NativeFormat);
        printer.setPrinterName(name);
    }
    // Positions are measured from the sheet's corner, not from the printable area.
    printer.setFullPage(true);
    printer.setPageOrientation(QPageLayout::Portrait);
    return displayName(printer);
}

bool writesPdf(const QPrinter& printer)
{
    return printer.outputFormat() == QPrinter::PdfFormat;
}

QString displayName(const QPrinter& printer)
{
    return writesPdf(printer) ? tr("PDF-Datei") : printer.printerName();
}

} // namespace PrinterChoice
