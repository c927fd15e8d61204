#pragma once

#include <QString>
#include <QStringList>

// Filter texts of the book search. The typed text is placed between quotes with its own quotes
// doubled and, in LIKE patterns, % and _ escaped, so any text is searched literally.
namespace SearchFilter {

// The choice in the field list that searches all ten keyword fields at once.
QString keywordChoice();

// The column a displayed caption stands for. The captions in force (`captions`, in the order of
// the books grid's columns) come first, so a field the library renamed is still found; then the
// settings values named after the columns; the number ("Nr.", "Nummer") is the book's ID. Any
// other text is taken as a column name.
QString fieldForCaption(const QString& caption, const QStringList& captions);
// The same with the captions of the books lists.
QString fieldForCaption(const QString& caption);

// "Field = 'text'", or for the keyword choice an OR over the ten keyword fields.
QString exactFilter(const QString& caption, const QString& text);
// "Field LIKE '%text%' OR Field = 'text'", or for the keyword choice the same over the ten
// keyword fields (all LIKE terms first, then all equality terms).
QString partialFilter(const QString& caption, const QString& text);

// Removes leading and trailing blanks and control characters.
QString trimSearchText(const QString& text);

} // namespace SearchFilter
