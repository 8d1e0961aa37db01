// sample_site <site folder> [--date YYYY-MM-DD]: writes a small card-reader site (parameter
// file, a month of records ending on the date, the last week busy, and their photos) to try the
// viewer on.
// sample_site --live <site folder>: then goes on appending a swipe every few seconds to today's
// file, for the live view.
#include "code_page.h"
#include "live_writer.h"
#include "photo_drawing.h"
#include "site_files.h"
#include "site_plan.h"

#include "core/platform/path_join.h"
#include "tool_output.h"

#include <QCommandLineParser>
#include <QDir>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImageWriter>
#include <QRegularExpression>

#include <cstdio>

namespace {

using card::tools::fail;
using card::tools::writeBytes;

constexpr int kPhotoQuality = 75;

struct Totals {
    int records = 0;
    int photos = 0;
    qint64 photoBytes = 0;
};

bool writeCodePage950(const QString& path, const QString& text)
{
    const auto bytes = card::toCodePage950(text);
    if (!bytes) {
        fail(QStringLiteral("%1: text has characters outside code page 950").arg(path));
        return false;
    }
    return writeBytes(path, *bytes);
}

// Files a previous run left behind, so that the site holds exactly one run's days. Removing
// them all first and writing new files measured over twice as fast as overwriting in place.
bool removeGenerated(const QString& folder, const QRegularExpression& pattern)
{
    QDir dir(folder);
    for (const QString& name : dir.entryList(QDir::Files)) {
        if (pattern.match(name).hasMatch() && !dir.remove(name)) {
            fail(QStringLiteral("cannot remove %1").arg(dir.filePath(name)));
            return false;
        }
    }
    return true;
}

bool prepareFolder(const QString& folder, const QRegularExpression& generatedName)
{
    if (!QDir().mkpath(folder)) {
        fail(QStringLiteral("cannot create %1").arg(folder));
        return false;
    }
    return removeGenerated(folder, generatedName);
}

bool writeParameterFile(const QString& site, const QString& records, const QString& photos)
{
    // The viewer reads slots 17 and 19 as quoted values; a quote inside would end them early.
    if (records.contains(u'"')) {
        fail(QStringLiteral("the site folder must not contain a double quote"));
        return false;
    }
    const QStringList values = card::siteParameters(records, photos);
    return writeCodePage950(card::joinPath(site, QStringLiteral("site.spf")),
                            card::parameterFileText(values));
}

QList<int> framesOf(const card::PlannedSwipe& swipe)
{
    return swipe.photoKind == card::PhotoKind::Still ? QList<int>{card::kStillFrame} : swipe.frames;
}

QString photoName(const card::DayPlan& plan, const card::PlannedSwipe& swipe, int frame)
{
    const QString& cardNumber = card::cardHolders().at(swipe.holder).cardNumber;
    return card::photoFileName(cardNumber, plan.date, swipe.time, frame);
}

QList<card::DayPlan> planSite(const QDate& lastDay)
{
    QList<card::DayPlan> plans;
    for (int daysBack = 0; daysBack < card::kHistoryDays; ++daysBack) {
        if (card::siteOpen(daysBack))
            plans.append(card::planDay(lastDay.addDays(-daysBack), daysBack));
    }
    return plans;
}

bool writePhotos(const card::PhotoPainter& painter, const card::DayPlan& plan,
                 const QString& folder, Totals& totals)
{
    for (const card::PlannedSwipe& swipe : plan.swipes) {
        for (int frame : framesOf(swipe)) {
            const QString path = card::joinPath(folder, photoName(plan, swipe, frame));
            QImageWriter writer(path, "jpg");
            writer.setQuality(kPhotoQuality);
            if (!writer.write(painter.draw(swipe, plan.date, frame))) {
                fail(QStringLiteral("cannot write %1: %2").arg(path, writer.errorString()));
                return false;
            }
            ++totals.photos;
            totals.photoBytes += QFileInfo(path).size();
        }
    }
    return true;
}

bool writeDays(const QList<card::DayPlan>& plans, const QString& records, const QString& photos,
               Totals& totals)
{
    const card::PhotoPainter painter;
    for (const card::DayPlan& plan : plans) {
        const QString path = card::joinPath(records, card::recordFileName(plan.date));
        if (!writeCodePage950(path, card::recordFileText(plan)) ||
            !writePhotos(painter, plan, photos, totals))
            return false;
        totals.records += int(plan.swipes.size());
    }
    return true;
}

struct LiveOptions {
    bool on = false;
    int everyMs = 3000;
    int count = 0;
};

bool parseArguments(const QCoreApplication& app, QString& site, QDate& date, LiveOptions& live)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Writes a sample card-reader site: site.spf, records/ and photos/."));
    parser.addHelpOption();
    const QCommandLineOption dateOption(QStringLiteral("date"),
                                        QStringLiteral("Last day of records (default: today)."),
                                        QStringLiteral("YYYY-MM-DD"));
    parser.addOption(dateOption);
    const QCommandLineOption liveOption(
        QStringLiteral("live"),
        QStringLiteral("Then append a swipe to today's file every few seconds, as a card reader "
                       "does, until stopped (the site is written first when it has no site.spf)."));
    const QCommandLineOption everyOption(QStringLiteral("every"),
                                         QStringLiteral("Seconds between live swipes (3)."),
                                         QStringLiteral("seconds"));
    const QCommandLineOption countOption(QStringLiteral("count"),
                                         QStringLiteral("Live swipes to write, then stop."),
                                         QStringLiteral("n"));
    parser.addOptions({liveOption, everyOption, countOption});
    parser.addPositionalArgument(QStringLiteral("site"), QStringLiteral("Site folder."));
    parser.process(app);

    if (parser.positionalArguments().size() != 1) {
        fail(QStringLiteral("give exactly one site folder (see --help)"));
        return false;
    }
    site = parser.positionalArguments().constFirst();
    date = parser.isSet(dateOption) ? QDate::fromString(parser.value(dateOption), Qt::ISODate)
                                    : QDate::currentDate();
    if (!date.isValid()) {
        fail(QStringLiteral("not a date: %1").arg(parser.value(dateOption)));
        return false;
    }
    live.on = parser.isSet(liveOption);
    bool everyOk = true;
    bool countOk = true;
    if (parser.isSet(everyOption))
        live.everyMs = static_cast<int>(parser.value(everyOption).toDouble(&everyOk) * 1000);
    if (parser.isSet(countOption))
        live.count = parser.value(countOption).toInt(&countOk);
    if (!everyOk || !countOk || live.everyMs <= 0 || live.count < 0) {
        fail(QStringLiteral("--every takes seconds above 0, --count a number of swipes"));
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char* argv[])
{
    card::tools::setToolName("sample_site");
    // Drawing the photos needs fonts but no screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    QString siteArgument;
    QDate lastDay;
    LiveOptions live;
    if (!parseArguments(app, siteArgument, lastDay, live))
        return 2;
    if (!card::codePage950Works()) {
        fail(QStringLiteral("this Qt cannot encode code page 950 (built without ICU?)"));
        return 1;
    }

    QElapsedTimer timer;
    timer.start();
    // Native separators, as the product itself writes and joins folders.
    const QString site = QDir::toNativeSeparators(QDir(siteArgument).absolutePath());
    const QString records = card::joinPath(site, QStringLiteral("records"));
    const QString photos = card::joinPath(site, QStringLiteral("photos"));
    static const QRegularExpression recordPattern(
        QStringLiteral("^\\d{4}-\\d{1,2}-\\d{1,2}\\.txt$"));
    static const QRegularExpression photoPattern(
        QStringLiteral("^\\d+-\\d{6}-\\d{6}-([1-9]|C)\\.jpg$"));

    const bool siteWritten = QFileInfo::exists(card::joinPath(site, QStringLiteral("site.spf")));
    if (live.on && siteWritten)
        return card::writeLiveSwipes({records, photos, live.everyMs, live.count}) ? 0 : 1;

    const QList<card::DayPlan> plans = planSite(lastDay);
    Totals totals;
    if (!prepareFolder(records, recordPattern) || !prepareFolder(photos, photoPattern) ||
        !writeParameterFile(site, records, photos) || !writeDays(plans, records, photos, totals))
        return 1;
    if (live.on)
        return card::writeLiveSwipes({records, photos, live.everyMs, live.count}) ? 0 : 1;

    std::printf("%s: %d records, %d photos (%lld KB) from %s to %s in %.1f s\n", qPrintable(site),
                totals.records, totals.photos, totals.photoBytes / 1024,
                qPrintable(lastDay.addDays(1 - card::kHistoryDays).toString(Qt::ISODate)),
                qPrintable(lastDay.toString(Qt::ISODate)), timer.elapsed() / 1000.0);
    return 0;
}
