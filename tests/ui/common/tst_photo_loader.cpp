#include "ui/common/photo_loader.h"

#include "core/photos/photo_file_checks.h"
#include "support/temp_site.h"
#include "support/test_photos.h"

#include <QFile>
#include <QTest>

using card::test::jpegBytes;
using card::test::withClaimedSize;

namespace {

const QSize kBox(218, 143);

QByteArray pngBytes()
{
    QImage image(32, 32, QImage::Format_RGB32);
    image.fill(Qt::blue);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

} // namespace

class TestPhotoLoader : public QObject {
    Q_OBJECT
private slots:
    void decodesAtTheRequestedSize_data();
    void decodesAtTheRequestedSize();
    void refusesWhatCannotBeShown_data();
    void refusesWhatCannotBeShown();
    void refusesAFileLargerThanAnyPhoto();
    void progressivePhotoLoads();
};

void TestPhotoLoader::decodesAtTheRequestedSize_data()
{
    QTest::addColumn<QSize>("pictureSize");
    QTest::addColumn<QSize>("requested");
    QTest::addColumn<QSize>("expected");
    QTest::newRow("5 megapixels to the photo box") << QSize(2592, 1944) << kBox << kBox;
    QTest::newRow("small picture stretched to the box") << QSize(64, 48) << kBox << kBox;
    QTest::newRow("tall picture stretched to a wide box") << QSize(300, 900) << kBox << kBox;
    QTest::newRow("no size asked: the picture's own") << QSize(64, 48) << QSize() << QSize(64, 48);
}

void TestPhotoLoader::decodesAtTheRequestedSize()
{
    QFETCH(QSize, pictureSize);
    QFETCH(QSize, requested);
    QFETCH(QSize, expected);
    card::test::TempSite site;
    const QString path = site.write("p-C.jpg", jpegBytes(QColor(200, 30, 30), pictureSize));
    const QImage photo = card::loadPhoto(path, requested);
    QCOMPARE(photo.size(), expected);
    const QColor centre = photo.pixelColor(photo.width() / 2, photo.height() / 2);
    QVERIFY2(qAbs(centre.red() - 200) < 16 && centre.green() < 60 && centre.blue() < 60,
             qPrintable(centre.name()));
}

void TestPhotoLoader::refusesWhatCannotBeShown_data()
{
    QTest::addColumn<QByteArray>("bytes");
    const QByteArray photo = jpegBytes(Qt::red, QSize(640, 480));
    QTest::newRow("cut off in the picture data") << photo.left(photo.size() / 2);
    QTest::newRow("cut off before the last two bytes") << photo.chopped(2);
    QTest::newRow("cut off in the header") << photo.left(40);
    QTest::newRow("text file") << QByteArray("no picture here\r\n");
    QTest::newRow("empty file") << QByteArray();
    QTest::newRow("PNG named .jpg") << pngBytes();
    QTest::newRow("header claims 30000 x 30000") << withClaimedSize(photo, 30000, 30000);
    QTest::newRow("header claims 10000 x 5001") << withClaimedSize(photo, 10000, 5001);
    // Each scan is another pass over the whole picture.
    const QByteArray scan("\xFF\xDA\x00\x08\x01\x01\x00\x00\x00\x00\x12\x34", 12);
    QTest::newRow("progressive picture of a hundred more scans")
        << jpegBytes(Qt::red, QSize(640, 480), card::test::JpegScans::Progressive).chopped(2) +
               scan.repeated(100) + "\xFF\xD9";
}

void TestPhotoLoader::progressivePhotoLoads()
{
    const QByteArray bytes =
        jpegBytes(Qt::red, QSize(2592, 1944), card::test::JpegScans::Progressive);
    card::JpegLayout layout;
    QVERIFY(card::readJpegLayout(bytes, layout));
    QVERIFY(layout.progressive);
    QVERIFY(layout.scans > 1);
    card::test::TempSite site;
    QCOMPARE(card::loadPhoto(site.write("p-C.jpg", bytes), kBox).size(), kBox);
}

void TestPhotoLoader::refusesWhatCannotBeShown()
{
    QFETCH(QByteArray, bytes);
    card::test::TempSite site;
    const QString path = site.write("p-C.jpg", bytes);
    QVERIFY(card::loadPhoto(path, kBox).isNull());
    QVERIFY(card::loadPhoto(path, QSize()).isNull());
}

void TestPhotoLoader::refusesAFileLargerThanAnyPhoto()
{
    // A whole picture followed by padding: complete, but too large to be read into memory.
    card::test::TempSite site;
    const QString path = site.write("p-C.jpg", jpegBytes(Qt::red));
    QVERIFY(!card::loadPhoto(path, kBox).isNull());
    QFile file(path);
    QVERIFY(file.resize(card::kMaxPhotoFileBytes + 1));
    QVERIFY(card::loadPhoto(path, kBox).isNull());
}

QTEST_MAIN(TestPhotoLoader)
#include "tst_photo_loader.moc"
