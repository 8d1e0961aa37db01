// The parameter table `para` and its reader.
#pragma once

#include <QByteArrayView>
#include <QString>

#include <array>

namespace card {

inline constexpr int kParameterCount = 26;
inline constexpr int kRecordsFolderSlot = 17;
inline constexpr int kPhotoFolderSlot = 19;

// Slots 0 to 25, each used as text; empty before the first load.
using ParameterTable = std::array<QString, kParameterCount>;

// A parameter file is a few hundred bytes; at most this much of its start is read.
inline constexpr qint64 kParameterFileReadLimit = 64 * 1024 * 1024;

// What one read of a parameter file gave: its first count values, in slots 0 to count - 1.
struct ParameterRead {
    ParameterTable values;
    int count = 0;

    bool whole() const { return count == kParameterCount; }
    // Stores the values read in their slots; the slots after them keep what para held.
    void applyTo(ParameterTable& para) const;
};

// Reads the first 26 values of the file, in order; a file that cannot be read gives none.
ParameterRead readParameters(const QString& path);

// Reads the first 26 values of the file into para, in order. True when all 26 were read.
// On failure the slots read so far hold their new values and the others keep theirs.
// Whatever follows the 26th value is not read; it does not decide the encoding either.
bool readParameterFile(const QString& path, ParameterTable& para);

// The same over the bytes of a parameter file, or over its start when fileGoesOn: then a 26th
// value that runs to the end of bytes may be incomplete, and the read fails.
bool readParameterValues(QByteArrayView bytes, ParameterTable& para, bool fileGoesOn = false);

} // namespace card
