#include "gui/Dpi.h"

#include <algorithm>
#include <iterator>

namespace gui {
namespace {

// Loaded by name: GetDpiForWindow exists from Windows 10 (1607) and GetDpiForMonitor
// (shcore) from 8.1, and importing them would keep the program from starting before.
using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
using GetDpiForMonitorFunction = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
constexpr int kEffectiveDpi = 0; // MDT_EFFECTIVE_DPI

GetDpiForWindowFunction GetDpiForWindowEntry() {
    static auto entry = reinterpret_cast<GetDpiForWindowFunction>(
        ::GetProcAddress(::GetModuleHandleW(L"user32.dll"), "GetDpiForWindow"));
    return entry;
}

GetDpiForMonitorFunction GetDpiForMonitorEntry() {
    static auto entry = [] {
        HMODULE shcore = ::LoadLibraryExW(L"shcore.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
        if (shcore == nullptr) // systems without the safe search flag
            shcore = ::LoadLibraryW(L"shcore.dll");
        return shcore != nullptr
                   ? reinterpret_cast<GetDpiForMonitorFunction>(::GetProcAddress(shcore, "GetDpiForMonitor"))
                   : nullptr;
    }();
    return entry;
}

} // namespace

int SaneDpi(int dpi) {
    if (dpi <= 0)
        return kDesignDpi;
    return std::clamp(dpi, 48, 1536);
}

int ScaleForDpi(int value, int dpi) {
    return ::MulDiv(value, SaneDpi(dpi), kDesignDpi);
}

int SystemDpi() {
    HDC screen = ::GetDC(nullptr);
    int dpi = screen != nullptr ? ::GetDeviceCaps(screen, LOGPIXELSY) : kDesignDpi;
    if (screen != nullptr)
        ::ReleaseDC(nullptr, screen);
    return SaneDpi(dpi);
}

int DpiOfMonitor(HMONITOR monitor) {
    UINT x = 0;
    UINT y = 0;
    if (auto entry = GetDpiForMonitorEntry();
        entry != nullptr && monitor != nullptr && SUCCEEDED(entry(monitor, kEffectiveDpi, &x, &y)) && y != 0)
        return SaneDpi(static_cast<int>(y));
    return SystemDpi();
}

int DpiOfWindow(HWND window) {
    if (window == nullptr || !::IsWindow(window))
        return SystemDpi();
    if (auto entry = GetDpiForWindowEntry()) {
        if (UINT dpi = entry(window); dpi != 0)
            return SaneDpi(static_cast<int>(dpi));
    }
    return DpiOfMonitor(::MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST));
}

int GlyphSizeForDpi(int dpi) {
    int wanted = ScaleForDpi(16, dpi);
    int chosen = kGlyphSizes[0];
    for (int size : kGlyphSizes) {
        if (size <= wanted)
            chosen = size;
    }
    return chosen;
}

int GlyphResourceId(int id16, int size) {
    int step = 0;
    for (int i = 0; i < static_cast<int>(std::size(kGlyphSizes)); ++i) {
        if (kGlyphSizes[i] == size)
            step = i;
    }
    return id16 + 1000 * step;
}

} // namespace gui
