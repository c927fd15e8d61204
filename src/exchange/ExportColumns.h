#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// One column an export can write: the check box that selects it, the record-set field it
// reads and the caption of its header cell.
struct ExportColumn
{
    QString checkBoxName; // objectName of the check box in the export dialog
    QString checkBoxText;
    QString field;
    QString caption;
};

namespace ExportColumns {

// The 23 book columns in file order; `bookCaptions` are the 23 titles of the book lists as the
// user has set them.
QList<ExportColumn> books(const QStringList& bookCaptions);
// The 10 reader columns in file order; `readerCaptions` are the 10 fixed titles of the readers
// list. Each column takes the title that names its field, so the last two swap places.
QList<ExportColumn> readers(const QStringList& readerCaptions);

} // namespace ExportColumns
