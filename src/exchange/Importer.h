#pragma once

#include "ImportTarget.h"
#include "SourceTable.h"

#include <QList>
#include <QString>
#include <functional>

class LibraryData;

// Adds every record of a source table as a new book or reader, in the order of the source, in
// one transaction: either all records are stored or none. Values are set as if typed; a value
// longer than its field is cut to the field's size, and a price that cannot be read is left
// empty, both counted for the summary.
class Importer
{
public:
    struct Result
    {
        int imported = 0;
        int shortened = 0;        // values cut to their field's size
        int unreadablePrices = 0; // books stored without a price
        bool cancelled = false;
    };

    Importer(LibraryData& data, ImportTarget::Kind kind);

    // Called now and then with the records done and the total; returning false cancels the import,
    // which then stores nothing.
    void setProgress(std::function<bool(int done, int total)> progress) { m_progress = std::move(progress); }
    // Runs once after the records are stored, with the record set's rows of the new records
    // (the stored value lists take up the books' values here, once for the whole import).
    void setAfterImport(std::function<void(const QList<int>& rows)> afterImport)
    {
        m_afterImport = std::move(afterImport);
    }

    // assignments[i] is the source field for target row i (ImportTarget::rows), or -1.
    // With skipFirstRecord the first record holds field names and is not imported.
    // A failure throws DataError naming the source record; nothing is stored then.
    Result run(const SourceTable& source, const QList<int>& assignments, bool skipFirstRecord);

    // "12 Bücher importiert", and what the user should know about prices and shortened values.
    QString summary(const Result& result) const;

private:
    LibraryData& m_data;
    ImportTarget::Kind m_kind;
    std::function<bool(int, int)> m_progress;
    std::function<void(const QList<int>&)> m_afterImport;
};
