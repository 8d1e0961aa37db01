#include "viewer/photo_file_checks.h"

#include <QTest>

namespace {

const QByteArray kStart("\xFF\xD8", 2);
const QByteArray kEnd("\xFF\xD9", 2);
const QByteArray kScan("\xFF\xDA\x00\x08scan", 8);
const QByteArray kThumbnail = QByteArray("\xFF\xE1\x00\x16"
                                         "Exif",
                                         8) +
                              kStart + kScan + "tiny" + kEnd;
// Compressed data: a 0xFF byte is stuffed with 0x00 or followed by a restart code.
const QByteArray kData = QByteArray("\x12\xFF\x00\x34\xFF\xD3\x56\xFF\x00\xD9", 10);

QByteArray bigEndian16(int value)
{
    return QByteArray(1, char(value >> 8)) + char(value & 0xFF);
}

// A frame header (SOF0 baseline, SOF2 progressive, ...) for a picture of the given size.
QByteArray frame(quint8 marker, int width, int height, int components)
{
    QByteArray bytes("\xFF", 1);
    bytes += char(marker);
    bytes += bigEndian16(8 + 3 * components);
    bytes += char(8);
    bytes += bigEndian16(height) + bigEndian16(width);
    bytes += char(components);
    for (int c = 1; c <= components; ++c)
        bytes += QByteArray(1, char(c)) + "\x11" + QByteArray(1, '\0');
    return bytes;
}

QByteArray scans(int count)
{
    return (kScan + kData).repeated(count);
}

} // namespace

class TestPhotoFileChecks : public QObject {
    Q_OBJECT
private slots:
    void endsImage_data();
    void endsImage();
    void sizeAllowed_data();
    void sizeAllowed();
    void layout_data();
    void layout();
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

void TestPhotoFileChecks::layout_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("readable");
    QTest::addColumn<qint64>("width");
    QTest::addColumn<int>("scanCount");
    QTest::addColumn<bool>("bounded");
    const QByteArray baseline = frame(0xC0, 2592, 1944, 3);
    const QByteArray progressive = frame(0xC2, 2592, 1944, 3);
    QTest::newRow("camera photo: baseline, one scan")
        << kStart + baseline + scans(1) + kEnd << true << qint64(2592) << 1 << true;
    QTest::newRow("the thumbnail's frame is not the picture's")
        << kStart + kThumbnail + baseline + scans(1) + kEnd << true << qint64(2592) << 1 << true;
    QTest::newRow("progressive, ten scans")
        << kStart + progressive + scans(10) + kEnd << true << qint64(2592) << 10 << true;
    QTest::newRow("64 scans") << kStart + progressive + scans(64) + kEnd << true << qint64(2592)
                              << 64 << true;
    QTest::newRow("thousands of scans, counted up to one too many")
        << kStart + progressive + scans(5000) + kEnd << true << qint64(2592) << 65 << false;
    QTest::newRow("progressive 7000 x 7000 in colour")
        << kStart + frame(0xC2, 7000, 7000, 3) + scans(2) + kEnd << true << qint64(7000) << 2
        << false;
    QTest::newRow("progressive 7000 x 7000 in grey")
        << kStart + frame(0xC2, 7000, 7000, 1) + scans(2) + kEnd << true << qint64(7000) << 2
        << true;
    QTest::newRow("baseline 8000 x 6000 in three scans")
        << kStart + frame(0xC0, 8000, 6000, 3) + scans(3) + kEnd << true << qint64(8000) << 3
        << false;
    QTest::newRow("scan before any frame")
        << kStart + scans(1) + baseline + kEnd << false << qint64(0) << 0 << false;
    QTest::newRow("segment longer than the file")
        << kStart + baseline.left(6) << false << qint64(0) << 0 << false;
    QTest::newRow("no picture") << QByteArray("not a picture\n") << false << qint64(0) << 0
                                << false;
}

void TestPhotoFileChecks::layout()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, readable);
    QFETCH(qint64, width);
    QFETCH(int, scanCount);
    QFETCH(bool, bounded);
    card::JpegLayout layout;
    QCOMPARE(card::readJpegLayout(bytes, layout), readable);
    if (!readable)
        return;
    QCOMPARE(layout.width, width);
    QCOMPARE(layout.scans, scanCount);
    QCOMPARE(card::jpegDecodeBounded(layout), bounded);
}

QTEST_GUILESS_MAIN(TestPhotoFileChecks)
#include "tst_photo_file_checks.moc"
