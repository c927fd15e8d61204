// Filter texts as the program builds them, over a small library.
#include "TestSupport.h"
#include "datastore/DataError.h"
#include "datastore/FilterExpression.h"
#include "datastore/FilterText.h"
#include "datastore/LibraryData.h"

#include <QDate>
#include <QTest>

namespace {

QString keywordSearch(const QString& e, bool partial)
{
    // The keyword search's filter: every keyword field equal to (and, when partial, containing) e.
    QStringList terms;
    if (partial)
        for (int i = 1; i <= 10; ++i)
            terms << QStringLiteral("Schlagwort%1 LIKE '%%2%'").arg(i).arg(e);
    for (int i = 1; i <= 10; ++i)
        terms << QStringLiteral("Schlagwort%1 = '%2'").arg(i).arg(e);
    // The builders join with "  OR " (two blanks) between pairs and " OR " inside them.
    QString text;
    for (int i = 0; i < terms.size(); ++i)
        text += (i == 0 ? QString() : (i % 2 == 0 ? QStringLiteral("  OR ") : QStringLiteral(" OR "))) + terms.at(i);
    return text;
}

QList<qint64> visibleIds(RecordSet& rs)
{
    QList<qint64> ids;
    const int idField = rs.fieldIndex(QStringLiteral("ID"));
    for (int p = 0; p < rs.recordCount(); ++p)
        ids << rs.valueAt(rs.rowAt(p), idField).toLongLong();
    std::sort(ids.begin(), ids.end());
    return ids;
}

} // namespace

class TestFilter : public QObject
{
    Q_OBJECT

    TestEnvironment env;
    LibraryData data;
    QDate today{2026, 12, 11};

private slots:
    void initTestCase()
    {
        createLibraryDatabase(env.dbDir());
        FixtureWriter w(env.dbDir());
        // IDs 1..12
        w.insert("Buecher", {{"Verfasser", "Müller"},
                             {"Titel", "Die Brücke"},
                             {"Preis", 125000},
                             {"Schlagwort1", "Geschichte"},
                             {"Schlagwort7", "Brückenbau"},
                             {"ausgeliehen", 0}});
        w.insert("Buecher", {{"Verfasser", "O'Brien"},
                             {"Titel", "Dublin"},
                             {"ausgeliehen", 1},
                             {"Schlagwort10", "Irland"},
                             {"Preis", 5000}});
        w.insert("Buecher",
                 {{"Verfasser", "mueller"}, {"Titel", "Kochbuch"}, {"ausgeliehen", 0}, {"Schlagwort3", "geschichte"}});
        for (int i = 4; i <= 12; ++i)
            w.insert("Buecher", {{"Titel", QStringLiteral("Band %1").arg(i)}, {"ausgeliehen", i == 5 ? 1 : 0}});
        const auto stamp = [this](int days, const char* time) {
            return today.addDays(days).toString("yyyy-MM-dd") + ' ' + time;
        };
        // Loans: 1 overdue since yesterday, 2 due today, 3 returned, 4 and 5 of reader 7.
        w.insert("Ausleihe", {{"BuecherID", 1},
                              {"LeserID", 1},
                              {"DatumVon", stamp(-31, "15:00:00")},
                              {"DatumBisSoll", stamp(-1, "15:00:00")}});
        w.insert("Ausleihe", {{"BuecherID", 2},
                              {"LeserID", 1},
                              {"DatumVon", stamp(-30, "08:00:00")},
                              {"DatumBisSoll", stamp(0, "08:00:00")}});
        w.insert("Ausleihe", {{"BuecherID", 3},
                              {"LeserID", 2},
                              {"DatumVon", stamp(-60, "09:00:00")},
                              {"DatumBis", stamp(-40, "10:00:00")}});
        w.insert("Ausleihe", {{"BuecherID", 5},
                              {"LeserID", 7},
                              {"DatumVon", stamp(-3, "09:00:00")},
                              {"DatumBisSoll", stamp(27, "09:00:00")}});
        w.insert("Ausleihe", {{"BuecherID", 4},
                              {"LeserID", 7},
                              {"DatumVon", stamp(-90, "09:00:00")},
                              {"DatumBis", stamp(-70, "09:00:00")}});
        QVERIFY(data.openAtStart(env.dbDir()));
    }

    void filters_data()
    {
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QList<qint64>>("ids");
        using L = QList<qint64>;
        const QString day = today.toString("dd.MM.yyyy");
        QTest::newRow("overdue") << "Ausleihe"
                                 << "DatumBisSoll < '" + day + "'" << L{1};
        QTest::newRow("open loans of reader") << "Ausleihe"
                                              << "LeserID = 7 and DatumBis = NULL" << L{4};
        QTest::newRow("returned") << "Ausleihe"
                                  << "DatumBis <> NULL" << L{3, 5};
        QTest::newRow("lendable and number") << "Buecher"
                                             << "ausgeliehen = 'false' AND ID = '12'" << L{12};
        QTest::newRow("lent book by number") << "Buecher"
                                             << "ausgeliehen = 'false' AND ID = '5'" << L{};
        QTest::newRow("lent") << "Buecher"
                              << "ausgeliehen = 'true'" << L{2, 5};
        QTest::newRow("number not a number") << "Buecher"
                                             << "ID = 'zwölf'" << L{};
        QTest::newRow("like both ends, any case") << "Buecher"
                                                  << "Titel LIKE '%BRÜ%'" << L{1};
        QTest::newRow("like prefix") << "Buecher"
                                     << "Titel LIKE 'band 1%'" << L{10, 11, 12};
        QTest::newRow("like single char") << "Buecher"
                                          << "Titel LIKE 'Band _'" << L{4, 5, 6, 7, 8, 9};
        QTest::newRow("equal ignores case") << "Buecher"
                                            << "Verfasser = 'MÜLLER'" << L{1};
        QTest::newRow("doubled quote") << "Buecher"
                                       << "Verfasser = 'O''Brien'" << L{2};
        QTest::newRow("doubled quote in like") << "Buecher"
                                               << "Verfasser LIKE '%o''b%'" << L{2};
        QTest::newRow("null") << "Buecher"
                              << "Verfasser = NULL" << L{4, 5, 6, 7, 8, 9, 10, 11, 12};
        QTest::newRow("price as shown") << "Buecher"
                                        << "Preis = '12,50 €'" << L{1};
        QTest::newRow("price like shown text") << "Buecher"
                                               << "Preis LIKE ',5%'" << L{2};
        QTest::newRow("and binds tighter") << "Buecher"
                                           << "ID = 1 OR ID = 2 AND ausgeliehen = 'false'" << L{1};
        QTest::newRow("keywords lower case") << "Buecher"
                                             << "titel like '%dub%' or id = 3" << L{2, 3};
        QTest::newRow("parentheses") << "Buecher"
                                     << "(ID = 1 OR ID = 2) AND ausgeliehen = 'false'" << L{1};
        QTest::newRow("keyword search exact") << "Buecher" << keywordSearch("geschichte", false) << L{1, 3};
        QTest::newRow("keyword search partial") << "Buecher" << keywordSearch("brücke", true) << L{1};
        QTest::newRow("keyword search tenth field") << "Buecher" << keywordSearch("irl", true) << L{2};
        QTest::newRow("computed number") << "Buecher"
                                         << "Nummer = 7" << L{7};
        QTest::newRow("looked-up title") << "Ausleihe"
                                         << "BuchTitel LIKE '%brücke%'" << L{1};
    }

    void filters()
    {
        QFETCH(QString, table);
        QFETCH(QString, filter);
        QFETCH(QList<qint64>, ids);
        RecordSet& rs = table == "Buecher" ? data.books() : data.loans();
        rs.setFilter(filter);
        rs.setFiltered(true);
        QCOMPARE(visibleIds(rs), ids);
        QCOMPARE(rs.recordCount(), ids.size());
        rs.setFiltered(false);
    }

    void brokenFilterKeepsFormer_data()
    {
        QTest::addColumn<QString>("filter");
        QTest::newRow("open quote") << "Titel = 'abc";
        QTest::newRow("no value") << "Titel LIKE";
        QTest::newRow("unknown field") << "Farbe = 'rot'";
        QTest::newRow("dangling and") << "ID = 1 AND";
        QTest::newRow("no field") << "= 3";
        QTest::newRow("no operator") << "Titel 'x'";
        QTest::newRow("unclosed parenthesis") << "(ID = 1";
    }

    void brokenFilterKeepsFormer()
    {
        QFETCH(QString, filter);
        RecordSet& rs = data.books();
        rs.setFilter("ausgeliehen = 'true'");
        rs.setFiltered(true);
        QCOMPARE(rs.recordCount(), 2);
        try {
            rs.setFilter(filter);
            QFAIL("a broken filter was accepted");
        } catch (const DataError& e) {
            QVERIFY2(e.message().startsWith(QStringLiteral("Der Filter „")), qPrintable(e.message()));
            QVERIFY(e.message().contains(filter));
        }
        QCOMPARE(rs.filter(), QStringLiteral("ausgeliehen = 'true'"));
        QCOMPARE(rs.recordCount(), 2);
        rs.setFiltered(false);
    }

    void typedTextMatchesItself_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QStringList>("titles");
        QTest::newRow("percent") << "50%" << QStringList{"50% Rabatt"};
        QTest::newRow("underscore") << "a_b" << QStringList{"a_b"};
        QTest::newRow("lone percent") << "%" << QStringList{"50% Rabatt", "C:\\%temp"};
        QTest::newRow("backslash before percent") << "\\%" << QStringList{"C:\\%temp"};
        QTest::newRow("backslash before a letter") << "C:\\t" << QStringList{"C:\\temp"};
        QTest::newRow("plain text still partial") << "rabatt" << QStringList{"50% Rabatt", "500 Rabatt"};
    }

    // What a user types into a search edit is matched as typed, wildcards included.
    void typedTextMatchesItself()
    {
        QFETCH(QString, typed);
        QFETCH(QStringList, titles);
        TestEnvironment own;
        createLibraryDatabase(own.dbDir());
        {
            FixtureWriter w(own.dbDir());
            for (const char* t : {"50% Rabatt", "500 Rabatt", "a_b", "axb", "C:\\temp", "C:\\%temp"})
                w.insert("Buecher", {{"Titel", QString::fromUtf8(t)}});
        }
        LibraryData lib;
        QVERIFY(lib.openAtStart(own.dbDir()));
        RecordSet& rs = lib.books();
        rs.setFilter(FilterText::contains("Titel", typed));
        rs.setFiltered(true);
        QStringList shown;
        for (int p = 0; p < rs.recordCount(); ++p)
            shown << rs.textAt(rs.rowAt(p), rs.fieldIndex("Titel"));
        QCOMPARE(shown, titles);
        // The language itself: an escaped wildcard inside a general pattern.
        QVERIFY(likeMatch("50% Rabatt", "5_\\% R%"));
        QVERIFY(!likeMatch("500 Rabatt", "5_\\% R%"));
    }

    void quoteDoublesQuotes()
    {
        QCOMPARE(FilterExpression::quote("O'Brien"), QStringLiteral("'O''Brien'"));
        RecordSet& rs = data.books();
        rs.setFilter("Verfasser = " + FilterExpression::quote("O'Brien"));
        rs.setFiltered(true);
        QCOMPARE(visibleIds(rs), QList<qint64>{2});
        rs.setFiltered(false);
    }
};

QTEST_GUILESS_MAIN(TestFilter)
#include "tst_filter.moc"
