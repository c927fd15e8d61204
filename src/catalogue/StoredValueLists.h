#pragma once

#include <QObject>
#include <QStringList>

class LibraryData;

// The working copies of the five stored value lists (keywords, locations, places of
// publication, subject groups, publishers) that the book entry offers in its combo boxes, and
// their update whenever a book has been saved.
class StoredValueLists : public QObject
{
    Q_OBJECT

public:
    enum List { Schlagwort, Standort, Erscheinungsort, Sachgruppe, Verlag };

    explicit StoredValueLists(LibraryData& data, QObject* parent = nullptr);

    const QStringList& list(List which) const { return m_lists[which]; }
    static QString blobField(List which);

    // Loads all five lists from the database (FillBookEntryLists).
    void reload();

    // After a book was saved: re-reads the stored lists and appends each of the book's values that
    // is not yet in its list (regardless of letter case), then writes all five lists back. The
    // read and the writes run in one transaction, so two workstations saving at the same moment
    // lose no entry.
    void addValuesOfCurrentBook();
    // The same once for many books: those in these rows of the book record set (after an import).
    void addValuesOfBooks(const QList<int>& rows);

    // True when the list holds an entry equal to the value, ignoring letter case.
    static bool listContainsValue(const QStringList& list, const QString& value);

signals:
    void listsChanged();

private:
    // Values per list, in the order they came; empty ones are skipped.
    void addValues(const QStringList (&values)[5]);

    LibraryData& m_data;
    QStringList m_lists[5];
};
