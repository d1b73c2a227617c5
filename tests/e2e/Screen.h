#pragma once
// What the screen shows, for steps that wait until a window has drawn or laid out what a
// user would see.
#include <windows.h>

#include <string>
#include <vector>

namespace e2e {

// The colours of a screen rectangle, row by row (copied at once, so from one moment).
inline std::vector<COLORREF> ScreenPixels(const RECT& r) {
    const int width = r.right - r.left, height = r.bottom - r.top;
    if (width <= 0 || height <= 0)
        return {};
    std::vector<RGBQUAD> bits(static_cast<size_t>(width) * height);
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, r.left, r.top, SRCCOPY);
    SelectObject(memory, old);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height; // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    GetDIBits(memory, bitmap, 0, static_cast<UINT>(height), bits.data(), &info, DIB_RGB_COLORS);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    std::vector<COLORREF> pixels;
    pixels.reserve(bits.size());
    for (const RGBQUAD& q : bits)
        pixels.push_back(RGB(q.rgbRed, q.rgbGreen, q.rgbBlue));
    return pixels;
}

// The visible child window of a top-level window at a screen point; null where the
// point shows something else (the window itself, another window, nothing).
inline HWND ChildAt(HWND topLevel, POINT p) {
    HWND under = WindowFromPoint(p);
    if (under == nullptr || under == topLevel || !IsWindowVisible(under) ||
        GetAncestor(under, GA_ROOT) != topLevel)
        return nullptr;
    return under;
}

inline std::wstring ClassOf(HWND window) {
    wchar_t name[64] = {};
    return window != nullptr && GetClassNameW(window, name, 64) != 0 ? name : L"";
}

} // namespace e2e
