// The data file seen from outside: a prepared file shows exactly as stored, an
// unchanged run leaves it byte for byte, and the end of the session saves like an exit.
#include "Input.h"
#include "KestravProcess.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <shlobj.h>

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
        MONITORINFO info{sizeof(info)};
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
        ASSERT_TRUE(WaitFor([&] { return WindowBounds(window).right == work.right; })) << "not at the right edge";
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
    ASSERT_TRUE(WaitFor([&] { return GetWindowLongPtrW(window, GWLP_USERDATA) == 1; })) << "not docked at the top";

    // What the system sends at log-off; then it ends the process.
    DWORD_PTR answer = 0;
    ASSERT_TRUE(SendMessageTimeoutW(window, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_ABORTIFHUNG, 5000, &answer));
    EXPECT_EQ(answer, TRUE);
    ASSERT_TRUE(SendMessageTimeoutW(window, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF, SMTO_ABORTIFHUNG, 5000, &answer));
    kestrav.Kill();
    std::string saved = ReadBytes(dataFile);
    EXPECT_NE(saved.find("<SnapEdge>1</SnapEdge>"), std::string::npos) << saved;
    EXPECT_NE(saved.find("<Id.2>"), std::string::npos) << "the frames are kept";
}

} // namespace
