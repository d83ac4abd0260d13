// Twips to pixels at a screen's logical DPI, and pixel rectangles that keep
// touching panes touching.
#include <gtest/gtest.h>

#include <cstdlib>

#include "layout_fixture.h"

namespace ui {
namespace {

struct ConversionCase {
    int twips;
    double dpi;
    int pixels;
};

void PrintTo(const ConversionCase& c, std::ostream* os) {
    *os << c.twips << " twips at " << c.dpi << " DPI";
}

class TwipsToPixels : public ::testing::TestWithParam<ConversionCase> {};

TEST_P(TwipsToPixels, RoundsToTheNearestPixel) {
    const ConversionCase& c = GetParam();
    EXPECT_EQ(twipsToPixels(c.twips, c.dpi), c.pixels) << c.twips << " at " << c.dpi;
}

const ConversionCase kConversions[] = {
    {1440, 96, 96},   {15, 96, 1},     {7, 96, 0},       {8, 96, 1},       {-15, 96, -1},
    {0, 96, 0},       {3570, 96, 238}, {1440, 192, 192}, {3570, 192, 476}, {1440, 120, 120},
    {3570, 144, 357}, {60, 144, 6},    {1440, 0, 96},    {1440, -5, 96},  // no DPI: 96
};

INSTANTIATE_TEST_SUITE_P(Values, TwipsToPixels, ::testing::ValuesIn(kConversions));

TEST(PixelsToTwips, InverseAtCommonDpi) {
    EXPECT_EQ(pixelsToTwips(96, 96), 1440);
    EXPECT_EQ(pixelsToTwips(1, 96), 15);
    EXPECT_EQ(pixelsToTwips(192, 192), 1440);
    EXPECT_EQ(pixelsToTwips(1, 144), 10);
    EXPECT_EQ(pixelsToTwips(-2, 96), -30);
    EXPECT_EQ(pixelsToTwips(96, 0), 1440);
    for (int px : {0, 1, 17, 238, 800, 1920}) {
        for (double dpi : {96.0, 120.0, 144.0, 192.0}) {
            EXPECT_EQ(twipsToPixels(pixelsToTwips(px, dpi), dpi), px) << px << " at " << dpi;
        }
    }
}

TEST(PixelRects, NeighboursStayAdjoiningAtOddDpi) {
    // 3570 twips at 125 % (120 DPI) is 297.5 pixels: rounding sizes would
    // open or close a one-pixel gap between the splitter and the sheet.
    const TwipsRect left{0, 0, 3570, 100};
    const TwipsRect bar{3570, 0, 60, 100};
    const TwipsRect right{3630, 0, 8370, 100};
    for (double dpi : {96.0, 110.0, 120.0, 144.0, 168.0, 192.0}) {
        const QRect a = toPixels(left, dpi, dpi);
        const QRect b = toPixels(bar, dpi, dpi);
        const QRect c = toPixels(right, dpi, dpi);
        EXPECT_EQ(a.x() + a.width(), b.x()) << dpi;
        EXPECT_EQ(b.x() + b.width(), c.x()) << dpi;
    }
}

TEST(PixelRects, SeparateHorizontalAndVerticalDpi) {
    EXPECT_EQ(toPixels({1440, 2880, 1440, 720}, 96, 192), QRect(96, 384, 96, 96));
}

TEST(PixelRects, DoubleDpiKeepsProportions) {
    // The same twips geometry on a screen of twice the DPI: every edge lands
    // within a pixel of twice its place, so panes keep their proportions.
    const PaneGeometry g = ui::testing::loaded(ui::testing::kToolbar);
    for (int i = 0; i < kPaneCount; ++i) {
        const QRect normal = toPixels(g.rects[i], 96, 96);
        const QRect sharp = toPixels(g.rects[i], 192, 192);
        EXPECT_LE(std::abs(sharp.x() - 2 * normal.x()), 1) << paneName(Pane(i));
        EXPECT_LE(std::abs(sharp.y() - 2 * normal.y()), 1) << paneName(Pane(i));
        EXPECT_LE(std::abs(sharp.right() - 2 * normal.right()), 2) << paneName(Pane(i));
        EXPECT_LE(std::abs(sharp.bottom() - 2 * normal.bottom()), 2) << paneName(Pane(i));
    }
}

}  // namespace
}  // namespace ui
