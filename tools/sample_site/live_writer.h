// A card reader at work: swipes appended to today's record file as they happen, to try the
// viewer's live view on.
#pragma once

#include <QString>

namespace card {

struct LiveWriting {
    QString recordsFolder;
    QString photoFolder;
    int everyMs = 3000; // between two swipes
    int count = 0;      // swipes to write; 0 goes on until the program is stopped
};

// Appends one swipe every writing.everyMs to the file of the day it is (a new file after
// midnight), the way a reader writes: each record in two pieces a moment apart, its still
// photo a few seconds later (now and then none). Prints each swipe. False when a write fails.
bool writeLiveSwipes(const LiveWriting& writing);

} // namespace card
