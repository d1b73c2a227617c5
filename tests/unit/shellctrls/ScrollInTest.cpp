#include "shellctrls/ScrollIn.h"

#include <gtest/gtest.h>

using namespace shellctrls;

TEST(ScrollZone, EdgeBandsOfAClientAreaOf200By100WithRange8) {
    const RECT client{0, 0, 200, 100};
    struct Case {
        POINT point;
        TDirectionTest zone;
    } cases[] = {
        {{100, 50}, dtInner}, {{192, 50}, dtInner}, {{193, 50}, dtRight}, {{8, 50}, dtInner},
        {{7, 50}, dtLeft},    {{5, 50}, dtLeft},    {{0, 0}, dtLeft},     {{199, 99}, dtRight},
        {{100, 8}, dtInner},  {{100, 7}, dtUp},     {{100, 92}, dtInner}, {{100, 93}, dtDown},
        {{100, 99}, dtDown},  {{200, 50}, dtOuter}, {{-1, 50}, dtOuter},  {{100, 100}, dtOuter},
        {{100, -1}, dtOuter},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.point.x << "," << c.point.y);
        EXPECT_EQ(ScrollZone(c.point, client, 8), c.zone);
    }
}

TEST(ScrollZone, ClientAreaNotAtTheOrigin) {
    const RECT client{10, 20, 60, 70};
    EXPECT_EQ(ScrollZone({12, 45}, client, 4), dtLeft);
    EXPECT_EQ(ScrollZone({35, 21}, client, 4), dtUp);
    EXPECT_EQ(ScrollZone({35, 45}, client, 4), dtInner);
    EXPECT_EQ(ScrollZone({9, 45}, client, 4), dtOuter);
}

TEST(CanScrollLine, TowardsTheStartOnlyAwayFromItAndTowardsTheEndOnlyBeforeIt) {
    auto info = [](int min, int max, UINT page, int pos) {
        SCROLLINFO i{};
        i.cbSize = sizeof(i);
        i.nMin = min;
        i.nMax = max;
        i.nPage = page;
        i.nPos = pos;
        return i;
    };
    EXPECT_FALSE(CanScrollLine(dtUp, info(0, 99, 50, 0)));
    EXPECT_TRUE(CanScrollLine(dtUp, info(0, 99, 50, 1)));
    EXPECT_TRUE(CanScrollLine(dtLeft, info(-5, 99, 50, -4)));
    EXPECT_FALSE(CanScrollLine(dtLeft, info(-5, 99, 50, -5)));
    EXPECT_TRUE(CanScrollLine(dtDown, info(0, 99, 50, 49)));
    EXPECT_FALSE(CanScrollLine(dtDown, info(0, 99, 50, 50)));
    EXPECT_FALSE(CanScrollLine(dtRight, info(0, 99, 100, 0)));
    EXPECT_FALSE(CanScrollLine(dtRight, info(0, 0x7FFFFFFF, 0xFFFFFFFFu, 10)));
    EXPECT_FALSE(CanScrollLine(dtInner, info(0, 99, 10, 5)));
    EXPECT_FALSE(CanScrollLine(dtOuter, info(0, 99, 10, 5)));
}
