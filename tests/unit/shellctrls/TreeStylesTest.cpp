#include "shellctrls/RootStyles.h"
#include "shellctrls/TreeStyles.h"

#include <gtest/gtest.h>

using namespace shellctrls;

namespace {

// Every member with the SDK flag it must map to; the table is written from the
// SDK's constants, not from the code under test.
struct StyleCase {
    TNamespaceTreeControlStyle style;
    NSTCSTYLE flag;
};
constexpr StyleCase kStyleCases[] = {
    {nstcsHasExpandos, NSTCS_HASEXPANDOS},
    {nstcsHasLines, NSTCS_HASLINES},
    {nstcsSingleClickExpand, NSTCS_SINGLECLICKEXPAND},
    {nstcsFullRowSelect, NSTCS_FULLROWSELECT},
    {nstcsSpringExpand, NSTCS_SPRINGEXPAND},
    {nstcsHorizontalScroll, NSTCS_HORIZONTALSCROLL},
    {nstcsRootHasExpando, NSTCS_ROOTHASEXPANDO},
    {nstcsShowSelectionAlways, NSTCS_SHOWSELECTIONALWAYS},
    {nstcsNoInfoTip, NSTCS_NOINFOTIP},
    {nstcsEvenHeight, NSTCS_EVENHEIGHT},
    {nstcsNoReplaceOpen, NSTCS_NOREPLACEOPEN},
    {nstcsDisableDragDrop, NSTCS_DISABLEDRAGDROP},
    {nstcsNoOrderStream, NSTCS_NOORDERSTREAM},
    {nstcsRichToolTip, NSTCS_RICHTOOLTIP},
    {nstcsBorder, NSTCS_BORDER},
    {nstcsNoEditLabels, NSTCS_NOEDITLABELS},
    {nstcsTabStop, NSTCS_TABSTOP},
    {nstcsFavoritesMode, NSTCS_FAVORITESMODE},
    {nstcsAutoHScroll, NSTCS_AUTOHSCROLL},
    {nstcsFadeInOutExpandos, NSTCS_FADEINOUTEXPANDOS},
    {nstcsEmptyText, NSTCS_EMPTYTEXT},
    {nstcsCheckBoxes, NSTCS_CHECKBOXES},
    {nstcsPartialCheckBoxes, NSTCS_PARTIALCHECKBOXES},
    {nstcsExclusionCheckBoxes, NSTCS_EXCLUSIONCHECKBOXES},
    {nstcsDimmedCheckBoxes, NSTCS_DIMMEDCHECKBOXES},
    {nstcsNoIndentChecks, NSTCS_NOINDENTCHECKS},
    {nstcsAllowJunctions, NSTCS_ALLOWJUNCTIONS},
    {nstcsShowTabsButton, NSTCS_SHOWTABSBUTTON},
    {nstcsShowDeleteButton, NSTCS_SHOWDELETEBUTTON},
    {nstcsShowRefreshButton, static_cast<NSTCSTYLE>(NSTCS_SHOWREFRESHBUTTON)},
};
static_assert(std::size(kStyleCases) == kTreeStyleCount);

} // namespace

TEST(TreeStyles, EachMemberMapsToItsFlagAndBack) {
    for (size_t ordinal = 0; ordinal < std::size(kStyleCases); ++ordinal) {
        const StyleCase& c = kStyleCases[ordinal];
        SCOPED_TRACE(ordinal);
        EXPECT_EQ(static_cast<size_t>(c.style), ordinal);
        EXPECT_EQ(StyleFlag(c.style), c.flag);
        EXPECT_EQ(StylesToFlags({c.style}), c.flag);
        EXPECT_EQ(FlagsToStyles(c.flag), TNamespaceTreeControlStyles{c.style});
        // The stored form is the ordinal's bit, not the flag.
        EXPECT_EQ(TNamespaceTreeControlStyles{c.style}.Bits(), 1u << ordinal);
    }
}

TEST(TreeStyles, OrdinalsSkipTheTwoFlagsWithoutMember) {
    EXPECT_EQ(StylesToFlags({nstcsNoInfoTip}), 0x00000200u);
    EXPECT_EQ(StylesToFlags({nstcsNoEditLabels}), 0x00010000u);
    EXPECT_EQ(StylesToFlags({nstcsTabStop}), 0x00020000u);
    EXPECT_EQ(StylesToFlags({nstcsFavoritesMode}), 0x00080000u);
    EXPECT_EQ(StylesToFlags({nstcsShowRefreshButton}), 0x80000000u);
    EXPECT_EQ(StylesToFlags(TNamespaceTreeControlStyles::All()), 0xFFFBFEFFu);
    EXPECT_EQ(FlagsToStyles(0xFFFFFFFFu), TNamespaceTreeControlStyles::All());
    // 0x100 and 0x40000 are never reported and never produced.
    EXPECT_TRUE(FlagsToStyles(0x00040100u).Empty());
    EXPECT_EQ(FlagsToStyles(0x00040101u), (TNamespaceTreeControlStyles{nstcsHasExpandos}));
    // All 30 members are stored as the low 30 bits.
    EXPECT_EQ(TNamespaceTreeControlStyles::All().Bits(), 0x3FFFFFFFu);
}

TEST(TreeStyles, StoredValueWithBitsBeyondTheMembersLoadsOnlyMembers) {
    // Bits 30 and 31 stand for no member; a damaged data file must not produce one.
    auto loaded = TNamespaceTreeControlStyles::FromBits(0xC0000003u);
    EXPECT_EQ(loaded, (TNamespaceTreeControlStyles{nstcsHasExpandos, nstcsHasLines}));
    EXPECT_EQ(StylesToFlags(loaded), 0x3u);
}

TEST(TreeStyle2s, MemberNIsFlagOneShiftedByN) {
    const DWORD flags[] = {NSTCS2_INTERRUPTNOTIFICATIONS, NSTCS2_SHOWNULLSPACEMENU,
                           NSTCS2_DISPLAYPADDING,         NSTCS2_DISPLAYPINNEDONLY,
                           NTSCS2_NOSINGLETONAUTOEXPAND,  NTSCS2_NEVERINSERTNONENUMERATED};
    for (int n = 0; n < kTreeStyle2Count; ++n) {
        auto style = static_cast<TNamespaceTreeControlStyle2>(n);
        EXPECT_EQ(Style2sToFlags({style}), flags[n]);
        EXPECT_EQ(FlagsToStyle2s(flags[n]), TNamespaceTreeControlStyle2s{style});
    }
    EXPECT_EQ(Style2sToFlags(TNamespaceTreeControlStyle2s::All()), 0x3Fu);
    EXPECT_EQ(FlagsToStyle2s(0xFFu), TNamespaceTreeControlStyle2s::All());
}

TEST(RootFilters, MemberNIsFlag0x10ShiftedByN) {
    const SHCONTF flags[] = {
        SHCONTF_CHECKING_FOR_CHILDREN, SHCONTF_FOLDERS,        SHCONTF_NONFOLDERS, SHCONTF_INCLUDEHIDDEN,
        SHCONTF_INIT_ON_FIRST_NEXT,    SHCONTF_NETPRINTERSRCH, SHCONTF_SHAREABLE,  SHCONTF_STORAGE,
        SHCONTF_NAVIGATION_ENUM,       SHCONTF_FASTITEMS,      SHCONTF_FLATLIST,   SHCONTF_ENABLE_ASYNC,
        SHCONTF_INCLUDESUPERHIDDEN};
    static_assert(std::size(flags) == kShellContactFilterCount);
    for (int n = 0; n < kShellContactFilterCount; ++n) {
        auto filter = static_cast<TShellContactFilter>(n);
        SCOPED_TRACE(n);
        EXPECT_EQ(FiltersToFlags({filter}), flags[n]);
        EXPECT_EQ(FlagsToFilters(flags[n]), TShellContactFilters{filter});
        EXPECT_EQ(TShellContactFilters{filter}.Bits(), 1u << n);
    }
}

TEST(RootFilters, ExamplesAndFlagsWithoutMember) {
    EXPECT_EQ(FiltersToFlags({shcontfFolders, shcontfNonFolders}), 0x60u);
    EXPECT_EQ(FiltersToFlags({shcontfIncludeSuperHidden}), 0x10000u);
    EXPECT_EQ(FiltersToFlags(TShellContactFilters::All()), 0x1FFF0u);
    EXPECT_EQ(FlagsToFilters(0x60u), (TShellContactFilters{shcontfFolders, shcontfNonFolders}));
    // Flags below 0x10 and above 0x10000 have no member.
    EXPECT_TRUE(FlagsToFilters(0x2000Fu).Empty());
    // The stored value of [folders, non-folders] is 6, not the flag word.
    EXPECT_EQ((TShellContactFilters{shcontfFolders, shcontfNonFolders}).Bits(), 6u);
    EXPECT_EQ(TShellContactFilters::FromBits(0xFFFFu), TShellContactFilters::All());
}

TEST(RootStyles, HiddenAndExpanded) {
    EXPECT_EQ(RootStylesToFlags({}), static_cast<NSTCROOTSTYLE>(NSTCRS_VISIBLE));
    EXPECT_EQ(RootStylesToFlags({nstcrsHidden}), static_cast<NSTCROOTSTYLE>(NSTCRS_HIDDEN));
    EXPECT_EQ(RootStylesToFlags({nstcrsExpanded}), static_cast<NSTCROOTSTYLE>(NSTCRS_EXPANDED));
    EXPECT_EQ(FlagsToRootStyles(0x3), (TNamespaceTreeControlRootStyles{nstcrsHidden, nstcrsExpanded}));
    EXPECT_TRUE(FlagsToRootStyles(0x4).Empty());
}

TEST(EnumSet, IncludeExcludeAndEquality) {
    TNamespaceTreeControlStyles styles;
    EXPECT_TRUE(styles.Empty());
    styles.Include(nstcsBorder).Include(nstcsHasLines).Include(nstcsBorder);
    EXPECT_TRUE(styles.Contains(nstcsBorder));
    EXPECT_FALSE(styles.Contains(nstcsHasExpandos));
    EXPECT_EQ(styles, (TNamespaceTreeControlStyles{nstcsHasLines, nstcsBorder}));
    styles.Exclude(nstcsBorder);
    EXPECT_EQ(styles, TNamespaceTreeControlStyles{nstcsHasLines});
    // An ordinal outside the members is never part of a set.
    styles.Include(static_cast<TNamespaceTreeControlStyle>(31));
    EXPECT_EQ(styles.Bits(), 1u << 1);
}
