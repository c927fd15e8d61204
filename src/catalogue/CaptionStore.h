#pragma once

#include <QString>
#include <QStringList>

class LibraryData;

// Writing the library's own field captions (the text FeldnamenBuecher of the stored row).
namespace CaptionStore {

// The stored text from the eleven captions in stored line order (Verfasser, Titel, Verlag,
// Erscheinungsort, Auflage, Sachgruppe, ISBN, Signatur, Standort, Erscheinungsjahr, Bemerkung),
// followed by the fixed line "Sonstiges"; every line ended by CR LF. A line break typed or
// pasted into a caption becomes a blank, so that it cannot shift the lines after it.
QString storedText(const QStringList& captions);

// Stores the text, re-reading the row under the write lock first. Throws DataError.
void write(LibraryData& data, const QString& text);

} // namespace CaptionStore
