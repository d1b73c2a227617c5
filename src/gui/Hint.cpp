#include "gui/Hint.h"

#include "gui/Application.h"
#include "gui/Dpi.h"
#include "gui/Fonts.h"
#include "gui/Handles.h"
#include "gui/Window.h"

#include <commctrl.h>
#include <utility>
#include <vector>

namespace gui {
namespace {

TTTOOLINFOW ToolFor(HWND control) {
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof(tool);
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = ::GetParent(control) != nullptr ? ::GetParent(control) : control;
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    return tool;
}

// The font made for the tooltip; it lives as long as the program, as the tooltip does.
unique_hfont& HintFontSlot() {
    static unique_hfont font;
    return font;
}

int& HintDpiSlot() {
    static int dpi = 0;
    return dpi;
}

} // namespace

HFONT HintFont() {
    return HintFontSlot().get();
}

void SetHintDpi(int dpi) {
    dpi = SaneDpi(dpi);
    HWND tooltip = HintWindow();
    if (dpi == HintDpiSlot() && HintFont() != nullptr)
        return;
    LOGFONTW font{};
    int fontDpi = SystemDpi(); // the system describes its fonts at its own DPI
    if (!SystemStatusFont(font)) {
        font = DefaultLogFont();
        fontDpi = kDesignDpi;
    }
    font.lfHeight = ::MulDiv(font.lfHeight, dpi, fontDpi);
    font.lfWidth = ::MulDiv(font.lfWidth, dpi, fontDpi);
    unique_hfont made = CreateFontFrom(font);
    if (!made)
        return;
    ::SendMessageW(tooltip, WM_SETFONT, reinterpret_cast<WPARAM>(made.get()), FALSE);
    ::SendMessageW(tooltip, TTM_SETMAXTIPWIDTH, 0, ScaleForDpi(400, dpi));
    // The old font goes only once the tooltip holds the new one.
    HintFontSlot() = std::move(made);
    HintDpiSlot() = dpi;
}

HWND HintWindow() {
    static HWND tooltip = nullptr;
    if (tooltip == nullptr || !::IsWindow(tooltip)) {
        tooltip = ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                                    CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                                    Application::Instance().Handle(), nullptr, ::GetModuleHandleW(nullptr), nullptr);
        ::SendMessageW(tooltip, TTM_SETMAXTIPWIDTH, 0, 400);
    }
    return tooltip;
}

void SetHint(const Window& control, const std::wstring& text) {
    if (control.Handle() == nullptr)
        return;
    HWND tooltip = HintWindow();
    TTTOOLINFOW tool = ToolFor(control.Handle());
    bool exists = ::SendMessageW(tooltip, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&tool)) != 0;
    tool = ToolFor(control.Handle());
    std::wstring copy = text;
    tool.lpszText = copy.data();
    if (text.empty()) {
        if (exists)
            ::SendMessageW(tooltip, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    } else if (exists) {
        ::SendMessageW(tooltip, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
    } else {
        ::SendMessageW(tooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    }
}

std::wstring HintOf(const Window& control) {
    if (control.Handle() == nullptr)
        return {};
    std::vector<wchar_t> buffer(1024, L'\0');
    TTTOOLINFOW tool = ToolFor(control.Handle());
    tool.lpszText = buffer.data();
    if (::SendMessageW(HintWindow(), TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&tool)) == 0)
        return {};
    ::SendMessageW(HintWindow(), TTM_GETTEXTW, buffer.size(), reinterpret_cast<LPARAM>(&tool));
    return buffer.data();
}

} // namespace gui
