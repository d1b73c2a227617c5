// Kestrav.exe reached from another program without a mouse: its hotkey opens the panel
// with the keyboard focus in a tree, Escape closes it and gives the focus back.
#include "KestravProcess.h"

#include "support/Keyboard.h"
#include "support/Pump.h"

#include <gtest/gtest.h>
#include <oleacc.h>
#include <shlobj.h>
#include <wrl/client.h>

#include <algorithm>
#include <string>
#include <vector>

using namespace e2e;
using testing_support::PressKey;
using testing_support::PressKeys;

namespace {

// The window the user works in before pressing the hotkey: one of this program's.
class WorkWindow {
public:
    WorkWindow() {
        WNDCLASSW cls{};
        cls.lpfnWndProc = DefWindowProcW;
        cls.hInstance = GetModuleHandleW(nullptr);
        cls.lpszClassName = L"KestravE2EWorkWindow";
        RegisterClassW(&cls);
        window_ = CreateWindowExW(0, cls.lpszClassName, L"work", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 600, 200,
                                  400, 300, nullptr, nullptr, cls.hInstance, nullptr);
    }
    ~WorkWindow() { DestroyWindow(window_); }
    HWND Window() const { return window_; }

private:
    HWND window_ = nullptr;
};

std::wstring ClassOf(HWND window) {
    wchar_t name[64] = {};
    if (window != nullptr)
        GetClassNameW(window, name, 64);
    return name;
}

// The window that has the keyboard focus in another program's thread.
HWND FocusOf(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info))
        return nullptr;
    return info.hwndFocus;
}

int WidthOf(HWND window) {
    RECT r = WindowBounds(window);
    return r.right - r.left;
}

// Waits for a state another program brings about while this program's own window keeps
// answering the system.
::testing::AssertionResult Await(const std::string& what, const std::function<bool()>& condition) {
    if (testing_support::PumpUntil(condition, 10000))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "waited 10 s for " << what << " in vain";
}

std::wstring DataFileOf(const std::wstring& exeTitle) {
    wchar_t appData[MAX_PATH] = {};
    SHGetSpecialFolderPathW(nullptr, appData, CSIDL_APPDATA, FALSE);
    return std::wstring(appData) + L"\\Tamberlow\\Kestrav\\" + exeTitle + L".xml";
}

TEST(Keyboard, TheHotkeyOpensThePanelWithTheFocusInATreeAndEscapeGivesTheFocusBack) {
    std::wstring exe = KestravExe();
    std::wstring copy = exe.substr(0, exe.find_last_of(L'\\') + 1) + L"KestravKeyboardE2E.exe";
    ASSERT_TRUE(CopyFileW(exe.c_str(), copy.c_str(), FALSE));
    std::wstring dataFile = DataFileOf(L"KestravKeyboardE2E");
    DeleteFileW(dataFile.c_str());
    {
        KestravProcess kestrav(copy);
        HWND window = kestrav.Window();
        ASSERT_NE(window, nullptr);
        ASSERT_EQ(WidthOf(window), 4);
        WorkWindow work;
        SetForegroundWindow(work.Window());
        ASSERT_TRUE(
            Await("the work window in front", [&] { return GetForegroundWindow() == work.Window(); }));

        // The default hotkey, Ctrl+Shift+F11, as the keyboard gives it: Wine delivers it
        // to the program that registered it.
        ASSERT_TRUE(PressKeys({VK_CONTROL, VK_SHIFT}, VK_F11));
        ASSERT_TRUE(Await("the panel open and in front",
                          [&] { return WidthOf(window) > 100 && GetForegroundWindow() == window; }));
        EXPECT_TRUE(
            Await("the focus in a tree", [&] { return ClassOf(FocusOf(window)) == L"SysTreeView32"; }))
            << "the focus is in a window of class " << testing::PrintToString(ClassOf(FocusOf(window)));

        // With the pointer away it stays open (until the pointer has come and gone).
        testing_support::PumpUntil([] { return false; }, 1500);
        EXPECT_GT(WidthOf(window), 100);

        PressKey(VK_ESCAPE);
        EXPECT_TRUE(Await("the panel closed", [&] { return WidthOf(window) == 4; }));
        EXPECT_TRUE(
            Await("the work window in front again", [&] { return GetForegroundWindow() == work.Window(); }));
        EXPECT_EQ(GetFocus(), work.Window());
        EXPECT_EQ(kestrav.Close(), 0);
    }
    DeleteFileW(dataFile.c_str());
    DeleteFileW(copy.c_str());
}

// A screen reader is another program: it reads the title bar's buttons and the window
// through the system's accessibility interface, across processes.
TEST(Keyboard, AScreenReaderInAnotherProgramReadsTheButtonsAndTheWindow) {
    // Under another name, the window's name is that title, not its window text.
    std::wstring exe = KestravExe();
    std::wstring copy = exe.substr(0, exe.find_last_of(L'\\') + 1) + L"KestravReaderE2E.exe";
    ASSERT_TRUE(CopyFileW(exe.c_str(), copy.c_str(), FALSE));
    KestravProcess kestrav(copy);
    HWND window = kestrav.Window();
    ASSERT_NE(window, nullptr);
    struct Search {
        std::vector<HWND> buttons;
    } search;
    EnumChildWindows(
        window,
        [](HWND child, LPARAM param) -> BOOL {
            if (ClassOf(child) == L"GuiSpeedButton" &&
                GetParent(GetParent(child)) == GetAncestor(child, GA_ROOT))
                reinterpret_cast<Search*>(param)->buttons.push_back(child);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    ASSERT_EQ(search.buttons.size(), 4u);
    auto read = [](HWND target, LONG object, std::wstring& name, long& role, long& state) {
        Microsoft::WRL::ComPtr<IAccessible> accessible;
        HRESULT hr = AccessibleObjectFromWindow(target, static_cast<DWORD>(object), __uuidof(IAccessible),
                                                reinterpret_cast<void**>(accessible.GetAddressOf()));
        if (FAILED(hr))
            return hr;
        VARIANT self;
        self.vt = VT_I4;
        self.lVal = CHILDID_SELF;
        BSTR text = nullptr;
        hr = accessible->get_accName(self, &text);
        if (text != nullptr) {
            name = text;
            SysFreeString(text);
        }
        VARIANT value;
        VariantInit(&value);
        if (SUCCEEDED(accessible->get_accRole(self, &value)) && value.vt == VT_I4)
            role = value.lVal;
        VariantInit(&value);
        if (SUCCEEDED(accessible->get_accState(self, &value)) && value.vt == VT_I4)
            state = value.lVal;
        return hr;
    };
    std::vector<std::wstring> names;
    for (HWND button : search.buttons) {
        std::wstring name;
        long role = 0, state = 0;
        ASSERT_EQ(read(button, OBJID_CLIENT, name, role, state), S_OK);
        EXPECT_EQ(role, ROLE_SYSTEM_PUSHBUTTON);
        names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    std::vector<std::wstring> hints = {L"オプション", L"標準形式で表示", L"自動で折り畳む", L"終了"};
    std::sort(hints.begin(), hints.end());
    EXPECT_EQ(names, hints);
    std::wstring name;
    long role = 0, state = 0;
    ASSERT_EQ(read(window, OBJID_CLIENT, name, role, state), S_OK);
    EXPECT_EQ(name, L"KestravReaderE2E");
    EXPECT_NE(state & STATE_SYSTEM_COLLAPSED, 0);
    EXPECT_EQ(kestrav.Close(), 0);
    DeleteFileW(DataFileOf(L"KestravReaderE2E").c_str());
    DeleteFileW(copy.c_str());
}

} // namespace
