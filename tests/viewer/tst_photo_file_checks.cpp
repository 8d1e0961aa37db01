#include "viewer/photo_file_checks.h"

#include <QTest>

namespace {

const QByteArray kStart("\xFF\xD8", 2);
const QByteArray kEnd("\xFF\xD9", 2);
const QByteArray kScan("\xFF\xDA\x00\x08scan", 8);
const QByteArray kThumbnail = QByteArray("\xFF\xE1\x00\x20"
                                         "Exif",
                                         8) +
                              kStart + kScan + "tiny" + kEnd;
// Compressed data: a 0xFF byte is stuffed with 0x00 or followed by a restart code.
const QByteArray kData = QByteArray("\x12\xFF\x00\x34\xFF\xD3\x56\xFF\x00\xD9", 10);

} // namespace

class TestPhotoFileChecks : public QObject {
    Q_OBJECT
private slots:
    void endsImage_data();
    void endsImage();
    void sizeAllowed_data();
    void sizeAllowed();
};

void TestPhotoFileChecks::endsImage_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("expected");
    QTest::newRow("complete picture") << kStart + kScan + kData + kEnd << true;
    QTest::newRow("complete, thumbnail before")
        << kStart + kThumbnail + kScan + kData + kEnd << true;
    QTest::newRow("bytes after the end marker")
        << kStart + kScan + kData + kEnd + "padding" << true;
    QTest::newRow("second picture after the first")
        << kStart + kScan + kData + kEnd + kStart + kScan + kData + kEnd << true;
    QTest::newRow("cut inside the data") << kStart + kScan + kData << false;
    QTest::newRow("cut after the thumbnail's end") << kStart + kThumbnail + kScan + kData << false;
    QTest::newRow("cut between two scans")
        << kStart + kScan + kData + QByteArray("\xFF\xC4\x00\x03x", 5) + kScan + kData << false;
    QTest::newRow("second picture cut")
        << kStart + kScan + kData + kEnd + kStart + kScan + kData << false;
    QTest::newRow("text") << QByteArray("not a picture\n") << false;
    QTest::newRow("empty") << QByteArray() << false;
}

void TestPhotoFileChecks::endsImage()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, expected);
    QCOMPARE(card::jpegEndsImage(bytes), expected);
}

void TestPhotoFileChecks::sizeAllowed_data()
{
    QTest::addColumn<qint64>("width");
    QTest::addColumn<qint64>("height");
    QTest::addColumn<bool>("expected");
    QTest::newRow("5 megapixels") << qint64(2592) << qint64(1944) << true;
    QTest::newRow("exactly 50 megapixels") << qint64(10000) << qint64(5000) << true;
    QTest::newRow("one row more than 50 megapixels") << qint64(10000) << qint64(5001) << false;
    QTest::newRow("30000 x 30000") << qint64(30000) << qint64(30000) << false;
    QTest::newRow("widest JPEG, one row") << qint64(65535) << qint64(1) << true;
    QTest::newRow("largest JPEG") << qint64(65535) << qint64(65535) << false;
    QTest::newRow("no width") << qint64(0) << qint64(100) << false;
}

void TestPhotoFileChecks::sizeAllowed()
{
    QFETCH(qint64, width);
    QFETCH(qint64, height);
    QFETCH(bool, expected);
    QCOMPARE(card::photoSizeAllowed(width, height), expected);
}

QTEST_GUILESS_MAIN(TestPhotoFileChecks)
#include "tst_photo_file_checks.moc"
