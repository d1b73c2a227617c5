#pragma once
// Helpers of the tree control's tests: a host window, a temporary folder tree with
// real shell items, the reports of the application's exception reporter, and
// message pumping.
#include "gui/Application.h"
#include "gui/Window.h"
#include "shell/ShellModule.h"

#include <windows.h>
#include <shlobj.h>
#include <shobjidl.h>
#include <wrl/client.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace testsupport {

// The messages the application reported (the test program reports into this list
// instead of showing message boxes).
inline std::vector<std::wstring>& Reports() {
    static std::vector<std::wstring> reports;
    return reports;
}

// A top-level window that hosts the control under test; hidden unless asked.
class HostWindow : public gui::Window {
public:
    explicit HostWindow(int width = 400, int height = 300, bool visible = false) : gui::Window(nullptr) {
        SetBounds(gui::MakeRect(50, 50, width, height));
        CreateParams params;
        params.className = L"ShellCtrlsTestHost";
        params.style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
        CreateHandle(params);
        if (visible)
            Show();
    }
};

// Handles every queued message, a few rounds, so that posted follow-ups run too.
inline void Pump() {
    for (int round = 0; round < 3; ++round) {
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
}

inline void RemoveTree(const std::wstring& path) {
    WIN32_FIND_DATAW data;
    HANDLE find = ::FindFirstFileW((path + L"\\*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            std::wstring name = data.cFileName;
            if (name == L"." || name == L"..")
                continue;
            std::wstring child = path + L"\\" + name;
            if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
                RemoveTree(child);
            else
                ::DeleteFileW(child.c_str());
        } while (::FindNextFileW(find, &data));
        ::FindClose(find);
    }
    ::RemoveDirectoryW(path.c_str());
}

// A fresh folder below the temporary folder, removed with everything in it at the end.
class TempFolder {
public:
    TempFolder() {
        static int counter = 0;
        wchar_t temp[MAX_PATH];
        DWORD length = ::GetTempPathW(MAX_PATH, temp);
        std::wstring base(temp, length);
        if (!base.empty() && base.back() == L'\\')
            base.pop_back();
        // The long form, so that paths compare equal to the Shell's parsing names.
        wchar_t longBase[MAX_PATH];
        if (::GetLongPathNameW(base.c_str(), longBase, MAX_PATH) != 0)
            base = longBase;
        path_ = base + L"\\kestrav-shellctrls-" + std::to_wstring(::GetCurrentProcessId()) + L"-" +
                std::to_wstring(++counter);
        RemoveTree(path_);
        ::CreateDirectoryW(path_.c_str(), nullptr);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    ~TempFolder() { RemoveTree(path_); }

    const std::wstring& Path() const { return path_; }
    // Creates a sub-folder (relative path, parents first) and gives its full path.
    std::wstring MakeFolder(const std::wstring& relative) const {
        std::wstring full = path_;
        size_t start = 0;
        while (start <= relative.size()) {
            size_t end = relative.find(L'\\', start);
            if (end == std::wstring::npos)
                end = relative.size();
            full += L"\\" + relative.substr(start, end - start);
            ::CreateDirectoryW(full.c_str(), nullptr);
            start = end + 1;
        }
        return full;
    }
    std::wstring MakeFile(const std::wstring& relative) const {
        std::wstring full = Join(relative);
        HANDLE file = ::CreateFileW(full.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE)
            ::CloseHandle(file);
        return full;
    }
    std::wstring Join(const std::wstring& relative) const { return path_ + L"\\" + relative; }

private:
    std::wstring path_;
};

// The shell item of a parsing name; fails the test when there is none.
inline Microsoft::WRL::ComPtr<IShellItem> ItemOf(const std::wstring& parsingName) {
    Microsoft::WRL::ComPtr<IShellItem> item;
    HRESULT hr = ::SHCreateItemFromParsingName(parsingName.c_str(), nullptr, IID_PPV_ARGS(&item));
    EXPECT_TRUE(SUCCEEDED(hr) && item) << "no shell item for " << testing::PrintToString(parsingName);
    return item;
}

// An array of one item, as the Shell hands over a selection or dragged data.
inline Microsoft::WRL::ComPtr<IShellItemArray> ArrayOf(IShellItem* item) {
    Microsoft::WRL::ComPtr<IShellItemArray> array;
    EXPECT_HRESULT_SUCCEEDED(::SHCreateShellItemArrayFromShellItem(item, IID_PPV_ARGS(&array)));
    return array;
}

inline std::wstring ParsingNameOf(IShellItem* item) {
    if (item == nullptr)
        return {};
    wchar_t* name = nullptr;
    if (FAILED(item->GetDisplayName(SIGDN_DESKTOPABSOLUTEPARSING, &name)) || name == nullptr)
        return {};
    std::wstring text = name;
    ::CoTaskMemFree(name);
    return text;
}

inline bool SameItem(IShellItem* a, IShellItem* b) {
    if (a == nullptr || b == nullptr)
        return false;
    int order = 1;
    return SUCCEEDED(a->Compare(b, SICHINT_ALLFIELDS, &order)) && order == 0;
}

// Starts the shell helpers for the whole test program and makes the application
// report into Reports(); each test program registers it once.
class ShellEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        module_ = std::make_unique<shell::ShellModule>();
        gui::Application::Instance().SetReporter(
            [](const std::wstring& message) { Reports().push_back(message); });
    }
    void TearDown() override { module_.reset(); }

private:
    std::unique_ptr<shell::ShellModule> module_;
};

} // namespace testsupport
