#include "core/layout/main_layout.h"

#include <QTest>

using card::HeightAction;
using card::WidthAction;
using card::WindowShowState;

Q_DECLARE_METATYPE(HeightAction::Kind)
Q_DECLARE_METATYPE(WidthAction::Kind)

namespace {

constexpr qint16 kBaseWidth = 8225;
constexpr qint16 kBaseHeight = 4450;

card::MainLayout layoutFor(WindowShowState state, double width, double height)
{
    card::MainLayoutInput input;
    input.state = state;
    input.width = width;
    input.height = height;
    input.baseWidth = kBaseWidth;
    input.baseHeight = kBaseHeight;
    input.listTop = 1890;
    input.imageTop = 1635;
    input.imageLeft = 4575;
    return card::computeMainLayout(input);
}

} // namespace

class TestMainLayout : public QObject {
    Q_OBJECT
private slots:
    void actions_data();
    void actions();
    void subtractionIsInFloatingPoint();
};

void TestMainLayout::actions_data()
{
    QTest::addColumn<WindowShowState>("state");
    QTest::addColumn<double>("width");
    QTest::addColumn<double>("height");
    QTest::addColumn<HeightAction::Kind>("heightKind");
    QTest::addColumn<double>("listHeight");
    QTest::addColumn<double>("imageHeight");
    QTest::addColumn<WidthAction::Kind>("widthKind");
    QTest::addColumn<double>("imageWidth");

    using H = HeightAction::Kind;
    using W = WidthAction::Kind;
    QTest::newRow("9000 x 6000") << WindowShowState::Normal << 9000.0 << 6000.0 << H::SetHeights
                                 << 3410.0 << 3665.0 << W::SetImageWidth << 4075.0;
    QTest::newRow("exactly the base size is laid out")
        << WindowShowState::Normal << double(kBaseWidth) << double(kBaseHeight) << H::SetHeights
        << kBaseHeight - 2590.0 << kBaseHeight - 2335.0 << W::SetImageWidth << kBaseWidth - 4925.0;
    QTest::newRow("below the base height only")
        << WindowShowState::Normal << 9000.0 << 4000.0 << H::RestoreWindowHeight << 0.0 << 0.0
        << W::SetImageWidth << 4075.0;
    QTest::newRow("below the base width only")
        << WindowShowState::Normal << 8000.0 << 6000.0 << H::SetHeights << 3410.0 << 3665.0
        << W::RestoreWindowWidth << 0.0;
    QTest::newRow("one twip below in both")
        << WindowShowState::Normal << kBaseWidth - 1.0 << kBaseHeight - 1.0
        << H::RestoreWindowHeight << 0.0 << 0.0 << W::RestoreWindowWidth << 0.0;
    QTest::newRow("minimized changes nothing") << WindowShowState::Minimized << 9000.0 << 6000.0
                                               << H::None << 0.0 << 0.0 << W::None << 0.0;
    QTest::newRow("minimized below the base changes nothing")
        << WindowShowState::Minimized << 2000.0 << 500.0 << H::None << 0.0 << 0.0 << W::None << 0.0;
    QTest::newRow("maximized uses the same formulas")
        << WindowShowState::Maximized << 28800.0 << 16200.0 << H::SetHeights << 13610.0 << 13865.0
        << W::SetImageWidth << 23875.0;
    QTest::newRow("maximized below the base is left as it is")
        << WindowShowState::Maximized << 7000.0 << 6000.0 << H::SetHeights << 3410.0 << 3665.0
        << W::None << 0.0;
}

void TestMainLayout::actions()
{
    QFETCH(WindowShowState, state);
    QFETCH(double, width);
    QFETCH(double, height);
    QFETCH(HeightAction::Kind, heightKind);
    QFETCH(double, listHeight);
    QFETCH(double, imageHeight);
    QFETCH(WidthAction::Kind, widthKind);
    QFETCH(double, imageWidth);

    const card::MainLayout layout = layoutFor(state, width, height);
    QCOMPARE(layout.height.kind, heightKind);
    if (heightKind == HeightAction::Kind::SetHeights) {
        QCOMPARE(layout.height.listHeight, listHeight);
        QCOMPARE(layout.height.imageHeight, imageHeight);
    }
    QCOMPARE(layout.width.kind, widthKind);
    if (widthKind == WidthAction::Kind::SetImageWidth)
        QCOMPARE(layout.width.imageWidth, imageWidth);
}

void TestMainLayout::subtractionIsInFloatingPoint()
{
    const card::MainLayout layout = layoutFor(WindowShowState::Normal, 9000.5, 6000.25);
    QCOMPARE(layout.height.listHeight, 3410.25);
    QCOMPARE(layout.height.imageHeight, 3665.25);
    QCOMPARE(layout.width.imageWidth, 4075.5);
}

QTEST_GUILESS_MAIN(TestMainLayout)
#include "tst_main_layout.moc"
