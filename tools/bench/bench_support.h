// Small measuring helpers shared by the benchmarks.
#pragma once

#include <QByteArray>
#include <QSize>
#include <QString>

#include <functional>

namespace card {
class CardImageWindow;
}

namespace card::bench {

// Peak resident memory of this process so far, in bytes (VmHWM).
qint64 peakResidentBytes();
// Current resident memory of this process, in bytes (VmRSS).
qint64 residentBytes();

// Sets the peak resident size (VmHWM) back to the current size, so that the next reading of
// VmHWM is the peak of what runs in between. False where the system does not allow it.
bool resetPeakResident();

double megabytes(qint64 bytes);

// Processor time so far, in milliseconds: of every thread of this process and of the children
// it waited for, or of the calling thread alone.
double processorMs();
double threadProcessorMs();

// What runs of work cost. Before each run, prepare runs outside the measure and the memory the
// allocator keeps is handed back, so that every page a run touches counts in its peak.
struct RunTimes {
    double best = 0;       // the fastest run, in milliseconds on the clock
    double median = 0;     // the median run, on the clock
    double processor = 0;  // the least processor time of a run, every thread (processorMs)
    double thread = 0;     // the least processor time of a run, the calling thread alone
    qint64 peakAdded = -1; // the largest rise of the peak resident size; -1 when unknown
};
RunTimes timeRuns(
    int runs, const std::function<void()>& work, const std::function<void()>& prepare = [] {});

// A day file of recordCount swipes as the card readers write them: code page 950, CR LF, about
// 35 bytes a record (08:15:30,"00100037","陳怡君","進"), 5,000 card holders, the same every run.
QByteArray dayFile(qint64 recordCount);

// A working day of about recordCount swipes in time order, in the same form: cards that come in
// and go out in pairs during working hours, about one swipe in a hundred odd (a forgotten out,
// a second in, a reader swiped three times, a night visit). Each variant is another day of the
// same card holders.
QByteArray workingDayFile(qint64 recordCount, unsigned variant);

// A camera-like picture as a JPEG file's bytes: smooth shading with sensor noise, so it
// compresses and decodes like a photo and not like a flat test card. The same every run.
QByteArray cameraJpeg(const QSize& size);

// Writes bytes to path; false when it could not.
bool writeFile(const QString& path, const QByteArray& bytes);

// Runs the event loop until the window has shown every result of its work off the interface
// thread (a query, a load, a photo).
void waitForWindowWork(const CardImageWindow& window);

} // namespace card::bench
