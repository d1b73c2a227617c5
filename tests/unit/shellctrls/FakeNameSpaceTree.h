#pragma once
// A recording stand-in for the Shell's namespace tree. It logs every call it
// receives (in order, with its arguments) into a log shared with the test, keeps its
// roots in a list, and creates in Initialize a real child window with a real
// "SysTreeView32" inside, so that subclassing, focus and scrolling can be tested
// against it. Like the Shell's tree it raises OnItemDeleted for every root it takes
// out. Results can be set per method; SetControlStyle refuses flags as the test asks
// (as some trees refuse flags they cannot change).
#include <windows.h>
#include <commctrl.h>
#include <shobjidl.h>
#include <wrl/client.h>

#include <algorithm>
#include <functional>
#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace fake {

struct TreeRoot {
    Microsoft::WRL::ComPtr<IShellItem> item;
    SHCONTF filters = 0;
    NSTCROOTSTYLE style = 0;
    IShellItemFilter* filter = nullptr;
};

// What every fake tree of one test writes to, and how it behaves.
struct TreeLog {
    std::vector<std::wstring> calls;
    int created = 0;
    int alive = 0;
    // Results by method name (default S_OK).
    std::map<std::wstring, HRESULT> results;
    // SetControlStyle / SetControlStyle2 fail (E_FAIL) when the mask has any of these.
    NSTCSTYLE refusedStyleMask = 0;
    DWORD refusedStyle2Mask = 0;
    bool offersTree2 = true;
    // The state of the newest tree.
    std::vector<TreeRoot> roots;
    Microsoft::WRL::ComPtr<IUnknown> advised;
    NSTCSTYLE styles = 0;
    DWORD styles2 = 0;
    HWND window = nullptr;
    HWND view = nullptr;
    // Runs (once) when the tree has taken a root by AppendRoot or InsertRoot, as the
    // Shell's tree calls back into its sinks while it adds a root.
    std::function<void()> onRootAdded;

    HRESULT Result(const std::wstring& method) const {
        auto it = results.find(method);
        return it == results.end() ? S_OK : it->second;
    }
    void Clear() { calls.clear(); }
};

inline std::wstring Hex(unsigned long value) {
    wchar_t text[16];
    std::swprintf(text, 16, L"0x%lX", value);
    return text;
}

// The item's plain name as the logs show it; "nil" for none.
inline std::wstring NameOf(IShellItem* item) {
    if (item == nullptr)
        return L"nil";
    wchar_t* name = nullptr;
    if (FAILED(item->GetDisplayName(SIGDN_PARENTRELATIVEPARSING, &name)) || name == nullptr)
        return L"?";
    std::wstring text = name;
    ::CoTaskMemFree(name);
    return text;
}

class FakeNameSpaceTree final : public INameSpaceTreeControl2, public IOleWindow {
public:
    explicit FakeNameSpaceTree(std::shared_ptr<TreeLog> log) : log_(std::move(log)) {
        ++log_->created;
        ++log_->alive;
        log_->roots.clear();
        log_->advised.Reset();
    }
    ~FakeNameSpaceTree() {
        log_->calls.push_back(L"Released");
        if (window_ != nullptr && ::IsWindow(window_))
            ::DestroyWindow(window_);
        --log_->alive;
    }

    // IUnknown
    IFACEMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
        if (ppv == nullptr)
            return E_POINTER;
        *ppv = nullptr;
        if (riid == IID_IUnknown || riid == __uuidof(INameSpaceTreeControl))
            *ppv = static_cast<INameSpaceTreeControl*>(this);
        else if (riid == __uuidof(INameSpaceTreeControl2) && log_->offersTree2)
            *ppv = static_cast<INameSpaceTreeControl2*>(this);
        else if (riid == __uuidof(IOleWindow))
            *ppv = static_cast<IOleWindow*>(this);
        else
            return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    IFACEMETHODIMP_(ULONG) AddRef() override { return ++refs_; }
    IFACEMETHODIMP_(ULONG) Release() override {
        ULONG refs = --refs_;
        if (refs == 0)
            delete this;
        return refs;
    }

    // IOleWindow
    IFACEMETHODIMP GetWindow(HWND* window) override {
        *window = window_;
        return window_ != nullptr ? S_OK : E_FAIL;
    }
    IFACEMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

    // INameSpaceTreeControl
    IFACEMETHODIMP Initialize(HWND parent, RECT* rect, NSTCSTYLE flags) override {
        RECT r = rect != nullptr ? *rect : RECT{};
        Log(L"Initialize(" + Hex(flags) + L"," + std::to_wstring(r.right - r.left) + L"x" +
            std::to_wstring(r.bottom - r.top) + L")");
        HRESULT hr = log_->Result(L"Initialize");
        if (FAILED(hr))
            return hr;
        parent_ = parent;
        log_->styles = flags;
        RegisterClassOnce();
        window_ = ::CreateWindowExW(0, L"FakeNamespaceTreeControl", L"",
                                    WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, r.left, r.top, r.right - r.left,
                                    r.bottom - r.top, parent, nullptr, ::GetModuleHandleW(nullptr), nullptr);
        view_ = ::CreateWindowExW(0, WC_TREEVIEWW, L"", WS_CHILD | WS_VISIBLE | TVS_HASBUTTONS | TVS_HASLINES,
                                  0, 0, r.right - r.left, r.bottom - r.top, window_, nullptr,
                                  ::GetModuleHandleW(nullptr), nullptr);
        log_->window = window_;
        log_->view = view_;
        return hr;
    }
    IFACEMETHODIMP TreeAdvise(IUnknown* punk, DWORD* cookie) override {
        Log(L"TreeAdvise");
        HRESULT hr = log_->Result(L"TreeAdvise");
        if (FAILED(hr))
            return hr;
        log_->advised = punk;
        *cookie = 0x5150;
        return hr;
    }
    IFACEMETHODIMP TreeUnadvise(DWORD cookie) override {
        Log(L"TreeUnadvise(" + Hex(cookie) + L")");
        log_->advised.Reset();
        return S_OK;
    }
    IFACEMETHODIMP AppendRoot(IShellItem* item, SHCONTF filters, NSTCROOTSTYLE style,
                              IShellItemFilter* filter) override {
        Log(L"AppendRoot(" + NameOf(item) + L"," + Hex(filters) + L"," + Hex(style) + L")");
        HRESULT hr = log_->Result(L"AppendRoot");
        if (SUCCEEDED(hr))
            log_->roots.push_back({item, filters, style, filter});
        RootAdded();
        return hr;
    }
    IFACEMETHODIMP InsertRoot(int index, IShellItem* item, SHCONTF filters, NSTCROOTSTYLE style,
                              IShellItemFilter* filter) override {
        Log(L"InsertRoot(" + std::to_wstring(index) + L"," + NameOf(item) + L"," + Hex(filters) + L"," +
            Hex(style) + L")");
        HRESULT hr = log_->Result(L"InsertRoot");
        if (SUCCEEDED(hr)) {
            size_t at = index < 0 ? 0 : std::min(static_cast<size_t>(index), log_->roots.size());
            log_->roots.insert(log_->roots.begin() + static_cast<std::ptrdiff_t>(at),
                               {item, filters, style, filter});
        }
        RootAdded();
        return hr;
    }
    IFACEMETHODIMP RemoveRoot(IShellItem* item) override {
        Log(L"RemoveRoot(" + NameOf(item) + L")");
        for (auto it = log_->roots.begin(); it != log_->roots.end(); ++it) {
            int order = 1;
            if (it->item.Get() == item ||
                (SUCCEEDED(it->item->Compare(item, SICHINT_ALLFIELDS, &order)) && order == 0)) {
                Microsoft::WRL::ComPtr<IShellItem> removed = it->item;
                log_->roots.erase(it);
                RootDeleted(removed.Get());
                return S_OK;
            }
        }
        return E_INVALIDARG;
    }
    IFACEMETHODIMP RemoveAllRoots() override {
        Log(L"RemoveAllRoots");
        std::vector<TreeRoot> removed = std::move(log_->roots);
        log_->roots.clear();
        for (const TreeRoot& root : removed)
            RootDeleted(root.item.Get());
        return S_OK;
    }
    IFACEMETHODIMP GetRootItems(IShellItemArray**) override {
        Log(L"GetRootItems");
        return E_NOTIMPL;
    }
    IFACEMETHODIMP SetItemState(IShellItem* item, NSTCITEMSTATE mask, NSTCITEMSTATE flags) override {
        Log(L"SetItemState(" + NameOf(item) + L"," + Hex(mask) + L"," + Hex(flags) + L")");
        return log_->Result(L"SetItemState");
    }
    IFACEMETHODIMP GetItemState(IShellItem* item, NSTCITEMSTATE mask, NSTCITEMSTATE* flags) override {
        Log(L"GetItemState(" + NameOf(item) + L"," + Hex(mask) + L")");
        if (flags != nullptr)
            *flags = mask & NSTCIS_EXPANDED;
        return log_->Result(L"GetItemState");
    }
    IFACEMETHODIMP GetSelectedItems(IShellItemArray** items) override {
        Log(L"GetSelectedItems(" + std::wstring(items != nullptr && *items == nullptr ? L"nil" : L"set") +
            L")");
        return log_->Result(L"GetSelectedItems");
    }
    IFACEMETHODIMP GetItemCustomState(IShellItem* item, int* state) override {
        Log(L"GetItemCustomState(" + NameOf(item) + L")");
        if (state != nullptr)
            *state = 7;
        return log_->Result(L"GetItemCustomState");
    }
    IFACEMETHODIMP SetItemCustomState(IShellItem* item, int state) override {
        Log(L"SetItemCustomState(" + NameOf(item) + L"," + std::to_wstring(state) + L")");
        return log_->Result(L"SetItemCustomState");
    }
    IFACEMETHODIMP EnsureItemVisible(IShellItem* item) override {
        Log(L"EnsureItemVisible(" + NameOf(item) + L")");
        return log_->Result(L"EnsureItemVisible");
    }
    IFACEMETHODIMP SetTheme(LPCWSTR theme) override {
        Log(L"SetTheme(" + std::wstring(theme != nullptr ? theme : L"nil") + L")");
        return log_->Result(L"SetTheme");
    }
    IFACEMETHODIMP GetNextItem(IShellItem* item, NSTCGNI which, IShellItem** next) override {
        Log(L"GetNextItem(" + NameOf(item) + L"," + std::to_wstring(static_cast<int>(which)) + L"," +
            std::wstring(next != nullptr && *next == nullptr ? L"nil" : L"set") + L")");
        return log_->Result(L"GetNextItem");
    }
    IFACEMETHODIMP HitTest(POINT* point, IShellItem** item) override {
        Log(L"HitTest(" + std::to_wstring(point != nullptr ? point->x : -1) + L"," +
            std::to_wstring(point != nullptr ? point->y : -1) + L"," +
            std::wstring(item != nullptr && *item == nullptr ? L"nil" : L"set") + L")");
        return log_->Result(L"HitTest");
    }
    IFACEMETHODIMP GetItemRect(IShellItem* item, RECT* rect) override {
        Log(L"GetItemRect(" + NameOf(item) + L")");
        if (rect != nullptr)
            *rect = RECT{1, 2, 3, 4};
        return log_->Result(L"GetItemRect");
    }
    IFACEMETHODIMP CollapseAll() override {
        Log(L"CollapseAll");
        return log_->Result(L"CollapseAll");
    }

    // INameSpaceTreeControl2
    IFACEMETHODIMP SetControlStyle(NSTCSTYLE mask, NSTCSTYLE style) override {
        Log(L"SetControlStyle(" + Hex(mask) + L"," + Hex(style) + L")");
        if ((mask & log_->refusedStyleMask) != 0)
            return E_FAIL;
        log_->styles = (log_->styles & ~mask) | (style & mask);
        return S_OK;
    }
    IFACEMETHODIMP GetControlStyle(NSTCSTYLE mask, NSTCSTYLE* style) override {
        *style = log_->styles & mask;
        return S_OK;
    }
    IFACEMETHODIMP SetControlStyle2(NSTCSTYLE2 mask, NSTCSTYLE2 style) override {
        Log(L"SetControlStyle2(" + Hex(mask) + L"," + Hex(style) + L")");
        if ((mask & log_->refusedStyle2Mask) != 0)
            return E_FAIL;
        log_->styles2 = (log_->styles2 & ~static_cast<DWORD>(mask)) | (style & mask);
        return S_OK;
    }
    IFACEMETHODIMP GetControlStyle2(NSTCSTYLE2 mask, NSTCSTYLE2* style) override {
        *style = static_cast<NSTCSTYLE2>(log_->styles2 & mask);
        return S_OK;
    }

private:
    static void RegisterClassOnce() {
        static bool registered = false;
        if (registered)
            return;
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof(windowClass);
        windowClass.lpfnWndProc = ::DefWindowProcW;
        windowClass.hInstance = ::GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"FakeNamespaceTreeControl";
        ::RegisterClassExW(&windowClass);
        registered = true;
    }
    void Log(std::wstring call) { log_->calls.push_back(std::move(call)); }
    // The Shell's tree tells its sink of every root it takes out.
    void RootDeleted(IShellItem* item) {
        Microsoft::WRL::ComPtr<INameSpaceTreeControlEvents> events;
        if (log_->advised && SUCCEEDED(log_->advised.As(&events)))
            events->OnItemDeleted(item, TRUE);
    }
    void RootAdded() {
        if (auto handler = std::exchange(log_->onRootAdded, nullptr))
            handler();
    }

    std::shared_ptr<TreeLog> log_;
    ULONG refs_ = 1;
    HWND parent_ = nullptr;
    HWND window_ = nullptr;
    HWND view_ = nullptr;
};

// A factory for the control that makes fake trees writing to log.
inline auto FakeTreeFactory(std::shared_ptr<TreeLog> log) {
    return [log](INameSpaceTreeControl** tree) -> HRESULT {
        HRESULT hr = log->Result(L"Create");
        if (FAILED(hr))
            return hr;
        *tree = new FakeNameSpaceTree(log);
        return S_OK;
    };
}

} // namespace fake
