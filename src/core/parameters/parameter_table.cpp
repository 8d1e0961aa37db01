#include "core/parameters/parameter_table.h"

#include "core/platform/file_bytes.h"
#include "core/text/text_decoding.h"
#include "core/text/value_reader.h"

#include <algorithm>

namespace card {

namespace {

ParameterRead parameterValues(QByteArrayView bytes, bool fileGoesOn)
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
    ParameterRead read;
    read.count = whole;
    for (int i = 0; i < whole; ++i) {
        const auto slot = static_cast<size_t>(i);
        read.values[slot] = valueText(content, values[slot], codec);
    }
    return read;
}

} // namespace

void ParameterRead::applyTo(ParameterTable& para) const
{
    std::copy_n(values.begin(), count, para.begin());
}

ParameterRead readParameters(const QString& path)
{
    QByteArray bytes;
    bool goesOn = false;
    if (readFileStart(path, kParameterFileReadLimit, bytes, goesOn) != FileReadStatus::Ok)
        return {};
    return parameterValues(bytes, goesOn);
}

bool readParameterFile(const QString& path, ParameterTable& para)
{
    const ParameterRead read = readParameters(path);
    read.applyTo(para);
    return read.whole();
}

bool readParameterValues(QByteArrayView bytes, ParameterTable& para, bool fileGoesOn)
{
    const ParameterRead read = parameterValues(bytes, fileGoesOn);
    read.applyTo(para);
    return read.whole();
}

} // namespace card
