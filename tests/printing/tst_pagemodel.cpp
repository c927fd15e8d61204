// The page model of the printed lists, drawn on a recording canvas with fixed font metrics:
// page head, heading wraps, rows per page and page breaks, column widths, and what a layout keeps.
#include "TestSupport.h"
#include "datastore/LibraryData.h"
#include "printing/PageModel.h"

#include <QSignalSpy>
#include <QTest>

#include <memory>

namespace {

using Anchor = PageCanvas::Anchor;

struct Op
{
    enum Kind { Text, Line } kind = Text;
    QString family;
    int height = 0;
    Anchor anchor = Anchor::LeftTop;
    int pen = 0;
    int x = 0, y = 0, x2 = 0, y2 = 0;
    QString text;
};

// Every character is half as wide as the font is high.
class RecordingCanvas : public PageCanvas
{
public:
    QList<Op> ops;
    int measured = 0;

    void setFont(const QString& family, int height) override
    {
        m_family = family;
        m_height = height;
    }
    void setAnchor(Anchor anchor) override { m_anchor = anchor; }
    void drawText(int x, int y, const QString& text) override
    {
        ops.append({Op::Text, m_family, m_height, m_anchor, m_pen, x, y, 0, 0, text});
    }
    int textWidth(const QString& text) override
    {
        ++measured;
        return int(text.size()) * m_height / 2;
    }
    int maxCharWidth() override { return m_height / 2; }
    void setPenWidth(int width) override { m_pen = width; }
    void drawLine(int x1, int y1, int x2, int y2) override
    {
        ops.append({Op::Line, m_family, m_height, m_anchor, m_pen, x1, y1, x2, y2, {}});
    }

    const Op* findText(const QString& text) const
    {
        for (const Op& op : ops)
            if (op.kind == Op::Text && op.text == text)
                return &op;
        return nullptr;
    }
    QList<Op> lines() const
    {
        QList<Op> result;
        for (const Op& op : ops)
            if (op.kind == Op::Line)
                result.append(op);
        return result;
    }
    // Texts drawn in the row font at x, top to bottom.
    QStringList rowTextsAt(int x) const
    {
        QStringList result;
        for (const Op& op : ops)
            if (op.kind == Op::Text && op.family == "Arial" && op.anchor == Anchor::LeftBaseline && op.x == x)
                result.append(op.text);
        return result;
    }

private:
    QString m_family;
    int m_height = 0;
    Anchor m_anchor = Anchor::LeftTop;
    int m_pen = 0;
};

enum class List { Books, Readers, Loans };

PrintListDefinition definition(List list)
{
    QStringList captions{
        "Nr.",      "Verfasser", "Titel", "Verlag", "Erscheinungsjahr", "Erscheinungsort", "Auflage", "Sachgruppe",
        "Signatur", "Standort",  "ISBN",  "Preis",  "Bemerkungen"};
    for (int i = 1; i <= 10; ++i)
        captions << QStringLiteral("Schlagwort %1").arg(i);
    switch (list) {
    case List::Books:
        return PrintLists::books(captions);
    case List::Readers:
        return PrintLists::readers();
    case List::Loans:
        return PrintLists::loans();
    }
    return {};
}

QString stamp(const QDate& day)
{
    return day.toString("yyyy-MM-dd") + " 12:00:00";
}

} // namespace

Q_DECLARE_METATYPE(List)

class TestPageModel : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestEnvironment> env;
    std::unique_ptr<FixtureWriter> fx;
    std::unique_ptr<LibraryData> data;

    void open()
    {
        data = std::make_unique<LibraryData>();
        QVERIFY(data->openAtStart(env->dbDir()));
    }

    RecordSet& recordsOf(List list)
    {
        switch (list) {
        case List::Books:
            return data->books();
        case List::Readers:
            return data->readers();
        case List::Loans:
            break;
        }
        return data->loans();
    }

    // `count` books, readers and loans; book, reader and loan i have the number i. Long books or
    // readers have 100 characters in their second and third columns.
    void fill(int count, bool longBooks = false, bool longReaders = false)
    {
        const QString longText(100, 'w');
        fx->exec("BEGIN");
        for (int i = 1; i <= count; ++i) {
            fx->insert("Buecher", {{"Verfasser", longBooks ? longText : QStringLiteral("Kästner")},
                                   {"Titel", longBooks ? longText : QStringLiteral("Emil")},
                                   {"Verlag", "Atrium"}});
            fx->insert("Leser", {{"Vorname", longReaders ? longText : QStringLiteral("Anna")},
                                 {"Nachname", longReaders ? longText : QStringLiteral("Schmidt")},
                                 {QStringLiteral("Straße"), "Hauptstr. 1"}});
            fx->insert("Ausleihe", {{"BuecherID", i},
                                    {"LeserID", i},
                                    {"DatumVon", stamp(QDate(2026, 11, 2))},
                                    {"DatumBisSoll", stamp(QDate(2026, 12, 2))}});
        }
        fx->exec("COMMIT");
    }

private slots:
    void init()
    {
        env = std::make_unique<TestEnvironment>();
        createLibraryDatabase(env->dbDir());
        fx = std::make_unique<FixtureWriter>(env->dbDir());
    }

    void cleanup()
    {
        data.reset();
        fx.reset();
        env.reset();
    }

    void pageHead_data()
    {
        QTest::addColumn<List>("list");
        QTest::addColumn<double>("width");
        QTest::addColumn<double>("height");
        QTest::addColumn<bool>("landscape");
        // Expected dots: page number x/y/height, title x/y/height, heavy rules y and end, heavy pen,
        // heading baseline and height, first row baseline.
        QTest::addColumn<QList<int>>("expected");

        // sx = 1.19996, sy = 1.00599: V(100) = 101, V(183) = 184, V(216) = 217, V(417) = 419.
        QTest::newRow("books") << List::Books << 5953.0 << 7058.0 << false
                               << QList<int>{600, 101, 78, 2976, 184, 101, 159, 311, 9600, 5, 528, 96, 706};
        QTest::newRow("readers") << List::Readers << 5953.0 << 7058.0 << false
                                 << QList<int>{600, 101, 78, 2976, 184, 101, 159, 311, 9600, 5, 528, 96, 706};
        QTest::newRow("loans") << List::Loans << 5953.0 << 7058.0 << false
                               << QList<int>{600, 101, 78, 2976, 184, 101, 159, 311, 6000, 5, 419, 96, 597};
        // Landscape: books scale by 7016 x 4961; loans keep the portrait formulas.
        QTest::newRow("books landscape") << List::Books << 8419.0 << 4991.0 << true
                                         << QList<int>{600, 101, 78, 4210, 184, 101, 159, 311, 9600, 5, 528, 96, 706};
        QTest::newRow("loans landscape") << List::Loans << 8419.0 << 4991.0 << true
                                         << QList<int>{849, 71, 110, 4210, 130, 71, 112, 219, 8485, 4, 297, 136, 423};
    }

    void pageHead()
    {
        QFETCH(List, list);
        QFETCH(double, width);
        QFETCH(double, height);
        QFETCH(bool, landscape);
        QFETCH(QList<int>, expected);
        fill(1);
        open();
        PageModel model(recordsOf(list), definition(list));
        model.setOptions({"Liste", true, {}});
        RecordingCanvas canvas;
        model.drawPage(canvas, {width, height, landscape}, 1);

        const Op* number = canvas.findText("Seite 1");
        QVERIFY(number);
        QCOMPARE(QList<int>({number->x, number->y, number->height}), expected.mid(0, 3));
        QCOMPARE(number->anchor, Anchor::LeftTop);
        QCOMPARE(number->family, "Arial");

        const Op* title = canvas.findText("Liste");
        QVERIFY(title);
        QCOMPARE(QList<int>({title->x, title->y, title->height}), expected.mid(3, 3));
        QCOMPARE(title->anchor, Anchor::CenterTop);

        const QList<Op> lines = canvas.lines();
        QVERIFY(lines.size() >= 4);
        for (int i = 0; i < 2; ++i) {
            QCOMPARE(QList<int>({lines[i].x, lines[i].y, lines[i].x2, lines[i].y2, lines[i].pen}),
                     QList<int>({0, expected[6 + i], expected[8], expected[6 + i], expected[9]}));
        }

        const QString firstHeading = list == List::Loans ? "Buch-Nr." : "Nr.";
        const Op* heading = canvas.findText(firstHeading);
        QVERIFY(heading);
        QCOMPARE(heading->family, "Arial Narrow");
        QCOMPARE(heading->anchor, Anchor::LeftBaseline);
        QCOMPARE(QList<int>({heading->y, heading->height}), expected.mid(10, 2));
        const int left = heading->x;
        QCOMPARE(left, landscape && list == List::Loans ? 424 : 300); // H(250)

        // Two thin rules under the headings; then the first row at its baseline, then its rule.
        QCOMPARE(lines[2].pen, lines[3].pen);
        QVERIFY(lines[2].pen < expected[9]);
        QVERIFY(lines[3].y > lines[2].y && lines[2].y > heading->y);
        const QStringList cells = canvas.rowTextsAt(left);
        QCOMPARE(cells, QStringList{"1"});
        for (const Op& op : canvas.ops)
            if (op.kind == Op::Text && op.text == "1" && op.x == left)
                QCOMPARE(op.y, expected[12]);
        QCOMPARE(lines.size(), 5); // 2 heavy, 2 thin, one row rule
        QVERIFY(lines[4].y > expected[12]);

        // Without the page-number switch there is no page number; the rest stays.
        model.setOptions({"Liste", false, {}});
        RecordingCanvas plain;
        model.drawPage(plain, {width, height, landscape}, 1);
        QVERIFY(!plain.findText("Seite 1"));
        QVERIFY(plain.findText("Liste"));
    }

    void headingWrap_data()
    {
        QTest::addColumn<List>("list");
        QTest::addColumn<QString>("wrapped");     // first heading on the continuation line
        QTest::addColumn<QString>("wrappedCell"); // its text in the first row
        QTest::addColumn<int>("continuationX");
        QTest::addColumn<int>("headingBaseline");
        QTest::addColumn<int>("firstBaseline");

        // Page 5953 x 7058: V(108) = 109. Two columns of 100 characters end beyond every limit.
        QTest::newRow("books: test before column 4") << List::Books << "Verlag"
                                                     << "Atrium" << 480 << 528 << 706 + 109;
        // The second column ends within the limit, but the third would run past it (and past the
        // sheet's edge): the line wraps before it.
        QTest::newRow("readers: a column that would overrun wraps")
            << List::Readers << "Nachname" << QString(100, 'w') << 480 << 528 << 706 + 109;
        QTest::newRow("loans: test before column 4") << List::Loans << "Leser-Nr."
                                                     << "1" << 389 << 419 << 597 + 109;
    }

    void headingWrap()
    {
        QFETCH(List, list);
        QFETCH(QString, wrapped);
        QFETCH(QString, wrappedCell);
        QFETCH(int, continuationX);
        QFETCH(int, headingBaseline);
        QFETCH(int, firstBaseline);
        fill(1, list != List::Readers, list == List::Readers);
        open();
        PageModel model(recordsOf(list), definition(list));
        RecordingCanvas canvas;
        const PageGeometry page{5953, 7058, false};
        QCOMPARE(model.prepare(canvas, page).wrapsPerRow, 1);
        model.drawPage(canvas, page, 1);

        const Op* heading = canvas.findText(wrapped);
        QVERIFY(heading);
        QCOMPARE(QList<int>({heading->x, heading->y}), QList<int>({continuationX, headingBaseline + 109}));
        QCOMPARE(canvas.rowTextsAt(300).value(0), "1");
        const QStringList continued = canvas.rowTextsAt(continuationX);
        QCOMPARE(continued, QStringList{wrappedCell});
        for (const Op& op : canvas.ops)
            if (op.kind == Op::Text && op.family == "Arial" && op.x == 300 && op.text == "1")
                QCOMPARE(op.y, firstBaseline);
            else if (op.kind == Op::Text && op.family == "Arial" && op.x == continuationX && op.text == wrappedCell)
                QCOMPARE(op.y, firstBaseline + 109);
    }

    // The reader list tests after its last column too: a last column that ends beyond the limit
    // adds an empty line to the heading and to every row. (Page 3000 x 7058: the column alone is
    // wider than the line.)
    void readersTestAfterLastColumn()
    {
        fx->insert("Leser", {{"Bemerkung", QString(100, 'w')}});
        open();
        PageModel model(data->readers(), definition(List::Readers));
        QList<bool> onlyLast(10, false);
        onlyLast[9] = true;
        model.setOptions({"", false, onlyLast});
        RecordingCanvas canvas;
        const PageModel::Layout& layout = model.prepare(canvas, {3000, 7058, false});
        QCOMPARE(layout.wrapsPerRow, 1);
        QCOMPARE(layout.firstBaseline, 706 + 109);
        QCOMPARE(layout.rowAdvance, 101 + 117 + 109);
    }

    void pageBreak_data()
    {
        QTest::addColumn<List>("list");
        QTest::addColumn<int>("records");
        QTest::addColumn<int>("pages");
        QTest::addColumn<int>("rowsPerPage");

        // Page 4961 x 2207 dots: a row advances V(100) + V(116) = 31 + 36 = 67 dots, while
        // V(216) = 68. Counting with 68 would give 28 rows although 29 fit.
        QTest::newRow("books, one more than a page") << List::Books << 30 << 2 << 29;
        QTest::newRow("books end on the page boundary") << List::Books << 29 << 1 << 29;
        QTest::newRow("books, two pages exactly") << List::Books << 58 << 2 << 29;
        QTest::newRow("readers, one more than a page") << List::Readers << 30 << 2 << 29;
        QTest::newRow("loans, one more than a page") << List::Loans << 28 << 2 << 27;
        QTest::newRow("loans end on the page boundary") << List::Loans << 27 << 1 << 27;
        QTest::newRow("empty list: one page with the head") << List::Books << 0 << 1 << 29;
    }

    void pageBreak()
    {
        QFETCH(List, list);
        QFETCH(int, records);
        QFETCH(int, pages);
        QFETCH(int, rowsPerPage);
        fill(records);
        open();
        RecordSet& rs = recordsOf(list);
        PageModel model(rs, definition(list));
        model.setOptions({"Liste", true, {}});
        const PageGeometry page{4961, 2207, false};
        RecordingCanvas probe;
        const PageModel::Layout& layout = model.prepare(probe, page);
        QCOMPARE(layout.rowsPerPage, rowsPerPage);
        QCOMPARE(layout.pageCount, pages);

        // Every record on exactly one page, in order, and each full page really ends within
        // the page-full limit that drawing uses.
        const double limit = list == List::Loans ? 6300 * 2207 / 7016.0 : 0.95 * 2207;
        QStringList printed;
        for (int n = 1; n <= pages; ++n) {
            RecordingCanvas canvas;
            model.drawPage(canvas, page, n);
            QVERIFY(canvas.findText(QStringLiteral("Seite %1").arg(n)));
            const QStringList numbers = canvas.rowTextsAt(250);
            if (n < pages) {
                QCOMPARE(numbers.size(), rowsPerPage);
                const Op lastRule = canvas.lines().last();
                QVERIFY(lastRule.y + 36 > limit); // the next baseline would not fit
            }
            printed += numbers;
        }
        QStringList expected;
        for (int i = 1; i <= records; ++i)
            expected << QString::number(i);
        QCOMPARE(printed, expected);
        if (records > rowsPerPage) {
            RecordingCanvas second;
            model.drawPage(second, page, 2);
            QCOMPARE(second.rowTextsAt(250).value(0), QString::number(rowsPerPage + 1));
        }
    }

    void columnWidths_data()
    {
        QTest::addColumn<List>("list");
        QTest::addColumn<double>("width");
        QTest::addColumn<QList<bool>>("switches"); // the first columns' switches
        QTest::addColumn<bool>("restOn");          // the other columns' switches
        QTest::addColumn<QStringList>("headings"); // the visible headings, left to right
        QTest::addColumn<QList<int>>("xs");

        // sx = 1: H(60) = 60 is not above 60 dots, so an empty column drops out. Widths: 35 dots a
        // character of the row font (V(71) = 71), plus the gap of 60.
        QTest::newRow("books: number minimum, empty columns left out")
            << List::Books << 4961.0 << QList<bool>{} << true << QStringList{"Nr.", "Verfasser", "Titel", "Verlag"}
            << QList<int>{250, 250 + 200 + 60, 510 + 248 + 60, 818 + 142 + 60};
        QTest::newRow("books: switched off")
            << List::Books << 4961.0 << QList<bool>{true, false} << true << QStringList{"Nr.", "Titel", "Verlag"}
            << QList<int>{250, 510, 510 + 202};
        QTest::newRow("readers: no number column")
            << List::Readers << 4961.0 << QList<bool>{} << true << QStringList{"Nr.", "Vorname", "Nachname", "Straße"}
            << QList<int>{250, 250 + 35 + 60, 345 + 142 + 60, 547 + 248 + 60};
        // Loans: both numbers get the minimum; the empty return date is as wide as a date.
        QTest::newRow("loans: number minimum, empty date keeps its width")
            << List::Loans << 4961.0 << QList<bool>{} << true
            << QStringList{"Buch-Nr.", "Verfasser",   "Titel",       "Leser-Nr.",    "Vorname",
                           "Nachname", "Datum (Von)", "Datum (Bis)", "Soll-Rückgabe"}
            << QList<int>{250, 510, 818, 1020, 1280, 1280 + 202, 1482 + 308, 1790 + 415, 2205 + 415};
        // A finer sheet: H(60) = 72, so empty columns are printed as empty columns.
        QTest::newRow("books at sx 1.2: empty columns stay")
            << List::Books << 5953.0 << QList<bool>{true, true, true, true, true} << false
            << QStringList{"Nr.", "Verfasser", "Titel", "Verlag", "Erscheinungsjahr"}
            << QList<int>{300, 300 + 240 + 72, 612 + 248 + 72, 932 + 142 + 72, 1146 + 213 + 72};
    }

    void columnWidths()
    {
        QFETCH(List, list);
        QFETCH(double, width);
        QFETCH(QList<bool>, switches);
        QFETCH(bool, restOn);
        QFETCH(QStringList, headings);
        QFETCH(QList<int>, xs);
        fill(1);
        open();
        PageModel model(recordsOf(list), definition(list));
        QList<bool> on = switches;
        while (on.size() < model.list().columns.size())
            on.append(restOn);
        model.setOptions({"", false, on});
        RecordingCanvas canvas;
        model.drawPage(canvas, {width, 7058, false}, 1);

        QStringList shown;
        QList<int> xsShown;
        for (const Op& op : canvas.ops)
            if (op.kind == Op::Text && op.family == "Arial Narrow") {
                shown << op.text;
                xsShown << op.x;
            }
        QCOMPARE(shown, headings);
        QCOMPARE(xsShown, xs);
    }

    // Measured once per layout: paging costs no measuring; a change of the rows or of the sheet
    // measures again and finds the page count again. The cursor stays where it was.
    void layoutIsKeptAndFoundAgain()
    {
        fill(100);
        open();
        RecordSet& books = data->books();
        books.setRecNo(7);
        QSignalSpy scrolled(&books, &RecordSet::afterScroll);
        const int scrolledBefore = int(scrolled.count());
        PageModel model(books, definition(List::Books));
        RecordingCanvas canvas;
        const PageGeometry portrait{4961, 7016, false};
        const int portraitPages = model.pageCount(canvas, portrait);
        QCOMPARE(portraitPages, 4); // 28 rows a page
        const int measuredOnce = canvas.measured;
        QVERIFY(measuredOnce > 0);
        for (int n = 1; n <= portraitPages; ++n)
            model.drawPage(canvas, portrait, n);
        QCOMPARE(canvas.measured, measuredOnce);

        const PageGeometry landscape{7016, 4961, true};
        QCOMPARE(model.pageCount(canvas, landscape), 6); // 19 rows a page
        QCOMPARE(model.pageCount(canvas, portrait), portraitPages);
        QCOMPARE(books.recNo(), 7);
        QCOMPARE(int(scrolled.count()), scrolledBefore);

        books.setFilter("ID <= 30");
        books.setFiltered(true);
        books.setRecNo(3);
        const int scrolledAfterFilter = int(scrolled.count());
        QCOMPARE(model.pageCount(canvas, portrait), 2);
        QVERIFY(canvas.measured > measuredOnce);
        RecordingCanvas last;
        model.drawPage(last, portrait, 2);
        QCOMPARE(last.rowTextsAt(250), QStringList({"29", "30"}));
        QCOMPARE(books.recNo(), 3);
        QCOMPARE(int(scrolled.count()), scrolledAfterFilter);
    }
};

QTEST_GUILESS_MAIN(TestPageModel)
#include "tst_pagemodel.moc"
