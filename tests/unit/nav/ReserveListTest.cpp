#include "nav/ReserveList.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using nav::TReserveList;
using List = std::vector<std::wstring>;

namespace {

// The lists of a frame's three roots as the file keeps them: each runs on to the end of
// the tree, so the later roots' items come again in every list before theirs.
const List kTails[] = {{L"a", L"a\\1", L"b", L"c"}, {L"b", L"c"}, {L"c"}};

TEST(ReserveList, UniqueListHoldsEachItemOnceAlsoAfterItWasTaken) {
    TReserveList list(true);
    list.Append(kTails[0].begin(), kTails[0].end());
    EXPECT_EQ(list.PopFront(), L"a");
    EXPECT_EQ(list.PopFront(), L"a\\1");
    for (size_t root = 1; root < 3; ++root)
        list.Append(kTails[root].begin(), kTails[root].end());
    list.push_back(L"a");
    list.push_back(L"d");
    EXPECT_EQ(list, (List{L"b", L"c", L"d"}));
    EXPECT_EQ(list.size(), 3u);
    EXPECT_EQ(list.front(), L"b");
}

TEST(ReserveList, AssignedOrClearedItStartsAfresh) {
    TReserveList list(true);
    list = List{L"a", L"b", L"a"};
    EXPECT_EQ(list, (List{L"a", L"b"}));
    list.PopFront();
    list = {L"a", L"c"};
    EXPECT_EQ(list, (List{L"a", L"c"})) << "a taken before counts again";
    list.clear();
    EXPECT_TRUE(list.empty());
    list.push_back(L"c");
    EXPECT_EQ(list, List{L"c"});
}

TEST(ReserveList, PlainListKeepsRepeats) {
    // The items to select and show: the selected one twice, selected and then shown.
    TReserveList list(false);
    list = {L"x", L"x"};
    EXPECT_EQ(list.size(), 2u);
    EXPECT_EQ(list.PopFront(), L"x");
    EXPECT_EQ(list.PopFront(), L"x");
    EXPECT_TRUE(list.empty());
}

TEST(ReserveList, TakesEveryEntryInOrderFromALongList) {
    TReserveList list(true);
    List paths;
    for (int i = 0; i < 100000; ++i)
        paths.push_back(std::to_wstring(i));
    list = paths;
    for (int i = 0; i < 100000; ++i) {
        ASSERT_EQ(list.size(), size_t(100000 - i + (i > 50000 ? 1 : 0)));
        ASSERT_EQ(list.PopFront(), std::to_wstring(i));
        if (i == 50000) {
            // Entries added while it is taken from come after the others.
            list.push_back(L"late");
            list.push_back(L"7");
        }
    }
    EXPECT_EQ(list, List{L"late"});
    EXPECT_EQ(static_cast<List>(list), List{L"late"});
}

} // namespace
