#pragma once
// Helpers of the tree control's tests: a host window and real shell items. Temporary
// folders, pumping and the application's reports come from tests/support.
#include "gui/Window.h"

#include <windows.h>
#include <shlobj.h>
#include <shobjidl.h>
#include <wrl/client.h>

#include <gtest/gtest.h>

#include <string>

namespace testsupport {

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

} // namespace testsupport
