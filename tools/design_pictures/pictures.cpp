#include "pictures.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <cmath>

namespace card {

namespace {

constexpr double kMetersPerInch = 0.0254;

QFont titleFont(int pixelSize)
{
    QFont font;
    // The UMing font carries the traditional characters of the title; the others are fallbacks.
    font.setFamilies({"AR PL UMing TW", "Noto Sans CJK TC", "Noto Serif CJK TC"});
    font.setPixelSize(pixelSize);
    font.setBold(true);
    return font;
}

void drawBackground(QPainter& p, const QRectF& area)
{
    QLinearGradient sky(area.topLeft(), area.bottomLeft());
    sky.setColorAt(0.0, QColor(0x16, 0x2d, 0x50));
    sky.setColorAt(0.75, QColor(0x23, 0x62, 0x8a));
    sky.setColorAt(1.0, QColor(0x1b, 0x4b, 0x6b));
    p.fillRect(area, sky);

    // A soft glow behind the reader draws the eye to the swipe.
    QRadialGradient glow(QPointF(205, 100), 120);
    glow.setColorAt(0.0, QColor(255, 255, 255, 60));
    glow.setColorAt(1.0, QColor(255, 255, 255, 0));
    p.fillRect(area, glow);

    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 50));
    p.drawEllipse(QRectF(150, 168, 130, 14));
}

void drawReader(QPainter& p)
{
    const QRectF body(196, 38, 58, 134);
    QLinearGradient metal(body.topLeft(), body.topRight());
    metal.setColorAt(0.0, QColor(0x4a, 0x55, 0x5e));
    metal.setColorAt(0.5, QColor(0x6b, 0x78, 0x82));
    metal.setColorAt(1.0, QColor(0x3a, 0x43, 0x4a));
    p.setPen(QPen(QColor(0x20, 0x26, 0x2b), 1.5));
    p.setBrush(metal);
    p.drawRoundedRect(body, 9, 9);

    // Swipe slot down the middle of the face.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x15, 0x19, 0x1c));
    p.drawRoundedRect(QRectF(222, 48, 6, 96), 3, 3);

    // Status light: green, the swipe was accepted.
    QRadialGradient led(QPointF(225, 158), 6);
    led.setColorAt(0.0, QColor(0xc8, 0xff, 0xc8));
    led.setColorAt(0.5, QColor(0x3c, 0xd0, 0x5a));
    led.setColorAt(1.0, QColor(0x3c, 0xd0, 0x5a, 0));
    p.setBrush(led);
    p.drawEllipse(QPointF(225, 158), 6, 6);
}

void drawCard(QPainter& p)
{
    p.save();
    p.translate(176, 96);
    p.rotate(-18);
    const QRectF card(-45, -28.5, 90, 57);

    QLinearGradient face(card.topLeft(), card.bottomRight());
    face.setColorAt(0.0, QColor(0xfd, 0xfd, 0xff));
    face.setColorAt(1.0, QColor(0xc9, 0xdc, 0xef));
    p.setPen(QPen(QColor(0x2b, 0x3a, 0x4a), 1.2));
    p.setBrush(face);
    p.drawRoundedRect(card, 5, 5);

    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x2f, 0x2f, 0x35));
    p.drawRect(QRectF(-45, -20, 90, 10)); // magnetic stripe

    // Holder's photo: head and shoulders.
    p.setBrush(QColor(0x9c, 0xb8, 0xd4));
    p.drawRect(QRectF(-38, -5, 20, 25));
    p.setBrush(QColor(0x4b, 0x62, 0x7a));
    p.drawEllipse(QPointF(-28, 3), 5, 5);
    p.drawChord(QRectF(-36, 9, 16, 16), 0, 180 * 16);

    // Name and number lines.
    p.setBrush(QColor(0x7d, 0x8c, 0x9b));
    p.drawRect(QRectF(-12, -2, 44, 4));
    p.drawRect(QRectF(-12, 6, 32, 3));
    p.drawRect(QRectF(-12, 13, 38, 3));
    p.restore();
}

void drawViewCone(QPainter& p, const QPointF& lens)
{
    QPainterPath cone(lens);
    cone.lineTo(150, 60);
    cone.lineTo(200, 150);
    cone.closeSubpath();
    QLinearGradient fade(lens, QPointF(185, 110));
    fade.setColorAt(0.0, QColor(0xff, 0xf3, 0xb0, 110));
    fade.setColorAt(1.0, QColor(0xff, 0xf3, 0xb0, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(fade);
    p.drawPath(cone);
}

void drawCamera(QPainter& p)
{
    // Wall bracket.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x8a, 0x96, 0xa0));
    p.drawRect(QRectF(8, 14, 8, 30));
    p.drawRect(QRectF(14, 26, 28, 5));

    p.save();
    p.translate(58, 38);
    p.rotate(24);
    QLinearGradient shell(QPointF(0, -13), QPointF(0, 13));
    shell.setColorAt(0.0, QColor(0xf2, 0xf4, 0xf6));
    shell.setColorAt(1.0, QColor(0xb4, 0xbe, 0xc8));
    p.setPen(QPen(QColor(0x33, 0x3d, 0x46), 1.2));
    p.setBrush(shell);
    p.drawRoundedRect(QRectF(-26, -12, 52, 24), 5, 5);
    p.drawRect(QRectF(-30, -15, 46, 4)); // sun hood
    p.setBrush(QColor(0x1c, 0x22, 0x28));
    p.drawRoundedRect(QRectF(24, -9, 8, 18), 2, 2);
    QRadialGradient glass(QPointF(28, -2), 6);
    glass.setColorAt(0.0, QColor(0x9f, 0xd8, 0xff));
    glass.setColorAt(1.0, QColor(0x10, 0x30, 0x50));
    p.setPen(Qt::NoPen);
    p.setBrush(glass);
    p.drawEllipse(QPointF(28, 0), 4.5, 6.5);
    p.setBrush(QColor(0xe7, 0x4c, 0x3c));
    p.drawEllipse(QPointF(-18, -4), 2, 2); // recording light
    p.restore();
}

void drawTitle(QPainter& p, const QRectF& band)
{
    const QString title = QStringLiteral("刷卡影像");
    p.setFont(titleFont(40));
    p.setPen(QColor(0, 0, 0, 120));
    p.drawText(band.translated(2, 2), Qt::AlignCenter, title);
    p.setPen(QColor(0xff, 0xf7, 0xe0));
    p.drawText(band, Qt::AlignCenter, title);
}

void drawCrossedOutCamera(QPainter& p)
{
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x8c, 0x8c, 0x8c));
    p.drawRoundedRect(QRectF(38, 27, 24, 12), 3, 3); // viewfinder hump
    p.drawRoundedRect(QRectF(18, 34, 64, 42), 7, 7);
    p.setBrush(QColor(0xe4, 0xe4, 0xe4));
    p.drawEllipse(QPointF(50, 55), 15, 15);
    p.setBrush(QColor(0x6e, 0x6e, 0x6e));
    p.drawEllipse(QPointF(50, 55), 10.5, 10.5);
    p.setBrush(QColor(0xb4, 0xb4, 0xb4));
    p.drawEllipse(QPointF(46.5, 51.5), 3.5, 3.5); // lens highlight
    p.setBrush(QColor(0xd2, 0xd2, 0xd2));
    p.drawRect(QRectF(68, 39, 8, 5)); // flash

    // Background-coloured margin so the bar reads as lying over the camera.
    p.setPen(QPen(QColor(0xee, 0xee, 0xee), 13, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(20, 80), QPointF(80, 20));
    p.setPen(QPen(QColor(0xa0, 0xa0, 0xa0), 7, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(20, 80), QPointF(80, 20));
}

// Icon pixels in exact palette colours: rectangles only, no antialiasing.
struct IconColours {
    QColor outline{0, 0, 128};
    QColor card{255, 255, 255};
    QColor stripe{0, 0, 0};
    QColor photo{0, 128, 128};
    QColor face{255, 255, 0};
    QColor text{128, 128, 128};
    QColor lens{255, 0, 0};
};

void drawLargeIcon(QPainter& p, const IconColours& c)
{
    p.fillRect(1, 6, 30, 21, c.outline);
    p.fillRect(2, 7, 28, 19, c.card);
    p.fillRect(2, 9, 28, 3, c.stripe);
    p.fillRect(4, 14, 8, 10, c.photo);
    p.fillRect(6, 15, 4, 4, c.face);
    p.fillRect(5, 20, 6, 4, c.face);
    p.fillRect(14, 15, 13, 2, c.text);
    p.fillRect(14, 19, 10, 2, c.text);
    p.fillRect(14, 23, 12, 1, c.text);
    // Camera badge in the upper right corner.
    p.fillRect(20, 0, 12, 9, c.outline);
    p.fillRect(21, 1, 10, 7, c.text);
    p.fillRect(24, 2, 4, 5, c.stripe);
    p.fillRect(25, 3, 2, 3, c.lens);
}

void drawSmallIcon(QPainter& p, const IconColours& c)
{
    p.fillRect(0, 3, 16, 11, c.outline);
    p.fillRect(1, 4, 14, 9, c.card);
    p.fillRect(1, 5, 14, 2, c.stripe);
    p.fillRect(2, 8, 4, 4, c.photo);
    p.fillRect(3, 9, 2, 2, c.face);
    p.fillRect(7, 8, 7, 1, c.text);
    p.fillRect(7, 10, 5, 1, c.text);
    p.fillRect(10, 0, 6, 4, c.outline);
    p.fillRect(12, 1, 2, 2, c.lens);
}

} // namespace

QImage drawStartPicture()
{
    QImage image(kStartPictureSize, QImage::Format_RGB32);
    const int dotsPerMeter = int(std::lround(kStartPictureDpi / kMetersPerInch));
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);

    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    drawBackground(p, image.rect());
    drawReader(p);
    drawViewCone(p, QPointF(86, 52));
    drawCard(p);
    drawCamera(p);
    drawTitle(p, QRectF(0, 182, kStartPictureSize.width(), 54));
    return image;
}

QImage drawNoPhotoPicture()
{
    QImage image(kNoPhotoPictureSize, QImage::Format_RGB32);
    image.fill(QColor(0xee, 0xee, 0xee));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0xc8, 0xc8, 0xc8), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(0.5, 0.5, 99, 99));
    drawCrossedOutCamera(p);
    return image;
}

QImage drawCardIcon(int size)
{
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    const IconColours colours;
    if (size >= 32)
        drawLargeIcon(p, colours);
    else
        drawSmallIcon(p, colours);
    return image;
}

} // namespace card
