#pragma once

#include <QStringList>

// Column titles of the lists, held for the whole run and read by search, printing and export.
namespace FieldCaptions {

// 23 titles of the books lists, in column order. Entries 1-10 and 12 follow the library's own
// captions (stored with the database); the rest keep their defaults.
QStringList& bookFieldCaptions();
const QStringList& defaultBookFieldCaptions();
// The 23 book fields shown in those columns ("Nummer", "Verfasser", ..., "Schlagwort10").
const QStringList& bookColumnFields();
// Design widths of those columns in pixels (the main books grid and the search grid).
const QList<int>& bookColumnDesignWidths();

// Fixed titles of the loan list (9) and the readers list (10), and the fields in those columns.
const QStringList& loanFieldCaptions();
const QStringList& readerFieldCaptions();
const QStringList& loanColumnFields();
const QStringList& readerColumnFields();

// Replaces the variable entries of BookFieldCaptions from the stored caption text (CR LF lines:
// Verfasser, Titel, Verlag, Erscheinungsort, Auflage, Sachgruppe, ISBN, Signatur, Standort,
// Erscheinungsjahr, Bemerkung, Sonstiges). Missing lines keep the default caption; empty lines
// are kept as empty captions.
void applyStoredCaptions(const QString& stored);

// Splits a stored list text into its entries; every line is ended by CR LF (a lone LF is
// tolerated). Empty lines inside the text are kept.
QStringList splitLines(const QString& text);
// Joins entries, every one followed by CR LF.
QString joinLines(const QStringList& lines);

} // namespace FieldCaptions
