#pragma once

#include <QObject>
#include <QPointer>
#include <QTableView>

class RecordSetModel;

// Couples a grid to its record set: the grid's current row follows the cursor, and the cursor
// follows the grid only on the user's input (click, keys). Sets up the common grid behaviour:
// whole-row selection, selection always shown, resizable columns, no typing into cells (unless
// a column is editable).
class GridBinding : public QObject
{
    Q_OBJECT

public:
    GridBinding(QTableView* view, RecordSetModel* model);

    QTableView* view() const { return m_view; }
    RecordSetModel* model() const { return m_model; }

    // Design widths of the model's columns (0 = the grid's default width).
    void applyDesignWidths();

signals:
    // The user moved the cursor in the grid (click, keys); not when the grid only followed it.
    void userMovedCursor();

private:
    void followCursor(int position);

    QPointer<QTableView> m_view;
    RecordSetModel* m_model;
    bool m_syncing = false;
    bool m_rowsChanging = false;
};

// Sorts the grid's record set by the field of the column ("Nummer" sorts by ID, which it shows).
void sortByTitle(RecordSetModel* model, int column);
// A click on a column title sorts that way; errors are shown over errorParent.
void sortOnTitleClick(QTableView* view, RecordSetModel* model, QWidget* errorParent);
