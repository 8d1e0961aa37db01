#include "photo_drawing.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <array>

namespace card {

namespace {

constexpr int kCaptionHeight = 16;
constexpr QRect kDoorway{115, 40, 90, 150};
constexpr int kFloorTop = 190;
const QTime kDaylightFrom(6, 30);
const QTime kDaylightUntil(19, 0);
constexpr int kNightShade = 180;

QString frameSuffix(int frame)
{
    return frame == kStillFrame ? QStringLiteral("C") : QString::number(frame);
}

QImage drawScene()
{
    QImage scene(kPhotoSize, QImage::Format_RGB32);
    QPainter p(&scene);
    p.setRenderHint(QPainter::Antialiasing);

    QLinearGradient wall(0, 0, 0, kFloorTop);
    wall.setColorAt(0.0, QColor(0xb8, 0xb0, 0x9c));
    wall.setColorAt(1.0, QColor(0xd8, 0xd0, 0xbc));
    p.fillRect(QRect(0, 0, kPhotoSize.width(), kFloorTop), wall);

    QLinearGradient floor(0, kFloorTop, 0, kPhotoSize.height());
    floor.setColorAt(0.0, QColor(0x7a, 0x78, 0x72));
    floor.setColorAt(1.0, QColor(0x52, 0x50, 0x4c));
    p.fillRect(QRect(0, kFloorTop, kPhotoSize.width(), kPhotoSize.height() - kFloorTop), floor);
    p.setPen(QPen(QColor(0x66, 0x64, 0x5f), 1));
    for (int x = -200; x <= 520; x += 60)
        p.drawLine(QPointF(160 + (x - 160) * 0.35, kFloorTop), QPointF(x, kPhotoSize.height()));

    // Glass door, lit from outside.
    QLinearGradient glass(kDoorway.topLeft(), kDoorway.bottomRight());
    glass.setColorAt(0.0, QColor(0xd8, 0xe8, 0xf0));
    glass.setColorAt(1.0, QColor(0x8c, 0xa8, 0xb8));
    p.setPen(QPen(QColor(0x3c, 0x3a, 0x36), 5));
    p.setBrush(glass);
    p.drawRect(kDoorway);
    p.drawLine(kDoorway.center().x(), kDoorway.top(), kDoorway.center().x(), kDoorway.bottom());

    // Card reader beside the door.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x30, 0x34, 0x38));
    p.drawRoundedRect(QRectF(222, 100, 14, 24), 2, 2);
    p.setBrush(QColor(0x40, 0xc0, 0x60));
    p.drawEllipse(QPointF(229, 118), 2, 2);
    return scene;
}

QColor shirtColour(int holder)
{
    static constexpr std::array<QRgb, 8> kShirts = {0x2e5c8a, 0x8a2e3b, 0x3b7a3b, 0x5a4a7a,
                                                    0x7a6a2e, 0x2e7a7a, 0x404040, 0x9a5a2a};
    return QColor::fromRgb(kShirts[std::size_t(holder) % kShirts.size()]);
}

// Where the holder stands: walking towards the reader when coming in, away when leaving;
// a still is taken at the reader.
QPointF personPosition(const PlannedSwipe& swipe, int frame)
{
    if (frame == kStillFrame)
        return {190, kFloorTop + 20};
    const double step = (frame - 1) / double(kFramesPerSequence - 1);
    const double along = swipe.direction == Direction::In ? step : 1.0 - step;
    return {70 + along * 150, kFloorTop + 5 + along * 15};
}

void drawPerson(QPainter& p, const QPointF& feet, double scale, int holder)
{
    p.save();
    p.translate(feet);
    p.scale(scale, scale);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x2a, 0x2a, 0x30));
    p.drawRoundedRect(QRectF(-14, -70, 12, 70), 4, 4); // legs
    p.drawRoundedRect(QRectF(2, -70, 12, 70), 4, 4);
    p.setBrush(shirtColour(holder));
    QPainterPath body;
    body.addRoundedRect(QRectF(-22, -140, 44, 76), 12, 12);
    p.drawPath(body);
    p.setBrush(QColor(0xe0, 0xb8, 0x98));
    p.drawEllipse(QPointF(0, -158), 15, 18);
    p.setBrush(QColor(0x20, 0x1a, 0x18));
    p.drawChord(QRectF(-16, -177, 32, 26), 0, 180 * 16); // hair
    p.restore();
}

void drawCaption(QPainter& p, const QFont& font, const QStringList& left, const QStringList& right)
{
    p.setFont(font);
    const int width = kPhotoSize.width();
    const QRect top(0, 0, width, kCaptionHeight);
    const QRect bottom(0, kPhotoSize.height() - kCaptionHeight, width, kCaptionHeight);
    p.fillRect(top, QColor(0, 0, 0, 140));
    p.fillRect(bottom, QColor(0, 0, 0, 140));
    p.setPen(QColor(0xf0, 0xf0, 0xf0));
    p.drawText(top.adjusted(4, 0, -4, 0), Qt::AlignLeft | Qt::AlignVCenter, left[0]);
    p.drawText(top.adjusted(4, 0, -4, 0), Qt::AlignRight | Qt::AlignVCenter, right[0]);
    p.drawText(bottom.adjusted(4, 0, -4, 0), Qt::AlignLeft | Qt::AlignVCenter, left[1]);
    p.drawText(bottom.adjusted(4, 0, -4, 0), Qt::AlignRight | Qt::AlignVCenter, right[1]);
}

} // namespace

QString photoFileName(const QString& cardNumber, const QDate& date, const QTime& time, int frame)
{
    return QStringLiteral("%1-%2-%3-%4.jpg")
        .arg(cardNumber, date.toString(u"yyMMdd"), time.toString(u"HHmmss"), frameSuffix(frame));
}

PhotoPainter::PhotoPainter()
    : m_scene(drawScene())
{
    // Names in the caption are Traditional Chinese; list fonts that have them.
    m_captionFont.setFamilies({"AR PL UMing TW", "Noto Sans CJK TC", "Noto Sans Mono CJK TC"});
    m_captionFont.setPixelSize(12);
}

QImage PhotoPainter::draw(const PlannedSwipe& swipe, const QDate& date, int frame) const
{
    QImage photo = m_scene.copy();
    QPainter p(&photo);
    p.setRenderHint(QPainter::Antialiasing);
    const bool still = frame == kStillFrame;
    const QPointF feet = personPosition(swipe, frame);
    drawPerson(p, feet, still ? 1.05 : 0.75 + 0.25 * (feet.y() - kFloorTop) / 20.0, swipe.holder);
    // The doorway is lit by day only: a night shot is dark under the camera's bright caption.
    if (swipe.time < kDaylightFrom || swipe.time >= kDaylightUntil)
        p.fillRect(photo.rect(), QColor(0, 0, 0, kNightShade));

    const CardHolder& holder = cardHolders().at(swipe.holder);
    const QString when = date.toString(u"yyyy/MM/dd") + u' ' + swipe.time.toString(u"HH:mm:ss");
    const QString shot =
        still ? QStringLiteral("C") : QStringLiteral("%1/%2").arg(frame).arg(kFramesPerSequence);
    drawCaption(p, m_captionFont,
                {QStringLiteral("CAM 01"), holder.cardNumber + u' ' + holder.name}, {when, shot});
    return photo;
}

} // namespace card
