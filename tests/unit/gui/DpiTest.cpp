#include "gui/Dpi.h"

#include <gtest/gtest.h>

using namespace gui;

namespace {

// The chrome's sizes, given at 96 dpi, at the DPIs of common monitors.
TEST(ScaleForDpi, GivesTheChromeSizesAtCommonDpis) {
    struct Case {
        int dpi;
        int band;      // the docking band, 25 at 96 dpi
        int threshold; // the caption drag threshold, 5
        int caption;   // a caption bar's thickness, 25
        int button;    // a title button's edge, 21
        int splitter;  // a splitter's thickness, 3
        int glyph;     // the glyph bitmap chosen
    } cases[] = {
        {96, 25, 5, 25, 21, 3, 16},  {120, 31, 6, 31, 26, 4, 20},  {144, 38, 8, 38, 32, 5, 24},
        {168, 44, 9, 44, 37, 5, 24}, {192, 50, 10, 50, 42, 6, 32}, {288, 75, 15, 75, 63, 9, 32},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.dpi);
        EXPECT_EQ(ScaleForDpi(25, c.dpi), c.band);
        EXPECT_EQ(ScaleForDpi(5, c.dpi), c.threshold);
        EXPECT_EQ(ScaleForDpi(25, c.dpi), c.caption);
        EXPECT_EQ(ScaleForDpi(21, c.dpi), c.button);
        EXPECT_EQ(ScaleForDpi(3, c.dpi), c.splitter);
        EXPECT_EQ(GlyphSizeForDpi(c.dpi), c.glyph);
    }
}

TEST(ScaleForDpi, KeepsNegativeFontHeightsNegative) {
    EXPECT_EQ(ScaleForDpi(-11, 96), -11);
    EXPECT_EQ(ScaleForDpi(-11, 192), -22);
    EXPECT_EQ(ScaleForDpi(-11, 144), -17); // rounded to the nearest pixel, away from zero
}

TEST(SaneDpi, TurnsBrokenValuesIntoUsableOnes) {
    struct Case {
        int dpi;
        int sane;
    } cases[] = {
        {0, 96},  {-1, 96},   {-192, 96},   {1, 48},      {47, 48},
        {96, 96}, {192, 192}, {1536, 1536}, {1537, 1536}, {65535, 1536}, // a WM_DPICHANGED word of all ones
    };
    for (const Case& c : cases)
        EXPECT_EQ(SaneDpi(c.dpi), c.sane) << c.dpi;
    // Scaling by a broken DPI never grows a size without bound or turns it round.
    EXPECT_EQ(ScaleForDpi(25, 0), 25);
    EXPECT_EQ(ScaleForDpi(25, 1 << 30), 400);
}

TEST(GlyphSizeForDpi, NeverPicksASizeLargerThanTheScaledGlyph) {
    for (int dpi = 48; dpi <= 400; ++dpi) {
        int size = GlyphSizeForDpi(dpi);
        EXPECT_TRUE(size == 16 || size == 20 || size == 24 || size == 32) << dpi;
        if (size > 16) {
            EXPECT_LE(size, ScaleForDpi(16, dpi)) << dpi;
        }
    }
}

TEST(GlyphResourceId, StepsByAThousandPerShippedSize) {
    EXPECT_EQ(GlyphResourceId(100, 16), 100);
    EXPECT_EQ(GlyphResourceId(100, 20), 1100);
    EXPECT_EQ(GlyphResourceId(113, 24), 2113);
    EXPECT_EQ(GlyphResourceId(105, 32), 3105);
    // A size that is not shipped falls back to the 16-pixel bitmap.
    EXPECT_EQ(GlyphResourceId(105, 18), 105);
}

} // namespace
