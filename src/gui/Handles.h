#pragma once
// Move-only owners for the handles of the platform. Each wrapper frees its handle
// exactly once; put() resets first, so it can be handed to an out-parameter.
#include <windows.h>
#include <oleauto.h>
#include <objbase.h>
#include <commctrl.h>
#include <utility>

namespace gui {

template <typename T, typename Traits>
class unique_handle {
public:
    unique_handle() noexcept = default;
    explicit unique_handle(T value) noexcept : value_(value) {}
    unique_handle(const unique_handle&) = delete;
    unique_handle& operator=(const unique_handle&) = delete;
    unique_handle(unique_handle&& other) noexcept : value_(other.release()) {}
    unique_handle& operator=(unique_handle&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }
    ~unique_handle() { reset(); }

    T get() const noexcept { return value_; }
    explicit operator bool() const noexcept { return value_ != Traits::invalid(); }
    T release() noexcept { return std::exchange(value_, Traits::invalid()); }
    void reset(T value = Traits::invalid()) noexcept {
        T old = std::exchange(value_, value);
        if (old != Traits::invalid()) Traits::close(old);
    }
    T* put() noexcept {
        reset();
        return &value_;
    }

private:
    T value_ = Traits::invalid();
};

template <typename T, auto Close>
struct null_traits {
    static constexpr T invalid() noexcept { return nullptr; }
    static void close(T value) noexcept { Close(value); }
};

struct file_handle_traits {
    static HANDLE invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void close(HANDLE value) noexcept { ::CloseHandle(value); }
};

inline void DeleteGdiObject(HGDIOBJ object) noexcept { ::DeleteObject(object); }
inline void FreeCoTaskMem(void* memory) noexcept { ::CoTaskMemFree(memory); }

using unique_hwnd = unique_handle<HWND, null_traits<HWND, ::DestroyWindow>>;
using unique_hmenu = unique_handle<HMENU, null_traits<HMENU, ::DestroyMenu>>;
using unique_hfont = unique_handle<HFONT, null_traits<HFONT, DeleteGdiObject>>;
using unique_hbitmap = unique_handle<HBITMAP, null_traits<HBITMAP, DeleteGdiObject>>;
using unique_hbrush = unique_handle<HBRUSH, null_traits<HBRUSH, DeleteGdiObject>>;
using unique_hpen = unique_handle<HPEN, null_traits<HPEN, DeleteGdiObject>>;
using unique_hdc = unique_handle<HDC, null_traits<HDC, ::DeleteDC>>;
using unique_himagelist = unique_handle<HIMAGELIST, null_traits<HIMAGELIST, ::ImageList_Destroy>>;
using unique_handle_null = unique_handle<HANDLE, null_traits<HANDLE, ::CloseHandle>>;
using unique_hfile = unique_handle<HANDLE, file_handle_traits>;
using unique_bstr = unique_handle<BSTR, null_traits<BSTR, ::SysFreeString>>;
template <typename T = void>
using unique_cotaskmem = unique_handle<T*, null_traits<T*, FreeCoTaskMem>>;

// A VARIANT that is cleared when it goes.
class unique_variant {
public:
    unique_variant() noexcept { ::VariantInit(&value_); }
    unique_variant(const unique_variant&) = delete;
    unique_variant& operator=(const unique_variant&) = delete;
    ~unique_variant() { ::VariantClear(&value_); }
    VARIANT* put() noexcept {
        ::VariantClear(&value_);
        return &value_;
    }
    const VARIANT& get() const noexcept { return value_; }
    VARIANT& get() noexcept { return value_; }

private:
    VARIANT value_;
};

// Selects a GDI object into a device context for the lifetime of the guard.
class SelectGuard {
public:
    SelectGuard(HDC dc, HGDIOBJ object) noexcept : dc_(dc), old_(::SelectObject(dc, object)) {}
    SelectGuard(const SelectGuard&) = delete;
    SelectGuard& operator=(const SelectGuard&) = delete;
    ~SelectGuard() { ::SelectObject(dc_, old_); }

private:
    HDC dc_;
    HGDIOBJ old_;
};

} // namespace gui
