// Item paths against the real Shell in a temporary folder tree: the text form of an
// item, its resolution back, and partial resolution to the deepest existing item.
#include <windows.h>
#include <shlobj.h>
#include <wrl/client.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/TempFolder.h"
#include "support/TestFiles.h"
#include "shell/DelimitedText.h"
#include "shell/ItemPath.h"
#include "shell/RootDesignation.h"
#include "shell/ShellItems.h"

namespace {

using Microsoft::WRL::ComPtr;
using shell::FindItemByPath;
using shell::GetItemPath;
using List = std::vector<std::wstring>;

class ItemPathTest : public testing::Test {
protected:
    void SetUp() override {
        // Names that need quoting in delimited text, and Japanese ones.
        ASSERT_TRUE(testing_support::MakeFolder(temp_ / L"a b\\日本語\\x,y\\it's"));
        ASSERT_TRUE(testing_support::MakeFile(temp_ / L"a b\\file.txt"));
        ASSERT_TRUE(testing_support::MakeFile(temp_ / L"a b\\日本語\\x,y\\it's\\最後.txt"));
        ASSERT_TRUE(testing_support::MakeFile(temp_ / L"hidden.txt"));
        ASSERT_TRUE(::SetFileAttributesW((temp_ / L"hidden.txt").c_str(), FILE_ATTRIBUTE_HIDDEN));
    }

    ComPtr<IShellItem> Item(const std::wstring& relative) {
        return shell::RootToShellItem(relative.empty() ? temp_.Path() : temp_ / relative);
    }

    testing_support::TempFolder temp_;
};

TEST_F(ItemPathTest, DesktopIsTheEmptyPath) {
    ComPtr<IShellItem> desktop = shell::GetDesktopItem();
    ASSERT_TRUE(desktop);
    EXPECT_EQ(GetItemPath(desktop.Get()), L"");
    ComPtr<IShellItem> found;
    EXPECT_TRUE(FindItemByPath(nullptr, L"", found));
    EXPECT_TRUE(shell::SameShellItem(found.Get(), desktop.Get()));
    EXPECT_EQ(GetItemPath(nullptr), L"");
}

TEST_F(ItemPathTest, PathEndsWithTheItemsOwnNames) {
    ComPtr<IShellItem> item = Item(L"a b\\日本語\\x,y\\it's\\最後.txt");
    ASSERT_TRUE(item);
    const List components = shell::DecodeDelimitedText(GetItemPath(item.Get()), L'\\');
    ASSERT_GE(components.size(), 6u);
    const List tail(components.end() - 5, components.end());
    EXPECT_EQ(tail, (List{L"a b", L"日本語", L"x,y", L"it's", L"最後.txt"}));
    // The first component is a child of the desktop, not the desktop itself.
    ComPtr<IShellItem> first;
    EXPECT_TRUE(FindItemByPath(nullptr, shell::EncodeDelimitedText({components.front()}, L'\\'), first));
    ComPtr<IShellItem> parent;
    ASSERT_TRUE(SUCCEEDED(first->GetParent(&parent)));
    EXPECT_TRUE(shell::SameShellItem(parent.Get(), shell::GetDesktopItem().Get()));
}

TEST_F(ItemPathTest, PathsResolveBackToTheirItems) {
    for (const wchar_t* relative : {L"", L"a b", L"a b\\file.txt", L"a b\\日本語\\x,y",
                                         L"a b\\日本語\\x,y\\it's\\最後.txt", L"hidden.txt"}) {
        SCOPED_TRACE(testing::Message() << testing::PrintToString(relative));
        ComPtr<IShellItem> item = Item(relative);
        ASSERT_TRUE(item);
        ComPtr<IShellItem> found;
        EXPECT_TRUE(FindItemByPath(nullptr, GetItemPath(item.Get()), found));
        EXPECT_TRUE(shell::SameShellItem(found.Get(), item.Get()));
    }
}

TEST_F(ItemPathTest, MissingTailGivesTheDeepestExistingItem) {
    const std::wstring folderPath = GetItemPath(Item(L"a b\\日本語").Get());
    const std::wstring filePath = GetItemPath(Item(L"a b\\file.txt").Get());
    struct Case {
        std::wstring path;
        std::wstring deepest; // relative to the temporary folder
    };
    const Case cases[] = {
        {folderPath + L"\\gone", L"a b\\日本語"},
        {folderPath + L"\\gone\\x,y", L"a b\\日本語"},
        {folderPath + L"\\\"X,Y\"", L"a b\\日本語"}, // names compare with their case
        {folderPath + L"\\", L"a b\\日本語"},        // a trailing delimiter adds an empty name
        {filePath + L"\\below a file", L"a b\\file.txt"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << testing::PrintToString(c.path));
        ComPtr<IShellItem> found;
        EXPECT_FALSE(FindItemByPath(nullptr, c.path, found));
        EXPECT_TRUE(shell::SameShellItem(found.Get(), Item(c.deepest).Get()));
    }
}

TEST_F(ItemPathTest, NothingFoundGivesTheDesktop) {
    std::wstring longPath;
    while (longPath.size() < 1000)
        longPath += L"very long component name\\";
    for (const std::wstring& path : {std::wstring(L"no such item\\at all"), std::wstring(L"\""),
                                     std::wstring(L",,,"), longPath, std::wstring(5000, L'\\')}) {
        SCOPED_TRACE(testing::Message() << "path of length " << path.size());
        ComPtr<IShellItem> found;
        EXPECT_FALSE(FindItemByPath(nullptr, path, found));
        EXPECT_TRUE(shell::SameShellItem(found.Get(), shell::GetDesktopItem().Get()));
    }
}

// A resolver keeps the folders of the last path it found; what it answers is still
// what a fresh lookup answers, also when a kept folder was renamed in between.
TEST_F(ItemPathTest, AResolverAnswersAsAFreshLookup) {
    const std::wstring base = GetItemPath(Item(L"").Get());
    struct Step {
        std::wstring renameFrom; // relative; renamed to renameTo before the lookup
        std::wstring renameTo;
        List components; // below the temporary folder
        bool found;
        std::wstring deepest; // relative
    };
    const Step steps[] = {
        {L"", L"", {L"a b", L"日本語", L"x,y", L"it's"}, true, L"a b\\日本語\\x,y\\it's"},
        {L"",
         L"",
         {L"a b", L"日本語", L"x,y", L"it's", L"最後.txt"},
         true,
         L"a b\\日本語\\x,y\\it's\\最後.txt"},
        {L"", L"", {L"a b", L"file.txt"}, true, L"a b\\file.txt"},
        {L"",
         L"",
         {L"a b", L"日本語", L"x,y", L"it's", L"最後.txt"},
         true,
         L"a b\\日本語\\x,y\\it's\\最後.txt"},
        // The kept folders x,y and it's are gone under these names.
        {L"a b\\日本語\\x,y",
         L"a b\\日本語\\z",
         {L"a b", L"日本語", L"x,y", L"it's", L"最後.txt"},
         false,
         L"a b\\日本語"},
        {L"", L"", {L"a b", L"日本語", L"z", L"it's", L"最後.txt"}, true, L"a b\\日本語\\z\\it's\\最後.txt"},
        {L"", L"", {L"a b", L"日本語", L"z", L"gone"}, false, L"a b\\日本語\\z"},
        {L"", L"", {}, true, L""},
    };
    shell::ItemPathResolver resolver;
    for (const Step& step : steps) {
        std::wstring path = step.components.empty()
                                ? base
                                : base + L"\\" + shell::EncodeDelimitedText(step.components, L'\\');
        SCOPED_TRACE(testing::Message()
                     << testing::PrintToString(shell::EncodeDelimitedText(step.components, L'/')));
        if (!step.renameFrom.empty()) {
            ASSERT_TRUE(::MoveFileW((temp_ / step.renameFrom).c_str(), (temp_ / step.renameTo).c_str()));
        }
        ComPtr<IShellItem> kept;
        ComPtr<IShellItem> fresh;
        EXPECT_EQ(resolver.Find(nullptr, path, kept), step.found);
        EXPECT_EQ(FindItemByPath(nullptr, path, fresh), step.found);
        EXPECT_TRUE(shell::SameShellItem(kept.Get(), Item(step.deepest).Get()));
        EXPECT_TRUE(shell::SameShellItem(kept.Get(), fresh.Get()));
    }
}

} // namespace
