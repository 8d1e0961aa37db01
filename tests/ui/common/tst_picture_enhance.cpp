// The tone drawn over a picture: each setting's effect on known grey values.
#include "ui/common/picture_enhance.h"

#include <QTest>

using card::PictureTone;

namespace {

// One row of grey pixels.
QImage greys(const QList<int>& values)
{
    QImage image(static_cast<int>(values.size()), 1, QImage::Format_RGB32);
    for (int x = 0; x < image.width(); ++x)
        image.setPixel(x, 0, qRgb(values[x], values[x], values[x]));
    return image;
}

PictureTone tone(int brightness, int contrast, double gamma, bool autoLevels)
{
    return {brightness, contrast, gamma, autoLevels};
}

} // namespace

class TestPictureEnhance : public QObject {
    Q_OBJECT
private slots:
    void greysDrawn_data();
    void greysDrawn();
};

void TestPictureEnhance::greysDrawn_data()
{
    QTest::addColumn<PictureTone>("tone");
    QTest::addColumn<QList<int>>("values");
    QTest::addColumn<QList<int>>("drawn");
    const QList<int> ramp{0, 51, 102, 153, 204, 255};
    QTest::newRow("plain settings change nothing") << tone(0, 0, 1.0, false) << ramp << ramp;
    QTest::newRow("brightness +20 adds a fifth, clamped at white")
        << tone(20, 0, 1.0, false) << QList<int>{0, 100, 204, 250} << QList<int>{51, 151, 255, 255};
    QTest::newRow("brightness -20 clamped at black")
        << tone(-20, 0, 1.0, false) << QList<int>{0, 40, 100, 255} << QList<int>{0, 0, 49, 204};
    QTest::newRow("contrast +100 clamped at both ends")
        << tone(0, 100, 1.0, false) << QList<int>{0, 64, 191, 255} << QList<int>{0, 0, 255, 255};
    QTest::newRow("contrast -100 flattens fourfold about the middle")
        << tone(0, -100, 1.0, false) << QList<int>{0, 100, 255} << QList<int>{96, 121, 159};
    QTest::newRow("gamma 2 lifts the ramp as a square root")
        << tone(0, 0, 2.0, false) << QList<int>{0, 64, 128, 255} << QList<int>{0, 128, 181, 255};
    QTest::newRow("gamma 0.5 darkens it as a square")
        << tone(0, 0, 0.5, false) << QList<int>{0, 64, 128, 255} << QList<int>{0, 16, 64, 255};
    QTest::newRow("auto levels stretch a dark picture to black and white")
        << tone(0, 0, 1.0, true) << QList<int>{10, 20, 30, 40, 50, 60}
        << QList<int>{0, 51, 102, 153, 204, 255};
}

void TestPictureEnhance::greysDrawn()
{
    QFETCH(PictureTone, tone);
    QFETCH(QList<int>, values);
    QFETCH(QList<int>, drawn);
    const QImage picture = greys(values);
    const QImage toned = card::tonedImage(picture, tone);
    QList<int> seen;
    for (int x = 0; x < toned.width(); ++x) {
        const QRgb pixel = toned.pixel(x, 0);
        QCOMPARE(qGreen(pixel), qRed(pixel));
        QCOMPARE(qBlue(pixel), qRed(pixel));
        seen << qRed(pixel);
    }
    QCOMPARE(seen, drawn);
    QCOMPARE(picture, greys(values)); // the picture given is left as it was
}

QTEST_GUILESS_MAIN(TestPictureEnhance)
#include "tst_picture_enhance.moc"
