#include "ColumnWidths.h"

#include "datastore/Settings.h"

#include <QAbstractItemModel>
#include <QTableView>

namespace ColumnWidths {

namespace {
QString title(QTableView* view, int column)
{
    return view->model()->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString();
}
} // namespace

void restore(const QList<Grid>& grids)
{
    for (const Grid& g : grids) {
        if (!g.view || !g.view->model())
            continue;
        for (int c = 0; c < g.view->model()->columnCount(); ++c) {
            const int w = Settings::ReadSettingInt(g.prefix + title(g.view, c));
            g.view->setColumnWidth(c, w != 0 ? w : 50);
        }
    }
}

void save(const QList<Grid>& grids)
{
    for (const Grid& g : grids) {
        if (!g.view || !g.view->model())
            continue;
        for (int c = 0; c < g.view->model()->columnCount(); ++c)
            Settings::WriteSettingInt(g.prefix + title(g.view, c), g.view->columnWidth(c));
    }
}

} // namespace ColumnWidths
