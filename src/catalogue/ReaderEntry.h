#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>

class PostalCodes;
class RecordSet;

// The steps of the reader entry that need no window.
namespace ReaderEntry {

// Filter of the loans record set for the reader's open loans; "" for a reader without ID.
QString openLoansFilter(const QVariant& readerId);
// Narrows the loans to the current reader's open loans. A reader not saved yet has none.
void showOpenLoans(RecordSet& readers, RecordSet& loans);
// The postal-code lookup for `code` as typed: gives the towns to offer (table order). When
// there are some, the reader is being edited and has no town yet, the first becomes the
// reader's Ort; an existing town is never overwritten.
QStringList lookUpTown(RecordSet& readers, const PostalCodes& codes, const QString& code);

} // namespace ReaderEntry
