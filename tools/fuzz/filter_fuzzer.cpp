// libFuzzer entry for the filter language (built with -DTOMARIS_FUZZ=ON and clang).
#include "FilterFuzzInput.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // Both readings: UTF-8 as typed text, and raw UTF-16 (lone surrogates, NUL).
    FilterFuzz::run(QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size)));
    FilterFuzz::run(QString(reinterpret_cast<const QChar*>(data), qsizetype(size / 2)));
    return 0;
}
