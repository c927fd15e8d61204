#pragma once

#include <QHash>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>

class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QWidget;
class RecordSet;

// Binds edit controls to fields of a record set's current record, as data-aware controls do:
// they show the current record, and the user's typing puts the record set into edit state
// (into insert state when it is empty) and changes the field. Texts are written at once;
// numbers, prices and dates are converted when the record is posted, so that half-typed input
// is not refused while typing. Only the user's input counts: filling a control from code never
// changes the record.
class FieldBinder : public QObject
{
    Q_OBJECT

public:
    FieldBinder(RecordSet* recordSet, QWidget* errorParent);

    void bind(QLineEdit* edit, const QString& field);
    void bind(QComboBox* combo, const QString& field); // editable combo
    void bind(QPlainTextEdit* memo, const QString& field);
    void bind(QLabel* label, const QString& field); // read-only display

    // Shows the current record in every bound control.
    void refresh();
    // Writes input that is still pending into the record (also done before every post).
    void flush();

private:
    struct Binding
    {
        QPointer<QWidget> widget;
        QString field;
        bool pending = false;
        QString pendingText;
    };
    void userTyped(Binding& b, const QString& text);
    QString currentText(const QString& field) const;

    RecordSet* m_rs;
    QPointer<QWidget> m_errorParent;
    QList<Binding*> m_bindings;
    bool m_refreshing = false;
    bool m_writing = false;

public:
    ~FieldBinder() override;
};
