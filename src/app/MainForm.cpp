#include "app/MainForm.h"

#include "app/ColorBlend.h"
#include "app/DockGeometry.h"
#include "app/FrameIds.h"
#include "app/WndInfo.h"
#include "gui/Dpi.h"
#include "gui/Fonts.h"
#include "gui/Hint.h"

#include "ResourceIds.h"

#include <ole2.h>

#include <algorithm>

namespace app {

const wchar_t* TitleButtonHint(int tag) {
    switch (tag) {
    case 0: return L"オプション";
    case 1: return L"標準形式で表示";
    case 2: return L"常に最前面で表示";
    case 3: return L"自動で折り畳む";
    case 4: return L"展開して固定";
    case 5: return L"終了";
    default: return L"";
    }
}

TMainForm::TMainForm(IDesktop& desktop, gui::IHighContrastSetting& contrast)
    : Window(nullptr), FDesktop(desktop), FContrast(contrast), FChain(*this) {
    SetText(WindowText);
    SetBounds(gui::MakeRect(0, 0, 543, 375));
    SetColor(gui::clBtnFace);
    CreateParams params;
    params.className = ClassName;
    params.style = WS_POPUP | WS_CLIPCHILDREN;
    // Owned by the application's hidden window, so the edge window itself has no
    // taskbar button and no Alt+Tab entry.
    params.owner = gui::Application::Instance().Handle();
    CreateHandle(params);
    FChain.SetSelf(Handle());
    gui::Application::Instance().SetMainWindow(Handle());
    CreateControls();
    FormCreate();
}

TMainForm::~TMainForm() {
    if (!FDestroyed) {
        try {
            FormDestroy();
        } catch (...) {
            gui::Application::Instance().HandleException();
        }
    }
    if (gui::Application::Instance().MainWindow() == Handle())
        gui::Application::Instance().SetMainWindow(nullptr);
    // Controls go before the window so that none outlives its parent's handle. The
    // frames' ids are in use exactly as long as the frames.
    for (const FrameSlot& slot : FFrames)
        FrameIds().ReleaseFrameId(slot.frame->ID());
    // From the last one, and with the layout held (the box goes right after): taking
    // out a frame would otherwise move all the others, each time.
    if (FScrollBox)
        FScrollBox->DisableAlign();
    while (!FFrames.empty())
        FFrames.pop_back();
    FScrollBox.reset();
    FTitlePanel.reset();
}

void TMainForm::CreateControls() {
    FTitlePanel = std::make_unique<gui::CaptionBar>(
        *this, std::initializer_list<int>{IDB_TITLE_OPTIONS, IDB_TITLE_NORMAL, IDB_TITLE_TOPMOST,
                                          IDB_TITLE_AUTOCOLLAPSE, IDB_TITLE_PINNED, IDB_TITLE_EXIT});
    // Buttons at the end are placed from the end inwards in the order they are added.
    using Place = gui::CaptionBar::ButtonPlace;
    FOptionBtn = &FTitlePanel->AddButton(Place::Start, 0);
    FExitBtn = &FTitlePanel->AddButton(Place::End, 5);
    FPinningBtn = &FTitlePanel->AddButton(Place::End, 3);
    FTopmostBtn = &FTitlePanel->AddButton(Place::End, 1);
    for (gui::SpeedButton* button : {FOptionBtn, FExitBtn, FPinningBtn, FTopmostBtn})
        button->SetHint(TitleButtonHint(button->Tag()));
    // The two that switch something on and off tell screen readers whether it is on.
    FTopmostBtn->SetPressed(false);
    FPinningBtn->SetPressed(false);
    FTitlePanel->SetKeyboardFocusable(true);
    FTitlePanel->OnButtonKeyDown = [this](UINT key, bool& handled) { TitleButtonKeyDown(key, handled); };
    FOptionBtn->OnClick = [this] { OptionBtnClick(); };
    FTopmostBtn->OnClick = [this] { TopmostBtnClick(); };
    FPinningBtn->OnClick = [this] { PinningBtnClick(); };
    FExitBtn->OnClick = [this] { ExitBtnClick(); };
    ArrangeTitleBar(gui::alTop);

    FScrollBox = std::make_unique<gui::ScrollBox>(*this);
    FScrollBox->SetParentColor(true);
    FScrollBox->SetAlign(gui::alClient);
    FScrollBox->OnDblClick = [this] { ScrollBoxDblClick(); };

    OnClick = [this] { FormClick(); };
    OnMouseMove = [this](WPARAM keys, POINT p) { FormMouseMove(keys, p); };
    FTitlePanel->OnMouseMove = [this](WPARAM keys, POINT p) { TitlePanelMouseMove(keys, p); };
}

void TMainForm::FormCreate() {
    FAccessibleWindow = std::make_unique<gui::AccessibleServer>(
        [this] { return AccessibleFacts(false); }, [this] { AccessibleDefaultAction(); }, OBJID_WINDOW);
    FAccessibleClient = std::make_unique<gui::AccessibleServer>(
        [this] { return AccessibleFacts(true); }, [this] { AccessibleDefaultAction(); }, OBJID_CLIENT);
    FHitPlace = HTCLIENT;
    FHoverPos = {0, 0};
    FWasActive = nullptr;
    FBlendColor = NoBlendColor;
    FChain.SetSelf(Handle());
    FModifies = {};

    // Let the chain message of other instances through, also from other integrity
    // levels. The function exists from Vista on; earlier systems need nothing.
    using FilterFunction = BOOL(WINAPI*)(UINT, DWORD);
    if (auto filter = reinterpret_cast<FilterFunction>(
            ::GetProcAddress(::GetModuleHandleW(L"user32.dll"), "ChangeWindowMessageFilter")))
        filter(WM_DOCKCHAIN, MSGFLT_ADD);

    FDpi = gui::DpiOfWindow(Handle());
    SetPadding(EdgePadding(FSnapEdge, FDpi));
    gui::SetHintDpi(FDpi);

    LOGFONTW caption{};
    if (gui::SystemCaptionFont(caption)) {
        // The system describes its fonts at its own DPI.
        FTitlePanel->SetCaptionFont(caption, gui::SystemDpi());
        ArrangeTitleBar(FSnapEdge);
    }
    FTitlePanel->SetText(gui::Application::ExeTitle());
    // The theme's colours from the first paint on; loading sets the base colour.
    ApplyShownColor();

    std::optional<UINT> delay = FDesktop.MenuShowDelay();
    FLayoutTimer.SetInterval(delay ? std::max<UINT>(*delay, USER_TIMER_MINIMUM) : 400);

    FOleInitialized = SUCCEEDED(::OleInitialize(nullptr));
    RegisterDropTarget();

    LoadSettings();
    RegisterHotkey();
    // Docked, the window may be on a monitor of another DPI than where it was made.
    ApplyMonitorDpi();

    // Only now does the window collapse and expand by itself.
    FAppMainEvents = std::make_unique<gui::ApplicationEvents>();
    FAppMainEvents->OnDeactivate = [this] { AppMainEventsDeactivate(); };
    FAppMainEvents->OnIdle = [this] { AppMainEventsIdle(); };
    StartFullScreenWatch();
}

void TMainForm::FormDestroy() {
    FDestroyed = true;
    FAppMainEvents.reset();
    FLayoutTimer.Stop();
    // The keys are free for another instance at once.
    FGlobalHotkey.Unregister();
    FFullScreenWatch.Stop();
    // Out of the chain before saving, which can take time or report a failure.
    LeaveChainForGood();
    // The drop target leaves OLE also when saving fails: the caller reports that error
    // and the window goes all the same.
    auto releaseOle = [this] {
        if (FOleInitialized) {
            ::RevokeDragDrop(Handle());
            ::OleUninitialize();
            FOleInitialized = false;
        }
    };
    try {
        SaveSettings(FMaintains);
    } catch (...) {
        releaseOle();
        throw;
    }
    releaseOle();
}

void TMainForm::Close() {
    if (!FDestroyed) {
        try {
            FormDestroy();
        } catch (...) {
            // The user learns why saving failed; the program still ends.
            gui::Application::Instance().HandleException();
        }
    }
    gui::Application::Instance().Terminate();
}

void TMainForm::SetButtonTag(gui::SpeedButton& button, int tag) {
    FTitlePanel->SetButtonTag(button, tag);
    button.SetHint(TitleButtonHint(tag));
    if (&button == FTopmostBtn || &button == FPinningBtn)
        button.SetPressed(tag == 2 || tag == 4);
}

void TMainForm::RaiseWindow() {
    // A window that stepped aside for a full-screen program shows again only when the
    // program has gone.
    const UINT show = FReceded ? 0 : SWP_SHOWWINDOW;
    ::SetWindowPos(Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | show | SWP_NOSENDCHANGING);
    if (!FTopmost)
        ::SetWindowPos(Handle(), HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | show | SWP_NOSENDCHANGING);
}

void TMainForm::OptionBtnClick() {
    if (OnOptionsRequested)
        OnOptionsRequested();
}

void TMainForm::TopmostBtnClick() {
    SetTopmost(!FTopmost);
}

void TMainForm::PinningBtnClick() {
    if (FLayout == loExpanded)
        SetLayout(loPinned);
    else if (FLayout == loPinned)
        SetLayout(loExpanded);
}

void TMainForm::ExitBtnClick() {
    Close();
}

bool TMainForm::WMSetCursor(HWND window, int hitTest) {
    if (window != Handle() || hitTest != HTCLIENT || FCursor == nullptr)
        return false;
    ::SetCursor(FCursor);
    return true;
}

void TMainForm::WMWindowPosChanging(WINDOWPOS& pos) {
    // Refused sizes keep the window where it is, so a drag of the left or top side
    // does not move it either.
    if ((pos.flags & SWP_NOSIZE) == 0 && !FormCanResize(pos.cx, pos.cy))
        pos.flags |= SWP_NOSIZE | SWP_NOMOVE;
}

bool TMainForm::WMSysCommand(WPARAM command) {
    if ((command & 0xFFF0) != SC_CLOSE)
        return false;
    Close();
    return true;
}

bool TMainForm::WMActivate(WPARAM wParam, LPARAM lParam) {
    if (LOWORD(wParam) == WA_INACTIVE) {
        HWND focus = ::GetFocus();
        if (IsOwnControl(focus))
            FActiveControl = focus;
        // The focus going to another program's window ends a hotkey's opening.
        HWND to = reinterpret_cast<HWND>(lParam);
        DWORD process = 0;
        if (to == nullptr || (::GetWindowThreadProcessId(to, &process), process != ::GetCurrentProcessId()))
            FHeldOpen = false;
        return false;
    }
    NotePreviousWindow(reinterpret_cast<HWND>(lParam));
    if (!IsOwnControl(FActiveControl))
        return false;
    ::SetFocus(FActiveControl);
    return true;
}

void TMainForm::FormShow() {
    // The application's window stays hidden whenever the edge window shows.
    ::ShowWindow(gui::Application::Instance().Handle(), SW_HIDE);
}

LRESULT TMainForm::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    for (gui::AccessibleServer* server : {FAccessibleWindow.get(), FAccessibleClient.get()}) {
        if (LRESULT result = 0;
            server != nullptr && server->HandleMessage(Handle(), message, wParam, lParam, result))
            return result;
    }
    switch (message) {
    case WM_NCHITTEST:
        return WMNCHitTest(wParam, lParam);
    case WM_SETCURSOR:
        if (WMSetCursor(reinterpret_cast<HWND>(wParam), LOWORD(lParam)))
            return TRUE;
        break;
    case WM_WINDOWPOSCHANGING:
        WMWindowPosChanging(*reinterpret_cast<WINDOWPOS*>(lParam));
        break;
    case WM_SIZE: {
        LRESULT result = Window::HandleMessage(message, wParam, lParam);
        FormResize();
        return result;
    }
    case WM_ACTIVATE:
        if (WMActivate(wParam, lParam))
            return 0;
        break;
    case WM_HOTKEY:
        WMHotKey(static_cast<int>(wParam));
        return 0;
    case WM_SYSCOLORCHANGE:
        SystemColorsChanged();
        break;
    case WM_SHOWWINDOW:
        if (wParam != FALSE)
            FormShow();
        break;
    case WM_DISPLAYCHANGE:
        WMDisplayChange();
        break;
    case WM_SETTINGCHANGE:
        WMSettingChange(wParam);
        break;
    case WM_FULLSCREENCHANGE:
        FullScreenWatchChange();
        return 0;
    case gui::kWMDpiChanged:
        if (lParam != 0)
            WMDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
        return 0;
    case gui::kWMGetDpiScaledSize:
        if (lParam != 0)
            return WMGetDpiScaledSize(*reinterpret_cast<SIZE*>(lParam)) ? TRUE : FALSE;
        return FALSE;
    case WM_DOCKCHAIN:
        WMDockChain(wParam, lParam);
        return 0;
    case WM_PREVWNDENDED:
        FChain.PreviousEnded(reinterpret_cast<HWND>(lParam));
        return 0;
    case WM_CLOSE:
        Close();
        return 0;
    case WM_QUERYENDSESSION:
        return TRUE;
    case WM_ENDSESSION:
        WMEndSession(wParam != FALSE);
        return 0;
    case WM_REPORTLOADERROR:
        ReportLoadError();
        return 0;
    case WM_SYSCOMMAND:
        if (WMSysCommand(wParam))
            return 0;
        break;
    default:
        break;
    }
    return Window::HandleMessage(message, wParam, lParam);
}

} // namespace app
