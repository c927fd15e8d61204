#pragma once

#include "datastore/Settings.h"
#include "datastore/SqlEngine.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <functional>
#include <optional>

class LibraryData;

// A backup set in a folder: the database copy and, beside it, the settings file.
struct BackupSet
{
    QString folder; // with a final separator
    QDateTime time; // when the backup was taken (the database copy's file date)
    DatabaseContents contents;
    bool hasSettings = false;
    QList<Settings::SettingEntry> settings; // what the settings file holds, already checked
};

// Saves the open database and the settings into a folder, and reads such a set back into the
// open database. Every failure raises DataError with one German message and leaves the previous
// backup, or the current database and settings, as they were.
class LibraryBackup
{
public:
    explicit LibraryBackup(LibraryData& data) : m_data(data) {}

    // Asked when the folder already holds a backup; gets the old backup's date. False keeps it.
    using ReplaceQuestion = std::function<bool(const QDateTime& existingBackup)>;

    // Takes a consistent copy of the database while other workstations may write, checks the
    // copy, then puts it and the settings file into the folder and stores the folder as the last
    // backup folder. Nothing when the user keeps an existing backup.
    std::optional<BackupSet> backup(const QString& folder, const ReplaceQuestion& replaceExisting);

    // Checks a folder before anything is changed: its database must open, be intact, be ours
    // and of a version we read; a settings file beside it must be readable whole.
    BackupSet checkRestore(const QString& folder) const;

    // Reads a checked set back: the current database is first saved beside itself as
    // "db.sqlite.vorher", then its rows are replaced in one transaction and the record sets are
    // re-read; afterwards the settings of the file are written (values it lacks stay).
    void restore(const BackupSet& set);

    // Where restore() keeps the database as it was before.
    QString previousDatabasePath() const;

    static QString withSeparator(const QString& folder);
    static QString replaceQuestion(const QString& folder, const QDateTime& existingBackup);
    static QString backupDoneText(const BackupSet& set);
    static QString restoreQuestion(const BackupSet& set);
    QString restoreDoneText(const BackupSet& set) const;

private:
    LibraryData& m_data;
};
