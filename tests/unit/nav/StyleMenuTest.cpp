#include "nav/StyleMenu.h"

#include <gtest/gtest.h>

using namespace shellctrls;
using nav::ToggleStyle;

TEST(ToggleStyle, LinesAndFullRowSelectionNeverStayOnTogether) {
    using S = TNamespaceTreeControlStyles;
    struct Case {
        S before;
        TNamespaceTreeControlStyle style;
        bool checked;
        S after;
    } cases[] = {
        {S{nstcsHasExpandos, nstcsHasLines}, nstcsFullRowSelect, true, S{nstcsHasExpandos, nstcsFullRowSelect}},
        {S{nstcsFullRowSelect}, nstcsHasLines, true, S{nstcsHasLines}},
        {S{nstcsHasLines}, nstcsHasLines, false, S{}},
        {S{nstcsFullRowSelect}, nstcsHasLines, false, S{nstcsFullRowSelect}},
        {S{nstcsHasLines}, nstcsSpringExpand, true, S{nstcsHasLines, nstcsSpringExpand}},
        {S{nstcsAutoHScroll, nstcsTabStop}, nstcsAutoHScroll, false, S{nstcsTabStop}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ToggleStyle(c.before, c.style, c.checked).Bits(), c.after.Bits()) << int(c.style);
}

TEST(StyleMenu, HasTheEightItemsInOrderWithTheirStyles) {
    const int expected[] = {1, 3, 4, 5, 7, 15, 18, 19};
    ASSERT_EQ(std::size(nav::kStyleMenu), std::size(expected));
    for (size_t i = 0; i < std::size(expected); ++i)
        EXPECT_EQ(static_cast<int>(nav::kStyleMenu[i].style), expected[i]);
    EXPECT_STREQ(nav::kStyleMenu[0].caption, L"親子をつなぐ線を表示");
    EXPECT_STREQ(nav::kStyleMenu[7].caption, L"展開ボタンの表示を自動的に切り替える");
}
