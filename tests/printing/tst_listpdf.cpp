// Printed lists on a real paint device: the fonts the canvas resolves, and a PDF file whose text
// (read back with pdftotext) holds the rows in the record set's order under its filter.
#include "TestSupport.h"
#include "datastore/LibraryData.h"
#include "printing/ListPrinter.h"
#include "printing/PainterCanvas.h"

#include <QFontInfo>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTest>

#include <memory>

namespace {

// Text of a PDF file with its layout kept, pages separated by form feeds.
QString pdfText(const QString& fileName)
{
    const QString tool = QStandardPaths::findExecutable("pdftotext");
    if (tool.isEmpty())
        return QStringLiteral("<pdftotext missing: install poppler-utils>");
    QProcess p;
    p.start(tool, {"-layout", "-enc", "UTF-8", fileName, "-"});
    if (!p.waitForFinished(30000) || p.exitCode() != 0)
        return QStringLiteral("<pdftotext failed: %1>").arg(QString::fromUtf8(p.readAllStandardError()));
    return QString::fromUtf8(p.readAllStandardOutput());
}

} // namespace

class TestListPdf : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestEnvironment> env;

private slots:
    void init() { env = std::make_unique<TestEnvironment>(); }
    void cleanup() { env.reset(); }

    // The lists ask for the printer's Arial and Arial Narrow; here their metric twins must come,
    // at the cell height asked for.
    void fontsResolveByCellHeight_data()
    {
        QTest::addColumn<QString>("family");
        QTest::addColumn<int>("height");
        QTest::addColumn<QString>("resolved");
        QTest::newRow("rows") << "Arial" << 71 << "Liberation Sans";
        QTest::newRow("title") << "Arial" << 100 << "Liberation Sans";
        QTest::newRow("headings") << "Arial Narrow" << 80 << "Liberation Sans Narrow";
    }

    void fontsResolveByCellHeight()
    {
        QFETCH(QString, family);
        QFETCH(int, height);
        QFETCH(QString, resolved);
        QImage sheet(200, 200, QImage::Format_RGB32);
        sheet.setDotsPerMeterX(23622); // 600 dots per inch
        sheet.setDotsPerMeterY(23622);
        QPainter painter(&sheet);
        PainterCanvas canvas(painter);
        canvas.setFont(family, height);
        QCOMPARE(QFontInfo(canvas.font()).family(), resolved);
        const QFontMetrics metrics(canvas.font(), &sheet);
        QVERIFY2(qAbs(metrics.ascent() + metrics.descent() - height) <= 1,
                 qPrintable(QStringLiteral("cell height %1").arg(metrics.ascent() + metrics.descent())));
        QVERIFY(canvas.textWidth("Schachnovelle") > canvas.textWidth("Emil"));
    }

    // Texts that cannot be wider than the widest so far are not measured; the widest must still
    // win when it is not the longest.
    void widestTextIsNotTheLongest()
    {
        createLibraryDatabase(env->dbDir());
        {
            FixtureWriter fx(env->dbDir());
            for (const char* author : {"iiiiiiiiiiiiiiiiiiii", "MMMMMMMMMM", "Mai", "Wüst"})
                fx.insert("Buecher", {{"Verfasser", QString::fromUtf8(author)}});
        }
        LibraryData data;
        QVERIFY(data.openAtStart(env->dbDir()));
        QImage sheet(100, 100, QImage::Format_RGB32);
        sheet.setDotsPerMeterX(23622);
        sheet.setDotsPerMeterY(23622);
        QPainter painter(&sheet);
        PainterCanvas canvas(painter);
        PageModel model(data.books(), PrintLists::books(QStringList()));
        const PageModel::Layout& layout = model.prepare(canvas, {4961, 7016, false});
        canvas.setFont("Arial", 71);
        const int wide = canvas.textWidth("MMMMMMMMMM");
        QVERIFY(wide > canvas.textWidth("iiiiiiiiiiiiiiiiiiii"));
        QCOMPARE(layout.widths.at(1), wide + 60);
    }

    void pdfHoldsFilteredRowsInOrder()
    {
        createLibraryDatabase(env->dbDir());
        {
            FixtureWriter fx(env->dbDir());
            fx.exec("BEGIN");
            // Book i is written by "Autor (100 - i)", so that sorting by author reverses the numbers.
            for (int i = 1; i <= 60; ++i)
                fx.insert("Buecher", {{"Verfasser", QStringLiteral("Autor %1").arg(100 - i, 3, 10, QChar('0'))},
                                      {"Titel", QStringLiteral("Band %1").arg(i, 3, 10, QChar('0'))},
                                      {"Preis", 125000}});
            fx.exec("COMMIT");
        }
        LibraryData data;
        QVERIFY(data.openAtStart(env->dbDir()));
        RecordSet& books = data.books();
        books.setIndexFieldNames("Verfasser");
        books.setFilter("ID > 10");
        books.setFiltered(true);

        QStringList captions{
            "Nr.",      "Verfasser", "Titel", "Verlag", "Erscheinungsjahr", "Erscheinungsort", "Auflage", "Sachgruppe",
            "Signatur", "Standort",  "ISBN",  "Preis",  "Bemerkungen"};
        for (int i = 1; i <= 10; ++i)
            captions << QStringLiteral("Schlagwort %1").arg(i);
        PageModel model(books, PrintLists::books(captions));
        model.setOptions({QStringLiteral("Unsere Bücher"), true, {}});
        const QString file = env->root() + "/liste.pdf";
        QString error;
        QVERIFY2(ListPrinter::writePdf(model, file, QPageLayout::Portrait, &error), qPrintable(error));

        const QString text = pdfText(file);
        QVERIFY2(text.contains("Unsere Bücher"), qPrintable(text.left(200)));
        const QStringList pages = text.split('\f', Qt::SkipEmptyParts);
        QStringList nonEmpty;
        for (const QString& page : pages)
            if (!page.trimmed().isEmpty())
                nonEmpty << page;
        QCOMPARE(nonEmpty.size(), 2); // 50 books, 28 a page on A4 at 600 dots per inch
        QVERIFY(nonEmpty[1].contains("Seite 2"));
        QVERIFY(nonEmpty[0].contains("Preis"));

        QStringList printed;
        const QRegularExpression band("Band (\\d{3})");
        for (auto it = band.globalMatch(text); it.hasNext();)
            printed << it.next().captured(1);
        QStringList expected;
        for (int i = 60; i > 10; --i)
            expected << QStringLiteral("%1").arg(i, 3, 10, QChar('0'));
        QCOMPARE(printed, expected);
        QVERIFY(text.contains("12,50 €"));
    }

    void unwritableTargetFails()
    {
        createLibraryDatabase(env->dbDir());
        LibraryData data;
        QVERIFY(data.openAtStart(env->dbDir()));
        PageModel model(data.readers(), PrintLists::readers());
        QString error;
        QVERIFY(!ListPrinter::writePdf(model, env->root() + "/fehlt/liste.pdf", QPageLayout::Portrait, &error));
        QVERIFY(error.contains("liste.pdf"));
    }
};

QTEST_MAIN(TestListPdf)
#include "tst_listpdf.moc"
