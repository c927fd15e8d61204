// What the user reads when the database refuses: a German sentence that says what happened and
// what to do, the engine's own text only as details, and a busy database offers to try again.
#include "GuiSupport.h"
#include "TestSupport.h"
#include "common/gui/ErrorGuard.h"
#include "datastore/LibraryData.h"

#include <QTest>

class TestErrorMessages : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { SqliteEngine::setBusyTimeoutMs(200); }

    void busyWriteOffersRetryAndKeepsWhatWasTyped()
    {
        TestEnvironment env;
        ScriptedMessages messages;
        LibraryData data;
        data.createDatabase(env.dbDir(), {});
        FixtureWriter other(env.dbDir());
        other.exec("BEGIN IMMEDIATE"); // another workstation is writing
        RecordSet& books = data.books();
        books.insert();
        books.setText("Titel", "Getippt");
        bool retried = false;
        messages.expect("anderer Arbeitsplatz schreibt gerade", Messages::Answer::Retry, [&] {
            QCOMPARE(books.text("Titel"), QStringLiteral("Getippt")); // still there while asked
            other.exec("COMMIT");
            retried = true;
        });
        QVERIFY(guarded(nullptr, [&] { books.post(); }));
        QVERIFY(retried);
        QVERIFY(messages.allAnswered());
        QCOMPARE(messages.kinds.value(0), Messages::Kind::Question);
        QVERIFY2(!messages.shown.value(0).contains("locked"), qPrintable(messages.shown.value(0)));
        QVERIFY2(messages.details.value(0).contains("locked"), qPrintable(messages.details.value(0)));
        QCOMPARE(other.scalar("SELECT Titel FROM Buecher").toString(), QStringLiteral("Getippt"));

        // "Abbrechen" keeps the record as typed, unsaved
        other.exec("BEGIN IMMEDIATE");
        books.edit();
        books.setText("Titel", "Geändert");
        messages.expect("anderer Arbeitsplatz schreibt gerade", Messages::Answer::Cancel);
        QVERIFY(!guarded(nullptr, [&] { books.post(); }));
        QCOMPARE(books.state(), DataSetState::Edit);
        QCOMPARE(books.text("Titel"), QStringLiteral("Geändert"));
        other.exec("COMMIT");
        QVERIFY(messages.unexpected.isEmpty());
    }

    void refusedWriteIsExplainedInGerman()
    {
        TestEnvironment env;
        ScriptedMessages messages;
        LibraryData data;
        data.createDatabase(env.dbDir(), {});
        FixtureWriter(env.dbDir())
            .exec("CREATE TRIGGER nein BEFORE INSERT ON Leser BEGIN SELECT RAISE(ABORT, 'refused by rule'); END");
        data.readers().insert();
        data.readers().setText("Nachname", "Öztürk");
        messages.expect("konnte nicht gespeichert werden", Messages::Answer::Ok);
        QVERIFY(!guarded(nullptr, [&] { data.readers().post(); }));
        QCOMPARE(messages.kinds.value(0), Messages::Kind::Error);
        QVERIFY2(!messages.shown.value(0).contains("refused"), qPrintable(messages.shown.value(0)));
        QVERIFY2(messages.shown.value(0).contains("Bitte"), qPrintable(messages.shown.value(0)));
        QVERIFY2(messages.details.value(0).contains("refused by rule"), qPrintable(messages.details.value(0)));
    }
};

QTEST_MAIN(TestErrorMessages)
#include "tst_errormessages.moc"
