// One playback tick over an arbitrary path and an arbitrary set of present frames: only the last
// five characters change, at most five existence tests, and the frame never goes up.
#include "core/photos/frame_step.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 1)
        return 0;
    const std::uint8_t presentFrames = data[0]; // bit n: frame n present (bit 0: other names)
    const QString path = QString::fromUtf8(reinterpret_cast<const char*>(data + 1),
                                           static_cast<qsizetype>(size - 1));
    int tests = 0;
    const auto exists = [&](const QString& probed) {
        ++tests;
        const QChar digit = probed.size() >= 5 ? probed.at(probed.size() - 5) : QChar();
        const int frame = digit >= u'1' && digit <= u'5' ? digit.digitValue() : 0;
        return ((presentFrames >> frame) & 1) != 0;
    };
    const card::FrameStep step = card::stepFrame(path, exists);
    if (tests > 5 || step.path.size() != path.size())
        __builtin_trap();
    const qsizetype stem = std::max<qsizetype>(0, path.size() - 5);
    if (QStringView(step.path).first(stem) != QStringView(path).first(stem))
        __builtin_trap();
    if (step.path.size() >= 5 && step.path.last(5) > path.last(5))
        __builtin_trap();
    return 0;
}
