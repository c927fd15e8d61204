#include "StoredValueLists.h"

#include "FieldCaptions.h"
#include "datastore/Database.h"
#include "datastore/LibraryData.h"

#include <QSet>

StoredValueLists::StoredValueLists(LibraryData& data, QObject* parent) : QObject(parent), m_data(data) {}

QString StoredValueLists::blobField(List which)
{
    static const char* names[] = {"Schlagwort", "Standort", "Erscheinungsort", "Sachgruppe", "Verlag"};
    return QString::fromLatin1(names[which]);
}

bool StoredValueLists::listContainsValue(const QStringList& list, const QString& value)
{
    return list.contains(value, Qt::CaseInsensitive);
}

void StoredValueLists::reload()
{
    RecordSet& blob = m_data.blob();
    blob.requery();
    for (int l = Schlagwort; l <= Verlag; ++l)
        m_lists[l] = FieldCaptions::splitLines(blob.value(blobField(List(l))).toString());
    emit listsChanged();
}

void StoredValueLists::addValuesOfCurrentBook()
{
    RecordSet& book = m_data.books();
    QStringList values[5];
    for (int i = 1; i <= 10; ++i)
        values[Schlagwort] << book.value(Field::schlagwort(i)).toString();
    for (List l : {Standort, Erscheinungsort, Sachgruppe, Verlag})
        values[l] << book.value(blobField(l)).toString();
    addValues(values);
}

void StoredValueLists::addValuesOfBooks(const QList<int>& rows)
{
    RecordSet& books = m_data.books();
    QList<int> keywordFields;
    for (int i = 1; i <= Field::KeywordCount; ++i)
        keywordFields << books.fieldIndex(Field::schlagwort(i));
    const List single[] = {Standort, Erscheinungsort, Sachgruppe, Verlag};
    int singleFields[4];
    for (int i = 0; i < 4; ++i)
        singleFields[i] = books.fieldIndex(blobField(single[i]));
    QStringList values[5];
    for (int row : rows) {
        for (int f : keywordFields)
            values[Schlagwort] << books.textAt(row, f);
        for (int i = 0; i < 4; ++i)
            values[single[i]] << books.textAt(row, singleFields[i]);
    }
    addValues(values);
}

void StoredValueLists::addValues(const QStringList (&values)[5])
{
    RecordSet& blob = m_data.blob();
    Transaction t(m_data.database());
    blob.requery(); // under the write lock: entries another workstation added meanwhile are in
    QStringList lists[5];
    for (List l : {Schlagwort, Standort, Erscheinungsort, Sachgruppe, Verlag}) {
        lists[l] = FieldCaptions::splitLines(blob.value(blobField(l)).toString());
        // Compared regardless of letter case, through a set: an import brings thousands of values.
        QSet<QString> known;
        for (const QString& entry : std::as_const(lists[l]))
            known.insert(entry.toCaseFolded());
        for (const QString& v : values[l])
            if (!v.isEmpty() && !known.contains(v.toCaseFolded())) {
                known.insert(v.toCaseFolded());
                lists[l].append(v);
            }
        blob.edit();
        blob.setValue(blobField(l), FieldCaptions::joinLines(lists[l]));
        blob.post();
    }
    t.commit();
    for (int l = Schlagwort; l <= Verlag; ++l)
        m_lists[l] = lists[l];
    emit listsChanged();
}
