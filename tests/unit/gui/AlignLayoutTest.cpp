#include "gui/Align.h"

#include <gtest/gtest.h>

using namespace gui;

namespace {

AlignItem Item(TAlign align, int width, int height, bool visible = true) {
    return {align, MakeRect(7, 9, width, height), visible};
}

TEST(AlignLayout, PlacesSidesInOrderAndClientInTheRest) {
    RECT client{0, 0, 200, 100};
    std::vector<AlignItem> items = {
        Item(alClient, 1, 1),  Item(alTop, 50, 10),  Item(alLeft, 20, 50), Item(alTop, 50, 5),
        Item(alBottom, 50, 8), Item(alRight, 30, 5), Item(alNone, 11, 12),
    };
    std::vector<RECT> r = AlignLayout(client, {}, items);
    EXPECT_EQ(r[1], (RECT{0, 0, 200, 10}));   // first top item at the top
    EXPECT_EQ(r[3], (RECT{0, 10, 200, 15}));  // second top item below it
    EXPECT_EQ(r[4], (RECT{0, 92, 200, 100})); // bottom items after all top items
    EXPECT_EQ(r[2], (RECT{0, 15, 20, 92}));   // left items between top and bottom
    EXPECT_EQ(r[5], (RECT{170, 15, 200, 92}));
    EXPECT_EQ(r[0], (RECT{20, 15, 170, 92})); // the client item fills the rest
    EXPECT_EQ(r[6], items[6].bounds);         // unaligned items keep their bounds
}

TEST(AlignLayout, HonoursPaddingAndSkipsHiddenItems) {
    RECT client{0, 0, 100, 50};
    std::vector<AlignItem> items = {Item(alTop, 1, 25, false), Item(alLeft, 21, 1), Item(alRight, 21, 1)};
    std::vector<RECT> r = AlignLayout(client, {2, 3, 4, 5}, items);
    EXPECT_EQ(r[0], items[0].bounds);
    EXPECT_EQ(r[1], (RECT{2, 3, 23, 45}));
    EXPECT_EQ(r[2], (RECT{75, 3, 96, 45}));
}

TEST(AlignLayout, SideItemsLaterInOrderStackInwards) {
    std::vector<AlignItem> items = {Item(alRight, 21, 1), Item(alRight, 21, 1), Item(alBottom, 1, 21),
                                    Item(alBottom, 1, 21)};
    std::vector<RECT> r = AlignLayout({0, 0, 100, 100}, {}, items);
    EXPECT_EQ(r[0].left, 79);
    EXPECT_EQ(r[1].left, 58);
    EXPECT_EQ(r[2].top, 79);
    EXPECT_EQ(r[3].top, 58);
}

TEST(AlignLayout, TooLittleRoomGivesEmptyNotInvertedRectangles) {
    std::vector<AlignItem> items = {Item(alTop, 1, 80), Item(alTop, 1, 80), Item(alClient, 1, 1)};
    std::vector<RECT> r = AlignLayout({0, 0, 50, 100}, {}, items);
    EXPECT_EQ(r[1], (RECT{0, 80, 50, 160}));
    EXPECT_GE(r[2].bottom, r[2].top);
    EXPECT_GE(r[2].right, r[2].left);
}

} // namespace
