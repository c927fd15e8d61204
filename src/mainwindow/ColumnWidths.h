#pragma once

#include <QList>
#include <QPointer>
#include <QString>

class QTableView;

// Grid column widths in the settings store: one integer per column, named by the grid's
// prefix followed by the column's current title ("BreiteAVerfasser", "BreiteDBuch-Nr.").
namespace ColumnWidths {

struct Grid
{
    QString prefix;
    QPointer<QTableView> view;
};

// A stored width other than 0 becomes the column's width; 0 (or none) gives 50 pixels.
void restore(const QList<Grid>& grids);
// Stores the current width of every column. Columns sharing a title share one value.
void save(const QList<Grid>& grids);

} // namespace ColumnWidths
