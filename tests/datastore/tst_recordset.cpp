// The record set: states, writing, two workstations, cursor, locate, sort, lookups.
#include "TestSupport.h"
#include "datastore/DataError.h"
#include "datastore/LibraryData.h"
#include "datastore/RecordSetModel.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QTest>

#include <memory>

class TestRecordSet : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestEnvironment> env;
    std::unique_ptr<LibraryData> a; // workstation A
    std::unique_ptr<FixtureWriter> w;

    RecordSet& books() { return a->books(); }
    QVariant stored(const QString& sql) { return w->scalar(sql); }

private slots:
    void init()
    {
        env = std::make_unique<TestEnvironment>();
        createLibraryDatabase(env->dbDir());
        w = std::make_unique<FixtureWriter>(env->dbDir());
        w->insert("Buecher", {{"Verfasser", "Zweig"}, {"Titel", "Schachnovelle"}, {"ausgeliehen", 0}});
        w->insert("Buecher", {{"Verfasser", "Äbel"}, {"Titel", "Apfel"}, {"ausgeliehen", 1}});
        w->insert("Buecher", {{"Verfasser", "abel"}, {"Titel", "Birne"}, {"ausgeliehen", 0}});
        w->insert("Buecher", {{"Verfasser", "Bauer"}, {"Titel", "Chronik"}, {"ausgeliehen", 0}});
        w->insert("Leser", {{"Vorname", "Anna"}, {"Nachname", "Roth"}});
        a = std::make_unique<LibraryData>();
        QVERIFY(a->openAtStart(env->dbDir()));
    }

    void cleanup()
    {
        a.reset();
        w.reset();
        env.reset();
    }

    void newBookWithOnlyTitle()
    {
        RecordSet& rs = books();
        QSignalSpy inserted(&rs, &RecordSet::afterInsert);
        QSignalSpy posted(&rs, &RecordSet::afterPost);
        rs.insert();
        QCOMPARE(rs.state(), DataSetState::Insert);
        QCOMPARE(inserted.count(), 1);
        QVERIFY(rs.value("Nummer").isNull()); // no number before the first save
        rs.setValue("ausgeliehen", false);
        rs.setText("Titel", "Neu");
        rs.setText("Verfasser", ""); // empty is stored as NULL
        rs.post();
        QCOMPARE(rs.state(), DataSetState::Browse);
        QCOMPARE(posted.count(), 1);
        const qint64 id = rs.value("ID").toLongLong();
        QCOMPARE(id, 5);
        QCOMPARE(rs.value("Nummer").toLongLong(), id);
        QCOMPARE(stored("SELECT Titel FROM Buecher WHERE ID = 5").toString(), QStringLiteral("Neu"));
        QCOMPARE(stored("SELECT count(*) FROM Buecher WHERE ID = 5 AND Verfasser IS NULL AND Verlag IS NULL AND "
                        "Preis IS NULL AND Schlagwort10 IS NULL AND ausgeliehen = 0")
                     .toInt(),
                 1);
        QCOMPARE(stored("SELECT count(*) FROM Buecher WHERE Verfasser = ''").toInt(), 0);
    }

    void idsAreNeverReused()
    {
        RecordSet& rs = books();
        rs.last();
        QCOMPARE(rs.value("ID").toLongLong(), 4);
        rs.deleteRecord();
        rs.insert();
        rs.setText("Titel", "Nach dem Löschen");
        rs.post();
        QCOMPARE(rs.value("ID").toLongLong(), 5);
    }

    void editCancelAndDelete()
    {
        RecordSet& rs = books();
        rs.first();
        rs.edit();
        rs.setText("Titel", "Geändert");
        rs.cancel();
        QCOMPARE(rs.state(), DataSetState::Browse);
        QCOMPARE(rs.text("Titel"), QStringLiteral("Schachnovelle"));
        QCOMPARE(stored("SELECT Titel FROM Buecher WHERE ID = 1").toString(), QStringLiteral("Schachnovelle"));

        rs.edit();
        rs.setText("Titel", "Geändert");
        rs.post();
        QCOMPARE(stored("SELECT Titel FROM Buecher WHERE ID = 1").toString(), QStringLiteral("Geändert"));

        rs.deleteRecord();
        QCOMPARE(stored("SELECT count(*) FROM Buecher WHERE ID = 1").toInt(), 0);
        QCOMPARE(rs.recordCount(), 3);
        QCOMPARE(rs.value("ID").toLongLong(), 2); // the next record becomes current
    }

    void leavingARecordPostsOrCancels()
    {
        RecordSet& rs = books();
        // changed: moving posts
        rs.first();
        rs.edit();
        rs.setText("Titel", "Verschoben");
        rs.next();
        QCOMPARE(rs.state(), DataSetState::Browse);
        QCOMPARE(stored("SELECT Titel FROM Buecher WHERE ID = 1").toString(), QStringLiteral("Verschoben"));
        // unchanged new record (only after-insert presets): moving cancels it
        const auto preset = connect(&rs, &RecordSet::afterInsert, &rs, [&rs] { rs.setValue("ausgeliehen", false); });
        rs.insert();
        QVERIFY(!rs.modified());
        rs.first();
        disconnect(preset);
        QCOMPARE(rs.recordCount(), 4);
        QCOMPARE(stored("SELECT count(*) FROM Buecher").toInt(), 4);
        // changed new record: requery posts it first
        rs.insert();
        rs.setText("Titel", "Beim Aktualisieren");
        rs.requery();
        QCOMPARE(stored("SELECT count(*) FROM Buecher WHERE Titel = 'Beim Aktualisieren'").toInt(), 1);
        QCOMPARE(rs.recordCount(), 5);
    }

    void secondWorkstationSeesWritesAtOnce()
    {
        LibraryData b;
        QVERIFY(b.openAtStart(env->dbDir()));
        books().first();
        books().edit();
        books().setText("Titel", "Von A");
        books().post();
        // B's memory holds what it read; its next read shows A's change.
        b.books().first();
        QCOMPARE(b.books().text("Titel"), QStringLiteral("Schachnovelle"));
        b.books().requery();
        QCOMPARE(b.books().text("Titel"), QStringLiteral("Von A"));
    }

    void requeryKeepsFilterAndSort()
    {
        RecordSet& rs = books();
        rs.setIndexFieldNames("Titel");
        rs.setFilter("ausgeliehen = 'false'");
        rs.setFiltered(true);
        rs.last();
        w->insert("Buecher", {{"Titel", "Aal"}, {"ausgeliehen", 0}});
        w->insert("Buecher", {{"Titel", "Zebra"}, {"ausgeliehen", 1}});
        QCOMPARE(rs.recordCount(), 3);
        rs.requery();
        QCOMPARE(rs.recordCount(), 4);
        QCOMPARE(rs.recNo(), 1);
        QCOMPARE(rs.text("Titel"), QStringLiteral("Aal"));
        QCOMPARE(rs.filter(), QStringLiteral("ausgeliehen = 'false'"));
        QCOMPARE(rs.indexFieldNames(), QStringLiteral("Titel"));
    }

    void sortGermanIgnoringCase()
    {
        RecordSet& rs = books();
        rs.setIndexFieldNames("Verfasser;Titel");
        QStringList order;
        for (rs.first(); !rs.eof(); rs.next())
            order << rs.text("Titel");
        // Letter case does not count ("abel" before "Bauer"); the umlaut sorts right after its vowel.
        QCOMPARE(order, (QStringList{"Birne", "Apfel", "Chronik", "Schachnovelle"}));
        rs.setIndexFieldNames("Nummer");
        rs.last();
        QCOMPARE(rs.value("ID").toLongLong(), 4);
        QVERIFY_THROWS_EXCEPTION(DataError, rs.setIndexFieldNames("Farbe"));
        QCOMPARE(rs.indexFieldNames(), QStringLiteral("Nummer"));
    }

    void sortFollowsChangedAndNewRecords()
    {
        // A changed or added record takes its place in the next filtered or sorted view.
        RecordSet& rs = books();
        rs.setIndexFieldNames("Titel");
        rs.setFilter("ausgeliehen = 'false'");
        rs.setFiltered(true);
        rs.last();
        QCOMPARE(rs.text("Titel"), QStringLiteral("Schachnovelle"));
        rs.edit();
        rs.setText("Titel", "Aaron");
        rs.post();
        rs.insert();
        rs.setText("Titel", "Buch");
        rs.setValue("ausgeliehen", false);
        rs.post();
        rs.setFilter("Titel <> 'x'");
        QStringList order;
        for (rs.first(); !rs.eof(); rs.next())
            order << rs.text("Titel");
        QCOMPARE(order, (QStringList{"Aaron", "Apfel", "Birne", "Buch", "Chronik"}));
    }

    void postedRecordLeavesFilteredView()
    {
        RecordSet& rs = books();
        rs.setFilter("ausgeliehen = 'false'");
        rs.setFiltered(true);
        QCOMPARE(rs.recordCount(), 3);
        rs.first();
        QCOMPARE(rs.value("ID").toLongLong(), 1);
        QSignalSpy posted(&rs, &RecordSet::afterPost);
        QVariant idSeenAfterPost;
        connect(&rs, &RecordSet::afterPost, &rs, [&] { idSeenAfterPost = rs.value("ID"); });
        rs.edit();
        rs.setValue("ausgeliehen", true);
        rs.post();
        QCOMPARE(idSeenAfterPost.toLongLong(), 1); // the reaction still sees the posted book
        QCOMPARE(rs.recordCount(), 2);
        QCOMPARE(rs.value("ID").toLongLong(), 3);
    }

    void locateOpenLoan()
    {
        w->insert("Ausleihe", {{"BuecherID", 2},
                               {"LeserID", 1},
                               {"DatumVon", "2026-01-01 10:00:00"},
                               {"DatumBis", "2026-01-20 10:00:00"}});
        w->insert("Ausleihe", {{"BuecherID", 2},
                               {"LeserID", 1},
                               {"DatumVon", "2026-02-01 10:00:00"},
                               {"DatumBisSoll", "2026-03-03 10:00:00"}});
        RecordSet& loans = a->loans();
        loans.requery();
        QVERIFY(loans.locate("BuecherID;DatumBis", {QStringLiteral("2"), QString()}));
        QCOMPARE(loans.value("ID").toLongLong(), 2);
        QCOMPARE(loans.value("DatumBisSoll").toDateTime(), QDateTime(QDate(2026, 3, 3), QTime(10, 0)));
        QCOMPARE(loans.text("DatumVon"), QStringLiteral("01.02.2026"));
        QVERIFY(!loans.locate("BuecherID;DatumBis", {QStringLiteral("3"), QString()}));
        QVERIFY(!loans.locate("BuecherID;DatumBis", {QStringLiteral("x"), QString()}));
        // looked-up fields; a deleted book leaves them empty
        QCOMPARE(loans.text("BuchTitel"), QStringLiteral("Apfel"));
        QCOMPARE(loans.text("LeserNachname"), QStringLiteral("Roth"));
        QCOMPARE(loans.text("BuchNummer"), QStringLiteral("2"));
        QVERIFY(books().locate("ID", {2}));
        books().deleteRecord();
        QCOMPARE(loans.text("BuchTitel"), QString());
        QCOMPARE(loans.text("BuchNummer"), QString());
    }

    void overlongTextRefused()
    {
        RecordSet& rs = books();
        rs.first();
        rs.edit();
        rs.setText("Titel", QString(101, u'x'));
        try {
            rs.post();
            QFAIL("an over-long title was stored");
        } catch (const DataError& e) {
            QVERIFY2(e.message().contains(QStringLiteral("„Titel“")), qPrintable(e.message()));
        }
        QCOMPARE(rs.state(), DataSetState::Edit);
        QCOMPARE(stored("SELECT Titel FROM Buecher WHERE ID = 1").toString(), QStringLiteral("Schachnovelle"));
        rs.setText("Titel", QString(100, u'ß')); // the limit counts characters, not bytes
        rs.post();
        QCOMPARE(stored("SELECT length(Titel) FROM Buecher WHERE ID = 1").toInt(), 100);
    }

    // What is typed is what is stored and read back, character for character.
    void textsAreStoredAsTyped_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("stored");                         // empty: refused
        const QString emoji = QString::fromUtf8("\xF0\x9F\x93\x9A"); // a book, two UTF-16 units
        QTest::newRow("leading BOM") << QString(QChar(0xFEFF)) + "Titel" << QString(QChar(0xFEFF)) + "Titel";
        QTest::newRow("lone high surrogate") << QString(QChar(0xD83D)) + "AB" << QString(QChar(0xFFFD)) + "AB";
        QTest::newRow("lone low surrogate") << "A" + QString(QChar(0xDC9A)) + "B"
                                            << "A" + QString(QChar(0xFFFD)) + "B";
        QTest::newRow("100 emoji are 100 characters") << emoji.repeated(100) << emoji.repeated(100);
        QTest::newRow("NUL refused") << QStringLiteral("vor") + QChar(0) + QStringLiteral("nach") << QString();
    }

    void textsAreStoredAsTyped()
    {
        QFETCH(QString, typed);
        QFETCH(QString, stored);
        RecordSet& rs = books();
        rs.first();
        rs.edit();
        try {
            rs.setText("Titel", typed);
            rs.post();
            QVERIFY2(!stored.isEmpty(), "a NUL character was taken");
        } catch (const DataError& e) {
            QVERIFY2(stored.isEmpty(), qPrintable(e.message()));
            QVERIFY2(e.message().contains("Steuerzeichen"), qPrintable(e.message()));
            QCOMPARE(this->stored("SELECT Titel FROM Buecher WHERE ID = 1").toString(),
                     QStringLiteral("Schachnovelle"));
            return;
        }
        QCOMPARE(rs.text("Titel"), stored);
        QCOMPARE(this->stored("SELECT Titel FROM Buecher WHERE ID = 1").toString(), stored);
        LibraryData other;
        QVERIFY(other.openAtStart(env->dbDir()));
        QVERIFY(other.books().locate("ID", {1}));
        QCOMPARE(other.books().text("Titel"), stored);
    }

    void moneyIsExact()
    {
        RecordSet& rs = books();
        rs.first();
        rs.edit();
        rs.setText("Preis", "0,1");
        const qint64 tenth = rs.value("Preis").toLongLong();
        rs.setText("Preis", "0,2");
        rs.setValue("Preis", tenth + rs.value("Preis").toLongLong());
        rs.post();
        LibraryData b;
        QVERIFY(b.openAtStart(env->dbDir()));
        b.books().first();
        QCOMPARE(b.books().text("Preis"), QStringLiteral(",30 €"));
        QCOMPARE(b.books().value("Preis").toLongLong(), 3000);
        QCOMPARE(stored("SELECT typeof(Preis) || ':' || Preis FROM Buecher WHERE ID = 1").toString(),
                 QStringLiteral("integer:3000"));
        // text that is no amount is refused and changes nothing
        b.books().edit();
        QVERIFY_THROWS_EXCEPTION(DataError, b.books().setText("Preis", "zwölf"));
        QCOMPARE(b.books().value("Preis").toLongLong(), 3000);
    }

    void concurrentChangeIsNotOverwritten()
    {
        LibraryData b;
        QVERIFY(b.openAtStart(env->dbDir()));
        books().first();
        books().edit();
        books().setText("Titel", "Von A");
        books().post();
        RecordSet& stale = b.books();
        stale.first();
        stale.edit();
        stale.setText("Titel", "Von B");
        QVERIFY_THROWS_EXCEPTION(DataError, stale.post());
        QCOMPARE(stale.state(), DataSetState::Edit);
        QCOMPARE(stored("SELECT Titel FROM Buecher WHERE ID = 1").toString(), QStringLiteral("Von A"));
        // a change of another column of the same record does not conflict
        stale.cancel();
        stale.edit();
        stale.setText("Verlag", "Von B");
        stale.post();
        QCOMPARE(stored("SELECT Titel || '/' || Verlag FROM Buecher WHERE ID = 1").toString(),
                 QStringLiteral("Von A/Von B"));
    }

    void failedWriteLeavesNothingBehind()
    {
        w->exec("CREATE TRIGGER fail_book AFTER UPDATE ON Buecher BEGIN SELECT RAISE(ABORT, 'kaputt'); END");
        RecordSet& rs = books();
        RecordSet& loans = a->loans();
        rs.first();
        // alone: the record stays in edit state with its values
        rs.edit();
        rs.setValue("ausgeliehen", true);
        QVERIFY_THROWS_EXCEPTION(DataError, rs.post());
        QCOMPARE(rs.state(), DataSetState::Edit);
        rs.cancel();
        // together with a loan in one transaction: neither is written, memory follows
        QSignalSpy loanPosted(&loans, &RecordSet::afterPost);
        try {
            Transaction t(a->database());
            loans.insert();
            loans.setValue("BuecherID", 1);
            loans.setValue("LeserID", 1);
            loans.post();
            QCOMPARE(loanPosted.count(), 0); // reactions wait for the commit
            rs.edit();
            rs.setValue("ausgeliehen", true);
            rs.post();
            t.commit();
            QFAIL("the failing write was not reported");
        } catch (const DataError& e) {
            QVERIFY(e.details().contains("kaputt")); // the engine's text, as details
        }
        QCOMPARE(loanPosted.count(), 0);
        QCOMPARE(stored("SELECT count(*) FROM Ausleihe").toInt(), 0);
        QCOMPARE(loans.recordCount(), 0);
        QCOMPARE(rs.state(), DataSetState::Browse);
        QVERIFY(rs.locate("ID", {1}));
        QCOMPARE(rs.value("ausgeliehen").toBool(), false);
    }

    void operationsOnClosedSetFail()
    {
        RecordSet& rs = a->readers();
        rs.close();
        QVERIFY_THROWS_EXCEPTION(DataError, rs.first());
        QVERIFY_THROWS_EXCEPTION(DataError, rs.insert());
        QVERIFY_THROWS_EXCEPTION(DataError, rs.setFilter("ID = 1"));
        // and an empty one has no current record
        rs.open();
        rs.setFilter("ID = 99");
        rs.setFiltered(true);
        QVERIFY(rs.eof());
        QVERIFY_THROWS_EXCEPTION(DataError, rs.deleteRecord());
        QVERIFY_THROWS_EXCEPTION(DataError, rs.edit());
    }

    void gridModelFollowsChanges()
    {
        RecordSetModel model(&books(), {{"Nummer", "Nr."}, {"Titel", "Titel"}, {"Preis", "Preis"}});
        QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
        RecordSet& rs = books();
        QCOMPARE(model.rowCount(), 4);
        rs.setRecNo(2);
        rs.insert();
        QCOMPARE(model.rowCount(), 5);
        QCOMPARE(model.index(1, 1).data().toString(), QString());
        rs.setText("Titel", "Mitte");
        rs.setText("Preis", "12,5");
        QCOMPARE(model.index(1, 1).data().toString(), QStringLiteral("Mitte"));
        rs.post();
        QCOMPARE(model.index(1, 0).data().toString(), QStringLiteral("5"));
        QCOMPARE(model.index(1, 2).data().toString(), QStringLiteral("12,50 €"));
        rs.insert();
        rs.cancel();
        QCOMPARE(model.rowCount(), 5);
        rs.setFilter("Titel LIKE '%e%'");
        rs.setFiltered(true);
        QCOMPARE(model.rowCount(), rs.recordCount());
        rs.first();
        rs.deleteRecord();
        QCOMPARE(model.rowCount(), rs.recordCount());
        model.setColumnTitle(1, "Buchtitel");
        QCOMPARE(model.headerData(1, Qt::Horizontal).toString(), QStringLiteral("Buchtitel"));
    }

    void editingInTheGridReportsInsteadOfThrowing()
    {
        // The view's editor code calls setData; it must get false and a message, never an exception.
        RecordSetModel model(&books(), {{"Titel", "Titel", 0, true}, {"Preis", "Preis", 0, true}});
        QSignalSpy errors(&model, &RecordSetModel::errorOccurred);
        QVERIFY(!model.setData(model.index(0, 1), "zwölf"));
        QCOMPARE(errors.count(), 1);
        QVERIFY(errors.first().first().toString().contains(QStringLiteral("„Preis“")));
        QVERIFY(model.setData(model.index(0, 1), "12,5"));
        QVERIFY(model.setData(model.index(0, 0), "Neu im Raster"));
        books().post();
        QCOMPARE(stored("SELECT Titel || '/' || Preis FROM Buecher WHERE ID = 1").toString(),
                 QStringLiteral("Neu im Raster/125000"));
        QCOMPARE(errors.count(), 1);
    }
};

QTEST_GUILESS_MAIN(TestRecordSet)
#include "tst_recordset.moc"
