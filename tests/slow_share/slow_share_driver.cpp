// slow_share_driver MODE: the real main window on a share that stops answering, for the checks
// that need a process of their own.
//   close-while-hanging      the day file's read never returns; the window is closed meanwhile
//                            and main returns: the process must end by itself, with status 0.
//   make-site FOLDER         writes the day file of the query below into FOLDER.
//   query FOLDER             queries that day on the real file system and prints the longest
//                            turn of the interface thread until the rows are listed (run under
//                            a tracer that delays the day file's read).
#include "core/parameters/parameter_table.h"
#include "core/records/record_file.h"
#include "core/records/record_table_model.h"
#include "support/controlled_file_access.h"
#include "support/temp_site.h"
#include "ui/main_window/card_image_window.h"

#include <QApplication>
#include <QDateEdit>
#include <QElapsedTimer>
#include <QFile>
#include <QRadioButton>
#include <QTimer>

#include <algorithm>
#include <cstdio>

namespace {

const QDate kDay(2007, 5, 3);
constexpr int kRowCount = 3;

QByteArray dayRecords()
{
    return card::test::big5(QStringLiteral("08:15:30,\"00012345\",\"陳怡君\",\"進\"\r\n"
                                           "08:16:02,\"00023456\",\"林志明\",\"出\"\r\n"
                                           "09:01:45,\"00012345\",\"陳怡君\",\"出\"\r\n"));
}

void prepare(card::CardImageWindow& window, const QString& recordsFolder)
{
    window.state().parameters[card::kRecordsFolderSlot] = recordsFolder;
    window.controls().datePicker->setDate(kDay);
    window.controls().directionOptions[2]->setChecked(true);
    window.show();
}

int closeWhileHanging()
{
    const card::test::TempSite site;
    site.write(card::recordFileName(kDay), dayRecords());
    // Never destroyed, as a share that stopped answering never lets the read go: destroying it
    // would release the read.
    auto* access = new card::test::ControlledFileAccess;
    access->hang(card::recordFileName(kDay));

    card::CardImageWindow window;
    prepare(window, site.path());
    window.runQuery();
    QElapsedTimer waited;
    waited.start();
    int status = 0;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &window, [&] {
        if (access->held() == 1) {
            poll.stop();
            std::printf("the day file's read is held; closing the window\n");
            std::fflush(stdout);
            window.close();
        } else if (waited.elapsed() > 10000) {
            std::printf("the day file's read was never started\n");
            status = 1;
            QApplication::exit(1);
        }
    });
    poll.start(10);
    // The last window's closing ends the event loop, as in the program itself.
    const int loop = QApplication::exec();
    std::printf("event loop ended; returning from main\n");
    std::fflush(stdout);
    return status != 0 ? status : loop;
}

int makeSite(const QString& folder)
{
    QFile file(card::recordFilePath(folder, kDay));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(dayRecords()) != dayRecords().size())
        return 1;
    std::printf("%s\n", qPrintable(file.fileName()));
    return 0;
}

int query(const QString& folder)
{
    card::CardImageWindow window;
    prepare(window, folder);
    QElapsedTimer clock;
    qint64 lastTurn = 0;
    qint64 longestTurn = 0;
    qint64 queriedAt = -1;
    int status = 1;
    // The gaps between ticks of a 1 ms timer are the interface thread's turns, plus the tick.
    QTimer turns;
    turns.setTimerType(Qt::PreciseTimer);
    QObject::connect(&turns, &QTimer::timeout, &window, [&] {
        const qint64 now = clock.nsecsElapsed();
        if (queriedAt >= 0)
            longestTurn = std::max(longestTurn, now - lastTurn);
        lastTurn = now;
        const int rows = window.records().rowCount();
        if (queriedAt >= 0 && (rows > 0 || now - queriedAt > 20'000'000'000)) {
            std::printf("rows %d after %lld ms; longest turn %lld ms\n", rows,
                        static_cast<long long>((now - queriedAt) / 1'000'000),
                        static_cast<long long>(longestTurn / 1'000'000));
            status = rows == kRowCount ? 0 : 1;
            QApplication::exit(status);
        }
    });
    QTimer::singleShot(200, &window, [&] {
        queriedAt = clock.nsecsElapsed();
        lastTurn = queriedAt;
        window.runQuery();
    });
    clock.start();
    turns.start(1);
    QApplication::exec();
    return status;
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments().mid(1);
    const QString mode = args.value(0);
    if (mode == QLatin1String("close-while-hanging"))
        return closeWhileHanging();
    if (mode == QLatin1String("make-site") && args.size() == 2)
        return makeSite(args.at(1));
    if (mode == QLatin1String("query") && args.size() == 2)
        return query(args.at(1));
    std::fprintf(stderr, "usage: slow_share_driver close-while-hanging | make-site FOLDER | "
                         "query FOLDER\n");
    return 2;
}
