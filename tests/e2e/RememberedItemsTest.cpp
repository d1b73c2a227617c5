// The remembered trees through the real program and ordinary use: a frame collapsed
// with its caption button after the restore keeps what is remembered, and a folder the
// user expanded before pressing F5 is saved at the exit.
#include "Input.h"
#include "KestravProcess.h"
#include "Screen.h"
#include "support/TempFolder.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <commctrl.h>
#include <shlobj.h>

#include <algorithm>
#include <string>
#include <vector>

using namespace e2e;
using testing_support::ReadBytes;
using testing_support::WriteBytes;

namespace {

// A copy of the program under a name of its own, so that its data file is its own too.
class RememberedItemsTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::wstring original = KestravExe();
        exe = original.substr(0, original.find_last_of(L'\\') + 1) + L"KestravRememberE2E.exe";
        ASSERT_TRUE(CopyFileW(original.c_str(), exe.c_str(), FALSE));
        wchar_t appData[MAX_PATH + 1] = {};
        ASSERT_TRUE(SHGetSpecialFolderPathW(nullptr, appData, CSIDL_APPDATA, FALSE));
        std::wstring data = std::wstring(appData) + L"\\Tamberlow\\Kestrav";
        SHCreateDirectoryExW(nullptr, data.c_str(), nullptr);
        dataFile = data + L"\\KestravRememberE2E.xml";
        for (const wchar_t* path : {L"Root\\a\\inner", L"Root\\b\\inner", L"Root\\c\\inner"})
            folder.MakeFolder(path);
        const std::wstring& root = folder.Path();
        WriteBytes(dataFile, "\xEF\xBB\xBF<?xml version=\"1.0\"?>\r\n<KestravRememberE2E><Configuration>"
                             "<Maintains>14</Maintains></Configuration><Snapshot><Layout>3</Layout><Frames>"
                             "<Id.0><Tree><Roots><No.0><Path>" +
                                 std::string(root.begin(), root.end()) +
                                 "\\Root</Path></No.0></Roots></Tree></Id.0></Frames></Snapshot>"
                                 "</KestravRememberE2E>\r\n");
    }
    void TearDown() override {
        DeleteFileW(dataFile.c_str());
        DeleteFileW(exe.c_str());
        MoveTo({900, 300});
    }
    // The text of the first root's "Expands" in the data file (empty when there is none).
    std::string StoredExpands() {
        std::string bytes = ReadBytes(dataFile);
        size_t start = bytes.find("<Expands>"), end = bytes.find("</Expands>");
        return start == std::string::npos || end == std::string::npos
                   ? std::string()
                   : bytes.substr(start + 9, end - start - 9);
    }

    testing_support::TempFolder folder;
    std::wstring exe;
    std::wstring dataFile;
};

HWND Descendant(HWND parent, const std::wstring& className) {
    struct Search {
        std::wstring name;
        HWND found = nullptr;
    } search{className};
    EnumChildWindows(
        parent,
        [](HWND child, LPARAM p) -> BOOL {
            auto* s = reinterpret_cast<Search*>(p);
            if (ClassOf(child) != s->name)
                return TRUE;
            s->found = child;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HTREEITEM TreeItem(HWND tree, UINT relation, HTREEITEM item = nullptr) {
    return reinterpret_cast<HTREEITEM>(
        SendMessageW(tree, TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(item)));
}

bool Expanded(HWND tree, HTREEITEM item) {
    return item != nullptr &&
           (SendMessageW(tree, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(item), TVIS_EXPANDED) &
            TVIS_EXPANDED) != 0;
}

// The root's children in the order shown, found afresh each time (a reload makes new items).
std::vector<HTREEITEM> Children(HWND tree) {
    std::vector<HTREEITEM> children;
    for (HTREEITEM item = TreeItem(tree, TVGN_CHILD, TreeItem(tree, TVGN_ROOT)); item != nullptr;
         item = TreeItem(tree, TVGN_NEXT, item))
        children.push_back(item);
    return children;
}

// Which of the root's first folders (a, b, c) are expanded, as "a", "ab", ...; "-" when
// the root itself is not.
std::string ExpandedFolders(HWND tree) {
    HTREEITEM root = TreeItem(tree, TVGN_ROOT);
    if (!Expanded(tree, root))
        return "-";
    std::string names;
    std::vector<HTREEITEM> children = Children(tree);
    for (size_t i = 0; i < children.size() && i < 3; ++i)
        if (Expanded(tree, children[i]))
            names += static_cast<char>('a' + i);
    return names;
}

// The tree of a program started over the saved file, once its restore has expanded the
// root and folder a again.
::testing::AssertionResult RestoredTree(KestravProcess& kestrav, HWND& tree) {
    ::testing::AssertionResult found =
        WaitUntil("the tree", [&] { return (tree = Descendant(kestrav.Window(), WC_TREEVIEWW)) != nullptr; });
    if (!found)
        return found;
    return WaitUntil(
        "the restore", [&] { return ExpandedFolders(tree) == "a"; }, 20000);
}

// Expands an item as a user does with the keyboard: selected, then the right arrow key.
void ExpandByKey(HWND tree, HTREEITEM item) {
    SendMessageW(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
    SendMessageW(tree, WM_KEYDOWN, VK_RIGHT, 0);
    SendMessageW(tree, WM_KEYUP, VK_RIGHT, 0);
}

TEST_F(RememberedItemsTest, ACollapsedFrameKeepsTheItemsAndAnExpansionBeforeF5IsSaved) {
    // Two folders expanded by the user, saved at the exit.
    {
        KestravProcess kestrav(exe);
        HWND tree = nullptr;
        ASSERT_TRUE(WaitUntil("the root in the tree", [&] {
            tree = Descendant(kestrav.Window(), WC_TREEVIEWW);
            return tree != nullptr && TreeItem(tree, TVGN_ROOT) != nullptr;
        }));
        ExpandByKey(tree, TreeItem(tree, TVGN_ROOT));
        ASSERT_TRUE(WaitUntil("the root expanded by the key", [&] { return Children(tree).size() == 3; }));
        ExpandByKey(tree, Children(tree)[0]);
        ASSERT_TRUE(WaitUntil("folder a expanded by the key", [&] { return ExpandedFolders(tree) == "a"; }));
        EXPECT_EQ(kestrav.Close(), 0);
    }
    const std::string expands = StoredExpands();
    ASSERT_NE(std::count(expands.begin(), expands.end(), ','), 0) << "two items: " << expands;

    // The restore puts them back; collapsing the frame with its caption button changes
    // the frame layout, and the exit keeps the remembered items as they were.
    {
        KestravProcess kestrav(exe);
        HWND tree = nullptr;
        ASSERT_TRUE(RestoredTree(kestrav, tree));
        HWND frame = Descendant(kestrav.Window(), L"TNavFrame");
        ASSERT_NE(frame, nullptr);
        // The caption bar's buttons from the right: close, then the switching button.
        std::vector<HWND> buttons;
        EnumChildWindows(
            frame,
            [](HWND child, LPARAM p) -> BOOL {
                if (ClassOf(child) == L"GuiSpeedButton")
                    reinterpret_cast<std::vector<HWND>*>(p)->push_back(child);
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&buttons));
        ASSERT_EQ(buttons.size(), 3u);
        std::sort(buttons.begin(), buttons.end(),
                  [](HWND a, HWND b) { return WindowBounds(a).left > WindowBounds(b).left; });
        const RECT switching = WindowBounds(buttons[1]);
        const int openHeight = WindowBounds(frame).bottom - WindowBounds(frame).top;
        ASSERT_TRUE(LayoutSettled(kestrav.Window()));
        ASSERT_TRUE(
            ClickAt({(switching.left + switching.right) / 2, (switching.top + switching.bottom) / 2}));
        ASSERT_TRUE(WaitUntil("the frame collapsed to its caption bar", [&] {
            RECT bounds = WindowBounds(frame);
            return bounds.bottom - bounds.top < openHeight / 2;
        }));
        EXPECT_EQ(kestrav.Close(), 0);
    }
    EXPECT_EQ(StoredExpands(), expands);
    EXPECT_NE(ReadBytes(dataFile).find("<Collapsed>-1</Collapsed>"), std::string::npos)
        << "the frame was saved";

    // One more folder expanded, then F5 (which reloads the root and restores it): the
    // new folder is saved at the exit. A folder made meanwhile without telling the
    // Shell shows once the root is reloaded.
    {
        KestravProcess kestrav(exe);
        HWND tree = nullptr;
        ASSERT_TRUE(RestoredTree(kestrav, tree));
        ExpandByKey(tree, Children(tree)[1]);
        ASSERT_TRUE(WaitUntil("folder b expanded by the key", [&] { return ExpandedFolders(tree) == "ab"; }));
        folder.MakeFolder(L"Root\\d");
        ASSERT_EQ(Children(tree).size(), 3u);
        SendMessageW(tree, WM_KEYDOWN, VK_F5, 0);
        SendMessageW(tree, WM_KEYUP, VK_F5, 0);
        ASSERT_TRUE(WaitUntil(
            "the root reloaded and restored, b selected again",
            [&] {
                std::vector<HTREEITEM> children = Children(tree);
                return children.size() == 4 && ExpandedFolders(tree) == "ab" &&
                       TreeItem(tree, TVGN_CARET) == children[1];
            },
            20000));
        EXPECT_EQ(kestrav.Close(), 0);
    }
    const std::string after = StoredExpands();
    EXPECT_GT(after.size(), expands.size()) << after;
    EXPECT_NE(after.find("\\b"), std::string::npos) << after;
    EXPECT_EQ(after.find("\\c"), std::string::npos) << after;
}

} // namespace
