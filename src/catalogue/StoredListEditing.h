#pragma once

#include "StoredValueLists.h"

#include <QString>
#include <QStringList>

class LibraryData;
class RecordSet;

// Removing single entries from the stored value lists (keywords, publishers, places of
// publication, subject groups, locations).
namespace StoredListEditing {

// The entries of one stored list as the record set holds them.
QStringList storedList(const RecordSet& blob, StoredValueLists::List which);

// Alphabetical order for showing, ignoring letter case (German collation).
QStringList sortedAlphabetically(QStringList entries);

// The entry that deleting `text` removes: the first one equal to it, preferring the exact
// spelling over one that differs only in letter case; -1 when there is none.
int entryToRemove(const QStringList& entries, const QString& text);

// Re-reads the stored list and removes the entry equal to `text` from it, in one transaction,
// so that entries another workstation added meanwhile survive. When the entry is gone already
// nothing is removed. Returns the list as stored afterwards. Throws DataError.
QStringList removeEntry(LibraryData& data, StoredValueLists::List which, const QString& text);

} // namespace StoredListEditing
