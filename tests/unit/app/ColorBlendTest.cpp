#include "app/ColorBlend.h"

#include <gtest/gtest.h>

using app::BlendedColor;
using app::NoBlendColor;

TEST(BlendedColor, ShiftsOnlyColoursCloseToTheNeighbour) {
    struct Case {
        gui::TColor base;
        gui::TColor neighbour;
        gui::TColor expected;
    } cases[] = {
        {RGB(240, 240, 240), RGB(240, 240, 240), RGB(160, 160, 160)},
        {RGB(240, 240, 240), RGB(160, 160, 160), RGB(240, 240, 240)},
        {RGB(200, 100, 50), RGB(210, 90, 60), RGB(154, 190, 110)},
        {RGB(200, 100, 50), RGB(100, 100, 50), RGB(200, 100, 50)},
        {RGB(0, 0, 0), RGB(0, 0, 0), RGB(64, 64, 64)},     // shifted up below 128
        {RGB(100, 10, 0), RGB(132, 42, 32), RGB(232, 52, 96)}, // exactly 32 apart is near
        {RGB(100, 10, 0), RGB(133, 42, 32), RGB(100, 10, 0)},  // 33 apart is not
    };
    for (const Case& c : cases)
        EXPECT_EQ(BlendedColor(c.base, c.neighbour), c.expected) << std::hex << c.base << " " << c.neighbour;
}

TEST(BlendedColor, WithoutANeighbourKeepsTheBaseEvenASystemColour) {
    EXPECT_EQ(BlendedColor(gui::clBtnFace, NoBlendColor), gui::clBtnFace);
    EXPECT_EQ(BlendedColor(RGB(1, 2, 3), NoBlendColor), RGB(1, 2, 3));
}

TEST(BlendedColor, ResolvesSystemColoursOnBothSides) {
    COLORREF face = GetSysColor(COLOR_BTNFACE);
    EXPECT_EQ(BlendedColor(gui::clBtnFace, face), BlendedColor(face, face));
    // A far colour leaves the base channels, now as a plain colour.
    COLORREF distant = RGB(GetRValue(face) ^ 0x80, GetGValue(face) ^ 0x80, GetBValue(face) ^ 0x80);
    EXPECT_EQ(BlendedColor(gui::clBtnFace, distant), face);
}
