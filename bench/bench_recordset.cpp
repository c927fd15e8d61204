// Record-set timings on one generated library of 100,000 books, 10,000 readers and 200,000 loans.
// TOMARIS_BENCH_SCALE (e.g. 0.1) shrinks the library for quick or profiling runs.

#include "LibraryGenerator.h"

#include "datastore/LibraryData.h"
#include "exchange/RecordExporter.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <fstream>
#include <malloc.h>
#include <memory>
#include <stdexcept>
#include <string>

namespace {

class Fixture
{
public:
    Fixture()
    {
        if (!m_dir.isValid())
            throw std::runtime_error("no temporary folder");
        m_library = generateBenchmarkLibrary(m_dir.path());
    }

    QString directory() const { return m_dir.path(); }
    const GeneratedLibrary& library() const { return m_library; }

    // One opened library shared by the benchmarks that work on open record sets.
    LibraryData& opened()
    {
        if (!m_opened) {
            m_opened = std::make_unique<LibraryData>();
            if (!m_opened->openAtStart(directory()))
                throw std::runtime_error("the generated library does not open");
        }
        return *m_opened;
    }

    // Books unfiltered and in stored order, as the benchmarks expect to find them.
    RecordSet& plainBooks()
    {
        RecordSet& books = opened().books();
        books.setFiltered(false);
        books.setIndexFieldNames(QString());
        return books;
    }

private:
    QTemporaryDir m_dir;
    GeneratedLibrary m_library;
    std::unique_ptr<LibraryData> m_opened;
};

std::unique_ptr<Fixture> g_fixture;

Fixture& fixture()
{
    if (!g_fixture)
        g_fixture = std::make_unique<Fixture>();
    return *g_fixture;
}

double residentMegabytes()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0)
            return std::stod(line.substr(6)) / 1024.0; // the value is in kB
    return -1;
}

void BM_MemoryAfterOpen(benchmark::State& state)
{
    const QString dir = fixture().directory();
    for (auto _ : state) {
        // Hand freed heap back first, so that what opening takes shows as growth.
        malloc_trim(0);
        const double before = residentMegabytes();
        auto data = std::make_unique<LibraryData>();
        if (!data->openAtStart(dir)) {
            state.SkipWithError("the generated library does not open");
            break;
        }
        const double after = residentMegabytes();
        state.counters["rss_before_MB"] = before;
        state.counters["rss_after_MB"] = after;
        state.counters["rss_open_MB"] = after - before;
    }
}
// Runs first, before other benchmarks have grown the heap.
BENCHMARK(BM_MemoryAfterOpen)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_OpenAllRecordSets(benchmark::State& state)
{
    const QString dir = fixture().directory();
    for (auto _ : state) {
        auto data = std::make_unique<LibraryData>();
        if (!data->openAtStart(dir)) {
            state.SkipWithError("the generated library does not open");
            break;
        }
        benchmark::DoNotOptimize(data->loans().recordCount());
        state.PauseTiming(); // closing is not part of opening
        data.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_OpenAllRecordSets)->Iterations(3)->Unit(benchmark::kMillisecond);

// Argument: 0 = books in stored order, 1 = books sorted by Verfasser while the filter changes.
void BM_FilterChange(benchmark::State& state)
{
    static const QStringList words{
        "Garten",  "wasser", QStringLiteral("Märchen"), "Geschichte", "Band 3", QStringLiteral("straße"), "Einsteiger",
        "Schloss", "welt",   QStringLiteral("Köln")};
    RecordSet& books = fixture().plainBooks();
    if (state.range(0) == 1)
        books.setIndexFieldNames(QStringLiteral("Verfasser"));
    books.setFilter(QStringLiteral("Titel LIKE '%Sommer%'"));
    books.setFiltered(true);
    qsizetype i = 0;
    qint64 matched = 0;
    for (auto _ : state) {
        books.setFilter(QStringLiteral("Titel LIKE '%%1%'").arg(words.at(i++ % words.size())));
        books.setFiltered(true);
        const int count = books.recordCount();
        benchmark::DoNotOptimize(count);
        matched += count;
    }
    state.counters["rows"] = benchmark::Counter(double(matched), benchmark::Counter::kAvgIterations);
    books.setFiltered(false);
    books.setIndexFieldNames(QString());
}
BENCHMARK(BM_FilterChange)->ArgName("sortedByVerfasser")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_SortBooksByVerfasser(benchmark::State& state)
{
    RecordSet& books = fixture().plainBooks();
    for (auto _ : state) {
        // Back to stored order unmeasured, so that every iteration sorts from scratch.
        state.PauseTiming();
        books.setIndexFieldNames(QString());
        state.ResumeTiming();
        books.setIndexFieldNames(QStringLiteral("Verfasser"));
        benchmark::DoNotOptimize(books.currentRow());
    }
    books.setIndexFieldNames(QString());
}
BENCHMARK(BM_SortBooksByVerfasser)->Unit(benchmark::kMillisecond);

void BM_PostChangedBook(benchmark::State& state)
{
    RecordSet& books = fixture().plainBooks();
    books.first();
    const QString original = books.text(QStringLiteral("Titel"));
    bool changed = false;
    for (auto _ : state) {
        changed = !changed;
        books.edit();
        books.setText(QStringLiteral("Titel"), changed ? original + QStringLiteral(" (überarbeitet)") : original);
        books.post();
    }
    if (changed) {
        books.edit();
        books.setText(QStringLiteral("Titel"), original);
        books.post();
    }
}
BENCHMARK(BM_PostChangedBook)->Unit(benchmark::kMillisecond);

void BM_RequeryBooks(benchmark::State& state)
{
    RecordSet& books = fixture().plainBooks();
    for (auto _ : state) {
        books.requery();
        benchmark::DoNotOptimize(books.recordCount());
    }
}
BENCHMARK(BM_RequeryBooks)->Unit(benchmark::kMillisecond);

// All 23 book columns with the header line to a CSV file, as the export dialog writes it.
void BM_ExportBooksCsv(benchmark::State& state)
{
    RecordSet& books = fixture().plainBooks();
    QStringList captions;
    for (const ExportColumn& c : ExportColumns::books({}))
        captions << c.checkBoxText;
    ExportOptions options;
    options.columns = ExportColumns::books(captions);
    const QString path = fixture().directory() + QStringLiteral("/export.csv");
    for (auto _ : state) {
        const ExportResult result = RecordExporter(books, options).write(path);
        if (result.status != ExportResult::Status::Written) {
            state.SkipWithError(qPrintable(result.error));
            break;
        }
        state.counters["records"] = result.records;
    }
    state.counters["file_MB"] = QFileInfo(path).size() / 1e6;
    QFile::remove(path);
}
BENCHMARK(BM_ExportBooksCsv)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    // Qt gets its own argument count: it keeps a reference, and the benchmark library edits argc.
    int qtArgc = 1;
    QCoreApplication app(qtArgc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    g_fixture.reset(); // connections and the temporary folder go before the application object
    return 0;
}
