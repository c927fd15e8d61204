#pragma once

#include <QString>
#include <QtGlobal>

// How big a generated library is. The defaults are the size the benchmarks are judged at.
struct LibraryShape
{
    int books = 100'000;
    int readers = 10'000;
    int loans = 200'000;
    int lentPercent = 10; // share of books that are out; each has one open loan
    quint32 seed = 4711;

    // The same proportions, scaled (for quick or profiling runs).
    LibraryShape scaled(double factor) const;
};

struct GeneratedLibrary
{
    int books = 0;
    int readers = 0;
    int loans = 0;
    int openLoans = 0; // equals the number of books marked as lent
};

// Creates a new library database in `directory` (which must not hold one yet) and fills it with
// realistic German data: same shape and seed, same content. Book and reader IDs run from 1;
// loans are stored in the order they were made. Throws std::exception on any failure.
GeneratedLibrary generateLibrary(const QString& directory, const LibraryShape& shape = {});

// The library every benchmark works on: the default shape, scaled by TOMARIS_BENCH_SCALE when set
// (e.g. 5 for 500,000 books). Says on stderr what it made and how long that took.
GeneratedLibrary generateBenchmarkLibrary(const QString& directory);
