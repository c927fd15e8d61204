#pragma once

#include <QList>
#include <QString>

// One row of the import's assignment grid: the caption the user sees and the field it fills.
// A row without a field takes an assignment but writes nothing ("Schlagworte" of books, whose
// keywords go to the ten single keyword rows; "Nr." of readers, whose number the database gives).
struct ImportTarget
{
    QString caption;
    QString field;

    enum class Kind { Books, Readers };
    // The rows in grid order: 23 for books, 10 for readers.
    static const QList<ImportTarget>& rows(Kind kind);
};
