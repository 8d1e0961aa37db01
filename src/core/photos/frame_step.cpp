#include "core/photos/frame_step.h"

namespace card {

namespace {

// The last five characters of a frame path, "1.jpg" to "5.jpg", name the frame.
constexpr qsizetype kFrameSuffixLength = 5;
const QString kLastFrameSuffix = QStringLiteral("1.jpg");

QStringView frameSuffix(const QString& path)
{
    return QStringView(path).right(kFrameSuffixLength);
}

bool isLastFrame(const QString& path)
{
    return frameSuffix(path) == kLastFrameSuffix;
}

// Frames 2 to 5 can step down; frame 1, and anything that is no frame name, cannot.
bool canStepDown(const QString& path)
{
    const QStringView suffix = frameSuffix(path);
    return suffix.size() == kFrameSuffixLength && suffix.sliced(1) == QLatin1String(".jpg") &&
           suffix.front() >= u'2' && suffix.front() <= u'5';
}

QString steppedDown(const QString& path)
{
    if (!canStepDown(path))
        return path;
    QString stepped = path;
    const qsizetype digit = stepped.size() - kFrameSuffixLength;
    stepped[digit] = QChar(stepped[digit].unicode() - 1);
    return stepped;
}

} // namespace

FrameStep stepFrame(const QString& path, const ExistenceTest& exists)
{
    if (!exists(path))
        return {path, false, false};
    QString next = steppedDown(path);
    bool present = exists(next);
    while (!present && canStepDown(next)) {
        next = steppedDown(next);
        present = exists(next);
    }
    const bool ends = isLastFrame(next);
    return {next, ends, present};
}

} // namespace card
