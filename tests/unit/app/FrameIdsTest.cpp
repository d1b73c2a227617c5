#include "app/FrameIds.h"

#include "gui/Error.h"

#include <gtest/gtest.h>

using app::FrameIdSet;

TEST(FrameIds, GivesTheLowestFreeIdAndReusesReleasedOnes) {
    FrameIdSet ids;
    EXPECT_EQ(ids.AcquireFrameId(-1), 0);
    EXPECT_EQ(ids.AcquireFrameId(-1), 1);
    EXPECT_EQ(ids.AcquireFrameId(-1), 2);
    ids.ReleaseFrameId(1);
    EXPECT_EQ(ids.AcquireFrameId(-1), 1);
    EXPECT_EQ(ids.AcquireFrameId(-1), 3);
    EXPECT_EQ(ids.AcquireFrameId(-1), 4);
    EXPECT_EQ(ids.AcquireFrameId(-1), 5);
}

TEST(FrameIds, StoredIdsAreClaimedAsTheyAreWithGapsLeftFree) {
    FrameIdSet ids;
    EXPECT_EQ(ids.AcquireFrameId(2), 2);
    EXPECT_EQ(ids.AcquireFrameId(5), 5);
    EXPECT_EQ(ids.AcquireFrameId(-1), 0);
    EXPECT_EQ(ids.AcquireFrameId(-1), 1);
    EXPECT_EQ(ids.AcquireFrameId(-1), 3);
    EXPECT_EQ(ids.AcquireFrameId(100), 100);
    EXPECT_EQ(ids.AcquireFrameId(-1), 4);
}

TEST(FrameIds, AHugeStoredIdCostsNoMoreThanASmallOne) {
    FrameIdSet ids;
    EXPECT_EQ(ids.AcquireFrameId(2000000000), 2000000000);
    EXPECT_EQ(ids.AcquireFrameId(2147483647), 2147483647);
    EXPECT_EQ(ids.Count(), 2u);
    EXPECT_FALSE(ids.IsFrameIdFree(2000000000));
    EXPECT_TRUE(ids.IsFrameIdFree(1999999999));
    EXPECT_EQ(ids.AcquireFrameId(-1), 0);
    EXPECT_EQ(ids.AcquireFrameId(-1), 1);
    EXPECT_THROW(ids.AcquireFrameId(2000000000), gui::UserError);
    ids.ReleaseFrameId(2000000000);
    EXPECT_TRUE(ids.IsFrameIdFree(2000000000));
}

TEST(FrameIds, AnIdInUseRaisesAndMarksNothing) {
    FrameIdSet ids;
    ids.AcquireFrameId(7);
    try {
        ids.AcquireFrameId(7);
        FAIL() << "no error";
    } catch (const gui::UserError& error) {
        EXPECT_EQ(error.Message(), L"Id.7 はすでに使われています");
    }
    EXPECT_EQ(ids.AcquireFrameId(-1), 0);
    EXPECT_TRUE(ids.IsFrameIdFree(1));
    ids.ReleaseFrameId(7);
    ids.ReleaseFrameId(-3);  // ignored
    ids.ReleaseFrameId(999); // ignored
    EXPECT_TRUE(ids.IsFrameIdFree(7));
}
