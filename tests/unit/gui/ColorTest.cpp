#include "gui/Color.h"

#include <gtest/gtest.h>

using namespace gui;

TEST(IsDarkColor, ComparesTheChannelMeanWith128) {
    struct Case {
        TColor color;
        bool dark;
    } cases[] = {
        {RGB(0, 0, 0), true},
        {RGB(255, 255, 255), false},
        {RGB(255, 128, 0), true},  // sum 383
        {RGB(255, 129, 0), false}, // sum 384
        {RGB(128, 128, 127), true},
        {RGB(128, 128, 128), false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsDarkColor(c.color), c.dark) << std::hex << c.color;
}

TEST(IsDarkColor, ResolvesSystemColours) {
    COLORREF face = GetSysColor(COLOR_BTNFACE);
    EXPECT_EQ(ColorToRGB(clBtnFace), face);
    EXPECT_EQ(IsDarkColor(clBtnFace), IsDarkColor(face));
    EXPECT_EQ(ColorToRGB(0xFF000000u | COLOR_WINDOWTEXT), GetSysColor(COLOR_WINDOWTEXT));
    EXPECT_EQ(ColorToRGB(0x00123456), 0x00123456u);
}
