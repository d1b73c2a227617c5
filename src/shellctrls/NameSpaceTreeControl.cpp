#include "shellctrls/NameSpaceTreeControl.h"

#include "gui/Error.h"
#include "shell/RootDesignation.h"

#include <shlwapi.h>

#include <utility>

namespace shellctrls {
namespace {

// CLSID_NamespaceTreeControl, which MinGW-w64's headers do not declare.
constexpr CLSID kNamespaceTreeControlClass = {
    0xAE054212, 0x3535, 0x4430, {0x83, 0xED, 0xD5, 0x01, 0xAA, 0x66, 0x80, 0xE6}};

constexpr wchar_t kClassName[] = L"TNameSpaceTreeControl";
constexpr wchar_t kTreeViewClassName[] = L"SysTreeView32";

HWND WindowOf(IUnknown* object) {
    HWND window = nullptr;
    if (object == nullptr || FAILED(::IUnknown_GetWindow(object, &window)))
        return nullptr;
    return window;
}

} // namespace

HRESULT CreateShellTree(INameSpaceTreeControl** tree) {
    return ::CoCreateInstance(kNamespaceTreeControlClass, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(tree));
}

TCustomNameSpaceTreeControl::TCustomNameSpaceTreeControl(gui::Window& parent, TreeFactory factory)
    : gui::Window(&parent), factory_(std::move(factory)), sinks_(*this), FRoots(this) {
    SetBounds(gui::MakeRect(0, 0, 121, 97));
    SetVisible(true);
}

TCustomNameSpaceTreeControl::~TCustomNameSpaceTreeControl() {
    // The roots go first (ending their notifications, not taking them out of the tree
    // one by one), then the window and with it the tree.
    FRoots.Clear();
    DestroyHandle();
}

void TCustomNameSpaceTreeControl::CreateHandle() {
    CreateParams params;
    params.className = kClassName;
    params.style = WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | (tabStop_ ? WS_TABSTOP : 0);
    gui::Window::CreateHandle(params);
}

void TCustomNameSpaceTreeControl::RecreateHandle() {
    DestroyHandle();
    CreateHandle();
}

void TCustomNameSpaceTreeControl::SetTabStop(bool tabStop) {
    if (tabStop_ == tabStop)
        return;
    tabStop_ = tabStop;
    if (Handle() != nullptr) {
        LONG_PTR style = ::GetWindowLongPtrW(Handle(), GWL_STYLE);
        ::SetWindowLongPtrW(Handle(), GWL_STYLE,
                            tabStop ? (style | WS_TABSTOP) : (style & ~LONG_PTR{WS_TABSTOP}));
    }
}

void TCustomNameSpaceTreeControl::HandleCreated() {
    if (Parent() != nullptr && !FTree)
        CreateTree();
}

void TCustomNameSpaceTreeControl::HandleDestroying() {
    ReleaseTree();
}

void TCustomNameSpaceTreeControl::CreateTree() {
    Microsoft::WRL::ComPtr<INameSpaceTreeControl> tree;
    gui::ThrowIfFailed(factory_(&tree));
    if (!tree)
        throw gui::HResultError(E_NOINTERFACE);
    RECT client = ClientRect();
    gui::ThrowIfFailed(tree->Initialize(Handle(), &client, FStyles));
    FTree = tree;
    if (auto tree2 = Tree2())
        tree2->SetControlStyle2(static_cast<NSTCSTYLE2>(FStyle2s), static_cast<NSTCSTYLE2>(FStyle2s));
    HRESULT advised = FTree->TreeAdvise(sinks_.AdviseObject(), &FCookie);
    if (FAILED(advised)) {
        // A tree that cannot call back is of no use: drop it with its window, so that the
        // control stays without a tree (Actuated false) instead of half working.
        FCookie = 0;
        if (HWND window = WindowOf(FTree.Get()))
            ::DestroyWindow(window);
        FTree.Reset();
        throw gui::HResultError(advised);
    }
    ReloadRoots();
    FTreeControl = WindowOf(FTree.Get());
    if (FTreeControl != nullptr) {
        FTreeView = ::FindWindowExW(FTreeControl, nullptr, kTreeViewClassName, nullptr);
        if (FTreeView != nullptr)
            FViewSubclass.Attach(FTreeView, [this](UINT message, WPARAM wParam, LPARAM lParam) {
                return TreeViewWndProc(message, wParam, lParam);
            });
    }
}

void TCustomNameSpaceTreeControl::ReleaseTree() noexcept {
    if (!FTree)
        return;
    // Whatever runs from here on finds the control without a tree.
    Microsoft::WRL::ComPtr<INameSpaceTreeControl> tree = std::move(FTree);
    DWORD cookie = std::exchange(FCookie, 0);
    FViewSubclass.Detach();
    FTreeControl = nullptr;
    FTreeView = nullptr;
    // Unadvised first: taking the roots out makes the tree raise item-deleted and
    // selection events, which must not reach handlers whose owner is on its way out.
    if (cookie != 0)
        tree->TreeUnadvise(cookie);
    // Someone else may hold the tree a moment longer; without roots it has no filter
    // of this control left to call. The tree's window still exists here.
    tree->RemoveAllRoots();
}

Microsoft::WRL::ComPtr<INameSpaceTreeControl2> TCustomNameSpaceTreeControl::Tree2() const {
    Microsoft::WRL::ComPtr<INameSpaceTreeControl2> tree2;
    if (FTree && SUCCEEDED(FTree.As(&tree2)))
        return tree2;
    return nullptr;
}

LRESULT TCustomNameSpaceTreeControl::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SIZE: {
        LRESULT result = gui::Window::HandleMessage(message, wParam, lParam);
        WMSize(LOWORD(lParam), HIWORD(lParam));
        return result;
    }
    case WM_ERASEBKGND:
        // The tree covers the whole client area.
        return 0;
    case WM_GETDLGCODE:
        return gui::Window::HandleMessage(message, wParam, lParam) | DLGC_WANTARROWS;
    case WM_SETFOCUS:
        WMSetFocus();
        return 0;
    case WM_DESTROY:
        // Destroyed from outside, with its parent: the tree goes with the window.
        ReleaseTree();
        break;
    default:
        break;
    }
    return gui::Window::HandleMessage(message, wParam, lParam);
}

void TCustomNameSpaceTreeControl::WMSize(int width, int height) {
    // The Shell's tree fills the control.
    if (FTreeControl != nullptr)
        ::MoveWindow(FTreeControl, 0, 0, width, height, TRUE);
}

void TCustomNameSpaceTreeControl::WMSetFocus() {
    // Focus given to the control itself (by its form or by tabbing) goes on to the tree.
    if (::GetFocus() != FTreeView)
        FocusTree();
}

LRESULT TCustomNameSpaceTreeControl::TreeViewWndProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_KILLFOCUS) {
        // The focus leaves the tree view; our windows up the chain learn whether it
        // leaves them too (OnExit), as when it leaves one of their own windows.
        gui::Window::HandleMessage(message, wParam, lParam);
    }
    if (message == WM_SETFOCUS && OnEnter)
        OnEnter();
    TMessage record{message, wParam, lParam, 0};
    if (OnViewWndProc)
        OnViewWndProc(record);
    return FViewSubclass.CallDefault(record.Msg, record.WParam, record.LParam);
}

void TCustomNameSpaceTreeControl::FocusTree() {
    HWND tree = WindowOf(FTree.Get());
    if (tree == nullptr)
        return;
    ::SetFocus(tree);
    // A tree window that keeps the focus for itself hands it on to its view here.
    if (FTreeView != nullptr && ::GetFocus() != FTreeView && ::IsChild(tree, FTreeView))
        ::SetFocus(FTreeView);
}

void TCustomNameSpaceTreeControl::SetFocus() {
    if (!FTree) {
        gui::Window::SetFocus();
        return;
    }
    if (::GetFocus() != FTreeView)
        FocusTree();
}

void TCustomNameSpaceTreeControl::Invalidate() {
    gui::Window::Invalidate();
    if (FTreeView != nullptr)
        ::InvalidateRect(FTreeView, nullptr, TRUE);
}

void TCustomNameSpaceTreeControl::Update() {
    gui::Window::Update();
    if (FTreeView != nullptr)
        ::UpdateWindow(FTreeView);
}

// Styles

void TCustomNameSpaceTreeControl::SetStyles(TNamespaceTreeControlStyles styles) {
    if (styles == Styles())
        return;
    NSTCSTYLE flags = StylesToFlags(styles);
    if (auto tree2 = Tree2()) {
        gui::ThrowIfFailed(tree2->SetControlStyle(FStyles, 0));
        HRESULT set = tree2->SetControlStyle(flags, flags);
        if (FAILED(set)) {
            // Put the old flags back, so that the tree keeps the styles the control reports.
            tree2->SetControlStyle(FStyles, FStyles);
            throw gui::HResultError(set);
        }
    }
    FStyles = flags;
}

void TCustomNameSpaceTreeControl::SetStyle2s(TNamespaceTreeControlStyle2s styles) {
    if (styles == Style2s())
        return;
    DWORD flags = Style2sToFlags(styles);
    if (auto tree2 = Tree2()) {
        auto oldFlags = static_cast<NSTCSTYLE2>(FStyle2s);
        auto newFlags = static_cast<NSTCSTYLE2>(flags);
        gui::ThrowIfFailed(tree2->SetControlStyle2(oldFlags, NSTCS2_DEFAULT));
        HRESULT set = tree2->SetControlStyle2(newFlags, newFlags);
        if (FAILED(set)) {
            tree2->SetControlStyle2(oldFlags, oldFlags);
            throw gui::HResultError(set);
        }
    }
    FStyle2s = flags;
}

// Item operations

HRESULT TCustomNameSpaceTreeControl::SetItemState(IShellItem* psi, NSTCITEMSTATE nstcisMask,
                                                  NSTCITEMSTATE nstcisFlags) {
    return FTree ? FTree->SetItemState(psi, nstcisMask, nstcisFlags) : E_PENDING;
}

HRESULT TCustomNameSpaceTreeControl::GetItemState(IShellItem* psi, NSTCITEMSTATE nstcisMask,
                                                  NSTCITEMSTATE* pnstcisFlags) {
    return FTree ? FTree->GetItemState(psi, nstcisMask, pnstcisFlags) : E_PENDING;
}

HRESULT TCustomNameSpaceTreeControl::GetSelectedItems(IShellItemArray** psiaItems) {
    if (psiaItems != nullptr)
        *psiaItems = nullptr;
    return FTree ? FTree->GetSelectedItems(psiaItems) : E_PENDING;
}

HRESULT TCustomNameSpaceTreeControl::GetItemCustomState(IShellItem* psi, int* piStateNumber) {
    return FTree ? FTree->GetItemCustomState(psi, piStateNumber) : E_PENDING;
}

HRESULT TCustomNameSpaceTreeControl::SetItemCustomState(IShellItem* psi, int iStateNumber) {
    return FTree ? FTree->SetItemCustomState(psi, iStateNumber) : E_PENDING;
}

HRESULT TCustomNameSpaceTreeControl::EnsureItemVisible(IShellItem* psi) {
    return FTree ? FTree->EnsureItemVisible(psi) : E_PENDING;
}

HRESULT TCustomNameSpaceTreeControl::SetTheme(LPCWSTR pszTheme) {
    return FTree ? FTree->SetTheme(pszTheme) : E_PENDING;
}

HRESULT TCustomNameSpaceTreeControl::GetNextItem(IShellItem* psi, NSTCGNI nstcgi, IShellItem** ppsiNext) {
    if (ppsiNext != nullptr)
        *ppsiNext = nullptr;
    return FTree ? FTree->GetNextItem(psi, nstcgi, ppsiNext) : E_PENDING;
}

HRESULT TCustomNameSpaceTreeControl::HitTest(POINT* ppt, IShellItem** ppsiOut) {
    if (ppsiOut != nullptr)
        *ppsiOut = nullptr;
    return FTree ? FTree->HitTest(ppt, ppsiOut) : E_PENDING;
}

HRESULT TCustomNameSpaceTreeControl::GetItemRect(IShellItem* psi, RECT* prect) {
    return FTree ? FTree->GetItemRect(psi, prect) : E_PENDING;
}

HRESULT TCustomNameSpaceTreeControl::CollapseAll() {
    return FTree ? FTree->CollapseAll() : E_PENDING;
}

TDirectionTest TCustomNameSpaceTreeControl::ScrollIn(POINT screenPos, int range) {
    if (FTreeView == nullptr)
        return dtOuter;
    POINT client = screenPos;
    ::ScreenToClient(FTreeView, &client);
    RECT clientRect{};
    ::GetClientRect(FTreeView, &clientRect);
    TDirectionTest zone = ScrollZone(client, clientRect, range);
    if (zone == dtOuter || zone == dtInner)
        return zone;
    bool horizontal = zone == dtLeft || zone == dtRight;
    SCROLLINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = SIF_ALL;
    // No scroll bar that way: nothing to scroll.
    if (!::GetScrollInfo(FTreeView, horizontal ? SB_HORZ : SB_VERT, &info) || !CanScrollLine(zone, info))
        return dtInner;
    bool towardsStart = zone == dtLeft || zone == dtUp;
    ::SendMessageW(FTreeView, horizontal ? WM_HSCROLL : WM_VSCROLL, towardsStart ? SB_LINEUP : SB_LINEDOWN,
                   0);
    return zone;
}

// Roots

int TCustomNameSpaceTreeControl::TreeIndexOf(const TNamespaceTreeRoot* root) const {
    int index = 0;
    for (int i = 0; i < FRoots.Count(); ++i) {
        const TNamespaceTreeRoot& other = FRoots.Items(i);
        if (&other == root)
            break;
        if (other.FSHItem)
            ++index;
    }
    return index;
}

int TCustomNameSpaceTreeControl::TreeRootCount() const {
    int count = 0;
    for (int i = 0; i < FRoots.Count(); ++i)
        if (FRoots.Items(i).FSHItem)
            ++count;
    return count;
}

void TCustomNameSpaceTreeControl::AttachRoot(TNamespaceTreeRoot* root) {
    if (!FTree || root == nullptr)
        return;
    // A handler of the tree's events may release the tree meanwhile, or delete the
    // root: it then stays allocated until this call is done, which writes nothing to it.
    Microsoft::WRL::ComPtr<INameSpaceTreeControl> tree = FTree;
    TNamespaceTreeRoot::Hold hold(*root);
    Microsoft::WRL::ComPtr<IShellItem> item = root->ResolvedItem();
    bool wasInTree = root->FSHItem != nullptr;
    // The old item goes even when the new designation does not resolve, so that no
    // root lingers in the tree that the collection no longer knows by its item.
    if (wasInTree) {
        Microsoft::WRL::ComPtr<IShellItem> old = std::move(root->FSHItem);
        tree->RemoveRoot(old.Get());
        if (!hold.InCollection())
            return;
    }
    if (!item)
        return;
    // Roots that are not in the tree (no designation, or one that does not resolve)
    // take no place there, so the place is counted over the roots before this one.
    int index = TreeIndexOf(root);
    HRESULT inserted =
        wasInTree || index < TreeRootCount()
            ? tree->InsertRoot(index, item.Get(), root->FFilters, root->FStyles, sinks_.Filter())
            : tree->AppendRoot(item.Get(), root->FFilters, root->FStyles, sinks_.Filter());
    if (!hold.InCollection()) {
        // Deleted meanwhile: the item it was given must not stay in the tree either.
        if (SUCCEEDED(inserted))
            tree->RemoveRoot(item.Get());
        return;
    }
    if (SUCCEEDED(inserted))
        root->FSHItem = item;
}

void TCustomNameSpaceTreeControl::DetachRoot(TNamespaceTreeRoot* root) {
    if (!FTree || root == nullptr)
        return;
    // The root's item goes first, so that nothing is written to the root after the
    // tree's callbacks, which may delete it.
    Microsoft::WRL::ComPtr<IShellItem> item = std::move(root->FSHItem);
    if (item)
        FTree->RemoveRoot(item.Get());
}

void TCustomNameSpaceTreeControl::ReloadRoots() {
    if (!FTree)
        return;
    FTree->RemoveAllRoots();
    for (int i = 0; i < FRoots.Count(); ++i)
        FRoots.Items(i).FSHItem.Reset();
    for (int i = 0; i < FRoots.Count(); ++i)
        AttachRoot(&FRoots.Items(i));
}

} // namespace shellctrls
