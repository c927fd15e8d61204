// The import's readers on real files of other programs (Access Jet 3 and Jet 4, Excel BIFF5 and
// BIFF8 with both date systems) and on delimited text, including the files they must refuse.
#include "TestSupport.h"
#include "datastore/DataError.h"
#include "exchange/AccessReader.h"
#include "exchange/SourceReader.h"
#include "exchange/TextReader.h"
#include "exchange/WorkbookReader.h"
#include "exchange/XlsReader.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

QString data(const QString& name)
{
    return QStringLiteral(TOMARIS_TEST_DATA_DIR "/import/") + name;
}

SourceTable readTable(const QString& file, const QString& table)
{
    return SourceReader::open(data(file), u';')->read(table);
}

// The DataError message of a call that must fail, or a marker when it did not fail.
template <typename F>
QString failure(F f)
{
    try {
        f();
    } catch (const DataError& e) {
        return e.message();
    }
    return QStringLiteral("<no error>");
}

QList<QStringList> records(const SourceTable& t)
{
    QList<QStringList> r;
    for (int i = 0; i < t.recordCount(); ++i)
        r << t.record(i);
    return r;
}

} // namespace

class TestSourceReaders : public QObject
{
    Q_OBJECT

    QTemporaryDir tmp;

    QString writeFile(const QString& name, const QByteArray& bytes)
    {
        QFile f(tmp.filePath(name));
        if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
            qFatal("cannot write %s", qPrintable(f.fileName()));
        return f.fileName();
    }

private slots:
    void kindByExtensionInAnyCase_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("kind");
        QTest::newRow("xls") << "liste.xls" << int(SourceReader::Kind::Excel);
        QTest::newRow("XLS") << "LISTE.XLS" << int(SourceReader::Kind::Excel);
        QTest::newRow("Mdb") << "Katalog.Mdb" << int(SourceReader::Kind::Access);
        QTest::newRow("XLSX") << "LISTE.XLSX" << int(SourceReader::Kind::Workbook);
        QTest::newRow("ods") << "liste.ods" << int(SourceReader::Kind::Workbook);
        QTest::newRow("csv") << "export.csv" << int(SourceReader::Kind::Text);
        QTest::newRow("xls inside the name") << "liste.xls.txt" << int(SourceReader::Kind::Text);
        QTest::newRow("no extension") << "liste" << int(SourceReader::Kind::Text);
        QTest::newRow("dotted folder") << "/daten.mdb/liste" << int(SourceReader::Kind::Text);
    }
    void kindByExtensionInAnyCase()
    {
        QFETCH(QString, name);
        QFETCH(int, kind);
        QCOMPARE(int(SourceReader::kindOf(name)), kind);
    }

    // ---------------------------------------------------------------- Access

    void accessJet3TablesAndTypes()
    {
        AccessReader reader(data("testV1997.mdb"));
        const QStringList names = reader.tableNames();
        // User tables first (the first entry is shown at once), the system tables after them.
        QCOMPARE(names.mid(0, 4), QStringList({"Table1", "Table2", "Table3", "Table4"}));
        QVERIFY(names.contains("MSysObjects"));
        QVERIFY(names.indexOf("MSysObjects") > 3);

        const SourceTable t = reader.read("Table1");
        QCOMPARE(t.fieldCount(), 9);
        QCOMPARE(t.recordCount(), 2);
        // Text, Byte, Integer, Long, Double, DateTime, Currency, Boolean as German edit texts.
        QCOMPARE(t.record(1), QStringList({"abcdefg", "hijklmnop", "2", "222", "333333333", "444,555", "21.09.1974",
                                           "3,5", "Wahr"}));
        QCOMPARE(t.value(0, 6), QString("12.12.1981"));
        QCOMPARE(t.value(0, 8), QString("Falsch"));

        const SourceTable empty = reader.read("Table2");
        QCOMPARE(empty.fieldCount(), 89);
        QCOMPARE(empty.recordCount(), 0);
    }

    void accessJet3CodePageNullsDatesAndNumbers()
    {
        AccessReader reader(data("testIndexCodesV1997.mdb"));
        const SourceTable text = reader.read("Table14");
        QStringList values;
        for (int r = 0; r < text.recordCount(); ++r)
            values << text.value(r, 1);
        QVERIFY(values.contains(QString("a€a")));
        QVERIFY(values.contains(QString("aäa")));
        QVERIFY(values.contains(QString("aßa")));
        QVERIFY(values.contains(QString("a„a")));

        // Records come in stored order; the names say which is which.
        auto byName = [](const SourceTable& t) {
            QHash<QString, QString> m;
            for (int r = 0; r < t.recordCount(); ++r)
                m.insert(t.value(r, 0), t.value(r, 1));
            return m;
        };
        const auto dates = byName(reader.read("Table6"));
        QCOMPARE(dates.value("row2"), QString()); // NULL
        QCOMPARE(dates.value("row22"), QString("11.11.1999"));
        QCOMPARE(dates.value("row20"), QString("03.03.2007 15:13:00"));
        QCOMPARE(dates.value("row4"), QString("12.06.1805")); // before 1899: negative day count
        QCOMPARE(dates.value("row14"), QString("27.09.1899 10:19:15"));
        QCOMPARE(dates.value("row7"), QString("17.07.4374"));

        const auto doubles = byName(reader.read("Table4"));
        QCOMPARE(doubles.value("row0"), QString("0"));
        QCOMPARE(doubles.value("row1"), QString("3245"));
        QCOMPARE(doubles.value("row10"), QString("-0,00035134"));
        QCOMPARE(doubles.value("row16"), QString("-8540982423,45"));
        QCOMPARE(doubles.value("row5"), QString());
        const auto singles = byName(reader.read("Table5"));
        QCOMPARE(singles.value("row18"), QString("1,1")); // not 1,10000002384186
        const auto money = byName(reader.read("Table8"));
        QCOMPARE(money.value("row11"), QString("804983,35"));
        QCOMPARE(money.value("row12"), QString("-834573,75"));
    }

    void accessJet4UnicodeAndCurrency()
    {
        const SourceTable t = readTable("testUnicodeCompV2003.mdb", "Table");
        QCOMPARE(t.fieldCount(), 2);
        QCOMPARE(t.recordCount(), 8);
        QCOMPARE(t.record(1), QStringList({"2", "ääkkösiä"}));
        QCOMPARE(t.value(2, 1), QString("Мир"));
        QCOMPARE(t.value(6, 1), QString("ümlaut"));

        const SourceTable pivot = readTable("pivot.mdb", "t_pivot");
        QCOMPARE(pivot.recordCount(), 4);
        QCOMPARE(pivot.record(0), QStringList({"paperino", "4444", "30.05.2013 13:18:14"}));
    }

    void accessFailures()
    {
        const QString expected("Accessdatei konnte nicht gefunden werden");
        QCOMPARE(failure([&] { AccessReader r(tmp.filePath("fehlt.mdb")); }), expected);
        const QString empty = writeFile("leer.mdb", QByteArray());
        QCOMPARE(failure([&] { AccessReader r(empty); }), expected);
        const QString text = writeFile("text.mdb", QByteArray("Verfasser;Titel\r\n").repeated(500));
        QCOMPARE(failure([&] { AccessReader r(text); }), expected);
        AccessReader reader(data("testV1997.mdb"));
        QCOMPARE(failure([&] { reader.read("Gibt es nicht"); }), expected);
    }

    // ---------------------------------------------------------------- Excel 97–2003

    void excelBiff8SheetsDatesAndEmptyCells()
    {
        XlsReader reader(data("deaths.xls"));
        QCOMPARE(reader.tableNames(), QStringList({"arts", "other"}));
        const SourceTable t = reader.read("arts");
        QCOMPARE(t.fieldCount(), 6);
        QCOMPARE(t.recordCount(), 19);
        // The first row is a record like every other (notes above the header row).
        QCOMPARE(t.value(0, 0), QString("Lots of people"));
        QCOMPARE(t.record(4), QStringList({"Name", "Profession", "Age", "Has kids", "Date of birth", "Date of death"}));
        // Age is a formula (no value), "Has kids" a boolean, the dates date-formatted numbers.
        QCOMPARE(t.record(13), QStringList({"Zsa Zsa Gábor", "actor", "", "1", "06.02.1917", "18.12.2016"}));
        QCOMPARE(t.value(18, 5), QString("too!"));
    }

    void excelNumbersAndThe1904DateSystem()
    {
        XlsReader reader(data("types.xls"));
        const SourceTable guess = reader.read("guess_me");
        QCOMPARE(guess.record(1), QStringList({"", "1", "27.02.2017", "1", "hello"}));
        const SourceTable mixed = reader.read("smorgasbord");
        QCOMPARE(mixed.value(3, 1), QString("1,3"));
        QCOMPARE(mixed.value(4, 1), QString("0"));
        QCOMPARE(mixed.value(10, 1), QString("26.02.2016"));
        // A serial number without a date format stays a number.
        const SourceTable dates = reader.read("date_coercion");
        QCOMPARE(dates.value(1, 0), QString("23.05.2016"));
        QCOMPARE(dates.value(6, 0), QString("39448"));
    }

    void excelBiff5()
    {
        XlsReader reader(data("Test95J.xls"));
        QCOMPARE(reader.tableNames(), QStringList({"Sheet1-ASC", "漢字名"}));
        const SourceTable t = reader.read("Sheet1-ASC");
        QCOMPARE(records(t), QList<QStringList>({{"ASC", "This Data is 'ASC Only'"},
                                                 {"Date", "23.03.1964"},
                                                 {"INTEGER", "12345"},
                                                 {"Float", "1,29"},
                                                 {"Double", "1234567,89012345"},
                                                 {"Formula", ""}}));
        QCOMPARE(reader.read("漢字名").value(1, 1), QString("漢字のデータ"));
    }

    void excelFailuresAreMessagesNotCrashes()
    {
        const QString prefix("Exceldatei konnte nicht gelesen werden: ");
        // FreeXL opens this workbook "successfully" without a handle.
        const QString unreadable = failure([&] { XlsReader r(data("Formate.xls")); });
        QVERIFY2(unreadable.startsWith(prefix) && unreadable.size() > prefix.size(), qPrintable(unreadable));
        QVERIFY(failure([&] { XlsReader r(tmp.filePath("fehlt.xls")); }).startsWith(prefix));
        const QString text = writeFile("text.xls", "Verfasser;Titel\r\nA;B\r\n");
        QVERIFY(failure([&] { XlsReader r(text); }).startsWith(prefix));
        const QString empty = writeFile("leer.xls", QByteArray());
        QVERIFY(failure([&] { XlsReader r(empty); }).startsWith(prefix));
        XlsReader reader(data("deaths.xls"));
        QVERIFY(failure([&] { reader.read("fehlt"); }).startsWith(prefix));
    }

    // ---------------------------------------------------------------- .xlsx and .ods

    void workbooks_data()
    {
        QTest::addColumn<QString>("file");
        QTest::newRow("xlsx") << "books.xlsx";
        QTest::newRow("ods") << "books.ods";
    }
    void workbooks()
    {
        QFETCH(QString, file);
        WorkbookReader reader(data(file));
        QCOMPARE(reader.tableNames(), QStringList({"Bücher", "Leer"}));
        const SourceTable t = reader.read("Bücher");
        QCOMPARE(t.fieldCount(), 6);
        // Header, two books, an empty row, a last row; the sheet's empty tail is no record.
        QCOMPARE(t.recordCount(), 5);
        // Price, dates (built-in format / with a time), booleans and a formula's stored result.
        QCOMPARE(t.record(1), QStringList({"Müller", "Straße & Weg, 12 €", "12,5", "01.01.2020", "Wahr", "25"}));
        QCOMPARE(t.record(2), QStringList({"Özdemir", "", "7", "01.01.2000 12:00:00", "Falsch", "14"}));
        QCOMPARE(t.value(3, 0), QString());
        QCOMPARE(t.value(4, 0), QString("Zuletzt"));
        QCOMPARE(reader.read("Leer").recordCount(), 0);
    }

    void workbookFailures()
    {
        const QString prefix("Tabellendatei konnte nicht gelesen werden: ");
        QVERIFY(failure([&] { WorkbookReader r(tmp.filePath("fehlt.xlsx")); }).startsWith(prefix));
        // An old workbook or a text file under a new name.
        const QString old = writeFile("alt.xlsx", [] {
            QFile f(data("deaths.xls"));
            f.open(QIODevice::ReadOnly);
            return f.readAll();
        }());
        QVERIFY(failure([&] { WorkbookReader r(old); }).startsWith(prefix));
        QVERIFY(failure([&] { WorkbookReader r(writeFile("text.ods", "a;b\n")); }).startsWith(prefix));
        WorkbookReader reader(data("books.ods"));
        QVERIFY(failure([&] { reader.read("fehlt"); }).startsWith(prefix));
    }

    // ---------------------------------------------------------------- delimited text

    void textLines_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("separator");
        QTest::addColumn<QList<QStringList>>("expected");
        using L = QList<QStringList>;
        QTest::newRow("quoted value with separator") << "a;\"b;c\";d"
                                                     << ";" << L{{"a", "b;c", "d"}};
        QTest::newRow("quote inside an unquoted value is literal") << "a;b\"c;d\""
                                                                   << ";" << L{{"a", "b\"c", "d\""}};
        QTest::newRow("doubled quote, separator and line break in quotes")
            << "\"Er sagte \"\"ja\"\"\";\"x;y\";\"Zeile 1\r\nZeile 2\"\r\nz"
            << ";" << L{{"Er sagte \"ja\"", "x;y", "Zeile 1\r\nZeile 2"}, {"z"}};
        QTest::newRow("text after the closing quote") << "\"ab\"c;d"
                                                      << ";" << L{{"abc", "d"}};
        QTest::newRow("unclosed quote runs to the end") << "a;\"bc\nd"
                                                        << ";" << L{{"a", "bc\nd"}};
        QTest::newRow("CR LF, last line with line end") << "a;b\r\nc;d\r\n"
                                                        << ";" << L{{"a", "b"}, {"c", "d"}};
        QTest::newRow("LF, last line without line end") << "a;b\nc;d"
                                                        << ";" << L{{"a", "b"}, {"c", "d"}};
        QTest::newRow("empty line in the middle") << "a\n\nb\n"
                                                  << ";" << L{{"a"}, {""}, {"b"}};
        QTest::newRow("lone carriage return dropped") << "a\rb;c\n"
                                                      << ";" << L{{"ab", "c"}};
        QTest::newRow("empty values") << ";a;\n"
                                      << ";" << L{{"", "a", ""}};
        QTest::newRow("empty file") << ""
                                    << ";" << L{};
        QTest::newRow("tab") << "a;b\tc,d"
                             << "\t" << L{{"a;b", "c,d"}};
        QTest::newRow("comma") << "a;b,\"c,d\""
                               << "," << L{{"a;b", "c,d"}};
    }
    void textLines()
    {
        QFETCH(QString, text);
        QFETCH(QString, separator);
        QFETCH(QList<QStringList>, expected);
        const SourceTable t = TextReader::parse(text, separator.at(0));
        QCOMPARE(records(t), expected);
        int widest = 0;
        for (const QStringList& r : expected)
            widest = std::max(widest, int(r.size()));
        QCOMPARE(t.fieldCount(), widest);
    }

    void textEncodings()
    {
        // Windows-1252 without a byte-order mark, UTF-8 and UTF-16 with one.
        const QString ansi = writeFile("ansi.csv", "Gr\xf6\xdf"
                                                   "e;\x80 5\r\n");
        QCOMPARE(TextReader(ansi, u';').read().record(0), QStringList({"Größe", "€ 5"}));
        const QString utf8 = writeFile("utf8.csv", "\xEF\xBB\xBF"
                                                   "Gr\xC3\xB6\xC3\x9F"
                                                   "e;\xE2\x82\xAC 5\n");
        QCOMPARE(TextReader(utf8, u';').read().record(0), QStringList({"Größe", "€ 5"}));
        QByteArray utf16("\xFF\xFE", 2);
        const QString text("Größe\t€ 5\r\n");
        utf16.append(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
        QCOMPARE(TextReader(writeFile("utf16.txt", utf16), u'\t').read().record(0), QStringList({"Größe", "€ 5"}));
        // UTF-8 bytes without a mark are read as Windows-1252, as any other program's text.
        const QString noMark = writeFile("ohne.csv", "\xC3\xB6");
        QCOMPARE(TextReader(noMark, u';').read().value(0, 0), QString("Ã¶"));
    }

    void textFileMissing()
    {
        QCOMPARE(failure([&] { TextReader(tmp.filePath("fehlt.csv"), u';').read(); }),
                 QString("Quelldatei konnte nicht gefunden werden"));
    }
};

QTEST_GUILESS_MAIN(TestSourceReaders)
#include "tst_sourcereaders.moc"
