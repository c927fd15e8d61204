#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QVariant>

class QLabel;
class QLineEdit;
class QTableView;
class QWidget;
class RecordSet;
class RecordSetModel;

// A list to pick a record from, as the lend and return dialogs have them: a grid of the number
// and two text columns over one of the main window's record sets, narrowed to what the dialog
// can act on (the base filter, e.g. "books not lent") and by three search edits as the user
// types. A click into the grid hides the dialog's "booked" confirmation.
class RecordPicker : public QObject
{
    Q_OBJECT

public:
    struct Column
    {
        QString field;
        QString title;
        QLineEdit* search;
    };
    // `columns`: the number column first, then the two text columns.
    RecordPicker(RecordSet& records, QString baseFilter, QTableView* grid, const QList<Column>& columns, QLabel* booked,
                 QWidget* dialog);

    // The dialog's confirmation label: hidden, but keeping its place so the lists do not jump.
    static void prepareBookedLabel(QLabel* booked);

    // The show step: the list starts narrowed by the base filter only.
    void show();
    // The close step: the record set's filter is switched off again.
    void close();

    // The ID of the record the user has chosen (the cursor), null when there is none.
    QVariant currentId() const;

signals:
    // The user chose afresh: clicked into the grid, moved in it, or changed a search edit.
    void chosen();

private:
    void narrow(const QString& field, const QString& text);

    RecordSet& m_records;
    QString m_baseFilter;
    QList<QLineEdit*> m_edits;
    QPointer<QWidget> m_dialog;
};
