#include "StoredListEditing.h"

#include "FieldCaptions.h"
#include "datastore/Database.h"
#include "datastore/LibraryData.h"

#include <QCollator>
#include <QLocale>

#include <algorithm>

namespace StoredListEditing {

QStringList storedList(const RecordSet& blob, StoredValueLists::List which)
{
    if (!blob.active() || blob.isEmpty())
        return {};
    return FieldCaptions::splitLines(blob.value(StoredValueLists::blobField(which)).toString());
}

QStringList sortedAlphabetically(QStringList entries)
{
    QCollator collator(QLocale(QLocale::German, QLocale::Germany));
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::stable_sort(entries.begin(), entries.end(),
                     [&](const QString& a, const QString& b) { return collator.compare(a, b) < 0; });
    return entries;
}

int entryToRemove(const QStringList& entries, const QString& text)
{
    const qsizetype exact = entries.indexOf(text);
    if (exact >= 0)
        return int(exact);
    for (int i = 0; i < entries.size(); ++i)
        if (entries.at(i).compare(text, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

QStringList removeEntry(LibraryData& data, StoredValueLists::List which, const QString& text)
{
    RecordSet& blob = data.blob();
    Transaction t(data.database());
    blob.requery(); // under the write lock
    QStringList entries = storedList(blob, which);
    const int index = entryToRemove(entries, text);
    if (index >= 0) {
        entries.removeAt(index);
        blob.edit();
        blob.setValue(StoredValueLists::blobField(which), FieldCaptions::joinLines(entries));
        blob.post();
    }
    t.commit();
    return entries;
}

} // namespace StoredListEditing
