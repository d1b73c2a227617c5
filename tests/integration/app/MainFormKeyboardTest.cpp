// The edge window without a mouse: its hotkey, Escape and F6, what screen readers read
// of it (through the system's accessibility interface, as a screen reader asks), and its
// colours in a high-contrast theme.
#include "app/DockGeometry.h"
#include "app/MainForm.h"
#include "OtherProgram.h"
#include "TwoMonitorsDesktop.h"
#include "support/Keyboard.h"
#include "support/Pump.h"

#include <commctrl.h>
#include <oleacc.h>
#include <wrl/client.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

using namespace app;
using Microsoft::WRL::ComPtr;
using testing_support::PressKey;
using testing_support::PressKeys;
using testing_support::PumpUntil;
using testing_support::PumpUntilIdle;

namespace {

class SwitchableContrast : public gui::IHighContrastSetting {
public:
    bool on = false;
    bool HighContrastOn() override { return on; }
};

class MainFormKeyboardTest : public ::testing::Test {
protected:
    void SetUp() override {
        form = std::make_unique<TMainForm>(desktop, contrast);
        PumpUntilIdle();
    }
    void TearDown() override {
        second.reset();
        form.reset();
        PumpUntilIdle();
    }
    // The window that has the keyboard focus inside the form, or null.
    static HWND FocusIn(gui::Window& window) {
        HWND focus = GetFocus();
        return focus != nullptr && (focus == window.Handle() || IsChild(window.Handle(), focus)) ? focus
                                                                                                 : nullptr;
    }
    bool TreeHasFocus(nav::TNavFrame& frame) { return FocusIn(frame.NameSpaceTree()) != nullptr; }
    bool TitleBarHasFocus() { return FocusIn(form->TitlePanel()) != nullptr; }
    // The hotkey pressed on the keyboard: the system delivers WM_HOTKEY.
    ::testing::AssertionResult PressHotkey() {
        if (!PressKeys({VK_CONTROL, VK_SHIFT}, VK_F11))
            return ::testing::AssertionFailure() << "the keys were refused";
        if (!PumpUntil(
                [&] { return GetForegroundWindow() == form->Handle() && form->Layout() != loCollapsed; }))
            return ::testing::AssertionFailure() << "the panel did not open";
        PumpUntilIdle();
        return ::testing::AssertionSuccess();
    }

    app_test::TwoMonitors desktop;
    SwitchableContrast contrast;
    std::unique_ptr<TMainForm> form;
    std::unique_ptr<TMainForm> second;
};

bool KeysFree(WORD hotkey) {
    HotkeyKeys keys = KeysOfHotkey(hotkey);
    if (!RegisterHotKey(nullptr, 0x2B, keys.modifiers, keys.key))
        return false;
    UnregisterHotKey(nullptr, 0x2B);
    return true;
}

TEST_F(MainFormKeyboardTest, TheHotkeyIsRegisteredAtTheStartAndFollowsItsValue) {
    EXPECT_EQ(form->Hotkey(), kDefaultHotkey);
    EXPECT_FALSE(form->HotkeyRefused());
    EXPECT_FALSE(KeysFree(kDefaultHotkey));
    form->SetHotkey(0);
    EXPECT_FALSE(form->HotkeyRefused());
    EXPECT_TRUE(KeysFree(kDefaultHotkey));
    form->SetHotkey(kDefaultHotkey);
    EXPECT_FALSE(KeysFree(kDefaultHotkey));
    // Another instance wants the same keys: refused there, nothing breaks.
    second = std::make_unique<TMainForm>(desktop, contrast);
    EXPECT_TRUE(second->HotkeyRefused());
    // The first one ending frees them.
    form.reset();
    PumpUntilIdle();
    EXPECT_TRUE(KeysFree(kDefaultHotkey));
}

TEST_F(MainFormKeyboardTest, TheHotkeyOpensThePanelWithTheFocusInTheTreeThatHadItLast) {
    form->AddDesktop();
    std::vector<nav::TNavFrame*> frames = form->OrderedFrames();
    ASSERT_EQ(frames.size(), 2u);
    app_test::OtherProgram other;
    ASSERT_NE(other.Window(), nullptr);
    ASSERT_TRUE(PumpUntil([&] { return GetForegroundWindow() == other.Window(); }));

    ASSERT_TRUE(PressHotkey());
    EXPECT_EQ(form->Layout(), loExpanded);
    EXPECT_TRUE(TreeHasFocus(*frames[0])) << "no tree had it yet: the first";
    EXPECT_EQ(form->PreviousWindow(), other.Window());

    frames[1]->NameSpaceTree().SetFocus();
    form->KeyboardEscape();
    ASSERT_TRUE(PumpUntil([&] { return GetForegroundWindow() == other.Window(); }));
    EXPECT_EQ(form->Layout(), loCollapsed);
    ASSERT_TRUE(PressHotkey());
    EXPECT_TRUE(TreeHasFocus(*frames[1]));

    // A collapsed frame shows no tree: the first one that shows takes the focus.
    frames[1]->SetCollapsed(true);
    form->KeyboardEscape();
    ASSERT_TRUE(PressHotkey());
    EXPECT_TRUE(TreeHasFocus(*frames[0]));
}

TEST_F(MainFormKeyboardTest, AHotkeysPanelStaysOpenUntilThePointerHasComeAndGone) {
    ASSERT_FALSE(Contains(form->ScreenBounds(), desktop.cursor));
    form->HotkeyPressed();
    ASSERT_EQ(form->Layout(), loExpanded);
    EXPECT_TRUE(form->HeldOpen());
    form->LayoutTimerCollapsing();
    form->LayoutTimerCollapsing();
    EXPECT_EQ(form->Layout(), loExpanded);
    desktop.cursor = {form->ScreenBounds().left + 50, 300};
    form->LayoutTimerCollapsing();
    EXPECT_EQ(form->Layout(), loExpanded);
    EXPECT_FALSE(form->HeldOpen());
    desktop.cursor = {2000, 2000};
    form->LayoutTimerCollapsing();
    EXPECT_EQ(form->Layout(), loCollapsed);

    // Opened any other way, it collapses at the first tick with the pointer away, as ever.
    form->FormClick();
    ASSERT_EQ(form->Layout(), loExpanded);
    EXPECT_FALSE(form->HeldOpen());
    form->LayoutTimerCollapsing();
    EXPECT_EQ(form->Layout(), loCollapsed);

    // Another program taking the focus closes it at once.
    form->HotkeyPressed();
    form->AppMainEventsDeactivate();
    EXPECT_EQ(form->Layout(), loCollapsed);
    EXPECT_FALSE(form->HeldOpen());
}

TEST_F(MainFormKeyboardTest, EscapeInATreeCollapsesAndGivesTheFocusBackPinnedItOnlyGivesItBack) {
    app_test::OtherProgram other;
    ASSERT_NE(other.Window(), nullptr);
    ASSERT_TRUE(PumpUntil([&] { return GetForegroundWindow() == other.Window(); }));
    ASSERT_TRUE(PressHotkey());
    nav::TNavFrame& frame = *form->OrderedFrames().front();
    ASSERT_TRUE(TreeHasFocus(frame));
    PressKey(VK_ESCAPE);
    EXPECT_TRUE(PumpUntil([&] { return GetForegroundWindow() == other.Window(); }));
    EXPECT_EQ(form->Layout(), loCollapsed);

    ASSERT_TRUE(PressHotkey());
    form->PinningBtn().Click();
    ASSERT_EQ(form->Layout(), loPinned);
    PressKey(VK_ESCAPE);
    EXPECT_TRUE(PumpUntil([&] { return GetForegroundWindow() == other.Window(); }));
    EXPECT_EQ(form->Layout(), loPinned);
    // Back again, the focus is where it was.
    ASSERT_TRUE(PressHotkey());
    EXPECT_TRUE(TreeHasFocus(frame));
}

TEST_F(MainFormKeyboardTest, EscapeWhileANameIsEditedOnlyEndsTheEdit) {
    form->FormClick();
    form->PinningBtn().Click();
    nav::TNavFrame& frame = *form->OrderedFrames().front();
    frame.NameSpaceTree().SetFocus();
    SetForegroundWindow(form->Handle());
    PumpUntilIdle();
    HWND view = frame.NameSpaceTree().TreeViewHandle();
    ASSERT_NE(view, nullptr);
    HTREEITEM item = TreeView_GetSelection(view);
    if (item == nullptr)
        item = TreeView_GetRoot(view);
    HWND edit = item != nullptr ? TreeView_EditLabel(view, item) : nullptr;
    if (edit == nullptr)
        GTEST_SKIP() << "the tree refuses to edit its items' names here";
    ASSERT_TRUE(PumpUntil([&] { return GetFocus() == edit; }));
    PressKey(VK_ESCAPE);
    EXPECT_TRUE(PumpUntil([&] { return TreeView_GetEditControl(view) == nullptr; }));
    EXPECT_EQ(form->Layout(), loPinned);
    EXPECT_EQ(GetForegroundWindow(), form->Handle());
}

TEST_F(MainFormKeyboardTest, F6MovesTheFocusBetweenTheTitleBarAndTheTreesWhoseButtonsSpaceAndEnterPress) {
    form->AddDesktop();
    std::vector<nav::TNavFrame*> frames = form->OrderedFrames();
    form->FormClick();
    form->PinningBtn().Click();
    SetForegroundWindow(form->Handle());
    frames[0]->NameSpaceTree().SetFocus();
    PumpUntilIdle();
    ASSERT_TRUE(TreeHasFocus(*frames[0]));

    auto press = [](std::initializer_list<WORD> held, WORD key) {
        EXPECT_TRUE(PressKeys(held, key));
        PumpUntilIdle();
    };
    press({}, VK_F6);
    EXPECT_TRUE(TreeHasFocus(*frames[1]));
    press({}, VK_F6);
    EXPECT_TRUE(TitleBarHasFocus());
    // The title bar starts at the options button (at the bottom of a bar on the left edge).
    EXPECT_EQ(GetFocus(), form->OptionBtn().Handle());
    press({}, VK_F6);
    EXPECT_TRUE(TreeHasFocus(*frames[0]));
    press({VK_SHIFT}, VK_F6);
    EXPECT_TRUE(TitleBarHasFocus());
    press({VK_SHIFT}, VK_F6);
    EXPECT_TRUE(TreeHasFocus(*frames[1]));

    // Along the bar with the arrow keys; Space and Enter press the button.
    press({}, VK_F6);
    ASSERT_EQ(GetFocus(), form->OptionBtn().Handle());
    press({}, VK_UP);
    EXPECT_EQ(GetFocus(), form->TopmostBtn().Handle());
    press({}, VK_UP);
    EXPECT_EQ(GetFocus(), form->PinningBtn().Handle());
    press({}, VK_SPACE);
    EXPECT_EQ(form->Layout(), loExpanded);
    press({}, VK_RETURN);
    EXPECT_EQ(form->Layout(), loPinned);
    press({}, VK_DOWN);
    EXPECT_EQ(GetFocus(), form->TopmostBtn().Handle());
    press({}, VK_RETURN);
    EXPECT_TRUE(form->Topmost());
    press({}, VK_TAB);
    EXPECT_EQ(GetFocus(), form->PinningBtn().Handle());

    // A collapsed frame is passed over.
    frames[1]->SetCollapsed(true);
    frames[0]->NameSpaceTree().SetFocus();
    press({}, VK_F6);
    EXPECT_TRUE(TitleBarHasFocus());
    // Back on the title bar, the button that had the focus last has it again.
    EXPECT_EQ(GetFocus(), form->PinningBtn().Handle());
    // Escape there does what it does in a tree.
    press({}, VK_SPACE);
    ASSERT_EQ(form->Layout(), loExpanded);
    press({}, VK_ESCAPE);
    EXPECT_EQ(form->Layout(), loCollapsed);
}

// What a screen reader gets through the system's accessibility interface.
struct Read {
    std::wstring name;
    long role = 0;
    long state = 0;
    std::wstring action;
    HRESULT result = E_FAIL;
};

ComPtr<IAccessible> AccessibleOf(HWND window, LONG object = OBJID_CLIENT) {
    ComPtr<IAccessible> accessible;
    AccessibleObjectFromWindow(window, static_cast<DWORD>(object), __uuidof(IAccessible),
                               reinterpret_cast<void**>(accessible.GetAddressOf()));
    return accessible;
}

Read ReadAccessible(IAccessible* accessible) {
    Read read;
    if (accessible == nullptr)
        return read;
    VARIANT self;
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR text = nullptr;
    read.result = accessible->get_accName(self, &text);
    if (text != nullptr) {
        read.name = text;
        SysFreeString(text);
    }
    VARIANT value;
    VariantInit(&value);
    if (SUCCEEDED(accessible->get_accRole(self, &value)) && value.vt == VT_I4)
        read.role = value.lVal;
    VariantClear(&value);
    if (SUCCEEDED(accessible->get_accState(self, &value)) && value.vt == VT_I4)
        read.state = value.lVal;
    VariantClear(&value);
    text = nullptr;
    if (SUCCEEDED(accessible->get_accDefaultAction(self, &text)) && text != nullptr) {
        read.action = text;
        SysFreeString(text);
    }
    return read;
}

Read ReadAccessible(HWND window, LONG object = OBJID_CLIENT) {
    return ReadAccessible(AccessibleOf(window, object).Get());
}

TEST_F(MainFormKeyboardTest, ScreenReadersReadEveryButtonByItsHintAndTheTogglesPressedOrNot) {
    struct Button {
        gui::SpeedButton& button;
        bool toggle;
    } buttons[] = {{form->OptionBtn(), false},
                   {form->TopmostBtn(), true},
                   {form->PinningBtn(), true},
                   {form->ExitBtn(), false}};
    form->FormClick();
    for (const Button& b : buttons) {
        Read read = ReadAccessible(b.button.Handle());
        ASSERT_EQ(read.result, S_OK);
        EXPECT_EQ(read.name, b.button.Hint());
        EXPECT_EQ(read.role, ROLE_SYSTEM_PUSHBUTTON);
        EXPECT_EQ(read.state & STATE_SYSTEM_PRESSED, 0);
        EXPECT_NE(read.state & STATE_SYSTEM_FOCUSABLE, 0);
        EXPECT_EQ(read.action, L"押す");
        EXPECT_EQ(b.button.Pressed().has_value(), b.toggle);
    }
    EXPECT_EQ(ReadAccessible(form->TopmostBtn().Handle()).name, L"標準形式で表示");
    form->SetTopmost(true);
    form->PinningBtn().Click();
    Read topmost = ReadAccessible(form->TopmostBtn().Handle());
    EXPECT_EQ(topmost.name, L"常に最前面で表示");
    EXPECT_NE(topmost.state & STATE_SYSTEM_PRESSED, 0);
    Read pinning = ReadAccessible(form->PinningBtn().Handle());
    EXPECT_EQ(pinning.name, L"展開して固定");
    EXPECT_NE(pinning.state & STATE_SYSTEM_PRESSED, 0);

    // The frame's caption buttons alike.
    nav::TNavFrame& frame = *form->OrderedFrames().front();
    for (gui::SpeedButton* button : {&frame.PreferenceBtn(), &frame.SwitchingBtn(), &frame.CloseBtn()}) {
        Read read = ReadAccessible(button->Handle());
        EXPECT_EQ(read.name, button->Hint());
        EXPECT_EQ(read.role, ROLE_SYSTEM_PUSHBUTTON);
        EXPECT_FALSE(read.name.empty());
    }
    EXPECT_EQ(ReadAccessible(frame.SwitchingBtn().Handle()).name, L"折り畳み");

    // The default action presses the button, once the screen reader's call has returned.
    ComPtr<IAccessible> pin = AccessibleOf(form->PinningBtn().Handle());
    VARIANT self;
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    ASSERT_EQ(pin->accDoDefaultAction(self), S_OK);
    EXPECT_EQ(form->Layout(), loPinned);
    PumpUntilIdle();
    EXPECT_EQ(form->Layout(), loExpanded);
}

TEST_F(MainFormKeyboardTest, ScreenReadersReadTheWindowByItsTitleAndItsCaptionBarsByTheirCaptions) {
    const std::wstring title = gui::Application::ExeTitle();
    for (LONG object : {static_cast<LONG>(OBJID_CLIENT), static_cast<LONG>(OBJID_WINDOW)}) {
        Read read = ReadAccessible(form->Handle(), object);
        ASSERT_EQ(read.result, S_OK) << object;
        EXPECT_EQ(read.name, title) << object;
        EXPECT_NE(read.state & STATE_SYSTEM_COLLAPSED, 0) << object;
        EXPECT_EQ(read.state & STATE_SYSTEM_EXPANDED, 0) << object;
        EXPECT_EQ(read.action, L"展開") << object;
    }
    EXPECT_EQ(ReadAccessible(form->Handle()).role, ROLE_SYSTEM_PANE);
    // Its window text stays what other instances look for.
    wchar_t text[64] = {};
    GetWindowTextW(form->Handle(), text, 64);
    EXPECT_STREQ(text, L"Kestrav");

    // Its default action opens the strip, as a click would.
    ComPtr<IAccessible> window = AccessibleOf(form->Handle());
    VARIANT self;
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    ASSERT_EQ(window->accDoDefaultAction(self), S_OK);
    PumpUntilIdle();
    ASSERT_EQ(form->Layout(), loExpanded);
    Read open = ReadAccessible(window.Get());
    EXPECT_NE(open.state & STATE_SYSTEM_EXPANDED, 0);
    EXPECT_EQ(open.state & STATE_SYSTEM_COLLAPSED, 0);
    EXPECT_EQ(open.action, L"折り畳み");
    form->PinningBtn().Click();
    EXPECT_EQ(ReadAccessible(window.Get()).action, L"");

    // The title bar by the title, each frame's caption bar by its caption.
    Read bar = ReadAccessible(form->TitlePanel().Handle());
    EXPECT_EQ(bar.name, title);
    EXPECT_EQ(bar.role, ROLE_SYSTEM_TITLEBAR);
    nav::TNavFrame& frame = *form->OrderedFrames().front();
    frame.CaptionPanel().SetText(L"C:\\Users\\kestrav\\Documents");
    Read caption = ReadAccessible(frame.CaptionPanel().Handle());
    EXPECT_EQ(caption.name, L"C:\\Users\\kestrav\\Documents");
    EXPECT_EQ(caption.role, ROLE_SYSTEM_TITLEBAR);
}

TEST_F(MainFormKeyboardTest, AScreenReaderHoldingAButtonThatWentIsToldSoInsteadOfReachingIt) {
    nav::TNavFrame& frame = form->AddFrame(-1);
    ComPtr<IAccessible> close = AccessibleOf(frame.CloseBtn().Handle());
    ASSERT_NE(close, nullptr);
    ASSERT_EQ(ReadAccessible(close.Get()).result, S_OK);
    form->DelFrame(frame);
    PumpUntilIdle();
    EXPECT_EQ(ReadAccessible(close.Get()).result, RPC_E_DISCONNECTED);
}

// The colour of the glyph's drawn pixels; every other pixel is the ground.
std::vector<COLORREF> GlyphColors(HBITMAP glyph) {
    std::vector<COLORREF> colors;
    BITMAP info{};
    GetObjectW(glyph, sizeof(info), &info);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, glyph);
    COLORREF ground = GetPixel(dc, 0, info.bmHeight - 1);
    for (int y = 0; y < info.bmHeight; ++y) {
        for (int x = 0; x < info.bmWidth; ++x) {
            COLORREF c = GetPixel(dc, x, y);
            if (c != ground && std::find(colors.begin(), colors.end(), c) == colors.end())
                colors.push_back(c);
        }
    }
    SelectObject(dc, old);
    DeleteDC(dc);
    return colors;
}

// The colour the window's background is drawn in now.
COLORREF BackgroundOf(HWND window) {
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 8, 8);
    HGDIOBJ old = SelectObject(dc, bitmap);
    SendMessageW(window, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    COLORREF color = GetPixel(dc, 1, 1);
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    return color;
}

TEST_F(MainFormKeyboardTest, AHighContrastThemeShowsItsColoursLiveAndLeavesBaseColorAndTheChainAlone) {
    const COLORREF text = GetSysColor(COLOR_BTNTEXT);
    const gui::TColor base = RGB(200, 100, 50);
    form->SetBaseColor(base);
    nav::TNavFrame& frame = *form->OrderedFrames().front();
    ASSERT_FALSE(form->HighContrastShown());
    ASSERT_EQ(form->Color(), base);

    contrast.on = true;
    SendMessageW(form->Handle(), WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, 0);
    EXPECT_TRUE(form->HighContrastShown());
    EXPECT_EQ(form->Color(), gui::clBtnFace);
    EXPECT_EQ(form->BaseColor(), base);
    EXPECT_EQ(form->ChainColor(), base);
    for (gui::CaptionBar* bar : {&form->TitlePanel(), &frame.CaptionPanel()}) {
        EXPECT_TRUE(bar->HighContrast());
        EXPECT_EQ(bar->CaptionTextColor(), text);
    }
    for (gui::SpeedButton* button : {&form->OptionBtn(), &form->ExitBtn(), &frame.CloseBtn()})
        EXPECT_EQ(GlyphColors(button->Glyph()), std::vector<COLORREF>{text});
    // The collapsed strip in the theme's text colour, the open panel in its button face.
    EXPECT_EQ(BackgroundOf(form->Handle()), text);
    form->FormClick();
    EXPECT_EQ(BackgroundOf(form->Handle()), GetSysColor(COLOR_BTNFACE));
    // A frame added now shows the theme's colours too.
    nav::TNavFrame& added = form->AddFrame(-1);
    EXPECT_TRUE(added.CaptionPanel().HighContrast());
    EXPECT_EQ(GlyphColors(added.PreferenceBtn().Glyph()), std::vector<COLORREF>{text});

    // Another base colour changes the colour the chain gets, not the one shown.
    form->SetBaseColor(RGB(0, 0, 128));
    EXPECT_EQ(form->ChainColor(), RGB(0, 0, 128));
    EXPECT_EQ(form->Color(), gui::clBtnFace);

    // The theme switched off: the window's own colours again, light glyphs on navy.
    contrast.on = false;
    SendMessageW(form->Handle(), WM_SYSCOLORCHANGE, 0, 0);
    EXPECT_FALSE(form->HighContrastShown());
    EXPECT_EQ(form->Color(), RGB(0, 0, 128));
    EXPECT_FALSE(form->TitlePanel().HighContrast());
    EXPECT_EQ(form->TitlePanel().CaptionTextColor(), RGB(255, 255, 255));
    std::vector<COLORREF> plain = GlyphColors(form->ExitBtn().Glyph());
    EXPECT_NE(plain, std::vector<COLORREF>{text});
    EXPECT_EQ(BackgroundOf(form->Handle()), RGB(0, 0, 128));
}

TEST_F(MainFormKeyboardTest, InAHighContrastThemeTheChainStillPassesTheColourComputedFromBaseColor) {
    contrast.on = true;
    SendMessageW(form->Handle(), WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, 0);
    form->SetBaseColor(RGB(210, 90, 60));
    second = std::make_unique<TMainForm>(desktop, contrast);
    second->SetBaseColor(RGB(200, 100, 50));
    ASSERT_TRUE(PumpUntil([&] { return second->PrevWnd() == form->Handle(); }));
    ASSERT_TRUE(PumpUntil([&] { return second->BlendColor() == RGB(210, 90, 60); }));
    // As without the theme: (200, 100, 50) after a neighbour of (210, 90, 60).
    EXPECT_EQ(second->ChainColor(), RGB(154, 190, 110));
    EXPECT_EQ(second->Color(), gui::clBtnFace);
    EXPECT_EQ(form->Color(), gui::clBtnFace);
}

} // namespace
