// The options dialog driven with real input: opened from the title bar's options
// button, a strip width typed out of range, corrected, confirmed with OK.
#include "Input.h"
#include "KestravProcess.h"

#include <gtest/gtest.h>
#include <shlobj.h>

#include <string>
#include <vector>

using namespace e2e;

namespace {

std::vector<HWND> ChildrenOfClass(HWND parent, const wchar_t* className) {
    struct Search {
        const wchar_t* cls;
        std::vector<HWND> found;
    } search{className, {}};
    EnumChildWindows(
        parent,
        [](HWND wnd, LPARAM param) -> BOOL {
            auto* s = reinterpret_cast<Search*>(param);
            wchar_t cls[64] = {};
            GetClassNameW(wnd, cls, 64);
            if (std::wstring(cls) == s->cls)
                s->found.push_back(wnd);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// A control's text as it has it (another process's edit answers only WM_GETTEXT).
std::wstring TextOf(HWND wnd) {
    wchar_t text[256] = {};
    SendMessageW(wnd, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(text));
    return text;
}

POINT CenterOf(HWND wnd) {
    RECT r = WindowBounds(wnd);
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

void PressKey(WORD vk) {
    INPUT keys[2] = {};
    keys[0].type = keys[1].type = INPUT_KEYBOARD;
    keys[0].ki.wVk = keys[1].ki.wVk = vk;
    keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, keys, sizeof(INPUT));
    Sleep(50);
}

void TypeDigits(const char* digits) {
    for (const char* d = digits; *d; ++d)
        PressKey(static_cast<WORD>(*d));
}

// The program's data file for an executable name, as the program places it.
std::wstring DataFileOf(const std::wstring& exeTitle) {
    wchar_t appData[MAX_PATH] = {};
    SHGetSpecialFolderPathW(nullptr, appData, CSIDL_APPDATA, FALSE);
    return std::wstring(appData) + L"\\Tamberlow\\Kestrav\\" + exeTitle + L".xml";
}

std::string FileContent(const std::wstring& path) {
    HANDLE file =
        CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return {};
    std::string content(GetFileSize(file, nullptr), '\0');
    DWORD read = 0;
    ::ReadFile(file, content.data(), static_cast<DWORD>(content.size()), &read, nullptr);
    CloseHandle(file);
    content.resize(read);
    return content;
}

// The first run of digits after a name in the file's text.
std::string NumberAfter(const std::string& text, const std::string& name) {
    size_t at = text.find(name);
    if (at == std::string::npos)
        return {};
    at = text.find_first_of("0123456789", at + name.size());
    if (at == std::string::npos)
        return {};
    return text.substr(at, text.find_first_not_of("0123456789", at) - at);
}

TEST(Options, AStripWidthTypedOutOfRangeIsRefusedThenCorrectedAndSaved) {
    // A copy under its own name keeps its own data file.
    std::wstring exe = KestravExe();
    std::wstring copy = exe.substr(0, exe.find_last_of(L'\\') + 1) + L"KestravOptionsE2E.exe";
    ASSERT_TRUE(CopyFileW(exe.c_str(), copy.c_str(), FALSE));
    std::wstring dataFile = DataFileOf(L"KestravOptionsE2E");
    DeleteFileW(dataFile.c_str());
    {
        KestravProcess kestrav(copy);
        HWND window = kestrav.Window();
        ASSERT_NE(window, nullptr);
        RECT strip = WindowBounds(window);
        ASSERT_EQ(strip.right - strip.left, 4);
        ClickAt({strip.left + 1, strip.top + 400});
        ASSERT_TRUE(WaitFor([&] { return WindowBounds(window).right - WindowBounds(window).left > 100; }));

        // Docked left, the options button is the lowest of the title bar's buttons.
        std::vector<HWND> buttons;
        for (HWND button : ChildrenOfClass(window, L"GuiSpeedButton")) {
            if (GetParent(GetParent(button)) == window)
                buttons.push_back(button);
        }
        ASSERT_EQ(buttons.size(), 4u);
        HWND optionBtn = buttons[0];
        for (HWND button : buttons) {
            if (WindowBounds(button).top > WindowBounds(optionBtn).top)
                optionBtn = button;
        }
        ClickAt(CenterOf(optionBtn));
        HWND dialog = nullptr;
        ASSERT_TRUE(WaitFor([&] {
            dialog = FindWindowW(L"GuiModalForm", L"オプション");
            return dialog != nullptr && IsWindowVisible(dialog);
        }));
        std::vector<HWND> labels = ChildrenOfClass(dialog, L"GuiLabel");
        HWND warning = nullptr;
        for (HWND label : labels) {
            if (GetParent(label) == dialog)
                warning = label;
        }
        ASSERT_NE(warning, nullptr);
        HWND okButton = nullptr;
        for (HWND button : ChildrenOfClass(dialog, L"GuiButton")) {
            if (TextOf(button) == L"OK")
                okButton = button;
        }
        ASSERT_NE(okButton, nullptr);
        EXPECT_EQ(TextOf(warning), L"");

        // The first field is the strip width: type 50 over its text.
        HWND sizeEdt = ChildrenOfClass(dialog, L"GuiEdit").at(0);
        ASSERT_EQ(TextOf(sizeEdt), L"4");
        ClickAt(CenterOf(sizeEdt));
        ASSERT_TRUE(WaitFor([&] { return GetForegroundWindow() == dialog; }));
        PressKey(VK_END);
        PressKey(VK_BACK);
        TypeDigits("50");
        EXPECT_TRUE(WaitFor([&] { return TextOf(warning) == L"幅が範囲外です"; })) << TextOf(sizeEdt).size();
        EXPECT_FALSE(IsWindowEnabled(okButton));

        PressKey(VK_BACK);
        PressKey(VK_BACK);
        TypeDigits("20");
        EXPECT_TRUE(WaitFor([&] { return TextOf(warning).empty() && IsWindowEnabled(okButton); }));
        ClickAt(CenterOf(okButton));
        EXPECT_TRUE(WaitFor([&] { return !IsWindowVisible(dialog); }));

        // Away from the panel, it closes to a strip of the new width.
        MoveTo({900, 300});
        EXPECT_TRUE(WaitFor([&] { return WindowBounds(window).right - WindowBounds(window).left == 20; }))
            << WindowBounds(window).right - WindowBounds(window).left;

        // OK wrote the configuration (the file is replaced as a whole, so read until it is there).
        std::string content;
        EXPECT_TRUE(WaitFor([&] {
            content = FileContent(dataFile);
            return NumberAfter(content, "CollapseSize") == "20";
        })) << "data file: " << content.size() << " bytes";
        EXPECT_EQ(kestrav.Close(), 0);
    }
    DeleteFileW(dataFile.c_str());
    DeleteFileW(copy.c_str());
}

} // namespace
