#pragma once
// The edge window: a borderless top-level window docked against a monitor edge, with
// its title bar, the frame area and the links to the other instances at its edge.
#include "app/ChangeParts.h"
#include "app/Desktop.h"
#include "app/FullScreenWatch.h"
#include "app/GlobalHotkey.h"
#include "app/InstanceChain.h"
#include "app/ProcessEndWatch.h"
#include "app/SavedState.h"
#include "gui/Accessible.h"
#include "gui/Application.h"
#include "gui/CaptionBar.h"
#include "gui/Handles.h"
#include "gui/HighContrast.h"
#include "gui/ImageList.h"
#include "gui/Panel.h"
#include "gui/ScrollBox.h"
#include "gui/SpeedButton.h"
#include "gui/Timer.h"
#include "gui/Splitter.h"
#include "gui/Window.h"
#include "nav/FrameOwner.h"
#include "nav/NavFrame.h"
#include "oledrag/DropTarget.h"
#include "shellctrls/RootStyles.h"
#include "shellctrls/TreeStyles.h"

#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <unordered_map>
#include <vector>

namespace app {

using gui::TAlign;
using gui::TColor;

// Posted to the main window when the process of its previous window has ended; lParam
// is that window.
constexpr UINT WM_PREVWNDENDED = WM_APP + 0x4F;

class TMainForm : public gui::Window, public nav::INavFrameOwner, private IChainHost {
public:
    // The class name and text other instances recognise the window by.
    static constexpr const wchar_t* ClassName = L"TMainForm";
    static constexpr const wchar_t* WindowText = L"Kestrav";

    explicit TMainForm(IDesktop& desktop = SystemDesktop(),
                       gui::IHighContrastSetting& contrast = gui::SystemHighContrastSetting());
    ~TMainForm() override;

    // Docking and layout.
    TAlign SnapEdge() const override { return FSnapEdge; }
    void SetSnapEdge(TAlign value);
    TLayout Layout() const { return FLayout; }
    void SetLayout(TLayout value);
    bool Topmost() const { return FTopmost; }
    void SetTopmost(bool value);
    int CollapseSize() const { return FCollapseSize; }
    void SetCollapseSize(int value);
    int ExpandWidth() const { return FExpandWidth; }
    void SetExpandWidth(int value);
    int ExpandHeight() const { return FExpandHeight; }
    void SetExpandHeight(int value);
    BYTE AlphaBlendValue() const { return FAlphaBlendValue; }
    void SetAlphaBlendValue(BYTE value);
    bool AlphaBlend() const { return FAlphaBlend; }

    // Colour.
    TColor BaseColor() const { return FBaseColor; }
    void SetBaseColor(TColor value);
    bool ColorShift() const { return FColorShift; }
    void SetColorShift(bool value);
    TColor BlendColor() const { return FBlendColor; }
    // The colour computed from BaseColor and the neighbour's: what the chain passes on,
    // and what the window shows unless a high-contrast theme is on.
    TColor ChainColor() const { return FChainColor; }
    void UpdateColor();

    // Defaults for new frames and roots, and what is kept at the end of the program.
    shellctrls::TNamespaceTreeControlStyles DefaultStyles() const { return FDefaultStyles; }
    void SetDefaultStyles(shellctrls::TNamespaceTreeControlStyles value) { FDefaultStyles = value; }
    shellctrls::TShellContactFilters DefaultFilters() const { return FDefaultFilters; }
    void SetDefaultFilters(shellctrls::TShellContactFilters value) { FDefaultFilters = value; }
    TChangeParts Maintains() const { return FMaintains; }
    void SetMaintains(TChangeParts value) { FMaintains = value; }
    TChangeParts Modifies() const { return FModifies; }
    void SetModifies(TChangeParts value) { FModifies = value; }
    void InclModify(TChangePart value) override { FModifies.Include(value); }
    void ExclModify(TChangePart value) override { FModifies.Exclude(value); }

    // Writes the parts that are both in parts and in Modifies to the data file; the
    // others are forgotten. The program's end passes Maintains; the options dialog's OK
    // first marks every part changed and passes those whose keep mode is not
    // "保存しない". Every part not written keeps what the file holds (what it last held,
    // when it cannot be read: it is then kept beside first). Modifies is empty
    // afterwards. Raises when the file cannot be written; it then keeps its last
    // complete content. Items whose names the file cannot hold are left out, and the
    // user is told once.
    void SaveSettings(TChangeParts parts);
    // What the window has now, as the data file keeps it; the trees' state (which asks
    // the Shell about every visible item) only with withTrees.
    TSavedState CurrentState(bool withTrees);
    // The id of the frame whose tree has the keyboard focus, 0 when no tree has it.
    int ActiveFrameId() const;
    // A frame's control took the keyboard focus.
    void SetActiveControl(HWND control) override {
        FActiveControl = control;
        FLastTree = control;
    }
    nav::TFrameSnapshot ReadFrameSnapshot(int id) override;

    // The frames in display order.
    std::vector<nav::TNavFrame*> OrderedFrames() const;
    // The splitter that follows a frame of this window (null for any other frame).
    gui::Splitter* SplitterOf(const nav::TNavFrame& frame) const;
    // A frame with its splitter at the end; a negative id asks for the lowest free one.
    // When either cannot be made, the id is free again and the frames are as before.
    nav::TNavFrame& AddFrame(int frameId) override;
    // A root with the default filters at the end of a frame's tree (of a new frame
    // when frame is null).
    shellctrls::TNamespaceTreeRoot& AddRoot(nav::TNavFrame* frame, const std::wstring& path) override;
    // A frame with the expanded desktop as its one root; not counted as a change.
    void AddDesktop();
    void DelFrame(nav::TNavFrame& frame) override;
    void MoveFrame(nav::TNavFrame& current, nav::TNavFrame& target) override;
    void ScrollBoxDblClick() { AddDesktop(); }

    // Geometry.
    RECT CalcDockRect(TAlign edge, HMONITOR monitor);
    int HitPlaceAt(POINT point) const;
    int HitPlace() const { return FHitPlace; }
    void RaiseWindow();

    // The chain of instances.
    bool IsPeerWindow(HWND wnd) override;
    bool HasPrevWnd() { return FChain.HasPrevWnd(); }
    bool HasNextWnd() { return FChain.HasNextWnd(); }
    HWND PrevWnd() const { return FChain.PrevWnd(); }
    HWND NextWnd() const { return FChain.NextWnd(); }

    // Controls.
    gui::CaptionBar& TitlePanel() { return *FTitlePanel; }
    gui::SpeedButton& OptionBtn() { return *FOptionBtn; }
    gui::SpeedButton& TopmostBtn() { return *FTopmostBtn; }
    gui::SpeedButton& PinningBtn() { return *FPinningBtn; }
    gui::SpeedButton& ExitBtn() { return *FExitBtn; }
    gui::ScrollBox& ScrollBox() override { return *FScrollBox; }
    gui::Timer& LayoutTimer() { return FLayoutTimer; }
    const gui::ImageList& TitleImages() const { return FTitlePanel->Images(); }

    // The hotkey that opens the panel from anywhere (a hotkey field's word, 0 for none);
    // setting it registers it with the system at once.
    WORD Hotkey() const { return FHotkey; }
    void SetHotkey(WORD value);
    // The system refused the hotkey: another program (or instance) has the keys.
    bool HotkeyRefused() const { return FHotkey != 0 && !FGlobalHotkey.Registered(); }

    // Raised by the options button; the program shows the options dialog.
    std::function<void()> OnOptionsRequested;
    // Closes the window, which ends the program.
    void Close();

    // The application hooks, attached at the end of creation.
    void AppMainEventsIdle();
    void AppMainEventsDeactivate();
    void LayoutTimerExpanding();
    void LayoutTimerCollapsing();
    void FormClick();
    bool HooksAttached() const { return FAppMainEvents != nullptr; }

    // The keyboard (MainFormKeyboard.cpp). The hotkey was pressed (WM_HOTKEY): the panel
    // opens as a click on the strip opens it, comes to the front and puts the keyboard
    // focus into the tree of the frame that had it last; it then stays open with the
    // pointer away until the pointer has been in it and left, the focus leaves it, or
    // Escape.
    void HotkeyPressed();
    bool HeldOpen() const { return FHeldOpen; }
    // Escape in a tree or on the title bar: an open panel that is not pinned collapses,
    // and the window that had the focus before gets it back.
    void KeyboardEscape();
    // F6 (forward) and Shift+F6: the focus moves between the title bar and the trees of
    // the frames, in the order they show.
    void FocusCycle(bool forward);
    // The window the panel gives the focus back to (null when none is known).
    HWND PreviousWindow() const { return FPreviousWindow; }

    // High contrast (MainFormContrast.cpp): while a high-contrast theme is on, the
    // strip, the title bar, the caption bars and the glyphs show in the theme's colours;
    // BaseColor and the colour the chain passes on stay as they are.
    bool HighContrastShown() const { return FHighContrast; }
    // The theme or the system's colours changed (WM_SETTINGCHANGE, WM_SYSCOLORCHANGE).
    void SystemColorsChanged();

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void EraseBackground(HDC dc) override;
    // Make a frame's parts; the seams where their creation can fail.
    virtual std::unique_ptr<nav::TNavFrame> CreateFrame(int id);
    virtual std::unique_ptr<gui::Splitter> CreateSplitter(nav::TNavFrame& frame);

private:
    void FormCreate();
    void FormDestroy();
    void CreateControls();
    void LoadSettings();
    void ApplySettings(const TSettings& settings);
    void LoadFrames(const std::vector<TFrameState>& frames);
    // Runs a step of loading; an error in it is kept (the first one) and the step skipped.
    template <typename F> bool LoadStep(F&& step);
    void ReportLoadError();
    void WMEndSession(bool ending);
    // Posted to itself by loading, so that a load error is reported once the window is up.
    static constexpr UINT WM_REPORTLOADERROR = WM_APP + 0x5E;

    void UpdatePinningBtn(bool pinned);
    void SetButtonTag(gui::SpeedButton& button, int tag);
    void ArrangeTitleBar(TAlign edge);
    void ApplyAlpha();
    // A frame and the splitter that follows it; the window owns both.
    struct FrameSlot {
        std::unique_ptr<nav::TNavFrame> frame;
        std::unique_ptr<gui::Splitter> splitter; // declared last, so it goes before its frame
    };
    std::vector<FrameSlot>::iterator FindSlot(const nav::TNavFrame& frame);
    std::vector<FrameSlot>::const_iterator FindSlot(const nav::TNavFrame& frame) const;
    void SplitterCanResize(nav::TNavFrame& frame, int newSize, bool& accept);
    void AlignFrame(FrameSlot& slot);
    void AlignFrames();
    void SetDepth(int depth);

    void OptionBtnClick();
    void TopmostBtnClick();
    void PinningBtnClick();
    void ExitBtnClick();
    void TitlePanelMouseMove(WPARAM keys, POINT point);
    void FormMouseMove(WPARAM keys, POINT point);
    bool FormCanResize(int width, int height) const;
    void FormResize();
    void FormShow();
    LRESULT WMNCHitTest(WPARAM wParam, LPARAM lParam);
    bool WMActivate(WPARAM wParam, LPARAM lParam);
    // Each answers whether it handled the message.
    bool WMSetCursor(HWND window, int hitTest);
    bool WMSysCommand(WPARAM command);
    void WMWindowPosChanging(WINDOWPOS& pos);
    bool IsOwnControl(HWND wnd) const { return wnd != nullptr && ::IsWindow(wnd) && ::IsChild(Handle(), wnd); }
    void WMDisplayChange();
    void WMDockChain(WPARAM code, LPARAM argument);
    // Besides the watch on its process, the layout timer's ticks look for a previous
    // window that vanished (one whose process could not be watched).
    void RedockIfPreviousVanished();
    // The first window of a chain at the edge of the window's monitor, or null.
    HWND FindChainHead(TAlign edge);
    static BOOL CALLBACK FindChainProc(HWND wnd, LPARAM param);
    // As the window closes: it leaves the chain, hides and stops answering, so that no
    // newcomer can join it any more.
    void LeaveChainForGood();

    // IChainHost
    bool SharesEdge(HWND wnd) override;
    void PostChain(HWND to, TDockChainCode code, LPARAM argument) override;
    bool Redock() override;
    HWND FindChainHead() override { return FindChainHead(FSnapEdge); }
    void WatchPrevWnd(HWND wnd) override;
    TColor CurrentColor() override { return FChainColor; }
    void ReceiveBlendColor(TColor color) override;
    void ForgetBlendColor() override { FBlendColor = 0x1FFFFFFF; }

    IDesktop& FDesktop;
    gui::IHighContrastSetting& FContrast;
    TAlign FSnapEdge = gui::alNone;
    TLayout FLayout = loNone;
    bool FTopmost = false;
    int FHitPlace = HTCLIENT;
    POINT FHoverPos{0, 0};
    std::vector<FrameSlot> FFrames;
    HWND FWasActive = nullptr; // a handle, so a control freed meanwhile is never touched
    // The control that had the focus when the window was last deactivated; it gets
    // the focus back when the window is activated again.
    HWND FActiveControl = nullptr;
    int FCollapseSize = 4;
    int FExpandWidth = 300;
    int FExpandHeight = 225;
    TColor FBaseColor = gui::clBtnFace;
    TColor FBlendColor = 0x1FFFFFFF;
    TColor FChainColor = gui::clBtnFace;
    bool FColorShift = true;
    shellctrls::TNamespaceTreeControlStyles FDefaultStyles;
    shellctrls::TShellContactFilters FDefaultFilters;
    TChangeParts FMaintains;
    TChangeParts FModifies;
    InstanceChain FChain;
    ProcessEndWatch FPrevWndWatch;
    bool FRedocking = false; // a chain re-dock tells the next window itself
    BYTE FAlphaBlendValue = 64;
    bool FAlphaBlend = false;
    HCURSOR FCursor = nullptr;

    std::unique_ptr<gui::CaptionBar> FTitlePanel;
    // The title buttons belong to the title bar.
    gui::SpeedButton* FOptionBtn = nullptr;
    gui::SpeedButton* FExitBtn = nullptr;
    gui::SpeedButton* FPinningBtn = nullptr;
    gui::SpeedButton* FTopmostBtn = nullptr;
    std::unique_ptr<gui::ScrollBox> FScrollBox;
    gui::Timer FLayoutTimer;
    std::unique_ptr<gui::ApplicationEvents> FAppMainEvents;
    bool FOleInitialized = false;
    bool FDestroyed = false;

    // Drags and drops onto the window (MainFormDrop.cpp).
public:
    oledrag::TDropTarget& DropTarget() { return FDropTarget; }
    gui::Timer& HoverTimer() { return FHoverTimer; }
    void DropTargetDTDragEnter(IDataObject* dataObj, DWORD keyState, POINT& pt, DWORD& effect, HRESULT& result);
    void DropTargetDTDragOver(DWORD keyState, POINT& pt, DWORD& effect, HRESULT& result);
    void DropTargetDTDragLeave(HRESULT& result);
    void DropTargetDTDrop(IDataObject* dataObj, DWORD keyState, POINT& pt, DWORD& effect, HRESULT& result);
    void HoverTimerTimeOut();

private:
    void RegisterDropTarget();
    bool AcceptsDrops() const;
    // The frame whose caption bar itself (not one of its buttons) is at a screen point.
    nav::TNavFrame* CaptionFrameAt(POINT screen);
    void ScrollFramesBy(int dx, int dy);
    void ScrollIntoView(gui::Window& frame);

    oledrag::TDropTarget FDropTarget;
    gui::Timer FHoverTimer;
    // Whether the drag in progress offers a file list.
    bool FDragHasFiles = false;

    // High DPI (MainFormDpi.cpp): the chrome follows the DPI of the window's monitor;
    // stored sizes (depths, frame sizes) stay in pixels as the user set them.
public:
    int Dpi() const { return FDpi; }

private:
    // Makes the chrome's fonts and glyphs for a DPI first, then sizes the title bar,
    // the caption bars, the splitters and the padding (the callers repaint once).
    void ApplyDpi(int dpi);
    // The DPI of the monitor the window is on now.
    void ApplyMonitorDpi();
    void WMDpiChanged(int dpi, const RECT& suggested);
    bool WMGetDpiScaledSize(SIZE& size) const;
    // The band at the work area's sides in which a title-bar drag docks.
    int DragBand() const;
    int FDpi = 96;

    // Loading and saving (MainFormSettings.cpp).
    // The data file could not be loaded whole (malformed, or frames skipped): it is
    // kept beside before the next save replaces it.
    bool FDataFileBroken = false;
    // The first error of loading, reported once the window is up.
    std::exception_ptr FLoadError;
    // What the data file held when it was loaded or last saved: what a save writes of
    // the parts it does not take from the window when the file cannot be read.
    TSavedState FLastKnownFile;
    // The stamp of the unreadable file last kept beside, so that it is kept once.
    std::wstring FKeptUnreadable;

    // The keyboard and screen readers (MainFormKeyboard.cpp).
    static constexpr int kHotkeyId = 1;
    void RegisterHotkey();
    void WMHotKey(int id);
    void TitleButtonKeyDown(UINT key, bool& handled);
    // Remembers the window the focus came from, unless it is one of this program's.
    void NotePreviousWindow(HWND window);
    void FocusFrameForKeyboard();
    // Of the window as a whole, or (client) of its content.
    gui::AccessibleFacts AccessibleFacts(bool client) const;
    void AccessibleDefaultAction();
    void LayoutChangedForKeyboard();

    WORD FHotkey = kDefaultHotkey;
    GlobalHotkey FGlobalHotkey;
    bool FHeldOpen = false;
    HWND FPreviousWindow = nullptr;
    // The tree that had the keyboard focus last.
    HWND FLastTree = nullptr;
    // The window as a whole and its content, named by the title text.
    std::unique_ptr<gui::AccessibleServer> FAccessibleWindow;
    std::unique_ptr<gui::AccessibleServer> FAccessibleClient;

    // High contrast (MainFormContrast.cpp).
    void ApplyShownColor();
    void SetFramesHighContrast();
    bool FHighContrast = false;

    // Full-screen programs and monitors that come and go (MainFormScreens.cpp).
public:
    // The window in front may have changed: while a full-screen program lies in front
    // on the window's monitor, the window (unless pinned) steps aside, hidden; it is
    // back as it was once the program leaves full screen.
    void FullScreenWatchChange();
    bool Receded() const { return FReceded; }

private:
    static constexpr UINT WM_FULLSCREENCHANGE = WM_APP + 0x53;
    void StartFullScreenWatch();
    // Docks on the monitor and remembers that monitor's bounds.
    void DockOn(HMONITOR monitor);
    void WMSettingChange(WPARAM action);

    FullScreenWatch FFullScreenWatch;
    bool FReceded = false;
    bool FShownBeforeReceding = false;
    // The bounds of the monitor the window last docked on; after a display change a
    // window on other bounds has been moved to another monitor.
    RECT FDockMonitor{0, 0, 0, 0};

    // The data file as read for the frames' start-up restores, kept while its name, time
    // stamp and size stay the same and frames still wait to read it: frames that start
    // together read it once, not once each, and find their nodes by id.
    const TSavedState& SnapshotState();
    std::shared_ptr<const TSavedState> FSnapshotState;
    std::unordered_map<int32_t, size_t> FSnapshotFrames;
    std::wstring FSnapshotStamp;
};

// Hints of the title buttons by tag.
const wchar_t* TitleButtonHint(int tag);

} // namespace app
