#pragma once

#include "Database.h"
#include "RecordSet.h"

#include <QObject>
#include <functional>

// The library's four record sets over one database connection, with the field lists the
// program sees: books, readers, loans (with the looked-up book and reader fields) and the
// single row of stored lists and captions.
class LibraryData : public QObject
{
    Q_OBJECT

public:
    explicit LibraryData(QObject* parent = nullptr);
    ~LibraryData() override;

    Database& database() { return m_db; }
    RecordSet& books() { return *m_buecher; }
    RecordSet& readers() { return *m_leser; }
    RecordSet& loans() { return *m_ausleihe; }
    RecordSet& blob() { return *m_blob; }

    bool isOpen() const;

    // Start-up: connects to the database of the folder and opens loans, readers, books and the
    // stored lists. Any failure leaves the database not open and is not reported.
    bool openAtStart(const QString& directory);

    // Creating and opening from the database dialog. `afterConnect` runs once the new
    // database is connected (applying captions, storing column widths). Both check the target
    // before anything is closed and throw DataError with a German message when it is unusable;
    // then the record sets still show the former database.
    void createDatabase(const QString& directory, const std::function<void()>& afterConnect);
    void openDatabase(const QString& directory, const std::function<void()>& afterConnect);

    void closeAll();

private:
    Database m_db;
    RecordSet* m_buecher;
    RecordSet* m_leser;
    RecordSet* m_ausleihe;
    RecordSet* m_blob;
};
