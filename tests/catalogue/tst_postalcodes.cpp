// The postal-code table: the built-in rows, exact lookups, and plz.xml replacing the table.
#include "TestSupport.h"
#include "catalogue/PostalCodes.h"

#include <QDir>
#include <QFile>
#include <QMap>
#include <QTemporaryDir>
#include <QTest>

namespace {

// A small table whose code 12345 has three towns, not in alphabetical order, and not in
// consecutive rows.
const QByteArray Fixture = R"(<?xml version="1.0" encoding="UTF-8"?>
<!-- Postleitzahlen für Tests -->
<plz>
  <ort plz="12345">Zettlingen</ort>
  <ort plz="01067">Dresden</ort>
  <ort plz="12345">  Äpfelbach  </ort>
  <ort plz=" 80331 ">München</ort>
  <ort plz="12345">Mühl &amp; Groß-Umstadt</ort>
</plz>
)";

QString writeFile(const QString& dir, const QString& name, const QByteArray& content)
{
    const QString path = QDir(dir).filePath(name);
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(content) != content.size())
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

} // namespace

class TestPostalCodes : public QObject
{
    Q_OBJECT

private slots:
    void builtInTableHoldsTheDataFile()
    {
        QFile file(sourceFile("data/plz/plz-de.tsv"));
        QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(file.fileName()));
        QMap<QString, QStringList> expected;
        int rows = 0;
        const QList<QByteArray> lines = file.readAll().split('\n');
        QVERIFY(!lines.isEmpty());
        QCOMPARE(lines.first().trimmed(), QByteArray("PLZ\tOrt"));
        for (const QByteArray& line : lines.mid(1)) {
            if (line.trimmed().isEmpty())
                continue;
            const QList<QByteArray> cols = line.split('\t');
            QCOMPARE(cols.size(), 2);
            expected[QString::fromUtf8(cols.at(0))].append(QString::fromUtf8(cols.at(1).trimmed()));
            ++rows;
        }

        const PostalCodes table = PostalCodes::builtIn();
        QCOMPARE(table.rowCount(), rows);
        for (auto it = expected.cbegin(); it != expected.cend(); ++it)
            QCOMPARE(table.towns(it.key()), it.value());
        // Towns in table order, not sorted: at least one code shows it.
        const bool unsortedCode = std::any_of(expected.cbegin(), expected.cend(), [](const QStringList& towns) {
            return towns.size() > 1 && !std::is_sorted(towns.begin(), towns.end());
        });
        QVERIFY(unsortedCode);
    }

    void lookupMatchesTheWholeCode_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QStringList>("towns");
        const QStringList three{"Zettlingen", QStringLiteral("Äpfelbach"), QStringLiteral("Mühl & Groß-Umstadt")};
        QTest::newRow("several towns, table order") << "12345" << three;
        QTest::newRow("one town") << "01067" << QStringList{"Dresden"};
        QTest::newRow("blanks around the code in the file") << "80331" << QStringList{QStringLiteral("München")};
        QTest::newRow("leading blank") << " 12345" << QStringList{};
        QTest::newRow("trailing blank") << "12345 " << QStringList{};
        QTest::newRow("four characters") << "1234" << QStringList{};
        QTest::newRow("six characters") << "123456" << QStringList{};
        QTest::newRow("empty") << "" << QStringList{};
        QTest::newRow("quote") << "12'45" << QStringList{};
        QTest::newRow("quoted code") << "'12345'" << QStringList{};
        QTest::newRow("unknown") << "99999" << QStringList{};
    }

    void lookupMatchesTheWholeCode()
    {
        QFETCH(QString, code);
        QFETCH(QStringList, towns);
        QTemporaryDir dir;
        QString error;
        const std::optional<PostalCodes> table =
            PostalCodes::fromXmlFile(writeFile(dir.path(), "plz.xml", Fixture), &error);
        QVERIFY2(table, qPrintable(error));
        QCOMPARE(table->rowCount(), 5);
        QCOMPARE(table->towns(code), towns);
    }

    void emptyFileTableIsValid()
    {
        // A file without rows switches the suggestions off.
        QTemporaryDir dir;
        const auto table = PostalCodes::fromXmlFile(writeFile(dir.path(), "plz.xml", "<plz/>"));
        QVERIFY(table);
        QVERIFY(table->isEmpty());
    }

    void brokenFileIsRefused_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("empty file") << QByteArray();
        QTest::newRow("not XML") << QByteArray("PLZ\tOrt\n01067\tDresden\n");
        QTest::newRow("unclosed") << QByteArray("<plz><ort plz=\"01067\">Dresden</ort>");
        QTest::newRow("wrong root") << QByteArray("<codes><ort plz=\"01067\">Dresden</ort></codes>");
        QTest::newRow("unknown element") << QByteArray("<plz><town plz=\"01067\">Dresden</town></plz>");
        QTest::newRow("no code") << QByteArray("<plz><ort>Dresden</ort></plz>");
        QTest::newRow("code too long") << QByteArray("<plz><ort plz=\"010677\">Dresden</ort></plz>");
        QTest::newRow("blank inside code") << QByteArray("<plz><ort plz=\"01 67\">Dresden</ort></plz>");
        QTest::newRow("no town") << QByteArray("<plz><ort plz=\"01067\"> </ort></plz>");
        QTest::newRow("town too long") << "<plz><ort plz=\"01067\">" + QByteArray(101, 'x') + "</ort></plz>";
        QTest::newRow("nested element") << QByteArray("<plz><ort plz=\"01067\"><b>Dresden</b></ort></plz>");
        QTest::newRow("second root") << QByteArray("<plz></plz><plz></plz>");
        QTest::newRow("bad rows after good ones")
            << QByteArray("<plz><ort plz=\"01067\">Dresden</ort><ort plz=\"01069\">Dresden</ort><ort/></plz>");
    }

    void brokenFileIsRefused()
    {
        QFETCH(QByteArray, content);
        QTemporaryDir dir;
        QString error;
        QVERIFY(!PostalCodes::fromXmlFile(writeFile(dir.path(), "plz.xml", content), &error));
        QVERIFY2(error.contains("plz.xml"), qPrintable(error));
    }

    void missingFileIsRefused()
    {
        QTemporaryDir dir;
        QString error;
        QVERIFY(!PostalCodes::fromXmlFile(QDir(dir.path()).filePath("plz.xml"), &error));
        QVERIFY(!error.isEmpty());
    }

    void plzXmlInTheProgramFolderReplacesTheTable_data()
    {
        QTest::addColumn<QByteArray>("content"); // empty: no file
        QTest::addColumn<bool>("fromFile");
        QTest::addColumn<bool>("reported");
        QTest::newRow("no file") << QByteArray() << false << false;
        QTest::newRow("readable file") << Fixture << true << false;
        QTest::newRow("broken file") << QByteArray("<plz><ort plz=\"01067\">Dresden</plz>") << false << true;
    }

    void plzXmlInTheProgramFolderReplacesTheTable()
    {
        QFETCH(QByteArray, content);
        QFETCH(bool, fromFile);
        QFETCH(bool, reported);
        QTemporaryDir dir;
        if (!content.isEmpty())
            writeFile(dir.path(), "plz.xml", content);
        QString problem;
        const PostalCodes table = PostalCodes::atStart(dir.path(), &problem);
        const PostalCodes builtIn = PostalCodes::builtIn();
        if (fromFile) {
            QCOMPARE(table.rowCount(), 5);
            QCOMPARE(table.towns("12345").size(), 3);
        } else {
            QCOMPARE(table.rowCount(), builtIn.rowCount());
            QCOMPARE(table.towns("01067"), builtIn.towns("01067"));
        }
        QCOMPARE(!problem.isEmpty(), reported);
        if (reported)
            QVERIFY2(problem.contains("plz.xml") && problem.contains("eingebaute"), qPrintable(problem));
        // The program only reads the file.
        QCOMPARE(QFile::exists(QDir(dir.path()).filePath("plz.xml")), !content.isEmpty());
    }

    void folderNamedPlzXmlKeepsTheBuiltInTable()
    {
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir("plz.xml"));
        QString problem;
        const PostalCodes table = PostalCodes::atStart(dir.path(), &problem);
        QCOMPARE(table.rowCount(), PostalCodes::builtIn().rowCount());
        QVERIFY(!problem.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestPostalCodes)

#include "tst_postalcodes.moc"
