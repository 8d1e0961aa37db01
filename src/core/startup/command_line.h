// The program's command line: card_image [options] [PARAMETER_FILE].
#pragma once

#include "core/platform/folder_mapping.h"
#include "core/text/direction_words.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTime>

#include <optional>

namespace card {

// The exit status of a malformed command line.
inline constexpr int kUsageExitStatus = 2;
// The most days --days takes: ten years, far beyond any range the windows offer.
inline constexpr int kMaxDays = 3660;
// The exit status of a report that could not be written.
inline constexpr int kReportFailedExitStatus = 1;

// What the program starts with. Without a parameter file it asks for one, as ever.
struct StartupOptions {
    QString parameterFile; // as given on the command line
    std::optional<QDate> date;
    std::optional<QString> card;
    std::optional<DirectionChoice> direction; // never None
    bool live = false;                        // open the live view once the parameter file is read
    // --history: the card history window over the card's days up to date instead of a query.
    bool history = false;
    // --exceptions: the exceptions of the days up to date (today unless given).
    bool exceptions = false;
    std::optional<int> days; // the history's range, 30 days unless given; the exceptions', 1
    // --map WINDOWS_FOLDER=LOCAL_FOLDER, in the order given.
    QList<FolderMapping> mappings;

    // Whether a query or the card history is to run once the parameter file is loaded.
    bool queries() const { return date || card || direction || history || exceptions; }
};

// A report written without a window: --report FILE; with --exceptions, the exceptions of the
// days up to the date; with --days or --history, the card's history (StartupOptions gives its
// card, end day and days).
struct ReportOptions {
    QString file; // ends in .pdf or .csv
    // --present: the people inside at a moment (the roll call) instead of a day's list; at
    // --date's day and --time, now when neither is given.
    bool present = false;
    std::optional<QTime> time;
    QString caseName; // --case: the report of this case instead of a site's
};

// An evidence package written without a window (--evidence), or one checked (--verify).
struct EvidenceOptions {
    QString package;             // the ZIP file
    std::optional<QString> time; // --time: only the swipe at this time (hh:mm:ss)
    bool withDayFiles = false;   // --with-day-files: each day file whole too
    // --case: the package of this case instead of a card's day; the parameter file, if given,
    // is where swipes whose own site lost their day file are read.
    QString caseName;
};

struct CommandLine {
    enum class Kind {
        Run,      // start with options
        Report,   // write report with options' site and filters, exit 0 or 1
        Evidence, // write the evidence package of options' card and day, exit 0 or 1
        Verify,   // check the package evidence.package, exit 0, 1 or 2
        Help,     // print text to standard output, exit 0
        Version,  // print text to standard output, exit 0
        Error,    // print text (one line) to standard error, exit kUsageExitStatus
    };
    Kind kind = Kind::Run;
    StartupOptions options;
    ReportOptions report;
    // --cases-db: the case store, as a file path or postgresql://user@host[:port]/database;
    // empty for the one in the settings or the default file.
    QString casesDatabase;
    EvidenceOptions evidence;
    QString text; // the help text, the version line or the error line, each ending in a newline
};

// The program's version, from the build.
QString programVersion();

// The arguments without Qt's own options (-platform NAME, -display NAME, -style NAME...), which
// the application takes out itself when it starts.
QStringList withoutToolkitOptions(const QStringList& arguments);

// Reads the arguments (the program's name first, as the program was started): complete before
// the application exists, so that a malformed line needs no display to be refused.
CommandLine parseCommandLine(const QStringList& arguments);

} // namespace card
