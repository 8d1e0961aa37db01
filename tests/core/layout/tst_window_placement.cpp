// Where the inspection window opens beside the main window.
#include "core/layout/window_placement.h"

#include <QTest>

class TestWindowPlacement : public QObject {
    Q_OBJECT
private slots:
    void besideWhereThereIsRoom_data();
    void besideWhereThereIsRoom();
};

void TestWindowPlacement::besideWhereThereIsRoom_data()
{
    QTest::addColumn<QRect>("anchor");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QRect>("placed");
    QTest::newRow("right of a window at the left")
        << QRect(0, 100, 500, 400) << QSize(1000, 700) << QRect(500, 100, 1000, 700);
    QTest::newRow("made smaller to fit below a centred window")
        << QRect(533, 461, 534, 277) << QSize(1110, 790) << QRect(490, 738, 1110, 462);
    QTest::newRow("centred without room: covers least")
        << QRect(400, 300, 800, 600) << QSize(1100, 760) << QRect(400, 440, 1100, 760);
}

void TestWindowPlacement::besideWhereThereIsRoom()
{
    QFETCH(QRect, anchor);
    QFETCH(QSize, size);
    QFETCH(QRect, placed);
    QCOMPARE(card::placeBeside(anchor, size, QSize(480, 360), QRect(0, 0, 1600, 1200)), placed);
}

QTEST_APPLESS_MAIN(TestWindowPlacement)
#include "tst_window_placement.moc"
