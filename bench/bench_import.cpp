// The import of a large delimited text file into the books, as the wizard runs it: reading and
// splitting the file, storing every record in one transaction, updating the stored value lists
// once, then the summary.
// TOMARIS_BENCH_IMPORT_ROWS changes the number of records (100,000 by default).

#include "catalogue/StoredValueLists.h"
#include "datastore/LibraryData.h"
#include "datastore/SqlEngine.h"
#include "exchange/ImportTarget.h"
#include "exchange/Importer.h"
#include "exchange/TextReader.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <memory>
#include <stdexcept>

namespace {

int rowCount()
{
    bool ok = false;
    const int n = qEnvironmentVariable("TOMARIS_BENCH_IMPORT_ROWS").toInt(&ok);
    return ok && n > 0 ? n : 100000;
}

// A semicolon file as a spreadsheet exports a catalogue: a header line, then one book per line,
// with umlauts, quoted values holding the separator, prices with a comma and some empty cells.
void writeCatalogue(const QString& path, int rows)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        throw std::runtime_error("cannot write the source file");
    QByteArray out = "Verfasser;Titel;Verlag;Jahr;Ort;Sachgruppe;ISBN;Signatur;Standort;Preis;Schlagwort;Bemerkung\r\n";
    const char* places[] = {"M\xfcnchen", "K\xf6ln", "Berlin", "Hamburg", "Stuttgart"};
    const char* groups[] = {"Roman", "Sachbuch", "Kinderbuch", "Krimi", "Lyrik", "Reise"};
    for (int i = 0; i < rows; ++i) {
        out += "Autorin " + QByteArray::number(i % 7919) + ";\"Titel " + QByteArray::number(i) +
               "; ein Untertitel\";Verlag " + QByteArray::number(i % 211) + ';' + QByteArray::number(1950 + i % 70) +
               ';' + places[i % 5] + ';' + groups[i % 6] + ";978-3-" + QByteArray::number(100000 + i) + ";S-" +
               QByteArray::number(i) + ";Regal " + QByteArray::number(i % 40) + ';' +
               (i % 10 == 0 ? QByteArray() : QByteArray::number(i % 50) + ",95") + ';' + groups[(i + 1) % 6] + ';' +
               (i % 3 == 0 ? QByteArray("Geschenk von \xbb"
                                        "Freunde der B\xfc"
                                        "cherei\xab")
                           : QByteArray()) +
               "\r\n";
        if (out.size() > (1 << 20)) {
            f.write(out);
            out.clear();
        }
    }
    f.write(out);
}

void BM_ImportBooksFromText(benchmark::State& state)
{
    const int rows = rowCount();
    QTemporaryDir dir;
    const QString source = dir.filePath("katalog.csv");
    writeCatalogue(source, rows);

    const QList<ImportTarget>& targets = ImportTarget::rows(ImportTarget::Kind::Books);
    const QStringList sourceFields{"Verfasser",       "Titel",      "Verlag",       "Erscheinungsjahr",
                                   "Erscheinungsort", "Sachgruppe", "ISBN",         "Signatur",
                                   "Standort",        "Preis",      "Schlagwort 1", "Bemerkung"};
    QList<int> assignments(targets.size(), -1);
    for (int i = 0; i < targets.size(); ++i)
        assignments[i] = int(sourceFields.indexOf(targets.at(i).caption));

    int round = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const QString dbDir = dir.filePath(QStringLiteral("db%1").arg(round++));
        QDir().mkpath(dbDir);
        SqliteEngine().createDatabase(dbDir);
        auto data = std::make_unique<LibraryData>();
        if (!data->openAtStart(dbDir))
            throw std::runtime_error("the new library does not open");
        state.ResumeTiming();

        const SourceTable table = TextReader(source, u';').read();
        StoredValueLists lists(*data);
        Importer importer(*data, ImportTarget::Kind::Books);
        importer.setAfterImport([&lists](const QList<int>& rows) { lists.addValuesOfBooks(rows); });
        const Importer::Result result = importer.run(table, assignments, true);
        const QString summary = importer.summary(result);
        benchmark::DoNotOptimize(summary);
        if (result.imported != rows)
            throw std::runtime_error("not every record was imported");

        state.PauseTiming();
        std::fprintf(stderr, "%s\n", qPrintable(summary));
        data.reset();
        state.ResumeTiming();
    }
    state.counters["records"] = rows;
}
BENCHMARK(BM_ImportBooksFromText)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
