// Timings of the printed book list on a generated library of 100,000 books, drawn through the
// same painter canvas as the printer and the preview (a PDF writer at 600 dots per inch).
// TOMARIS_BENCH_SCALE (e.g. 0.1) shrinks the library for quick runs.

#include "LibraryGenerator.h"

#include "datastore/LibraryData.h"
#include "printing/ListPrinter.h"
#include "printing/PainterCanvas.h"

#include <QBuffer>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <memory>
#include <stdexcept>

namespace {

QStringList bookCaptions()
{
    QStringList captions{
        "Nr.",      "Verfasser", "Titel", "Verlag", "Erscheinungsjahr", "Erscheinungsort", "Auflage", "Sachgruppe",
        "Signatur", "Standort",  "ISBN",  "Preis",  "Bemerkungen"};
    for (int i = 1; i <= 10; ++i)
        captions << QStringLiteral("Schlagwort %1").arg(i);
    return captions;
}

class Fixture
{
public:
    Fixture()
    {
        if (!m_dir.isValid())
            throw std::runtime_error("no temporary folder");
        generateBenchmarkLibrary(m_dir.path());
        if (!m_data.openAtStart(m_dir.path()))
            throw std::runtime_error("the generated library does not open");
    }

    RecordSet& books() { return m_data.books(); }

private:
    QTemporaryDir m_dir;
    LibraryData m_data;
};

std::unique_ptr<Fixture> g_fixture;

Fixture& fixture()
{
    if (!g_fixture)
        g_fixture = std::make_unique<Fixture>();
    return *g_fixture;
}

// Forwards to the painter canvas and counts the texts measured.
class CountingCanvas : public PageCanvas
{
public:
    explicit CountingCanvas(PageCanvas& inner) : m_inner(inner) {}
    int measured = 0;

    void setFont(const QString& family, int height) override { m_inner.setFont(family, height); }
    void setAnchor(Anchor anchor) override { m_inner.setAnchor(anchor); }
    void drawText(int x, int y, const QString& text) override { m_inner.drawText(x, y, text); }
    int textWidth(const QString& text) override
    {
        ++measured;
        return m_inner.textWidth(text);
    }
    int maxCharWidth() override { return m_inner.maxCharWidth(); }
    void setPenWidth(int width) override { m_inner.setPenWidth(width); }
    void drawLine(int x1, int y1, int x2, int y2) override { m_inner.drawLine(x1, y1, x2, y2); }

private:
    PageCanvas& m_inner;
};

// One A4 sheet at 600 dots per inch that pages are drawn on, kept in memory.
class Sheet
{
public:
    Sheet() : m_writer(&m_buffer)
    {
        m_buffer.open(QIODevice::WriteOnly);
        m_writer.setResolution(600);
        m_writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF()));
        m_painter.begin(&m_writer);
        m_canvas = std::make_unique<PainterCanvas>(m_painter);
        m_page = ListPrinter::geometryOf(m_writer);
    }
    ~Sheet()
    {
        m_canvas.reset();
        m_painter.end();
    }

    PageCanvas& canvas() { return *m_canvas; }
    const PageGeometry& page() const { return m_page; }

private:
    QBuffer m_buffer;
    QPdfWriter m_writer;
    QPainter m_painter;
    std::unique_ptr<PainterCanvas> m_canvas;
    PageGeometry m_page;
};

// The first page of a new preview: the widths are measured over every book.
void BM_BookListFirstPage(benchmark::State& state)
{
    RecordSet& books = fixture().books();
    for (auto _ : state) {
        Sheet sheet;
        PageModel model(books, PrintLists::books(bookCaptions()));
        CountingCanvas counting(sheet.canvas());
        model.drawPage(counting, sheet.page(), 1);
        state.counters["measured"] = counting.measured;
        state.counters["pages"] = model.pageCount(sheet.canvas(), sheet.page());
        state.counters["rowsPerPage"] = model.prepare(sheet.canvas(), sheet.page()).rowsPerPage;
    }
}
BENCHMARK(BM_BookListFirstPage)->Iterations(3)->Unit(benchmark::kMillisecond);

// Paging to page 3,000 once page 1 has been shown.
void BM_BookListPage3000AfterPage1(benchmark::State& state)
{
    RecordSet& books = fixture().books();
    Sheet sheet;
    PageModel model(books, PrintLists::books(bookCaptions()));
    model.drawPage(sheet.canvas(), sheet.page(), 1);
    const int page = std::min(3000, model.pageCount(sheet.canvas(), sheet.page()));
    for (auto _ : state)
        model.drawPage(sheet.canvas(), sheet.page(), page);
    state.counters["page"] = page;
}
BENCHMARK(BM_BookListPage3000AfterPage1)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    // Fonts need a GUI application; no display is needed.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    int qtArgc = 1;
    QGuiApplication app(qtArgc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    g_fixture.reset();
    return 0;
}
