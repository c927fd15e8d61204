// The filter language under hostile input: deep nesting and long chains are refused or handled
// without exhausting the stack, messages stay short, and random input never crashes.
#include "../../tools/fuzz/FilterFuzzInput.h"
#include "datastore/DataError.h"

#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QTest>
#include <functional>

class TestFilterFuzz : public QObject
{
    Q_OBJECT

private slots:
    void nestingIsLimited_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("parses");
        const auto nested = [](int depth) {
            return QString(depth, u'(') + QStringLiteral("ID = 1") + QString(depth, u')');
        };
        QTest::newRow("64 levels") << nested(64) << true;
        QTest::newRow("65 levels") << nested(65) << false;
        QTest::newRow("20000 open parentheses") << QString(20000, u'(') << false;
        QTest::newRow("20000 levels closed") << nested(20000) << false;
        // a long chain is one level, however long
        QString chain = QStringLiteral("ID = 0");
        for (int i = 1; i < 100000; ++i)
            chain += (i % 2 ? QStringLiteral(" OR ID = %1") : QStringLiteral(" AND Titel <> 'x%1'")).arg(i);
        QTest::newRow("100000 conditions") << chain << true;
    }

    void nestingIsLimited()
    {
        QFETCH(QString, text);
        QFETCH(bool, parses);
        if (parses) {
            QVERIFY(FilterFuzz::run(text));
            return;
        }
        try {
            FilterExpression::parse(text, [](const QString&) {
                return std::optional<FilterExpression::Field>(FilterExpression::Field{0, ColumnType::Integer});
            });
            QFAIL("a filter nested too deeply was taken");
        } catch (const DataError& e) {
            QVERIFY2(e.message().contains(QStringLiteral("Klammern ineinander")), qPrintable(e.message().left(300)));
            // the filter is quoted shortened: 200 characters and "…"
            QVERIFY2(e.message().size() < 400, qPrintable(QString::number(e.message().size())));
            QCOMPARE(e.message().contains(QChar(0x2026)), text.size() > 200);
        }
    }

    void unknownLongFieldNameIsShortened()
    {
        const QString name = QString(5000, u'x');
        try {
            FilterFuzz::run(name + QStringLiteral(" = 1"));
            FilterExpression::parse(name + QStringLiteral(" = 1"),
                                    [](const QString&) { return std::optional<FilterExpression::Field>(); });
            QFAIL("an unknown field was taken");
        } catch (const DataError& e) {
            QVERIFY2(e.message().size() < 600, qPrintable(QString::number(e.message().size())));
            QVERIFY(e.message().contains(u"gibt es nicht"));
        }
    }

    // A bounded random run (fixed seed, so a failure repeats); longer runs: the libFuzzer target.
    void randomInputNeverCrashes()
    {
        static const QStringList tokens{"(",
                                        ")",
                                        " ",
                                        " ",
                                        "AND",
                                        "OR",
                                        "and",
                                        "Or",
                                        "LIKE",
                                        "like",
                                        "=",
                                        "<>",
                                        "<",
                                        ">",
                                        "<=",
                                        ">=",
                                        "'",
                                        "''",
                                        "%",
                                        "_",
                                        "NULL",
                                        "TRUE",
                                        "false",
                                        "ID",
                                        "Titel",
                                        "Preis",
                                        "DatumVon",
                                        "ausgeliehen",
                                        "Schlagwort",
                                        "[Titel]",
                                        "[",
                                        "]",
                                        "12",
                                        "-3",
                                        "+",
                                        "1.234,50",
                                        "0,5",
                                        "24.12.2026",
                                        "'24.12.2026'",
                                        "'%Blech%'",
                                        "'%'",
                                        "'_'",
                                        "'a''b'",
                                        "99999999999999999999",
                                        "\t",
                                        "\n",
                                        "ä",
                                        "€"};
        QRandomGenerator rng(20261211);
        QElapsedTimer clock;
        clock.start();
        int runs = 0, parsed = 0;
        static const QStringList fieldNames{"ID", "Titel", "Preis", "DatumVon", "ausgeliehen", "Schlagwort", "[Titel]"};
        static const QStringList ops{"=", "<>", "<", ">", "<=", ">=", " LIKE "};
        static const QStringList values{
            "12",     "-3",  "0,5", "NULL",       "TRUE", "'24.12.2026'",          "'%Blech%'",
            "'a''b'", "'%'", "'_'", "'1.234,50'", "''",   "'24.12.2026 10:15:00'", "'ä%€'"};
        const auto pick = [&](const QStringList& list) { return list.at(int(rng.bounded(quint32(list.size())))); };
        // Well-formed filters, so that the run reaches the evaluation
        std::function<QString(int)> expression = [&](int depth) -> QString {
            const quint32 kind = depth > 3 ? 0 : rng.bounded(4);
            if (kind == 0 || kind == 1)
                return pick(fieldNames) + pick(ops) + pick(values);
            if (kind == 2)
                return u'(' + expression(depth + 1) + u')';
            return expression(depth + 1) + (rng.bounded(2) ? QStringLiteral(" AND ") : QStringLiteral(" or ")) +
                   expression(depth + 1);
        };
        while (runs < 200000 && clock.elapsed() < 3000) {
            QString text;
            if (runs % 2 == 0) {
                text = expression(0);
                if (rng.bounded(3) == 0) // and some of them slightly broken
                    text.insert(int(rng.bounded(quint32(text.size() + 1))), pick(tokens));
                parsed += FilterFuzz::run(text) ? 1 : 0;
                ++runs;
                continue;
            }
            const int n = int(rng.bounded(1, 30));
            for (int i = 0; i < n; ++i) {
                const quint32 pick = rng.bounded(100);
                if (pick < 85)
                    text += tokens.at(int(rng.bounded(quint32(tokens.size()))));
                else if (pick < 95)
                    text += QChar(char16_t(rng.bounded(0x20, 0x7f)));
                else
                    text += QChar(char16_t(rng.bounded(0x10000))); // lone surrogates and NUL included
            }
            parsed += FilterFuzz::run(text) ? 1 : 0;
            ++runs;
        }
        qInfo("%d random filters, %d of them parsed", runs, parsed);
        QVERIFY(runs >= 1000);
        QVERIFY(parsed > runs / 5); // the run reaches the evaluation, not only the parser's errors
    }
};

QTEST_GUILESS_MAIN(TestFilterFuzz)
#include "tst_filterfuzz.moc"
