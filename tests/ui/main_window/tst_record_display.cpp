#include "ui/main_window/card_image_window.h"

#include "core/records/record_table_model.h"
#include "support/record_table_text.h"
#include "support/settle.h"
#include "support/temp_site.h"
#include "support/test_photos.h"
#include "ui/main_window/record_list_view.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QTest>
#include <QTimer>

#include <memory>

using card::CardImageWindow;
using card::test::jpegBytes;

namespace {

const QString kDate = QStringLiteral("070515");
const QString kPlaying = QStringLiteral("動態播放");
const QString kEnded = QStringLiteral("播放結束");
const QString kNoImage = QStringLiteral("影像不存在");

// Rows of the lists and, in the comment, the photos each swipe has in the photo folder.
const QByteArray kRecords =
    "\"8:05:07\",\"00012345\",\"王小明\",\"進\"\r\n"       // 0: still, frames 3 and 1
    "\"17:30:00\",\"00012345\",\"王小明\",\"出\"\r\n"      // 1: frames 3 and 1
    "\"9:00:00\",\"00020000\",\"李大華\",\"進\"\r\n"       // 2: frame 1
    "\"9:10:00\",\"00030000\",\"陳美玲\",\"出\"\r\n"       // 3: none
    "\"9:20:00\",\"00040000\",\"林志明\",\"進\"\r\n"       // 4: frames 5 to 1
    "\"9:30:00\",\"00050000\",\"張惠妹\",\"進\"\r\n"       // 5: frames 5 and 2
    "\"9:40:00\",\"00060000\",\"黃曉明\",\"出\"\r\n"       // 6: still, cut off
    "\"10:15:30\",\"00070000\",\"周杰倫\",\"出\"\r\n"      // 7: still
    "\"上午 10:20\",\"00080000\",\"蔡依林\",\"進\"\r\n"    // 8: still
    "\"N/A\",\"00090000\",\"無時間\",\"進\"\r\n"           // 9: a file with no time
    "\"11:00:00\",\"00100000\",\"吳宗憲\",\"出\"\r\n"      // 10: 5, 4 cut off, 3
    "\"11:10:00\",\"00110000\",\"羅志祥\",\"出\"\r\n"      // 11: 5 a text, 1
    "\"12:00:00\",\"<b>1\",\"<i>林</i>&amp;\",\"進\"\r\n"; // 12: still

const QColor kStillColour(220, 20, 20);

QColor frameColour(int frame)
{
    static const QColor colours[] = {
        {}, {20, 20, 220}, {20, 200, 20}, {230, 230, 20}, {20, 220, 220}, {220, 20, 220}};
    return colours[frame];
}

bool sameColour(const QColor& a, const QColor& b)
{
    return qAbs(a.red() - b.red()) < 24 && qAbs(a.green() - b.green()) < 24 &&
           qAbs(a.blue() - b.blue()) < 24;
}

struct Viewer {
    card::test::TempSite site;
    QString folder;
    std::unique_ptr<CardImageWindow> window;

    Viewer()
        : folder(site.makeFolder(QStringLiteral("photos")))
        , window(std::make_unique<CardImageWindow>())
    {
        still("00012345-070515-080507");
        frames("00012345-070515-080507", {3, 1});
        frames("00012345-070515-173000", {3, 1});
        frames("00020000-070515-090000", {1});
        frames("00040000-070515-092000", {5, 4, 3, 2, 1});
        frames("00050000-070515-093000", {5, 2});
        const QByteArray cut = jpegBytes(kStillColour, QSize(320, 240));
        write("00060000-070515-094000-C.jpg", cut.left(cut.size() / 2));
        still("00070000-070515-101530");
        still("00080000-070515-102000");
        still("00090000-070515--");
        frames("00100000-070515-110000", {5, 3});
        const QByteArray frame4 = jpegBytes(frameColour(4), QSize(320, 240));
        write("00100000-070515-110000-4.jpg", frame4.left(frame4.size() / 2));
        write("00110000-070515-111000-5.jpg", "not a picture");
        frames("00110000-070515-111000", {1});
        still("<b>1-070515-120000");

        window->records().setTable(card::test::recordTableFromText(kRecords));
        window->state().currentRecord.day = kDate;
        window->state().parameters[card::kPhotoFolderSlot] = folder;
        window->show();
    }

    QString write(const QString& name, const QByteArray& bytes) const
    {
        return site.write(QStringLiteral("photos/") + name, bytes);
    }
    void still(const QString& stem) const { write(stem + "-C.jpg", jpegBytes(kStillColour)); }
    void frames(const QString& stem, const QList<int>& numbers) const
    {
        for (int n : numbers)
            write(stem + QStringLiteral("-%1.jpg").arg(n), jpegBytes(frameColour(n)));
    }

    const card::MainControls& c() const { return window->controls(); }
    const card::CurrentRecord& currentRecord() const { return window->state().currentRecord; }

    void press(int list, int row, Qt::MouseButton button = Qt::LeftButton) const
    {
        card::RecordListView* view = c().resultLists[list];
        const QModelIndex index = view->model()->index(row, 0);
        view->scrollTo(index);
        const QPoint centre = view->visualRect(index).center();
        QTest::mousePress(view->viewport(), button, {}, centre);
        QTest::mouseRelease(view->viewport(), button, {}, centre);
        settle();
    }

    // Waits for the photo work the last press, key or tick started.
    void settle() const
    {
        if (!card::test::settled(*window))
            qFatal("the photo work did not end");
    }

    QList<int> selectedRows() const
    {
        QList<int> rows;
        for (auto* list : c().resultLists)
            rows.append(list->selectedRow());
        return rows;
    }

    QStringList infoLines() const
    {
        QStringList lines;
        for (QLabel* line : c().detailValues)
            lines.append(line->text());
        return lines;
    }

    QColor shownColour() const
    {
        const QImage shown = c().photoBox->pixmap().toImage();
        return shown.pixelColor(shown.width() / 2, shown.height() / 2);
    }

    bool showsFallback() const
    {
        return c().photoBox->pixmap().toImage() == c().fallbackPicture->pixmap().toImage();
    }
};

QList<int> sameRowEverywhere(int row)
{
    return {row, row, row, row};
}

} // namespace

class TestRecordDisplay : public QObject {
    Q_OBJECT
private slots:
    void pressShowsTheRecord_data();
    void pressShowsTheRecord();
    void noPhotoShowsTheFallback_data();
    void noPhotoShowsTheFallback();
    void keyReleaseShowsTheNewRow();
    void heldKeyShowsTheRowWhereItIsLetGo();
    void photoFollowsTheBoxSize_data();
    void photoFollowsTheBoxSize();
    void resizeAfterPlaybackKeepsTheLastFrame_data();
    void resizeAfterPlaybackKeepsTheLastFrame();
    void controlKeyNeverClearsTheRow_data();
    void controlKeyNeverClearsTheRow();
    void noSelectionIsCopiedToAllLists();
    void dragKeepsThePressedRow();
    void playback_data();
    void playback();
    void choosingThePlayingRowRestarts();
    void unreadableFrameEndsPlayback();
};

void TestRecordDisplay::pressShowsTheRecord_data()
{
    QTest::addColumn<int>("list");
    QTest::addColumn<int>("row");
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::addColumn<QString>("time");
    QTest::addColumn<QStringList>("info");
    QTest::addColumn<QString>("photoSuffix");
    QTest::addColumn<QColor>("colour");
    const QStringList row7 = {"070515 10:15:30", "00070000", "周杰倫--出", "刷卡照相"};
    QTest::newRow("row 7 of the name list, left button")
        << 2 << 7 << Qt::LeftButton << "101530" << row7 << "-C.jpg" << kStillColour;
    QTest::newRow("row 7 of the name list, right button")
        << 2 << 7 << Qt::RightButton << "101530" << row7 << "-C.jpg" << kStillColour;
    QTest::newRow("row 7 of the name list, middle button")
        << 2 << 7 << Qt::MiddleButton << "101530" << row7 << "-C.jpg" << kStillColour;
    QTest::newRow("still photo before frames 3 and 1")
        << 0 << 0 << Qt::LeftButton << "080507"
        << QStringList{"070515 8:05:07", "00012345", "王小明--進", "刷卡照相"} << "-C.jpg"
        << kStillColour;
    QTest::newRow("frames 3 and 1: frame 3 plays")
        << 3 << 1 << Qt::LeftButton << "173000"
        << QStringList{"070515 17:30:00", "00012345", "王小明--出", kPlaying} << "-3.jpg"
        << frameColour(3);
    QTest::newRow("only frame 1 plays")
        << 1 << 2 << Qt::LeftButton << "090000"
        << QStringList{"070515 9:00:00", "00020000", "李大華--進", kPlaying} << "-1.jpg"
        << frameColour(1);
    QTest::newRow("12-hour time with marker")
        << 0 << 8 << Qt::LeftButton << "102000"
        << QStringList{"070515 上午 10:20", "00080000", "蔡依林--進", "刷卡照相"} << "-C.jpg"
        << kStillColour;
    QTest::newRow("values that look like markup")
        << 0 << 12 << Qt::LeftButton << "120000"
        << QStringList{"070515 12:00:00", "<b>1", "<i>林</i>&amp;--進", "刷卡照相"} << "-C.jpg"
        << kStillColour;
}

void TestRecordDisplay::pressShowsTheRecord()
{
    QFETCH(int, list);
    QFETCH(int, row);
    QFETCH(Qt::MouseButton, button);
    QFETCH(QString, time);
    QFETCH(QStringList, info);
    QFETCH(QString, photoSuffix);
    QFETCH(QColor, colour);
    Viewer viewer;
    // A sequence plays on another row before: the press must move the selection before it is
    // read, and stop that playback.
    viewer.press(0, 4);
    QVERIFY(viewer.c().playbackTimer->isActive());
    viewer.press(list, row, button);
    QCOMPARE(viewer.selectedRows(), sameRowEverywhere(row));
    QCOMPARE(viewer.currentRecord().time, time);
    QCOMPARE(viewer.currentRecord().card, info[1]);
    QCOMPARE(viewer.currentRecord().photoPath,
             viewer.folder + "/" + info[1] + "-070515-" + time + photoSuffix);
    QCOMPARE(viewer.infoLines(), info);
    // Shown as written: markup would draw narrower than the text itself.
    for (QLabel* line : viewer.c().detailValues)
        QVERIFY(line->sizeHint().width() >= line->fontMetrics().horizontalAdvance(line->text()));
    QVERIFY(viewer.c().statusLine->text().isEmpty());
    QCOMPARE(viewer.c().playbackTimer->isActive(), info[3] == kPlaying);
    QVERIFY2(sameColour(viewer.shownColour(), colour), qPrintable(viewer.shownColour().name()));
}

void TestRecordDisplay::noPhotoShowsTheFallback_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("time");
    QTest::addColumn<QString>("photoPath");
    QTest::newRow("no photo file") << 3 << "091000"
                                   << "00030000-070515-091000-1.jpg";
    QTest::newRow("still photo cut off") << 6 << "094000"
                                         << "00060000-070515-094000-C.jpg";
    QTest::newRow("highest frame is no picture") << 11 << "111000"
                                                 << "00110000-070515-111000-5.jpg";
    QTest::newRow("listed time is no time of day") << 9 << ""
                                                   << "00090000-070515--1.jpg";
}

void TestRecordDisplay::noPhotoShowsTheFallback()
{
    QFETCH(int, row);
    QFETCH(QString, time);
    QFETCH(QString, photoPath);
    Viewer viewer;
    viewer.press(0, 4); // a sequence plays and the info lines are full before
    viewer.press(1, row);
    QCOMPARE(viewer.selectedRows(), sameRowEverywhere(row));
    QCOMPARE(viewer.currentRecord().time, time);
    QCOMPARE(viewer.currentRecord().photoPath, viewer.folder + "/" + photoPath);
    QVERIFY(viewer.showsFallback());
    QCOMPARE(viewer.c().statusLine->text(), kNoImage);
    QCOMPARE(viewer.infoLines(), QStringList({"", "", "", ""}));
    QVERIFY(!viewer.c().playbackTimer->isActive());
}

void TestRecordDisplay::dragKeepsThePressedRow()
{
    Viewer viewer;
    card::RecordListView* view = viewer.c().resultLists[2];
    const QPoint from = view->visualRect(view->model()->index(6, 0)).center();
    const QPoint to = view->visualRect(view->model()->index(8, 0)).center();
    QTest::mousePress(view->viewport(), Qt::LeftButton, {}, from);
    const QStringList shown = viewer.infoLines();
    QMouseEvent move(QEvent::MouseMove, to, view->viewport()->mapToGlobal(to), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(view->viewport(), &move);
    QTest::mouseRelease(view->viewport(), Qt::LeftButton, {}, to);
    viewer.settle();
    QCOMPARE(viewer.selectedRows(), sameRowEverywhere(6));
    QCOMPARE(viewer.infoLines(), shown);
}

void TestRecordDisplay::keyReleaseShowsTheNewRow()
{
    Viewer viewer;
    viewer.press(3, 6);
    QTest::keyClick(viewer.c().resultLists[3], Qt::Key_Down);
    viewer.settle();
    QCOMPARE(viewer.selectedRows(), sameRowEverywhere(7));
    QCOMPARE(viewer.infoLines()[0], QStringLiteral("070515 10:15:30"));
    QVERIFY(sameColour(viewer.shownColour(), kStillColour));

    QTest::keyClick(viewer.c().resultLists[0], Qt::Key_Up);
    viewer.settle();
    QTest::keyClick(viewer.c().resultLists[0], Qt::Key_Up);
    viewer.settle();
    QCOMPARE(viewer.selectedRows(), sameRowEverywhere(5));
    QCOMPARE(viewer.infoLines()[3], kPlaying);
    QVERIFY(viewer.c().playbackTimer->isActive());
}

void TestRecordDisplay::heldKeyShowsTheRowWhereItIsLetGo()
{
    Viewer viewer;
    viewer.press(0, 6);
    const QStringList shownForRow6 = viewer.infoLines();
    card::RecordListView* list = viewer.c().resultLists[0];
    // The window system repeats a held key as press and release pairs marked as repeats.
    QTest::sendKeyEvent(QTest::Press, list, Qt::Key_Down, QString(), Qt::NoModifier);
    QKeyEvent repeatRelease(QEvent::KeyRelease, Qt::Key_Down, Qt::NoModifier, QString(), true);
    QApplication::sendEvent(list, &repeatRelease);
    viewer.settle();
    QCOMPARE(list->selectedRow(), 7);
    QCOMPARE(viewer.selectedRows(), (QList<int>{7, 6, 6, 6}));
    QCOMPARE(viewer.infoLines(), shownForRow6);
    QTest::sendKeyEvent(QTest::Release, list, Qt::Key_Down, QString(), Qt::NoModifier);
    viewer.settle();
    QCOMPARE(viewer.selectedRows(), sameRowEverywhere(7));
    QCOMPARE(viewer.infoLines()[0], QStringLiteral("070515 10:15:30"));
}

void TestRecordDisplay::photoFollowsTheBoxSize_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<bool>("redecoded");
    QTest::newRow("still photo") << 7 << true;
    QTest::newRow("playing frame") << 4 << true;
    QTest::newRow("fallback picture") << 3 << false;
}

void TestRecordDisplay::photoFollowsTheBoxSize()
{
    QFETCH(int, row);
    QFETCH(bool, redecoded);
    Viewer viewer;
    QVERIFY(QTest::qWaitForWindowExposed(viewer.window.get()));
    viewer.press(0, row);
    const QSize before = viewer.c().photoBox->pixmap().size();
    viewer.window->resize(viewer.window->size() + QSize(200, 150));
    const QSize box = viewer.c().photoBox->contentsRect().size();
    QVERIFY(box.width() > before.width());
    if (redecoded) {
        QTRY_COMPARE(viewer.c().photoBox->pixmap().size(), box);
    } else {
        QTest::qWait(400);
        QCOMPARE(viewer.c().photoBox->pixmap().size(), before);
        QVERIFY(viewer.showsFallback());
    }
}

void TestRecordDisplay::resizeAfterPlaybackKeepsTheLastFrame_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("ticks");
    QTest::addColumn<QString>(
        "fileWrittenAfterTheEnd"); // the file currentRecord(4) names at the end
    QTest::addColumn<int>("lastFrame");
    QTest::newRow("frame 1 appears after frames 5 and 2")
        << 5 << 2 << "00050000-070515-093000-1.jpg" << 2;
    QTest::newRow("the cut-off frame 4 is completed")
        << 10 << 1 << "00100000-070515-110000-4.jpg" << 5;
}

void TestRecordDisplay::resizeAfterPlaybackKeepsTheLastFrame()
{
    QFETCH(int, row);
    QFETCH(int, ticks);
    QFETCH(QString, fileWrittenAfterTheEnd);
    QFETCH(int, lastFrame);
    Viewer viewer;
    QVERIFY(QTest::qWaitForWindowExposed(viewer.window.get()));
    viewer.press(0, row);
    for (int tick = 0; tick < ticks; ++tick)
        viewer.window->stepPlayback();
    viewer.settle();
    QCOMPARE(viewer.infoLines()[3], kEnded);
    QVERIFY(viewer.currentRecord().photoPath.endsWith(fileWrittenAfterTheEnd));
    viewer.write(fileWrittenAfterTheEnd, jpegBytes(QColor(Qt::black)));
    viewer.window->resize(viewer.window->size() + QSize(200, 150));
    QTRY_COMPARE(viewer.c().photoBox->pixmap().size(), viewer.c().photoBox->contentsRect().size());
    QVERIFY2(sameColour(viewer.shownColour(), frameColour(lastFrame)),
             qPrintable(viewer.shownColour().name()));
}

void TestRecordDisplay::controlKeyNeverClearsTheRow_data()
{
    QTest::addColumn<bool>("mouse"); // Ctrl+click on the row, else Ctrl+Space in the list
    QTest::newRow("Ctrl+click on the selected row") << true;
    QTest::newRow("Ctrl+Space on the selected row") << false;
}

void TestRecordDisplay::controlKeyNeverClearsTheRow()
{
    QFETCH(bool, mouse);
    Viewer viewer;
    viewer.press(1, 7);
    card::RecordListView* list = viewer.c().resultLists[1];
    if (mouse) {
        const QPoint centre = list->visualRect(list->model()->index(7, 0)).center();
        // Later than a double-click would be.
        const int pause = QApplication::doubleClickInterval() + 100;
        QTest::mousePress(list->viewport(), Qt::LeftButton, Qt::ControlModifier, centre, pause);
        QTest::mouseRelease(list->viewport(), Qt::LeftButton, Qt::ControlModifier, centre);
        viewer.settle();
    } else {
        QTest::keyClick(list, Qt::Key_Space, Qt::ControlModifier);
        viewer.settle();
    }
    QCOMPARE(viewer.selectedRows(), sameRowEverywhere(7));
    QCOMPARE(viewer.infoLines()[1], QStringLiteral("00070000"));
    QVERIFY(viewer.c().statusLine->text().isEmpty());
}

void TestRecordDisplay::noSelectionIsCopiedToAllLists()
{
    Viewer viewer;
    viewer.press(0, 7);
    viewer.c().resultLists[2]->setSelectedRow(-1);
    viewer.window->showRecord(2);
    viewer.settle();
    QCOMPARE(viewer.selectedRows(), sameRowEverywhere(-1));
    QVERIFY(viewer.currentRecord().card.isEmpty());
    QVERIFY(viewer.currentRecord().time.isEmpty());
    QVERIFY(viewer.showsFallback());
    QCOMPARE(viewer.c().statusLine->text(), kNoImage);
}

void TestRecordDisplay::playback_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<QList<int>>("shown");
    QTest::newRow("frames 5-4-3-2-1") << 4 << QList<int>{5, 4, 3, 2, 1};
    QTest::newRow("frames 3 and 1") << 1 << QList<int>{3, 1};
    QTest::newRow("only frame 1, shown again") << 2 << QList<int>{1, 1};
    QTest::newRow("frames 5 and 2, frame 2 stays") << 5 << QList<int>{5, 2, 2};
}

void TestRecordDisplay::playback()
{
    QFETCH(int, row);
    QFETCH(QList<int>, shown);
    Viewer viewer;
    viewer.press(0, row);
    for (qsizetype tick = 0; tick < shown.size(); ++tick) {
        if (tick > 0)
            viewer.window->stepPlayback();
        viewer.settle();
        const bool last = tick == shown.size() - 1;
        QVERIFY2(sameColour(viewer.shownColour(), frameColour(shown[tick])),
                 qPrintable(QString::number(tick)));
        QCOMPARE(viewer.c().playbackTimer->isActive(), !last);
        QCOMPARE(viewer.infoLines()[3], last ? kEnded : kPlaying);
    }
    QVERIFY(viewer.currentRecord().photoPath.endsWith(QStringLiteral("-1.jpg")));
}

void TestRecordDisplay::choosingThePlayingRowRestarts()
{
    Viewer viewer;
    viewer.press(2, 4);
    viewer.window->stepPlayback();
    viewer.settle();
    viewer.window->stepPlayback();
    viewer.settle();
    QVERIFY(sameColour(viewer.shownColour(), frameColour(3)));
    viewer.press(1, 4);
    QVERIFY(sameColour(viewer.shownColour(), frameColour(5)));
    QVERIFY(viewer.currentRecord().photoPath.endsWith(QStringLiteral("-5.jpg")));
    QVERIFY(viewer.c().playbackTimer->isActive());
    QCOMPARE(viewer.infoLines()[3], kPlaying);
    viewer.window->stepPlayback();
    viewer.settle();
    QVERIFY(sameColour(viewer.shownColour(), frameColour(4)));
}

void TestRecordDisplay::unreadableFrameEndsPlayback()
{
    Viewer viewer;
    viewer.press(0, 10);
    QVERIFY(sameColour(viewer.shownColour(), frameColour(5)));
    viewer.window->stepPlayback();
    viewer.settle();
    QVERIFY(viewer.currentRecord().photoPath.endsWith(QStringLiteral("-4.jpg")));
    QVERIFY(!viewer.c().playbackTimer->isActive());
    QCOMPARE(viewer.infoLines()[3], kEnded);
    QVERIFY(sameColour(viewer.shownColour(), frameColour(5)));
}

QTEST_MAIN(TestRecordDisplay)
#include "tst_record_display.moc"
