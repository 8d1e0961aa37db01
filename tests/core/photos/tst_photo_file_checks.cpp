#include "core/photos/photo_file_checks.h"

#include "support/test_photos.h"

#include <QTest>

namespace {

const QByteArray kStart("\xFF\xD8", 2);
const QByteArray kEnd("\xFF\xD9", 2);
const QByteArray kScan("\xFF\xDA\x00\x06scan", 8);
const QByteArray kThumbnail = QByteArray("\xFF\xE1\x00\x16"
                                         "Exif",
                                         8) +
                              kStart + kScan + "tiny" + kEnd;
// Compressed data: a 0xFF byte is stuffed with 0x00 or followed by a restart code.
const QByteArray kData = QByteArray("\x12\xFF\x00\x34\xFF\xD3\x56\xFF\x00\xD9", 10);
const QByteArray kHuffmanTable("\xFF\xC4\x00\x03x", 5);

QByteArray bigEndian16(int value)
{
    return QByteArray(1, char(value >> 8)) + char(value & 0xFF);
}

// Colour stored at full size (4:4:4), or at half width and height (4:2:0).
enum class Sampling { Full, Half };

// A frame header (SOF0 baseline, SOF2 progressive, ...) for a picture of the given size.
QByteArray frame(quint8 marker, int width, int height, int components,
                 Sampling sampling = Sampling::Full)
{
    QByteArray bytes("\xFF", 1);
    bytes += char(marker);
    bytes += bigEndian16(8 + 3 * components);
    bytes += char(8);
    bytes += bigEndian16(height) + bigEndian16(width);
    bytes += char(components);
    for (int c = 1; c <= components; ++c) {
        const char factors = sampling == Sampling::Half && c == 1 ? '\x22' : '\x11';
        bytes += QByteArray(1, char(c)) + factors + QByteArray(1, '\0');
    }
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
    void sizeAllowed_data();
    void sizeAllowed();
    void layout_data();
    void layout();
};

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
    QTest::addColumn<bool>("complete");
    QTest::addColumn<qint64>("width");
    QTest::addColumn<int>("scanCount");
    QTest::addColumn<bool>("bounded");
    const QByteArray baseline = frame(0xC0, 2592, 1944, 3, Sampling::Half);
    const QByteArray progressive = frame(0xC2, 2592, 1944, 3, Sampling::Half);
    const QByteArray photo = kStart + baseline + scans(1) + kEnd;

    QTest::newRow("camera photo: baseline, one scan")
        << photo << true << true << qint64(2592) << 1 << true;
    QTest::newRow("the thumbnail's frame is not the picture's")
        << kStart + kThumbnail + baseline + scans(1) + kEnd << true << true << qint64(2592) << 1
        << true;
    QTest::newRow("bytes after the end")
        << photo + "padding" << true << true << qint64(2592) << 1 << true;
    QTest::newRow("the decoder shows the first of two pictures")
        << photo + kStart + baseline + kScan << true << true << qint64(2592) << 1 << true;
    QTest::newRow("stray bytes between segments, as the decoder skips them")
        << kStart + QByteArray(2, '\0') + baseline + QByteArray("\xFF\x00", 2) + scans(1) + kEnd
        << true << true << qint64(2592) << 1 << true;
    QTest::newRow("cut inside the data")
        << kStart + baseline + scans(1) << true << false << qint64(2592) << 1 << true;
    QTest::newRow("cut between two scans")
        << kStart + progressive + scans(1) + kHuffmanTable + scans(1) << true << false
        << qint64(2592) << 2 << true;
    QTest::newRow("progressive, ten scans")
        << kStart + progressive + scans(10) + kEnd << true << true << qint64(2592) << 10 << true;
    QTest::newRow("64 scans") << kStart + progressive + scans(64) + kEnd << true << true
                              << qint64(2592) << 64 << true;
    QTest::newRow("thousands of scans, counted up to one too many")
        << kStart + progressive + scans(5000) + kEnd << true << false << qint64(2592) << 65
        << false;
    QTest::newRow("progressive 6000 x 4000, colour at half size")
        << kStart + frame(0xC2, 6000, 4000, 3, Sampling::Half) + scans(2) + kEnd << true << true
        << qint64(6000) << 2 << true;
    QTest::newRow("progressive 7000 x 7000, colour at full size")
        << kStart + frame(0xC2, 7000, 7000, 3) + scans(2) + kEnd << true << true << qint64(7000)
        << 2 << false;
    QTest::newRow("progressive 7000 x 7000 in grey")
        << kStart + frame(0xC2, 7000, 7000, 1) + scans(2) + kEnd << true << true << qint64(7000)
        << 2 << true;
    QTest::newRow("baseline 8000 x 6000 in three scans")
        << kStart + frame(0xC0, 8000, 6000, 3) + scans(3) + kEnd << true << true << qint64(8000)
        << 3 << false;
    QTest::newRow("baseline 8000 x 6000 in one scan")
        << kStart + frame(0xC0, 8000, 6000, 3) + scans(1) + kEnd << true << true << qint64(8000)
        << 1 << true;
    QTest::newRow("encoded photo, Huffman table before the frame header")
        << card::test::withHuffmanTableFirst(card::test::jpegBytes(Qt::red)) << true << true
        << qint64(64) << 1 << true;
    QTest::newRow("scan before any frame")
        << kStart + scans(1) + baseline + kEnd << false << false << qint64(0) << 0 << false;
    QTest::newRow("sampling factor of zero")
        << kStart + QByteArray(baseline).replace("\x01\x22", QByteArray("\x01\x00", 2)) + scans(1) +
               kEnd
        << false << false << qint64(0) << 0 << false;
    QTest::newRow("segment longer than the file")
        << kStart + baseline.left(6) << false << false << qint64(0) << 0 << false;
    QTest::newRow("text") << QByteArray("not a picture\n") << false << false << qint64(0) << 0
                          << false;
    QTest::newRow("empty") << QByteArray() << false << false << qint64(0) << 0 << false;
}

void TestPhotoFileChecks::layout()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, readable);
    QFETCH(bool, complete);
    QFETCH(qint64, width);
    QFETCH(int, scanCount);
    QFETCH(bool, bounded);
    card::JpegLayout layout;
    QCOMPARE(card::readJpegLayout(bytes, layout), readable);
    if (!readable)
        return;
    QCOMPARE(layout.complete, complete);
    QCOMPARE(layout.width, width);
    QCOMPARE(layout.scans, scanCount);
    QCOMPARE(card::jpegDecodeBounded(layout), bounded);
}

QTEST_GUILESS_MAIN(TestPhotoFileChecks)
#include "tst_photo_file_checks.moc"
