#pragma once
// What the screen shows, for steps that wait until a window has drawn or laid out what a
// user would see.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "support/Wait.h"

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

// Waits until the layout of a top-level window (its own and its visible children's
// rectangles) has not changed for steadyMs: a step given to a layout that is still
// moving could land on what was there a moment before, which no user could do.
inline ::testing::AssertionResult LayoutSettled(HWND topLevel, DWORD steadyMs = 300, DWORD timeoutMs = 5000) {
    auto layout = [topLevel] {
        RECT own{};
        GetWindowRect(topLevel, &own);
        std::vector<RECT> rects{own};
        EnumChildWindows(
            topLevel,
            [](HWND child, LPARAM p) -> BOOL {
                if (IsWindowVisible(child)) {
                    RECT r{};
                    GetWindowRect(child, &r);
                    reinterpret_cast<std::vector<RECT>*>(p)->push_back(r);
                }
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&rects));
        return rects;
    };
    auto same = [](const std::vector<RECT>& a, const std::vector<RECT>& b) {
        return a.size() == b.size() &&
               std::equal(a.begin(), a.end(), b.begin(),
                          [](const RECT& x, const RECT& y) { return EqualRect(&x, &y) != FALSE; });
    };
    std::vector<RECT> last = layout();
    DWORD since = GetTickCount();
    return testing_support::WaitUntil(
        "the window's layout to stay put for " + std::to_string(steadyMs) + " ms",
        [&] {
            std::vector<RECT> now = layout();
            if (!same(now, last)) {
                last = std::move(now);
                since = GetTickCount();
            }
            return GetTickCount() - since >= steadyMs;
        },
        timeoutMs);
}

// The visible frames of an edge window in screen order (left to right, then top to bottom).
inline std::vector<HWND> FramesOf(HWND window) {
    std::vector<HWND> frames;
    EnumChildWindows(
        window,
        [](HWND child, LPARAM p) -> BOOL {
            wchar_t cls[32] = {};
            GetClassNameW(child, cls, 32);
            if (std::wstring(cls) == L"TNavFrame" && IsWindowVisible(child))
                reinterpret_cast<std::vector<HWND>*>(p)->push_back(child);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&frames));
    std::sort(frames.begin(), frames.end(), [](HWND a, HWND b) {
        RECT ra{}, rb{};
        GetWindowRect(a, &ra);
        GetWindowRect(b, &rb);
        return ra.left != rb.left ? ra.left < rb.left : ra.top < rb.top;
    });
    return frames;
}

inline std::wstring ClassOf(HWND window) {
    wchar_t name[64] = {};
    return window != nullptr && GetClassNameW(window, name, 64) != 0 ? name : L"";
}

} // namespace e2e
