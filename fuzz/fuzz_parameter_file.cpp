// The parameter file reader over arbitrary bytes, and every value as text.
#include "core/parameters/parameter_table.h"
#include "core/text/text_decoding.h"
#include "core/text/value_reader.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    card::ParameterTable para;
    card::readParameterValues(bytes, para);
    // The same bytes as the start of a longer file: the last value may be cut off.
    card::ParameterTable start;
    card::readParameterValues(bytes, start, true);

    const card::TextCodec codec(card::detectEncoding(bytes));
    card::ValueReader reader(bytes);
    card::ValueSlice value;
    qsizetype previousEnd = -1;
    while (reader.next(value)) {
        // Each value lies inside the input, after the previous one.
        if (value.begin < 0 || value.length < 0 || value.begin + value.length > bytes.size() ||
            value.begin < previousEnd)
            __builtin_trap();
        previousEnd = value.begin + value.length;
        (void)card::valueText(bytes, value, codec);
    }
    return 0;
}
