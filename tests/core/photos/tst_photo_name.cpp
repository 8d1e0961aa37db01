#include "core/photos/photo_name.h"

#include <QTest>

class TestPhotoName : public QObject {
    Q_OBJECT
private slots:
    void fromPath_data();
    void fromPath();
    void swipeNames();
};

void TestPhotoName::fromPath_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("isName");
    QTest::addColumn<int>("frame");      // frameNumber()
    QTest::addColumn<QString>("frame2"); // the same name with frame 2
    QTest::newRow("still photo") << "/p/1-070503-081530-C.jpg" << true << 0
                                 << "/p/1-070503-081530-2.jpg";
    QTest::newRow("frame 5") << "/p/1-070503-081530-5.jpg" << true << 5
                             << "/p/1-070503-081530-2.jpg";
    QTest::newRow("frame 1") << "a-1.jpg" << true << 1 << "a-2.jpg";
    QTest::newRow("frame 6 is no frame") << "a-6.jpg" << true << 0 << "a-2.jpg";
    QTest::newRow("frame 0 is no frame") << "a-0.jpg" << true << 0 << "a-2.jpg";
    QTest::newRow("suffix alone") << "3.jpg" << true << 3 << "2.jpg";
    QTest::newRow("upper-case extension") << "a-3.JPG" << false << 0 << "";
    QTest::newRow("extension alone") << ".jpg" << false << 0 << "";
    QTest::newRow("other extension") << "a-3.gif" << false << 0 << "";
    QTest::newRow("empty") << "" << false << 0 << "";
}

void TestPhotoName::fromPath()
{
    QFETCH(QString, path);
    QFETCH(bool, isName);
    QFETCH(int, frame);
    QFETCH(QString, frame2);
    const std::optional<card::PhotoName> name = card::PhotoName::fromPath(path);
    QCOMPARE(name.has_value(), isName);
    if (!name)
        return;
    QCOMPARE(name->path(), path);
    QCOMPARE(name->frameNumber(), frame);
    QCOMPARE(name->frame(2).path(), frame2);
}

void TestPhotoName::swipeNames()
{
    const card::PhotoName swipe =
        card::PhotoName::forSwipe(QStringLiteral("/photos"), QStringLiteral("00012345"),
                                  QStringLiteral("070503"), QStringLiteral("081530"));
    QCOMPARE(swipe.stillPhoto().path(), QStringLiteral("/photos/00012345-070503-081530-C.jpg"));
    QCOMPARE(swipe.frame(5).path(), QStringLiteral("/photos/00012345-070503-081530-5.jpg"));
    QCOMPARE(card::PhotoName::fromPath(swipe.frame(4).path())->frameNumber(), 4);
}

QTEST_APPLESS_MAIN(TestPhotoName)
#include "tst_photo_name.moc"
