#include "core/photos/zoom.h"

#include <QTest>

using card::ZoomPlacement;

Q_DECLARE_METATYPE(ZoomPlacement)

namespace {

const QSizeF kPhoto(4000, 3000);
const QSizeF kView(800, 600);

} // namespace

class TestZoom : public QObject {
    Q_OBJECT
private slots:
    void limits_data();
    void limits();
    void zoomAboutKeepsThePointUnderTheMouse_data();
    void zoomAboutKeepsThePointUnderTheMouse();
    void panIsClamped_data();
    void panIsClamped();
    void visiblePartIsWhatTheViewShows_data();
    void visiblePartIsWhatTheViewShows();
};

void TestZoom::limits_data()
{
    QTest::addColumn<QSizeF>("picture");
    QTest::addColumn<QSizeF>("view");
    QTest::addColumn<double>("fit");
    QTest::addColumn<double>("asked");
    QTest::addColumn<double>("allowed");

    QTest::newRow("landscape fits by width") << kPhoto << QSizeF(800, 700) << 0.2 << 0.2 << 0.2;
    QTest::newRow("portrait fits by height") << QSizeF(3000, 4000) << kView << 0.15 << 1.0 << 1.0;
    QTest::newRow("cannot zoom out past fit") << kPhoto << kView << 0.2 << 0.1 << 0.2;
    QTest::newRow("cannot zoom in past 800 %") << kPhoto << kView << 0.2 << 9.0 << 8.0;
    QTest::newRow("small picture enlarged to fit, zooms out to 100 %")
        << QSizeF(200, 150) << kView << 4.0 << 0.5 << 1.0;
    QTest::newRow("empty picture") << QSizeF() << kView << 1.0 << 3.0 << 3.0;
}

void TestZoom::limits()
{
    QFETCH(QSizeF, picture);
    QFETCH(QSizeF, view);
    QFETCH(double, fit);
    QFETCH(double, asked);
    QFETCH(double, allowed);

    QCOMPARE(card::fitScale(picture, view), fit);
    QCOMPARE(card::clampZoom(asked, picture, view), allowed);
    const ZoomPlacement fitted = card::fittedPlacement(picture, view);
    QCOMPARE(fitted.scale, fit);
    // Fitted means whole and centred.
    if (!picture.isEmpty()) {
        const QSizeF shown = picture * fit;
        QCOMPARE(fitted.origin,
                 QPointF((view.width() - shown.width()) / 2, (view.height() - shown.height()) / 2));
    }
}

void TestZoom::zoomAboutKeepsThePointUnderTheMouse_data()
{
    QTest::addColumn<ZoomPlacement>("from");
    QTest::addColumn<double>("newScale");
    QTest::addColumn<QPointF>("mouse");
    QTest::addColumn<double>("expectedScale");

    QTest::newRow("in at the centre")
        << ZoomPlacement{1.0, {-1600, -1200}} << 1.25 << QPointF(400, 300) << 1.25;
    QTest::newRow("in near a corner")
        << ZoomPlacement{0.5, {-300, -200}} << 2.0 << QPointF(700, 100) << 2.0;
    QTest::newRow("out off centre")
        << ZoomPlacement{2.0, {-3000, -2500}} << 1.0 << QPointF(120, 480) << 1.0;
    QTest::newRow("in beyond 800 % stops there")
        << ZoomPlacement{6.0, {-10000, -8000}} << 20.0 << QPointF(333, 222) << 8.0;
}

void TestZoom::zoomAboutKeepsThePointUnderTheMouse()
{
    QFETCH(ZoomPlacement, from);
    QFETCH(double, newScale);
    QFETCH(QPointF, mouse);
    QFETCH(double, expectedScale);

    const ZoomPlacement to = card::zoomedAbout(from, newScale, mouse, kPhoto, kView);
    QCOMPARE(to.scale, expectedScale);
    const QPointF before = (mouse - from.origin) / from.scale;
    const QPointF after = (mouse - to.origin) / to.scale;
    QVERIFY2(qAbs(before.x() - after.x()) < 1e-6 && qAbs(before.y() - after.y()) < 1e-6,
             qPrintable(QStringLiteral("(%1, %2) moved to (%3, %4)")
                            .arg(before.x())
                            .arg(before.y())
                            .arg(after.x())
                            .arg(after.y())));
}

void TestZoom::panIsClamped_data()
{
    QTest::addColumn<ZoomPlacement>("from");
    QTest::addColumn<QSizeF>("picture");
    QTest::addColumn<QPointF>("delta");
    QTest::addColumn<QPointF>("origin");

    QTest::newRow("inside the picture")
        << ZoomPlacement{1.0, {-1000, -1000}} << kPhoto << QPointF(50, -30) << QPointF(-950, -1030);
    QTest::newRow("past the left and top edges")
        << ZoomPlacement{1.0, {-100, -100}} << kPhoto << QPointF(500, 500) << QPointF(0, 0);
    QTest::newRow("past the right and bottom edges")
        << ZoomPlacement{1.0, {-3100, -2300}} << kPhoto << QPointF(-500, -500)
        << QPointF(-3200, -2400);
    QTest::newRow("narrower than the view stays centred across")
        << ZoomPlacement{1.0, {100, -100}} << QSizeF(400, 3000) << QPointF(300, -50)
        << QPointF(200, -150);
}

void TestZoom::panIsClamped()
{
    QFETCH(ZoomPlacement, from);
    QFETCH(QSizeF, picture);
    QFETCH(QPointF, delta);
    QFETCH(QPointF, origin);

    const ZoomPlacement to = card::panned(from, delta, picture, kView);
    QCOMPARE(to.origin, origin);
    QCOMPARE(to.scale, from.scale);
}

void TestZoom::visiblePartIsWhatTheViewShows_data()
{
    QTest::addColumn<ZoomPlacement>("placement");
    QTest::addColumn<QRectF>("target");
    QTest::addColumn<QRectF>("source");

    QTest::newRow("fitted: the whole picture")
        << card::fittedPlacement(kPhoto, kView) << QRectF(0, 0, 800, 600)
        << QRectF(0, 0, 4000, 3000);
    QTest::newRow("100 %: a view-sized piece")
        << ZoomPlacement{1.0, {-1000, -500}} << QRectF(0, 0, 800, 600)
        << QRectF(1000, 500, 800, 600);
    QTest::newRow("800 %: a hundred by seventy-five pixels")
        << ZoomPlacement{8.0, {-16000, -12000}} << QRectF(0, 0, 800, 600)
        << QRectF(2000, 1500, 100, 75);
}

void TestZoom::visiblePartIsWhatTheViewShows()
{
    QFETCH(ZoomPlacement, placement);
    QFETCH(QRectF, target);
    QFETCH(QRectF, source);

    const card::VisiblePart part = card::visiblePart(placement, kPhoto, kView);
    QCOMPARE(part.target, target);
    QCOMPARE(part.source, source);
}

QTEST_GUILESS_MAIN(TestZoom)
#include "tst_zoom.moc"
