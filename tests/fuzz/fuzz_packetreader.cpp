// libFuzzer entry for the packet reader: every input is read or refused with a message.
#include "datastore/DataError.h"
#include "exchange/PacketReader.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    try {
        const PacketReader reader(QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size)));
        qsizetype chars = 0;
        for (int r = 0; r < reader.recordCount(); ++r)
            for (int c = 0; c < reader.columns().size(); ++c)
                chars += reader.value(r, c).toString().size();
        (void)chars;
    } catch (const DataError& e) {
        if (e.message().isEmpty())
            __builtin_trap(); // every refusal must say why
    }
    return 0;
}
