#pragma once

#include "ImportTarget.h"
#include "SourceTable.h"

#include <QList>
#include <QString>
#include <QStringList>

// What an import wizard shows and keeps for the program's run: the source file, its table list
// and the chosen table, the separator for text files, whether the first record holds field
// names, the preview of the source, and which source field fills which target row.
class ImportSession
{
public:
    explicit ImportSession(ImportTarget::Kind kind);

    ImportTarget::Kind kind() const { return m_kind; }
    const QList<ImportTarget>& targets() const { return ImportTarget::rows(m_kind); }

    QString fileName;
    QStringList tableNames; // filled by the first load of an Access file or workbook
    QString table;          // the table to read; the first one when empty
    QChar separator = u';';
    bool firstRecordHoldsNames = false;

    // Reads the source again with the options above; does nothing without a file name. Throws
    // DataError with the message for the user; the former preview then stays.
    void load();
    // Forgets the table list and the chosen table (a new file was chosen).
    void clearTables();

    bool hasSource() const { return m_hasSource; }
    const SourceTable& preview() const { return m_preview; }

    // Target row r takes source field f; the mapping grid shows the field's values in the first
    // two records (its name and first value when the first record holds names).
    void assign(int targetRow, int sourceField);
    void remove(int targetRow);
    const QList<int>& assignments() const { return m_assignments; }
    QString shownFirst(int targetRow) const { return m_shownFirst.value(targetRow); }
    QString shownSecond(int targetRow) const { return m_shownSecond.value(targetRow); }

private:
    ImportTarget::Kind m_kind;
    SourceTable m_preview;
    bool m_hasSource = false;
    QList<int> m_assignments;
    QStringList m_shownFirst;
    QStringList m_shownSecond;
};
