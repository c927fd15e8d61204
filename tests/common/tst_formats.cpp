#include "common/Cp1252.h"
#include "common/Formats.h"

#include <QTest>

#include <iconv.h>

#include <limits>
#include <optional>

using Price = std::optional<qint64>;
Q_DECLARE_METATYPE(Price)

namespace {

constexpr qint64 Int64Max = std::numeric_limits<qint64>::max();
constexpr qint64 Int64Min = std::numeric_limits<qint64>::min();

// The system's converter, as an independent reference for the code page table.
QString decodeWithIconv(const QByteArray& bytes)
{
    iconv_t cd = iconv_open("UTF-16LE", "CP1252");
    if (cd == iconv_t(-1))
        return QString();
    QByteArray in = bytes;
    QByteArray out(in.size() * 4, '\0');
    char* inPtr = in.data();
    char* outPtr = out.data();
    size_t inLeft = size_t(in.size());
    size_t outLeft = size_t(out.size());
    const size_t rc = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
    iconv_close(cd);
    if (rc == size_t(-1))
        return QString();
    return QString::fromUtf16(reinterpret_cast<const char16_t*>(out.constData()),
                              (out.size() - qsizetype(outLeft)) / 2);
}

} // namespace

class TestFormats : public QObject
{
    Q_OBJECT

private slots:
    void formatPrice_data();
    void formatPrice();
    void parsePrice_data();
    void parsePrice();
    void parsedPricesAddUpExactly();
    void formatDate();
    void parseDate_data();
    void parseDate();
    void cp1252RoundTripsEveryByte();
    void cp1252MatchesSystemTable();
    void cp1252Encode_data();
    void cp1252Encode();
};

void TestFormats::formatPrice_data()
{
    QTest::addColumn<qint64>("value");
    QTest::addColumn<QString>("expected");

    QTest::newRow("whole") << qint64(120000) << QStringLiteral("12,00 €");
    QTest::newRow("below one") << qint64(5000) << QStringLiteral(",50 €");
    QTest::newRow("zero") << qint64(0) << QStringLiteral(",00 €");
    QTest::newRow("negative below one") << qint64(-5000) << QStringLiteral("-,50 €");
    QTest::newRow("negative rounds away") << qint64(-123456789) << QStringLiteral("-12345,68 €");
    QTest::newRow("no grouping") << qint64(12345000) << QStringLiteral("1234,50 €");
    QTest::newRow("just below half cent") << qint64(49) << QStringLiteral(",00 €");
    QTest::newRow("half cent rounds up") << qint64(50) << QStringLiteral(",01 €");
    QTest::newRow("negative rounding to zero has no minus") << qint64(-49) << QStringLiteral(",00 €");
    QTest::newRow("negative half cent") << qint64(-50) << QStringLiteral("-,01 €");
    QTest::newRow("carry into euros") << qint64(9950) << QStringLiteral("1,00 €");
    QTest::newRow("carry stays below one") << qint64(9949) << QStringLiteral(",99 €");
    QTest::newRow("largest") << Int64Max << QStringLiteral("922337203685477,58 €");
    QTest::newRow("smallest") << Int64Min << QStringLiteral("-922337203685477,58 €");
}

void TestFormats::formatPrice()
{
    QFETCH(qint64, value);
    QFETCH(QString, expected);
    QCOMPARE(Formats::formatPrice(value), expected);
}

void TestFormats::parsePrice_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<Price>("expected");

    QTest::newRow("whole") << QStringLiteral("12") << Price(120000);
    QTest::newRow("one decimal") << QStringLiteral("12,5") << Price(125000);
    QTest::newRow("with euro sign") << QStringLiteral("12,50 €") << Price(125000);
    QTest::newRow("euro sign without blank") << QStringLiteral("12,50€") << Price(125000);
    QTest::newRow("euro sign in front") << QStringLiteral("€ 12,50") << Price(125000);
    QTest::newRow("surrounding blanks") << QStringLiteral("  12,50 €  ") << Price(125000);
    QTest::newRow("thousands and decimals") << QStringLiteral("1.234,50") << Price(12345000);
    QTest::newRow("thousands only") << QStringLiteral("1.234") << Price(12340000);
    QTest::newRow("two groups") << QStringLiteral("1.234.567") << Price(12345670000);
    QTest::newRow("no integer digits") << QStringLiteral(",50") << Price(5000);
    QTest::newRow("negative") << QStringLiteral("-3,20") << Price(-32000);
    QTest::newRow("negative below one") << QStringLiteral("-,50 €") << Price(-5000);
    QTest::newRow("negative grouped") << QStringLiteral("-1.234,5 €") << Price(-12345000);
    QTest::newRow("point as decimal, one digit") << QStringLiteral("12.5") << Price(125000);
    QTest::newRow("point as decimal, two digits") << QStringLiteral("12.50") << Price(125000);
    QTest::newRow("point as decimal, four digits") << QStringLiteral("12.3456") << Price(123456);
    QTest::newRow("four decimals") << QStringLiteral("0,0001") << Price(1);
    QTest::newRow("largest") << QStringLiteral("922337203685477,5807") << Price(Int64Max);
    QTest::newRow("smallest") << QStringLiteral("-922337203685477,5808") << Price(Int64Min);

    QTest::newRow("empty") << QString() << Price();
    QTest::newRow("blanks") << QStringLiteral("   ") << Price();
    QTest::newRow("only euro sign") << QStringLiteral("€") << Price();
    QTest::newRow("only minus") << QStringLiteral("-") << Price();
    QTest::newRow("only comma") << QStringLiteral(",") << Price();
    QTest::newRow("letters") << QStringLiteral("abc") << Price();
    QTest::newRow("trailing letter") << QStringLiteral("12a") << Price();
    QTest::newRow("two commas") << QStringLiteral("12,3,4") << Price();
    QTest::newRow("bad grouping") << QStringLiteral("1.23.4") << Price();
    QTest::newRow("grouping then stray point") << QStringLiteral("1.234.5") << Price();
    QTest::newRow("point that is no grouping, with comma") << QStringLiteral("12.34,5") << Price();
    QTest::newRow("four digits before group") << QStringLiteral("1234.567") << Price();
    QTest::newRow("comma before point") << QStringLiteral("1,234.5") << Price();
    QTest::newRow("five decimals") << QStringLiteral("12,34567") << Price();
    QTest::newRow("five decimals after point") << QStringLiteral("12.34567") << Price();
    QTest::newRow("two euro signs") << QStringLiteral("12 €€") << Price();
    QTest::newRow("double minus") << QStringLiteral("--5") << Price();
    QTest::newRow("just above largest") << QStringLiteral("922337203685477,5808") << Price();
    QTest::newRow("just below smallest") << QStringLiteral("-922337203685477,5809") << Price();
    QTest::newRow("far too large") << QStringLiteral("99999999999999999999") << Price();
    QTest::newRow("non-ASCII digits") << QStringLiteral("١٢") << Price();
}

void TestFormats::parsePrice()
{
    QFETCH(QString, text);
    QFETCH(Price, expected);
    QCOMPARE(Formats::parsePrice(text), expected);
}

void TestFormats::parsedPricesAddUpExactly()
{
    const Price a = Formats::parsePrice(QStringLiteral("0,1"));
    const Price b = Formats::parsePrice(QStringLiteral("0,2"));
    const Price sum = Formats::parsePrice(QStringLiteral("0,3"));
    QVERIFY(a && b && sum);
    QCOMPARE(*a + *b, *sum);
    QCOMPARE(Formats::formatPrice(*a + *b), QStringLiteral(",30 €"));
}

void TestFormats::formatDate()
{
    QCOMPARE(Formats::formatDate(QDate(2024, 3, 5)), QStringLiteral("05.03.2024"));
    QCOMPARE(Formats::formatDate(QDate(812, 12, 31)), QStringLiteral("31.12.0812"));
    QCOMPARE(Formats::formatDate(QDate()), QString());
    QCOMPARE(Formats::formatDate(QDateTime(QDate(2024, 12, 24), QTime(23, 59, 59))), QStringLiteral("24.12.2024"));
    QCOMPARE(Formats::formatDate(QDateTime()), QString());
}

void TestFormats::parseDate_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QDate>("expected");

    QTest::newRow("short day and month") << QStringLiteral("5.3.2024") << QDate(2024, 3, 5);
    QTest::newRow("two-digit day and month") << QStringLiteral("05.03.2024") << QDate(2024, 3, 5);
    QTest::newRow("surrounding blanks") << QStringLiteral("  24.12.2024 ") << QDate(2024, 12, 24);
    QTest::newRow("leap day") << QStringLiteral("29.02.2024") << QDate(2024, 2, 29);

    QTest::newRow("empty") << QString() << QDate();
    QTest::newRow("two-digit year") << QStringLiteral("24.12.12") << QDate();
    QTest::newRow("five-digit year") << QStringLiteral("24.12.02024") << QDate();
    QTest::newRow("no such day") << QStringLiteral("31.02.2020") << QDate();
    QTest::newRow("no leap year") << QStringLiteral("29.02.2023") << QDate();
    QTest::newRow("month 13") << QStringLiteral("01.13.2024") << QDate();
    QTest::newRow("day 0") << QStringLiteral("00.01.2024") << QDate();
    QTest::newRow("three-digit day") << QStringLiteral("001.01.2024") << QDate();
    QTest::newRow("dashes") << QStringLiteral("24-12-2024") << QDate();
    QTest::newRow("trailing text") << QStringLiteral("24.12.2024x") << QDate();
    QTest::newRow("trailing point") << QStringLiteral("24.12.2024.") << QDate();
    QTest::newRow("non-ASCII digits") << QStringLiteral("٢٤.١٢.٢٠٢٤") << QDate();
}

void TestFormats::parseDate()
{
    QFETCH(QString, text);
    QFETCH(QDate, expected);
    QCOMPARE(Formats::parseDate(text), expected);
    if (expected.isValid())
        QCOMPARE(Formats::parseDate(Formats::formatDate(expected)), expected);
}

void TestFormats::cp1252RoundTripsEveryByte()
{
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all += char(b);
    const QString text = Cp1252::decode(all);
    QCOMPARE(text.size(), 256);
    QCOMPARE(Cp1252::encode(text), all);
    // The undefined bytes come back as the C1 control of the same value.
    for (int b : {0x81, 0x8D, 0x8F, 0x90, 0x9D})
        QCOMPARE(text.at(b).unicode(), char16_t(b));
}

void TestFormats::cp1252MatchesSystemTable()
{
    for (int b = 0; b < 256; ++b) {
        if (b == 0x81 || b == 0x8D || b == 0x8F || b == 0x90 || b == 0x9D)
            continue; // undefined in the code page; the system converter rejects them
        const QByteArray byte(1, char(b));
        const QString reference = decodeWithIconv(byte);
        if (reference.isEmpty())
            QSKIP("The system has no CP1252 converter");
        QVERIFY2(Cp1252::decode(byte) == reference, qPrintable(QString::number(b, 16)));
    }
}

void TestFormats::cp1252Encode_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("euro") << QStringLiteral("€") << QByteArray("\x80");
    QTest::newRow("German text") << QStringLiteral("Größe „Ä“ – 5 €")
                                 << QByteArray("Gr\xF6\xDF"
                                               "e \x84\xC4\x93 \x96 5 \x80");
    QTest::newRow("outside the page") << QStringLiteral("Ł") << QByteArray("?");
    QTest::newRow("C1 control without byte") << QString(QChar(0x80)) << QByteArray("?");
    QTest::newRow("emoji is one character") << QStringLiteral("a😀b") << QByteArray("a?b");
    QTest::newRow("lone surrogate") << (QStringLiteral("a") + QChar(0xD800) + QStringLiteral("b")) << QByteArray("a?b");
    QTest::newRow("empty") << QString() << QByteArray();
}

void TestFormats::cp1252Encode()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, expected);
    QCOMPARE(Cp1252::encode(text), expected);
}

QTEST_GUILESS_MAIN(TestFormats)
#include "tst_formats.moc"
