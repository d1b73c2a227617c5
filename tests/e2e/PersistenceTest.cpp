// The data file seen from outside: a prepared file shows exactly as stored, an
// unchanged run leaves it byte for byte, and the end of the session saves like an exit.
#include "Input.h"
#include "KestravProcess.h"
#include "support/TempFolder.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <commctrl.h>
#include <shlobj.h>

#include <string>

using namespace e2e;
using testing_support::ReadBytes;
using testing_support::WriteBytes;

namespace {

// A copy of the program under a name of its own, so that its data file is its own too.
class PersistenceTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::wstring original = KestravExe();
        exe = original.substr(0, original.find_last_of(L'\\') + 1) + L"KestravPersistE2E.exe";
        ASSERT_TRUE(CopyFileW(original.c_str(), exe.c_str(), FALSE));
        wchar_t appData[MAX_PATH + 1] = {};
        ASSERT_TRUE(SHGetSpecialFolderPathW(nullptr, appData, CSIDL_APPDATA, FALSE));
        std::wstring folder = std::wstring(appData) + L"\\Tamberlow\\Kestrav";
        SHCreateDirectoryExW(nullptr, folder.c_str(), nullptr);
        dataFile = folder + L"\\KestravPersistE2E.xml";
    }
    void TearDown() override {
        DeleteFileW(dataFile.c_str());
        DeleteFileW(exe.c_str());
        MoveTo({900, 300});
    }
    RECT Work(HWND window) {
        MONITORINFO info{};
        info.cbSize = sizeof(info);
        GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &info);
        return info.rcWork;
    }
    static size_t FrameCount(HWND window) {
        size_t count = 0;
        EnumChildWindows(
            window,
            [](HWND child, LPARAM p) -> BOOL {
                wchar_t cls[32] = {};
                GetClassNameW(child, cls, 32);
                if (std::wstring(cls) == L"TNavFrame" && IsWindowVisible(child))
                    ++*reinterpret_cast<size_t*>(p);
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&count));
        return count;
    }

    std::wstring exe;
    std::wstring dataFile;
};

const std::string kPrepared = "\xEF\xBB\xBF<?xml version=\"1.0\"?>\r\n"
                              "<KestravPersistE2E>\r\n"
                              "  <Configuration>\r\n"
                              "    <ExpandWidth>420</ExpandWidth>\r\n"
                              "    <BaseColor>3153952</BaseColor>\r\n"
                              "    <ColorShift>0</ColorShift>\r\n"
                              "    <Maintains>14</Maintains>\r\n"
                              "  </Configuration>\r\n"
                              "  <Snapshot>\r\n"
                              "    <SnapEdge>4</SnapEdge>\r\n"
                              "    <Layout>3</Layout>\r\n"
                              "    <Frames>\r\n"
                              "      <Id.1>\r\n"
                              "        <Tree>\r\n"
                              "          <Height>200</Height>\r\n"
                              "          <Roots>\r\n"
                              "            <No.0>\r\n"
                              "              <Path>rfDesktop</Path>\r\n"
                              "            </No.0>\r\n"
                              "          </Roots>\r\n"
                              "        </Tree>\r\n"
                              "      </Id.1>\r\n"
                              "      <Id.2>\r\n"
                              "        <Tree>\r\n"
                              "          <Roots>\r\n"
                              "            <No.0>\r\n"
                              "              <Path>rfDesktop</Path>\r\n"
                              "            </No.0>\r\n"
                              "          </Roots>\r\n"
                              "        </Tree>\r\n"
                              "      </Id.2>\r\n"
                              "    </Frames>\r\n"
                              "  </Snapshot>\r\n"
                              "</KestravPersistE2E>\r\n";

TEST_F(PersistenceTest, APreparedFileShowsAsStoredAndAnUnchangedRunLeavesIt) {
    WriteBytes(dataFile, kPrepared);
    {
        KestravProcess kestrav(exe);
        HWND window = kestrav.Window();
        ASSERT_NE(window, nullptr);
        RECT work = Work(window);
        ASSERT_TRUE(WaitFor([&] { return WindowBounds(window).right == work.right; }))
            << "not at the right edge";
        RECT r = WindowBounds(window);
        EXPECT_EQ(r.right - r.left, 420);
        EXPECT_EQ(r.top, work.top);
        EXPECT_EQ(GetWindowLongPtrW(window, GWLP_USERDATA), 4);
        EXPECT_EQ(GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_LAYERED, 0) << "pinned open, so opaque";
        EXPECT_TRUE(WaitFor([&] { return FrameCount(window) == 2; }));
        // The padding on the inner side shows the window's colour.
        Sleep(300);
        HDC screen = GetDC(nullptr);
        COLORREF pixel = GetPixel(screen, r.left + 1, r.top + 300);
        ReleaseDC(nullptr, screen);
        EXPECT_EQ(pixel, RGB(0x20, 0x20, 0x30));
        MoveTo({work.left + 300, work.top + 300}); // the pointer leaves; pinned, it stays open
        Sleep(1000);
        EXPECT_EQ(WindowBounds(window).right - WindowBounds(window).left, 420);
        EXPECT_EQ(kestrav.Close(), 0);
    }
    EXPECT_EQ(ReadBytes(dataFile), kPrepared);
}

TEST_F(PersistenceTest, TheEndOfTheSessionSavesTheNewEdge) {
    WriteBytes(dataFile, kPrepared);
    KestravProcess kestrav(exe);
    HWND window = kestrav.Window();
    ASSERT_NE(window, nullptr);
    RECT work = Work(window);
    ASSERT_TRUE(WaitFor([&] { return WindowBounds(window).right == work.right; }));
    Sleep(300);
    // The title bar runs down the right side; dragged into the top band it docks there.
    DragTo({work.right - 12, work.top + 400}, {(work.left + work.right) / 2, work.top + 5});
    ASSERT_TRUE(WaitFor([&] { return GetWindowLongPtrW(window, GWLP_USERDATA) == 1; }))
        << "not docked at the top";

    // What the system sends at log-off; then it ends the process.
    DWORD_PTR answer = 0;
    ASSERT_TRUE(SendMessageTimeoutW(window, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_ABORTIFHUNG, 5000,
                                    &answer));
    EXPECT_EQ(answer, TRUE);
    ASSERT_TRUE(
        SendMessageTimeoutW(window, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF, SMTO_ABORTIFHUNG, 5000, &answer));
    kestrav.Kill();
    std::string saved = ReadBytes(dataFile);
    EXPECT_NE(saved.find("<SnapEdge>1</SnapEdge>"), std::string::npos) << saved;
    EXPECT_NE(saved.find("<Id.2>"), std::string::npos) << "the frames are kept";
}

// The tree view of the edge window's first frame, or null.
HWND FirstTree(HWND window) {
    HWND found = nullptr;
    EnumChildWindows(
        window,
        [](HWND child, LPARAM p) -> BOOL {
            wchar_t cls[32] = {};
            GetClassNameW(child, cls, 32);
            if (std::wstring(cls) != WC_TREEVIEWW)
                return TRUE;
            *reinterpret_cast<HWND*>(p) = child;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
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

// Expands an item as a user does with the keyboard: selected, then the right arrow key
// (the tree fills an item's children when it is told of the expansion).
void ExpandByKey(HWND tree, HTREEITEM item) {
    SendMessageW(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
    SendMessageW(tree, WM_KEYDOWN, VK_RIGHT, 0);
    SendMessageW(tree, WM_KEYUP, VK_RIGHT, 0);
}

// A whole round through the real program: items the user expanded are saved at the exit
// and expanded again by the restore of the next start, without the test knowing the
// form the file stores them in.
TEST_F(PersistenceTest, ExpandedItemsComeBackAfterARestart) {
    testing_support::TempFolder folder;
    folder.MakeFolder(L"Root\\a\\inner");
    folder.MakeFolder(L"Root\\b");
    WriteBytes(dataFile, "\xEF\xBB\xBF<?xml version=\"1.0\"?>\r\n"
                         "<KestravPersistE2E><Configuration><Maintains>14</Maintains></Configuration>"
                         "<Snapshot><Layout>3</Layout><Frames><Id.0><Tree><Roots><No.0><Path>" +
                             std::string(folder.Path().begin(), folder.Path().end()) +
                             "\\Root</Path></No.0></Roots></Tree></Id.0></Frames></Snapshot>"
                             "</KestravPersistE2E>\r\n");
    {
        KestravProcess kestrav(exe);
        ASSERT_NE(kestrav.Window(), nullptr);
        HWND tree = nullptr;
        HTREEITEM root = nullptr;
        ASSERT_TRUE(WaitUntil("the root in the tree", [&] {
            tree = FirstTree(kestrav.Window());
            return tree != nullptr && (root = TreeItem(tree, TVGN_ROOT)) != nullptr;
        }));
        ExpandByKey(tree, root);
        HTREEITEM a = nullptr;
        ASSERT_TRUE(WaitUntil("the root expanded by the key", [&] {
            return Expanded(tree, root) && (a = TreeItem(tree, TVGN_CHILD, root)) != nullptr;
        }));
        ExpandByKey(tree, a);
        ASSERT_TRUE(WaitUntil("its first folder expanded by the key", [&] { return Expanded(tree, a); }));
        EXPECT_EQ(kestrav.Close(), 0);
    }
    std::string saved = ReadBytes(dataFile);
    ASSERT_NE(saved.find("<Expands>"), std::string::npos) << saved;

    KestravProcess again(exe);
    ASSERT_NE(again.Window(), nullptr);
    HWND tree = nullptr;
    HTREEITEM root = nullptr;
    ASSERT_TRUE(WaitUntil("the root in the tree after the restart", [&] {
        tree = FirstTree(again.Window());
        return tree != nullptr && (root = TreeItem(tree, TVGN_ROOT)) != nullptr;
    }));
    EXPECT_TRUE(WaitUntil(
        "the root and its first folder expanded again",
        [&] { return Expanded(tree, root) && Expanded(tree, TreeItem(tree, TVGN_CHILD, root)); }, 20000));
    HTREEITEM b = TreeItem(tree, TVGN_NEXT, TreeItem(tree, TVGN_CHILD, root));
    ASSERT_NE(b, nullptr);
    EXPECT_FALSE(Expanded(tree, b)) << "a folder the user left closed stays closed";
    EXPECT_EQ(again.Close(), 0);
}

} // namespace
