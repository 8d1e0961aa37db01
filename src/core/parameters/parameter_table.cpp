#include "core/parameters/parameter_table.h"

#include "core/text/value_reader.h"
#include "core/platform/file_bytes.h"
#include "core/text/text_decoding.h"

#include <algorithm>

namespace card {

bool readParameterFile(const QString& path, ParameterTable& para)
{
    QByteArray bytes;
    bool goesOn = false;
    if (readFileStart(path, kParameterFileReadLimit, bytes, goesOn) != FileReadStatus::Ok)
        return false;
    return readParameterValues(bytes, para, goesOn);
}

bool readParameterValues(QByteArrayView bytes, ParameterTable& para, bool fileGoesOn)
{
    const QByteArrayView content = bytes.sliced(utf8BomLength(bytes));
    std::array<ValueSlice, kParameterCount> values;
    ValueReader reader(content);
    int found = 0;
    while (found < kParameterCount && reader.next(values[static_cast<size_t>(found)]))
        ++found;
    // The start of a longer file may end inside the last value found.
    const bool lastMayGoOn = fileGoesOn && reader.position() >= content.size();
    const int whole = lastMayGoOn ? std::max(found - 1, 0) : found;
    const TextCodec codec(detectEncoding(content.first(reader.position())));
    for (int i = 0; i < whole; ++i) {
        const auto slot = static_cast<size_t>(i);
        para[slot] = valueText(content, values[slot], codec);
    }
    return whole == kParameterCount;
}

} // namespace card
