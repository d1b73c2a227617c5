// The edge window's own sizes at another DPI.
#include "app/DockGeometry.h"
#include "gui/Dpi.h"

#include <gtest/gtest.h>

using namespace app;

namespace {

TEST(DragTargetEdge, TakesTheBandScaledToTheDpi) {
    const RECT work{0, 0, 1280, 800};
    struct Case {
        int dpi;
        POINT p;
        TAlign edge;
    } cases[] = {
        {96, {24, 400}, gui::alLeft},     {96, {25, 400}, gui::alNone},     {120, {30, 400}, gui::alLeft},
        {120, {31, 400}, gui::alNone},    {144, {37, 400}, gui::alLeft},    {144, {38, 400}, gui::alNone},
        {192, {49, 400}, gui::alLeft},    {192, {50, 400}, gui::alNone},    {192, {640, 49}, gui::alTop},
        {192, {640, 751}, gui::alBottom}, {192, {1231, 400}, gui::alRight},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DragTargetEdge(work, c.p, gui::ScaleForDpi(25, c.dpi)), c.edge)
            << c.dpi << " dpi at " << c.p.x << "," << c.p.y;
    }
}

TEST(EdgePadding, GrowsWithTheDpiAndStaysZeroOnTheDockedSide) {
    EXPECT_EQ(EdgePadding(gui::alLeft, 192), (gui::Padding{0, 6, 6, 6}));
    EXPECT_EQ(EdgePadding(gui::alBottom, 144), (gui::Padding{5, 5, 5, 0}));
    EXPECT_EQ(EdgePadding(gui::alNone, 120), (gui::Padding{4, 4, 4, 4}));
}

} // namespace
