// The panel without a mouse: the hotkey that opens it, Escape that gives the focus
// back, F6 between the title bar and the trees; and what screen readers learn of the
// window.
#include "app/MainForm.h"

#include <vector>

namespace app {
namespace {

bool IsOwnProcessWindow(HWND window) {
    DWORD process = 0;
    return window != nullptr && ::GetWindowThreadProcessId(window, &process) != 0 &&
           process == ::GetCurrentProcessId();
}

bool HoldsFocus(HWND window) {
    HWND focus = ::GetFocus();
    return window != nullptr && focus != nullptr && (focus == window || ::IsChild(window, focus));
}

} // namespace

void TMainForm::SetHotkey(WORD value) {
    FHotkey = value;
    RegisterHotkey();
}

void TMainForm::RegisterHotkey() {
    if (FDestroyed)
        return;
    // Refused keys leave the window without a hotkey; the options dialog tells.
    FGlobalHotkey.Register(Handle(), kHotkeyId, FHotkey);
}

void TMainForm::WMHotKey(int id) {
    if (id == kHotkeyId)
        HotkeyPressed();
}

void TMainForm::NotePreviousWindow(HWND window) {
    HWND root = window != nullptr ? ::GetAncestor(window, GA_ROOT) : nullptr;
    if (root != nullptr && !IsOwnProcessWindow(root))
        FPreviousWindow = root;
}

void TMainForm::HotkeyPressed() {
    // A window that stepped aside for a full-screen program stays aside.
    if (FDestroyed || FReceded)
        return;
    // While a dialog of the program is open, the dialog comes to the front instead.
    if (!::IsWindowEnabled(Handle())) {
        HWND popup = ::GetLastActivePopup(Handle());
        if (popup != nullptr && popup != Handle())
            ::SetForegroundWindow(popup);
        return;
    }
    NotePreviousWindow(::GetForegroundWindow());
    if (FLayout == loCollapsed) {
        FLayoutTimer.Stop();
        SetLayout(loExpanded);
    }
    FHeldOpen = FLayout == loExpanded;
    ::SetForegroundWindow(Handle());
    FocusFrameForKeyboard();
}

void TMainForm::FocusFrameForKeyboard() {
    nav::TNavFrame* first = nullptr;
    nav::TNavFrame* last = nullptr;
    for (nav::TNavFrame* frame : OrderedFrames()) {
        HWND tree = frame->NameSpaceTree().Handle();
        // A collapsed frame shows no tree to work in.
        if (frame->Collapsed() || tree == nullptr)
            continue;
        if (first == nullptr)
            first = frame;
        if (FLastTree != nullptr && (FLastTree == tree || ::IsChild(tree, FLastTree)))
            last = frame;
    }
    nav::TNavFrame* target = last != nullptr ? last : first;
    if (target == nullptr) {
        FTitlePanel->FocusButtons();
        return;
    }
    ScrollIntoView(*target);
    target->NameSpaceTree().SetFocus();
}

void TMainForm::KeyboardEscape() {
    HWND back = FPreviousWindow;
    if (back != nullptr && (!::IsWindow(back) || !::IsWindowVisible(back) || IsOwnProcessWindow(back)))
        back = nullptr;
    if (FLayout == loExpanded) {
        FLayoutTimer.Stop();
        SetLayout(loCollapsed);
    }
    if (back != nullptr)
        ::SetForegroundWindow(back);
}

void TMainForm::FocusCycle(bool forward) {
    // The title bar first, then each frame's tree in the order the frames show.
    std::vector<nav::TNavFrame*> frames;
    for (nav::TNavFrame* frame : OrderedFrames()) {
        if (!frame->Collapsed() && frame->NameSpaceTree().Handle() != nullptr)
            frames.push_back(frame);
    }
    int count = static_cast<int>(frames.size()) + 1;
    int current = HoldsFocus(FTitlePanel->Handle()) ? 0 : -1;
    for (size_t i = 0; i < frames.size(); ++i) {
        if (HoldsFocus(frames[i]->Handle()))
            current = static_cast<int>(i) + 1;
    }
    int next = current < 0 ? (forward ? 0 : count - 1) : (current + (forward ? 1 : count - 1)) % count;
    if (next == 0) {
        FTitlePanel->FocusButtons();
        return;
    }
    nav::TNavFrame& frame = *frames[static_cast<size_t>(next - 1)];
    ScrollIntoView(frame);
    frame.NameSpaceTree().SetFocus();
}

void TMainForm::TitleButtonKeyDown(UINT key, bool& handled) {
    if (key == VK_F6) {
        FocusCycle(::GetKeyState(VK_SHIFT) >= 0);
        handled = true;
    } else if (key == VK_ESCAPE) {
        KeyboardEscape();
        handled = true;
    }
}

void TMainForm::LayoutChangedForKeyboard() {
    if (FLayout != loExpanded)
        FHeldOpen = false;
    for (gui::AccessibleServer* server : {FAccessibleWindow.get(), FAccessibleClient.get()}) {
        if (server != nullptr)
            server->NotifyStateChange(Handle());
    }
    // The strip and the panel show different colours in a high-contrast theme.
    if (FHighContrast)
        Invalidate();
}

gui::AccessibleFacts TMainForm::AccessibleFacts(bool client) const {
    gui::AccessibleFacts facts;
    // The title text names the window: its window text stays what other instances look for.
    facts.name = FTitlePanel != nullptr ? FTitlePanel->Text() : gui::Application::ExeTitle();
    facts.role = client ? ROLE_SYSTEM_PANE : 0;
    switch (FLayout) {
    case loCollapsed:
        facts.state = STATE_SYSTEM_COLLAPSED;
        facts.defaultAction = L"展開";
        break;
    case loExpanded:
        facts.state = STATE_SYSTEM_EXPANDED;
        facts.defaultAction = L"折り畳み";
        break;
    case loPinned:
        facts.state = STATE_SYSTEM_EXPANDED;
        break;
    default:
        break;
    }
    return facts;
}

void TMainForm::AccessibleDefaultAction() {
    if (FLayout == loCollapsed) {
        FormClick();
    } else if (FLayout == loExpanded) {
        FLayoutTimer.Stop();
        SetLayout(loCollapsed);
    }
}

} // namespace app
