// The frame's commands as the Shell merges them into a real pop-up menu and invokes
// them by verb offset.
#include "gui/Application.h"
#include "gui/Error.h"
#include "nav/ContextMenu.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

using namespace nav;

namespace {

struct MenuEntry {
    UINT id;
    std::wstring caption;
    bool separator;
    bool checked;
    HMENU submenu;
};

MenuEntry EntryAt(HMENU menu, int position) {
    wchar_t text[128]{};
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_ID | MIIM_STRING | MIIM_FTYPE | MIIM_STATE | MIIM_SUBMENU;
    info.dwTypeData = text;
    info.cch = 128;
    EXPECT_TRUE(::GetMenuItemInfoW(menu, static_cast<UINT>(position), TRUE, &info));
    return {info.wID, text, (info.fType & MFT_SEPARATOR) != 0, (info.fState & MFS_CHECKED) != 0,
            info.hSubMenu};
}

// A Shell menu that already holds its own items, with the ids they use.
gui::unique_hmenu ShellMenu(const std::vector<UINT>& usedIds) {
    gui::unique_hmenu menu(::CreatePopupMenu());
    for (UINT id : usedIds)
        ::AppendMenuW(menu.get(), MF_STRING, id, (L"shell " + std::to_wstring(id)).c_str());
    return menu;
}

class ContextMenuTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (int entry = 0; entry < kContextEntryCount; ++entry)
            menu.Entry(static_cast<TContextEntry>(entry)).OnClick = [this, entry](gui::MenuItem& item) {
                clicks.push_back(entry);
                checkedAtClick.push_back(item.Checked());
            };
    }
    HRESULT Invoke(UINT_PTR verb) {
        CMINVOKECOMMANDINFO info{};
        info.cbSize = sizeof(info);
        info.lpVerb = reinterpret_cast<LPCSTR>(verb);
        info.nShow = SW_SHOWNORMAL;
        return menu.InvokeCommand(&info);
    }

    TPopupMenu menu;
    std::vector<int> clicks;
    std::vector<bool> checkedAtClick;
};

TEST_F(ContextMenuTest, HoldsTheTenEntriesWithTheirCaptionsAndTags) {
    struct Expected {
        const wchar_t* caption;
        int tag;
        bool autoCheck;
    } expected[kContextEntryCount] = {
        {L"新しいフレームで開く", 0, false},
        {L"新しいルートで開く", 0, false},
        {L"開く(&O)", 0, false},
        {L"リンク先を開く", 0, false},
        {L"項目のフィルター", 0, false},
        {L"フォルダ", 1, true},
        {L"非フォルダ", 2, true},
        {L"非表示を含める", 3, true},
        {L"システムを含める", 12, true},
        {L"ツリーを削除", 0, false},
    };
    ASSERT_EQ(menu.Items().size(), static_cast<size_t>(kContextEntryCount));
    for (int i = 0; i < kContextEntryCount; ++i) {
        SCOPED_TRACE(i);
        const gui::MenuItem& item = menu.Entry(static_cast<TContextEntry>(i));
        EXPECT_EQ(item.Caption(), expected[i].caption);
        EXPECT_EQ(item.Tag(), expected[i].tag);
        EXPECT_EQ(item.AutoCheck(), expected[i].autoCheck);
    }
}

TEST_F(ContextMenuTest, MergesIntoTheShellsMenuAtFixedPlacesWithFreeIds) {
    // The Shell's menu already uses 1, 2 and 5; our ids start at 1.
    gui::unique_hmenu shell = ShellMenu({1, 2, 5});
    menu.Entry(ceIncludeHidden).SetChecked(true);
    menu.Entry(ceFolders).SetChecked(true);
    HRESULT hr = menu.QueryContextMenu(shell.get(), 2, 1, 100, CMF_NORMAL);
    ASSERT_TRUE(SUCCEEDED(hr));
    int count = ::GetMenuItemCount(shell.get());
    // 3 of the Shell, 4 commands, the separator, the submenu and "ツリーを削除".
    EXPECT_EQ(count, 10);
    EXPECT_EQ(HRESULT_SEVERITY(hr), SEVERITY_SUCCESS);
    EXPECT_EQ(HRESULT_FACILITY(hr), 0);
    EXPECT_EQ(HRESULT_CODE(hr), count);

    struct Place {
        UINT id;
        const wchar_t* caption;
        bool separator;
    } places[] = {{3, L"新しいフレームで開く", false},
                  {4, L"新しいルートで開く", false},
                  {0, L"", true},
                  {6, L"開く(&O)", false},
                  {7, L"リンク先を開く", false},
                  {1, L"shell 1", false},
                  {2, L"shell 2", false},
                  {5, L"shell 5", false},
                  {8, L"項目のフィルター", false},
                  {13, L"ツリーを削除", false}};
    for (int i = 0; i < count; ++i) {
        SCOPED_TRACE(i);
        MenuEntry e = EntryAt(shell.get(), i);
        EXPECT_EQ(e.separator, places[i].separator);
        if (!places[i].separator) {
            EXPECT_EQ(e.id, places[i].id);
            EXPECT_EQ(e.caption, places[i].caption);
        }
    }
    HMENU filters = EntryAt(shell.get(), 8).submenu;
    ASSERT_NE(filters, nullptr);
    ASSERT_EQ(::GetMenuItemCount(filters), 4);
    struct Filter {
        UINT id;
        const wchar_t* caption;
        bool checked;
    } expected[] = {{9, L"フォルダ", true},
                    {10, L"非フォルダ", false},
                    {11, L"非表示を含める", true},
                    {12, L"システムを含める", false}};
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        MenuEntry e = EntryAt(filters, i);
        EXPECT_EQ(e.id, expected[i].id);
        EXPECT_EQ(e.caption, expected[i].caption);
        EXPECT_EQ(e.checked, expected[i].checked);
    }
}

TEST_F(ContextMenuTest, HiddenTargetItemAndDisabledRemovalAreLeftOut) {
    gui::unique_hmenu shell = ShellMenu({});
    menu.OpenTargetMnu().SetVisible(false);
    menu.RemoveRootMnu().SetEnabled(false);
    HRESULT hr = menu.QueryContextMenu(shell.get(), 0, 20, 0x7FFF, CMF_EXPLORE);
    ASSERT_EQ(HRESULT_CODE(hr), 5); // two commands, the separator, open, the submenu
    EXPECT_EQ(EntryAt(shell.get(), 3).id, 22u);
    EXPECT_EQ(EntryAt(shell.get(), 4).caption, L"項目のフィルター");
    EXPECT_EQ(EntryAt(shell.get(), 4).id, 23u); // the target item took no id
}

TEST_F(ContextMenuTest, DefaultOnlyInsertsNothing) {
    gui::unique_hmenu shell = ShellMenu({1, 2});
    EXPECT_EQ(menu.QueryContextMenu(shell.get(), 0, 10, 100, CMF_DEFAULTONLY), S_OK);
    EXPECT_EQ(::GetMenuItemCount(shell.get()), 2);
}

TEST_F(ContextMenuTest, TooFewFreeIdsLeaveTheLaterEntriesOut) {
    gui::unique_hmenu shell = ShellMenu({11});
    // 10 and 12 are free: the two first commands get them, nothing else fits.
    menu.QueryContextMenu(shell.get(), 0, 10, 12, CMF_NORMAL);
    EXPECT_EQ(::GetMenuItemCount(shell.get()), 4); // the Shell's item, two commands, the separator
    EXPECT_EQ(EntryAt(shell.get(), 0).id, 10u);
    EXPECT_EQ(EntryAt(shell.get(), 1).id, 12u);
    // The verb of the second command is the offset of its id, 2.
    EXPECT_EQ(Invoke(2), S_OK);
    EXPECT_EQ(clicks, std::vector<int>{ceNewRoot});
}

TEST(FindFreeCommandId, FindsTheFirstIdNoItemUsesSubmenusIncluded) {
    gui::unique_hmenu shell = ShellMenu({3, 4});
    HMENU sub = ::CreatePopupMenu();
    ::AppendMenuW(sub, MF_STRING, 5, L"inner");
    ::AppendMenuW(shell.get(), MF_POPUP, reinterpret_cast<UINT_PTR>(sub), L"sub");
    struct Case {
        UINT from, to;
        std::optional<UINT> expected;
    } cases[] = {{3, 10, 6u},          {1, 10, 1u}, {3, 5, std::nullopt},
                 {7, 6, std::nullopt}, {6, 6, 6u},  {0xFFFFFFFEu, 0xFFFFFFFFu, 0xFFFFFFFEu}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.from) + ".." + std::to_string(c.to));
        EXPECT_EQ(FindFreeCommandId(shell.get(), c.from, c.to), c.expected);
    }
}

TEST_F(ContextMenuTest, EachVerbOffsetClicksItsEntry) {
    gui::unique_hmenu shell = ShellMenu({});
    menu.QueryContextMenu(shell.get(), 0, 100, 200, CMF_NORMAL);
    for (UINT offset = 0; offset < 12; ++offset) {
        SCOPED_TRACE(offset);
        clicks.clear();
        EXPECT_EQ(Invoke(offset), S_OK);
        if (offset == ceRootFilters || offset >= static_cast<UINT>(kContextEntryCount))
            EXPECT_TRUE(clicks.empty()); // the submenu, or no entry at all
        else
            EXPECT_EQ(clicks, std::vector<int>{static_cast<int>(offset)});
    }
}

TEST_F(ContextMenuTest, FilterItemsToggleTheirCheckBeforeTheirHandlerRuns) {
    gui::unique_hmenu shell = ShellMenu({});
    menu.QueryContextMenu(shell.get(), 0, 1, 100, CMF_NORMAL);
    Invoke(ceIncludeSuperHidden);
    Invoke(ceIncludeSuperHidden);
    EXPECT_EQ(checkedAtClick, (std::vector<bool>{true, false}));
    Invoke(ceNewFrame);
    EXPECT_FALSE(menu.NewFrameMnu().Checked());
}

TEST_F(ContextMenuTest, WithoutTheTargetItemTheOffsetsCountTheVisibleEntries) {
    menu.OpenTargetMnu().SetVisible(false);
    // Never merged: the offset is the number of visible entries before the chosen one.
    Invoke(3); // the fourth visible entry is the submenu
    Invoke(4);
    Invoke(8);
    EXPECT_EQ(clicks, (std::vector<int>{ceFolders, ceRemoveRoot}));
    clicks.clear();
    gui::unique_hmenu shell = ShellMenu({});
    menu.QueryContextMenu(shell.get(), 0, 1, 100, CMF_NORMAL);
    Invoke(2);
    Invoke(3);
    EXPECT_EQ(clicks, std::vector<int>{ceOpen});
}

TEST_F(ContextMenuTest, IdsThatAreNotConsecutiveStillChooseTheRightEntry) {
    // The Shell's menu uses 3: "開く(&O)" gets 4 and its verb offset is 3, not 2.
    gui::unique_hmenu shell = ShellMenu({3});
    menu.QueryContextMenu(shell.get(), 0, 1, 100, CMF_NORMAL);
    EXPECT_EQ(EntryAt(shell.get(), 3).caption, L"開く(&O)");
    EXPECT_EQ(EntryAt(shell.get(), 3).id, 4u);
    Invoke(3);
    Invoke(2); // the id 3 is the Shell's own
    EXPECT_EQ(clicks, std::vector<int>{ceOpen});
}

TEST_F(ContextMenuTest, TextVerbsAndOtherQuestionsAreRefused) {
    CMINVOKECOMMANDINFO info{};
    info.cbSize = sizeof(info);
    info.lpVerb = "open";
    EXPECT_EQ(menu.InvokeCommand(&info), E_INVALIDARG);
    EXPECT_EQ(menu.InvokeCommand(nullptr), E_INVALIDARG);
    char name[32];
    EXPECT_EQ(menu.GetCommandString(0, GCS_VERBA, nullptr, name, 32), E_NOTIMPL);
    EXPECT_TRUE(clicks.empty());
}

TEST_F(ContextMenuTest, AnswersAsContextMenuWithoutCountingReferences) {
    void* out = nullptr;
    ASSERT_EQ(menu.QueryInterface(IID_IContextMenu, &out), S_OK);
    EXPECT_EQ(out, static_cast<IContextMenu*>(&menu));
    ASSERT_EQ(menu.QueryInterface(IID_IUnknown, &out), S_OK);
    EXPECT_EQ(menu.QueryInterface(IID_IDropTarget, &out), E_NOINTERFACE);
    EXPECT_EQ(out, nullptr);
    EXPECT_EQ(menu.AddRef(), static_cast<ULONG>(-1));
    EXPECT_EQ(menu.Release(), static_cast<ULONG>(-1));
}

TEST_F(ContextMenuTest, AFailingCommandIsReportedAndNeverCrossesIntoTheShell) {
    std::vector<std::wstring> reported;
    gui::Application::Instance().SetReporter([&](const std::wstring& text) { reported.push_back(text); });
    int started = 0, ended = 0;
    menu.OnCommandStart = [&] { ++started; };
    menu.OnCommandEnd = [&] { ++ended; };
    menu.NewRootMnu().OnClick = [](gui::MenuItem&) { throw gui::UserError(L"壊れた"); };
    EXPECT_TRUE(FAILED(Invoke(ceNewRoot)));
    menu.NewRootMnu().OnClick = [](gui::MenuItem&) { throw std::runtime_error("x"); };
    EXPECT_TRUE(FAILED(Invoke(ceNewRoot)));
    gui::Application::Instance().SetReporter(nullptr);
    ASSERT_EQ(reported.size(), 2u);
    EXPECT_EQ(reported[0], L"壊れた");
    EXPECT_EQ(started, 2);
    EXPECT_EQ(ended, 2);
    // A menu handle that is none fails cleanly too.
    gui::Application::Instance().SetReporter([&](const std::wstring& text) { reported.push_back(text); });
    EXPECT_TRUE(FAILED(menu.QueryContextMenu(nullptr, 0, 1, 10, CMF_NORMAL)));
    gui::Application::Instance().SetReporter(nullptr);
}

} // namespace
