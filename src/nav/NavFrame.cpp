#include "nav/NavFrame.h"

#include "nav/ResourceText.h"
#include "nav/RestoreTurns.h"
#include "nav/StyleMenu.h"
#include "shell/ShellItems.h"
#include "gui/ControlDrag.h"

#include "ResourceIds.h"

#include <commctrl.h>

namespace nav {

TNavFrame::TNavFrame(INavFrameOwner& owner, gui::Window& parent, int id)
    : Window(&parent), FOwner(owner), FID(id) {
    SetParentColor(true);
    SetBounds(gui::MakeRect(0, 0, 320, 240));
    CreateParams params;
    params.className = L"TNavFrame";
    CreateHandle(params);

    FCaptionPanel = std::make_unique<gui::CaptionBar>(
        *this,
        std::initializer_list<int>{IDB_CAPTION_BARS, IDB_CAPTION_MINUS, IDB_CAPTION_PLUS, IDB_CAPTION_CROSS});
    FCaptionPanel->OnClick = [this] { CaptionPanelClick(); };
    FCaptionPanel->OnMouseDown = [this](gui::MouseButton b, WPARAM, POINT p) { CaptionPanelMouseDown(b, p); };
    FCaptionPanel->OnDragOver = [this](gui::Window& source, POINT, bool& accept) {
        CaptionPanelDragOver(source, accept);
    };
    FCaptionPanel->OnDragDrop = [this](gui::Window& source, POINT) { CaptionPanelDragDrop(source); };

    // Buttons at the end are placed from the end inwards in the order they are added:
    // the switching button comes next to the close button in both orientations.
    using Place = gui::CaptionBar::ButtonPlace;
    constexpr SIZE buttonSize{21, 19};
    FPreferenceBtn = &FCaptionPanel->AddButton(Place::Start, 0, buttonSize);
    FCloseBtn = &FCaptionPanel->AddButton(Place::End, 3, buttonSize);
    FSwitchingBtn = &FCaptionPanel->AddButton(Place::End, -1, buttonSize);
    FPreferenceBtn->SetHint(L"表示形式");
    FSwitchingBtn->SetHint(L"折り畳み");
    FCloseBtn->SetHint(L"閉じる");
    FPreferenceBtn->OnClick = [this] {
        POINT p;
        ::GetCursorPos(&p);
        FPreferenceMenu.Popup(p, Handle());
    };
    FPreferenceBtn->OnContextPopup = [this](POINT p) { FPreferenceMenu.Popup(p, Handle()); };
    FSwitchingBtn->OnClick = [this] { SwitchingBtnClick(); };
    FCloseBtn->OnClick = [this] { CloseBtnClick(); };

    for (const StyleMenuEntry& entry : kStyleMenu) {
        gui::MenuItem& item = FPreferenceMenu.Add(entry.caption, entry.style);
        item.SetAutoCheck(true);
        item.OnClick = [this](gui::MenuItem& clicked) { PreferenceMnusClick(clicked); };
    }
    FPreferenceMenu.OnPopup = [this] { PreferenceMenuPopup(); };

    FNameSpaceTree = std::make_unique<shellctrls::TNameSpaceTreeControl>(*this);
    FNameSpaceTree->SetAlign(gui::alClient);
    FNameSpaceTree->SetTabStop(true);
    FNameSpaceTree->OnViewWndProc = [this](shellctrls::TMessage& m) { NameSpaceTreeViewWndProc(m); };
    FNameSpaceTree->OnNTEOnSelectionChanged = [this](IShellItemArray* selection, HRESULT& result) {
        NameSpaceTreeNTEOnSelectionChanged(selection, result);
    };
    FNameSpaceTree->OnNTEOnAfterExpand = [this](IShellItem* psi, HRESULT& result) {
        NameSpaceTreeNTEOnAfterExpand(psi, result);
    };
    FNameSpaceTree->OnEnter = [this] { NameSpaceTreeEnter(); };
    FNameSpaceTree->OnRootRenamed = [this] { NameSpaceTreeRootRenamed(); };
    FNameSpaceTree->SetStyles({shellctrls::nstcsHasExpandos});
    BuildContextMenu();
    FNameSpaceTree->CreateHandle();

    Show();
}

TNavFrame::~TNavFrame() {
    RestoreTurns::Instance().Leave(this);
    // The tree goes first, with its roots and its Shell tree, while the frame's window
    // is still there.
    FNameSpaceTree.reset();
    FCaptionPanel.reset();
}

TNavFrame* FrameOfCaption(gui::Window& window) {
    auto* frame = dynamic_cast<TNavFrame*>(window.Parent());
    return frame != nullptr && &frame->CaptionPanel() == &window ? frame : nullptr;
}

void TNavFrame::SetFrameAlign(TAlign value) {
    SetAlign(value);
    // In a column the caption bar lies across the top; in a row it runs up the left side.
    if (value == gui::alTop || value == gui::alLeft)
        FCaptionPanel->SetBarAlign(value);
}

void TNavFrame::SetCollapsed(bool value) {
    int tag = value ? 2 : 1;
    if (FSwitchingBtn->Tag() == tag)
        return;
    FCaptionPanel->SetButtonTag(*FSwitchingBtn, tag);
    if (value) {
        if (Align() == gui::alTop) {
            FExpandHeight = Height();
            SetHeight(FCaptionPanel->Height());
        } else if (Align() == gui::alLeft) {
            FExpandWidth = Width();
            SetWidth(FCaptionPanel->Width());
        }
        FSwitchingBtn->SetHint(ResourceString(IDS_FRAME_EXPAND, L"展開"));
    } else {
        if (Align() == gui::alTop)
            SetHeight(FExpandHeight);
        else if (Align() == gui::alLeft)
            SetWidth(FExpandWidth);
        FSwitchingBtn->SetHint(ResourceString(IDS_FRAME_COLLAPSE, L"折り畳み"));
    }
    Realign();
    FOwner.InclModify(cpFrame);
}

void TNavFrame::SetExpandWidth(int value) {
    if (value == FExpandWidth)
        return;
    FExpandWidth = value;
    if (!Collapsed())
        SetWidth(value);
    FOwner.InclModify(cpFrame);
}

void TNavFrame::SetExpandHeight(int value) {
    if (value == FExpandHeight)
        return;
    FExpandHeight = value;
    if (!Collapsed())
        SetHeight(value);
    FOwner.InclModify(cpFrame);
}

Microsoft::WRL::ComPtr<IShellItem> TNavFrame::Selected() {
    Microsoft::WRL::ComPtr<IShellItemArray> items;
    Microsoft::WRL::ComPtr<IShellItem> item;
    if (FAILED(FNameSpaceTree->GetSelectedItems(&items)) || !items)
        return item;
    DWORD count = 0;
    if (FAILED(items->GetCount(&count)) || count == 0 || FAILED(items->GetItemAt(0, &item)))
        item.Reset();
    return item;
}

void TNavFrame::CaptionPanelClick() { FNameSpaceTree->SetFocus(); }

void TNavFrame::CaptionPanelMouseDown(gui::MouseButton button, POINT point) {
    if (button != gui::MouseButton::Left)
        return;
    ::ClientToScreen(FCaptionPanel->Handle(), &point);
    gui::BeginDrag(*FCaptionPanel, point, 5);
}

void TNavFrame::CaptionPanelDragOver(gui::Window& source, bool& accept) {
    accept = &source != FCaptionPanel.get() && FrameOfCaption(source) != nullptr;
}

void TNavFrame::CaptionPanelDragDrop(gui::Window& source) {
    if (TNavFrame* dragged = FrameOfCaption(source))
        FOwner.MoveFrame(*dragged, *this);
}

void TNavFrame::CloseBtnClick() {
    PostClose();
}

void TNavFrame::PreferenceMenuPopup() {
    shellctrls::TNamespaceTreeControlStyles styles = FNameSpaceTree->Styles();
    for (const auto& item : FPreferenceMenu.Items())
        item->SetChecked(styles.Contains(static_cast<shellctrls::TNamespaceTreeControlStyle>(item->Tag())));
}

void TNavFrame::PreferenceMnusClick(gui::MenuItem& item) {
    FNameSpaceTree->SetStyles(ToggleStyle(FNameSpaceTree->Styles(),
                                          static_cast<shellctrls::TNamespaceTreeControlStyle>(item.Tag()),
                                          item.Checked()));
    FOwner.InclModify(cpFrame);
}

void TNavFrame::NameSpaceTreeNTEOnSelectionChanged(IShellItemArray* selection, HRESULT& result) {
    Microsoft::WRL::ComPtr<IShellItem> first;
    DWORD count = 0;
    if (selection != nullptr && SUCCEEDED(selection->GetCount(&count)) && count > 0 &&
        SUCCEEDED(selection->GetItemAt(0, &first)))
        FCaptionPanel->SetText(shell::GetItemName(first.Get(), SIGDN_DESKTOPABSOLUTEEDITING));
    if (UserTreeChange())
        FOwner.InclModify(cpTree);
    result = S_OK;
}

void TNavFrame::NameSpaceTreeViewWndProc(shellctrls::TMessage& message) {
    // The tree view is the Shell's window, not ours: the focus leaving the frame from
    // there is seen here.
    if (message.Msg == WM_KILLFOCUS) {
        HWND to = reinterpret_cast<HWND>(message.WParam);
        if (to != Handle() && !::IsChild(Handle(), to))
            FrameExit(to);
    }
    if (message.Msg == WM_KEYDOWN && NameSpaceTreeKeyDown(message.WParam)) {
        message.Msg = WM_NULL;
        return;
    }
    ItemViewMessage(message);
}

bool TNavFrame::NameSpaceTreeKeyDown(WPARAM key) {
    if (key == VK_ESCAPE && OnKeyboardEscape) {
        // While an item's name is edited the edit has the focus; a tree view that still
        // sees Escape then leaves it to the edit.
        HWND view = FNameSpaceTree->TreeViewHandle();
        if (view != nullptr && ::SendMessageW(view, TVM_GETEDITCONTROL, 0, 0) != 0)
            return false;
        OnKeyboardEscape();
        return true;
    }
    if (key == VK_F6 && OnFocusCycle) {
        OnFocusCycle(::GetKeyState(VK_SHIFT) >= 0);
        return true;
    }
    return false;
}

void TNavFrame::FrameExit(HWND to) {
    // Focus that goes to another application (to is nil or a window of another
    // top-level window) changes nothing worth saving.
    if (to == nullptr || ::GetAncestor(to, GA_ROOT) != ::GetAncestor(Handle(), GA_ROOT))
        return;
    FOwner.InclModify(cpFrame);
}

void TNavFrame::NameSpaceTreeEnter() { FOwner.SetActiveControl(FNameSpaceTree->Handle()); }

void TNavFrame::NameSpaceTreeRootRenamed() {
    // The root now has another designation, which the next start must find.
    FOwner.InclModify(cpFrame);
}

LRESULT TNavFrame::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (HandleDeferred(message))
        return 0;
    return Window::HandleMessage(message, wParam, lParam);
}

} // namespace nav
