#pragma once

#include <QString>

class QPrinter;

// Which printer a print dialog uses, and where a list goes when the system lists no printer.
namespace PrinterChoice {

// Selects the system's default printer (or, when none is marked as default, the first one
// listed). Without any printer the printer writes PDF files. Returns the name to show.
QString selectDefault(QPrinter& printer);

// The name to show for the printer's current choice ("PDF-Datei" when it writes files).
QString displayName(const QPrinter& printer);

bool writesPdf(const QPrinter& printer);

} // namespace PrinterChoice
