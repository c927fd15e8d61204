// Filter texts of the book search: which column a caption names, and the exact texts of the
// exact and partial filters, including the keyword forms over all ten keyword fields.
#include "TestSupport.h"
#include "catalogue/FieldCaptions.h"
#include "datastore/Settings.h"
#include "search/SearchFilter.h"

#include <QTest>

#include <memory>

class TestSearchFilter : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestEnvironment> env;

private slots:
    void init()
    {
        env = std::make_unique<TestEnvironment>();
        FieldCaptions::bookFieldCaptions() = FieldCaptions::defaultBookFieldCaptions();
    }

    void cleanup()
    {
        FieldCaptions::bookFieldCaptions() = FieldCaptions::defaultBookFieldCaptions();
        env.reset();
    }

    void captionToFieldName_data()
    {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<int>("renamedIndex"); // -1: default captions
        QTest::addColumn<QString>("renamedTo");
        QTest::addColumn<QString>("settingName"); // empty: no settings value
        QTest::addColumn<QString>("settingValue");
        QTest::addColumn<QString>("expected");

        QTest::newRow("number caption") << "Nr." << -1 << ""
                                        << ""
                                        << ""
                                        << "ID";
        QTest::newRow("number column name") << "Nummer" << -1 << ""
                                            << ""
                                            << ""
                                            << "ID";
        QTest::newRow("default caption") << "Verfasser" << -1 << ""
                                         << ""
                                         << ""
                                         << "Verfasser";
        QTest::newRow("remark caption differs from column") << "Bemerkungen" << -1 << ""
                                                            << ""
                                                            << ""
                                                            << "Bemerkung";
        QTest::newRow("keyword column") << "Schlagwort 3" << -1 << ""
                                        << ""
                                        << ""
                                        << "Schlagwort3";
        QTest::newRow("price") << "Preis" << -1 << ""
                               << ""
                               << ""
                               << "Preis";
        QTest::newRow("renamed author") << "Autor/in" << 1 << "Autor/in"
                                        << ""
                                        << ""
                                        << "Verfasser";
        QTest::newRow("renamed year") << "Jahr" << 4 << "Jahr"
                                      << ""
                                      << ""
                                      << "Erscheinungsjahr";
        QTest::newRow("renamed ISBN") << "Buchnummer" << 10 << "Buchnummer"
                                      << ""
                                      << ""
                                      << "ISBN";
        QTest::newRow("typed column name") << "Schlagwort7" << -1 << ""
                                           << ""
                                           << ""
                                           << "Schlagwort7";
        QTest::newRow("settings value") << "Buchtitel" << -1 << ""
                                        << "Titel"
                                        << "Buchtitel"
                                        << "Titel";
        QTest::newRow("captions before settings") << "Verlag" << -1 << ""
                                                  << "Titel"
                                                  << "Verlag"
                                                  << "Verlag";
        // An absent settings value must not claim the empty caption.
        QTest::newRow("empty caption") << "" << -1 << ""
                                       << ""
                                       << ""
                                       << "";
    }

    void captionToFieldName()
    {
        QFETCH(QString, caption);
        QFETCH(int, renamedIndex);
        QFETCH(QString, renamedTo);
        QFETCH(QString, settingName);
        QFETCH(QString, settingValue);
        QFETCH(QString, expected);

        QStringList captions = FieldCaptions::defaultBookFieldCaptions();
        if (renamedIndex >= 0)
            captions[renamedIndex] = renamedTo;
        if (!settingName.isEmpty())
            Settings::WriteSettingString(settingName, settingValue);
        QCOMPARE(SearchFilter::fieldForCaption(caption, captions), expected);
    }

    void exactFilter_data()
    {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");

        QTest::newRow("field") << "Verfasser"
                               << "Fontane"
                               << "Verfasser = 'Fontane'";
        QTest::newRow("number") << "Nr."
                                << "17"
                                << "ID = '17'";
        QTest::newRow("empty text") << "Verlag"
                                    << ""
                                    << "Verlag = ''";
        QTest::newRow("quote doubled") << "Verfasser"
                                       << "O'Brien"
                                       << "Verfasser = 'O''Brien'";
        QTest::newRow("keywords")
            << "Schlagwort"
            << "Krimi"
            << "Schlagwort1 = 'Krimi' OR Schlagwort2 = 'Krimi'  OR Schlagwort3 = 'Krimi' OR Schlagwort4 = 'Krimi'  OR "
               "Schlagwort5 = 'Krimi' OR Schlagwort6 = 'Krimi'  OR Schlagwort7 = 'Krimi' OR Schlagwort8 = 'Krimi'  OR "
               "Schlagwort9 = 'Krimi' OR Schlagwort10 = 'Krimi'";
        QTest::newRow("keywords with quote")
            << "Schlagwort"
            << "Rock'n'Roll"
            << "Schlagwort1 = 'Rock''n''Roll' OR Schlagwort2 = 'Rock''n''Roll'  OR Schlagwort3 = 'Rock''n''Roll' OR "
               "Schlagwort4 = 'Rock''n''Roll'  OR Schlagwort5 = 'Rock''n''Roll' OR Schlagwort6 = 'Rock''n''Roll'  OR "
               "Schlagwort7 = 'Rock''n''Roll' OR Schlagwort8 = 'Rock''n''Roll'  OR Schlagwort9 = 'Rock''n''Roll' OR "
               "Schlagwort10 = 'Rock''n''Roll'";
        // Placeholder-like text is taken literally.
        QTest::newRow("percent digits") << "Titel"
                                        << "%1 %2"
                                        << "Titel = '%1 %2'";
    }

    void exactFilter()
    {
        QFETCH(QString, caption);
        QFETCH(QString, text);
        QFETCH(QString, expected);
        QCOMPARE(SearchFilter::exactFilter(caption, text), expected);
    }

    void partialFilter_data()
    {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");

        QTest::newRow("field") << "Titel"
                               << "Effi"
                               << "Titel LIKE '%Effi%' OR Titel = 'Effi'";
        QTest::newRow("number") << "Nr."
                                << "17"
                                << "ID LIKE '%17%' OR ID = '17'";
        QTest::newRow("empty text") << "Verlag"
                                    << ""
                                    << "Verlag LIKE '%%' OR Verlag = ''";
        QTest::newRow("quote doubled") << "Verfasser"
                                       << "O'B"
                                       << "Verfasser LIKE '%O''B%' OR Verfasser = 'O''B'";
        QTest::newRow("wildcards typed") << "Titel"
                                         << "50%_"
                                         << "Titel LIKE '%50\\%\\_%' OR Titel = '50%_'";
        QTest::newRow("keywords")
            << "Schlagwort"
            << "krimi"
            << "Schlagwort1 LIKE '%krimi%' OR Schlagwort2 LIKE '%krimi%'  OR Schlagwort3 LIKE '%krimi%' OR "
               "Schlagwort4 LIKE '%krimi%'  OR Schlagwort5 LIKE '%krimi%' OR Schlagwort6 LIKE '%krimi%'  OR "
               "Schlagwort7 LIKE '%krimi%' OR Schlagwort8 LIKE '%krimi%'  OR Schlagwort9 LIKE '%krimi%' OR "
               "Schlagwort10 LIKE '%krimi%'  OR Schlagwort1 = 'krimi' OR Schlagwort2 = 'krimi'  OR "
               "Schlagwort3 = 'krimi' OR Schlagwort4 = 'krimi'  OR Schlagwort5 = 'krimi' OR Schlagwort6 = 'krimi'  OR "
               "Schlagwort7 = 'krimi' OR Schlagwort8 = 'krimi'  OR Schlagwort9 = 'krimi' OR Schlagwort10 = 'krimi'";
        QTest::newRow("keywords with quote")
            << "Schlagwort"
            << "n'R"
            << "Schlagwort1 LIKE '%n''R%' OR Schlagwort2 LIKE '%n''R%'  OR Schlagwort3 LIKE '%n''R%' OR "
               "Schlagwort4 LIKE '%n''R%'  OR Schlagwort5 LIKE '%n''R%' OR Schlagwort6 LIKE '%n''R%'  OR "
               "Schlagwort7 LIKE '%n''R%' OR Schlagwort8 LIKE '%n''R%'  OR Schlagwort9 LIKE '%n''R%' OR "
               "Schlagwort10 LIKE '%n''R%'  OR Schlagwort1 = 'n''R' OR Schlagwort2 = 'n''R'  OR "
               "Schlagwort3 = 'n''R' OR Schlagwort4 = 'n''R'  OR Schlagwort5 = 'n''R' OR Schlagwort6 = 'n''R'  OR "
               "Schlagwort7 = 'n''R' OR Schlagwort8 = 'n''R'  OR Schlagwort9 = 'n''R' OR Schlagwort10 = 'n''R'";
    }

    void partialFilter()
    {
        QFETCH(QString, caption);
        QFETCH(QString, text);
        QFETCH(QString, expected);
        QCOMPARE(SearchFilter::partialFilter(caption, text), expected);
    }

    void buildersUseCaptionsInForce()
    {
        FieldCaptions::bookFieldCaptions()[1] = QStringLiteral("Autor");
        QCOMPARE(SearchFilter::exactFilter("Autor", "Fontane"), QStringLiteral("Verfasser = 'Fontane'"));
        QCOMPARE(SearchFilter::partialFilter("Autor", "Fon"),
                 QStringLiteral("Verfasser LIKE '%Fon%' OR Verfasser = 'Fon'"));
    }

    void trimSearchText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        QTest::newRow("blanks") << "  Fontane  "
                                << "Fontane";
        QTest::newRow("tabs and line ends") << "\t\r\nFontane\r\n"
                                            << "Fontane";
        QTest::newRow("other control characters") << QString("\x01\x1f"
                                                             "Fontane\x7f\x1b")
                                                  << "Fontane";
        QTest::newRow("no-break space") << QString::fromUtf8("\u00a0Fontane\u00a0") << "Fontane";
        QTest::newRow("inner blanks kept") << " Theodor  Fontane "
                                           << "Theodor  Fontane";
        QTest::newRow("only blanks") << " \t "
                                     << "";
        QTest::newRow("empty") << ""
                               << "";
    }

    void trimSearchText()
    {
        QFETCH(QString, text);
        QFETCH(QString, expected);
        QCOMPARE(SearchFilter::trimSearchText(text), expected);
    }
};

QTEST_GUILESS_MAIN(TestSearchFilter)
#include "tst_searchfilter.moc"
