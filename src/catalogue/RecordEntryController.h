#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>

class QAbstractButton;
class QWidget;
class RecordSet;

// What the book and reader entry share: they edit one record of a record set at a time, with
// a navigator (previous/next), "NEU", "Speichern", "Löschen" after a question, and the question
// "Änderungen speichern …?" when the dialog closes while the record is being edited.
class RecordEntryController : public QObject
{
    Q_OBJECT

public:
    struct Controls
    {
        QAbstractButton* newRecord;
        QAbstractButton* save;
        QAbstractButton* remove;
        QAbstractButton* prior;
        QAbstractButton* next;
    };

    RecordEntryController(RecordSet& records, QWidget* dialog, const Controls& controls, QString deleteQuestion);

    // Deletes the current record after the question `ask`; by default deleteAfterAsking. A record
    // others depend on (a lent book) needs its own.
    using Remover = std::function<void(const std::function<bool()>& ask)>;
    void setRemover(Remover remove) { m_remove = std::move(remove); }

    // The close question; true when the dialog may close. A failed save keeps it open.
    bool mayClose();
    void updateNavigator();

private:
    void newRecord();
    void saveRecord();
    void deleteRecord();

    RecordSet& m_records;
    QPointer<QWidget> m_dialog;
    Controls m_controls;
    QString m_deleteQuestion;
    Remover m_remove;
};
