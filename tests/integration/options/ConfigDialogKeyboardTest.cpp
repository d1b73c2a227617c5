// The options dialog from the keyboard alone: keys injected as the keyboard gives them
// (or, where no keyboard can, the messages an input method sends), through the dialog's
// own loop.
#include "ConfigDialogFixture.h"
#include "e2e/Input.h"
#include "gui/Hint.h"
#include "options/NumFilters.h"

#include <imm.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace options;
using options_test::ConfigDialogFixture;

namespace {

using ConfigDialogKeyboardTest = ConfigDialogFixture;

// The selection of an edit as (start, end).
std::pair<DWORD, DWORD> SelectionOf(gui::Window& edit) {
    DWORD start = 0, end = 0;
    SendMessageW(edit.Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return {start, end};
}

std::pair<DWORD, DWORD> Whole(const std::wstring& text) {
    return {0, static_cast<DWORD>(text.size())};
}

// Keys somebody else holds: registered for this thread, system-wide.
class TakenHotkey {
public:
    explicit TakenHotkey(WORD hotkey) {
        app::HotkeyKeys keys = app::KeysOfHotkey(hotkey);
        taken_ = RegisterHotKey(nullptr, kId, keys.modifiers, keys.key) != FALSE;
    }
    ~TakenHotkey() {
        if (taken_)
            UnregisterHotKey(nullptr, kId);
    }
    bool Taken() const { return taken_; }

private:
    static constexpr int kId = 0x2A;
    bool taken_ = false;
};

// Whether nobody holds the keys: they can be registered (and are let go again).
bool Free(WORD hotkey) {
    TakenHotkey probe(hotkey);
    return probe.Taken();
}

constexpr WORD kCtrlShiftF9 = MAKEWORD(VK_F9, HOTKEYF_CONTROL | HOTKEYF_SHIFT);
constexpr WORD kCtrlShiftF8 = MAKEWORD(VK_F8, HOTKEYF_CONTROL | HOTKEYF_SHIFT);

TEST_F(ConfigDialogKeyboardTest, CtrlTabAndTheCtrlPageKeysSwitchPagesFromAnywhere) {
    gui::PageControl& pages = dialog->OptionPage();
    RunSteps({
        [&] {
            ASSERT_EQ(pages.ActivePageIndex(), 0);
            EXPECT_EQ(GetFocus(), dialog->SizeEdt().Handle());
            PressKeys({VK_CONTROL}, VK_TAB);
        },
        [&] {
            EXPECT_EQ(pages.ActivePageIndex(), 1);
            // A control of the old page hands the focus to the first one of the new page.
            EXPECT_EQ(GetFocus(), dialog->HasLinesChk().Handle());
            PressKeys({VK_CONTROL}, VK_NEXT);
        },
        [&] {
            EXPECT_EQ(pages.ActivePageIndex(), 2);
            EXPECT_EQ(GetFocus(), dialog->FilterChks()[0]->Handle());
            PressKeys({VK_CONTROL}, VK_TAB);
        },
        [&] {
            EXPECT_EQ(pages.ActivePageIndex(), 3);
            EXPECT_EQ(GetFocus(), dialog->FromCbx().Handle());
            // From the last page round to the first.
            PressKeys({VK_CONTROL}, VK_TAB);
        },
        [&] {
            EXPECT_EQ(pages.ActivePageIndex(), 0);
            EXPECT_EQ(GetFocus(), dialog->SizeEdt().Handle());
            PressKeys({VK_CONTROL, VK_SHIFT}, VK_TAB);
        },
        [&] {
            EXPECT_EQ(pages.ActivePageIndex(), 3);
            PressKeys({VK_CONTROL}, VK_PRIOR);
        },
        [&] {
            EXPECT_EQ(pages.ActivePageIndex(), 2);
            // From a button below the pages too.
            dialog->CancelButton().SetFocus();
            PressKeys({VK_CONTROL}, VK_NEXT);
        },
        [&] {
            EXPECT_EQ(pages.ActivePageIndex(), 3);
            Click(dialog->CancelButton());
        },
    });
}

TEST_F(ConfigDialogKeyboardTest, TheTabsAreATabStopWhereTheArrowKeysSwitchPages) {
    gui::PageControl& pages = dialog->OptionPage();
    RunSteps({
        [&] {
            ASSERT_EQ(GetFocus(), dialog->SizeEdt().Handle());
            PressKeys({VK_SHIFT}, VK_TAB);
        },
        [&] {
            EXPECT_EQ(GetFocus(), pages.Handle());
            PressKey(VK_RIGHT);
        },
        [&] {
            EXPECT_EQ(pages.ActivePageIndex(), 1);
            EXPECT_EQ(GetFocus(), pages.Handle());
            PressKeys({VK_CONTROL}, VK_TAB);
        },
        [&] {
            // On the tabs, Ctrl+Tab leaves the focus there.
            EXPECT_EQ(pages.ActivePageIndex(), 2);
            EXPECT_EQ(GetFocus(), pages.Handle());
            PressKey(VK_LEFT);
        },
        [&] {
            EXPECT_EQ(pages.ActivePageIndex(), 1);
            PressKey(VK_LEFT);
        },
        [&] {
            EXPECT_EQ(pages.ActivePageIndex(), 0);
            PressKey(VK_TAB);
        },
        [&] {
            // Tab goes on from the tabs into the page, and the field's text is selected.
            EXPECT_EQ(GetFocus(), dialog->SizeEdt().Handle());
            EXPECT_EQ(SelectionOf(dialog->SizeEdt()), Whole(dialog->SizeEdt().Text()));
            dialog->ApplyButton().SetFocus();
            PressKey(VK_TAB);
        },
        [&] {
            // From the last button round to the tabs.
            EXPECT_EQ(GetFocus(), pages.Handle());
            Click(dialog->CancelButton());
        },
    });
}

TEST_F(ConfigDialogKeyboardTest, AcceleratorsActOnThePageShown) {
    bool shift = form->ColorShift();
    auto styles = form->DefaultStyles();
    auto filters = form->DefaultFilters();
    RunSteps({
        [&] { PressKeys({VK_MENU}, 'S'); }, // 隣接ウィンドウとの重複を避ける(&S)
        [&] {
            EXPECT_EQ(form->ColorShift(), !shift);
            EXPECT_EQ(form->DefaultStyles(), styles);
            PressKeys({VK_CONTROL}, VK_TAB);
        },
        [&] { PressKeys({VK_MENU}, 'S'); }, // 選択解除された項目を折りたたむ(&S)
        [&] {
            EXPECT_EQ(form->ColorShift(), !shift);
            EXPECT_NE(form->DefaultStyles().Contains(shellctrls::nstcsSpringExpand),
                      styles.Contains(shellctrls::nstcsSpringExpand));
            EXPECT_EQ(form->DefaultFilters(), filters);
            PressKeys({VK_CONTROL}, VK_TAB);
        },
        [&] { PressKeys({VK_MENU}, 'S'); }, // システムを含める(&S)
        [&] {
            EXPECT_TRUE(form->DefaultFilters().Contains(shellctrls::shcontfIncludeSuperHidden));
            // The hotkey field's accelerator does nothing while its page is not shown.
            HWND focus = GetFocus();
            PressKeys({VK_MENU}, 'K');
            pending.push_front([&, focus] {
                EXPECT_EQ(GetFocus(), focus);
                PressKeys({VK_CONTROL, VK_SHIFT}, VK_TAB);
            });
        },
        [&] {
            PressKeys({VK_CONTROL, VK_SHIFT}, VK_TAB);
        },
        [&] {
            ASSERT_EQ(dialog->OptionPage().ActivePageIndex(), 0);
            PressKeys({VK_MENU}, 'K');
        },
        [&] {
            EXPECT_EQ(GetFocus(), dialog->HotkeyEdt().Handle());
            Click(dialog->CancelButton());
        },
    });
    EXPECT_EQ(form->ColorShift(), shift);
    EXPECT_EQ(form->DefaultStyles(), styles);
    EXPECT_EQ(form->DefaultFilters(), filters);
}

TEST_F(ConfigDialogKeyboardTest, ANumericFieldsTextIsSelectedWheneverTheKeyboardBringsTheFocus) {
    RunSteps({
        [&] {
            // Right after opening, typing replaces the strip width: 12, not 412.
            EXPECT_EQ(GetFocus(), dialog->SizeEdt().Handle());
            EXPECT_EQ(SelectionOf(dialog->SizeEdt()), Whole(L"4"));
            PressKey('1');
            PressKey('2');
        },
        [&] {
            EXPECT_EQ(dialog->SizeEdt().Text(), L"12");
            EXPECT_EQ(form->CollapseSize(), 12);
            PressKey(VK_TAB);
        },
        [&] {
            EXPECT_EQ(GetFocus(), dialog->TransEdt().Handle());
            EXPECT_EQ(SelectionOf(dialog->TransEdt()), Whole(L"64"));
            PressKey('9');
        },
        [&] {
            EXPECT_EQ(form->AlphaBlendValue(), 9);
            PressKeys({VK_MENU}, 'X'); // 横幅[100-32767](&X)
        },
        [&] {
            EXPECT_EQ(GetFocus(), dialog->WidthEdt().Handle());
            EXPECT_EQ(SelectionOf(dialog->WidthEdt()), Whole(L"300"));
            for (int i = 0; i < 4; ++i)
                PressKeys({VK_CONTROL}, VK_TAB);
        },
        [&] {
            // Back on the page by Ctrl+Tab: its first field, selected.
            EXPECT_EQ(GetFocus(), dialog->SizeEdt().Handle());
            EXPECT_EQ(SelectionOf(dialog->SizeEdt()), Whole(L"12"));
            Click(dialog->CancelButton());
        },
    });
    EXPECT_EQ(form->CollapseSize(), 4);
    EXPECT_EQ(form->AlphaBlendValue(), 64);
}

TEST_F(ConfigDialogKeyboardTest, FullWidthDigitsAreTypedAsPlainDigits) {
    // The fields' own filter still takes plain digits only; the dialog turns the full-width
    // ones into them.
    EXPECT_FALSE(IsFilterChar(L'\uFF11', {fcAllowDecimal, fcRejectProcess}));
    Run([&] {
        TUpDownEdit& size = dialog->SizeEdt();
        size.SelectAll();
        for (wchar_t ch : std::wstring(L"\uFF12\uFF10"))
            SendMessageW(size.Handle(), WM_CHAR, ch, 1);
        EXPECT_EQ(size.Text(), L"20");
        EXPECT_EQ(form->CollapseSize(), 20);
        // Delivered by an input method, a character comes as WM_IME_CHAR.
        TUpDownEdit& height = dialog->HeightEdt();
        height.SetFocus();
        height.SelectAll();
        for (wchar_t ch : std::wstring(L"\uFF14\uFF10\uFF19"))
            SendMessageW(height.Handle(), WM_IME_CHAR, ch, 1);
        EXPECT_EQ(height.Text(), L"409");
        EXPECT_EQ(form->ExpandHeight(), 409);
        // Other full-width characters stay refused: the text does not change.
        for (wchar_t ch : std::wstring(L"\uFF21\uFF0D\u3000"))
            SendMessageW(height.Handle(), WM_IME_CHAR, ch, 1);
        EXPECT_EQ(height.Text(), L"409");
        Click(dialog->OKButton());
    });
    EXPECT_EQ(form->CollapseSize(), 20);
    EXPECT_EQ(form->ExpandHeight(), 409);
}

// The system's input method of this thread (Wine keeps its open state without an input
// method program; Xvfb has none, so nothing is composed).
class ThreadInputMethod {
public:
    explicit ThreadInputMethod(HWND window) : window_(window) {}
    bool Open() const {
        HIMC context = ImmGetContext(window_);
        bool open = context != nullptr && ImmGetOpenStatus(context) != FALSE;
        ImmReleaseContext(window_, context);
        return open;
    }
    void SetOpen(bool open) const {
        HIMC context = ImmGetContext(window_);
        ImmSetOpenStatus(context, open ? TRUE : FALSE);
        ImmReleaseContext(window_, context);
    }
    bool Available() const {
        HIMC context = ImmGetContext(window_);
        ImmReleaseContext(window_, context);
        return context != nullptr;
    }

private:
    HWND window_;
};

TEST_F(ConfigDialogKeyboardTest, TheInputMethodStaysClosedInTheNumericFieldsAndComesBackAfterwards) {
    ThreadInputMethod inputMethod(dialog->Handle());
    if (!inputMethod.Available())
        GTEST_SKIP() << "no input context for the dialog's thread";
    Run([&] {
        dialog->ShiftChk().SetFocus();
        inputMethod.SetOpen(true);
        ASSERT_TRUE(inputMethod.Open());
        // Arriving at a numeric field closes it.
        gui::FocusDialogControl(dialog->SizeEdt().Handle());
        EXPECT_FALSE(inputMethod.Open());
        // Opened while the field has the focus (the user presses the input method's key),
        // it is closed again at its notice.
        inputMethod.SetOpen(true);
        SendMessageW(dialog->SizeEdt().Handle(), WM_IME_NOTIFY, IMN_SETOPENSTATUS, 0);
        EXPECT_FALSE(inputMethod.Open());
        // From field to field it stays closed; leaving the fields gives it back as it was.
        gui::FocusDialogControl(dialog->TransEdt().Handle());
        EXPECT_FALSE(inputMethod.Open());
        dialog->ShiftChk().SetFocus();
        EXPECT_TRUE(inputMethod.Open());
        // Closed when the focus came, closed when it goes.
        inputMethod.SetOpen(false);
        gui::FocusDialogControl(dialog->WidthEdt().Handle());
        dialog->ShiftChk().SetFocus();
        EXPECT_FALSE(inputMethod.Open());
        // Other controls leave it alone.
        inputMethod.SetOpen(true);
        dialog->BaseBox().SetFocus();
        EXPECT_TRUE(inputMethod.Open());
        inputMethod.SetOpen(false);
        Click(dialog->CancelButton());
    });
}

// Each numeric value below, inside and above its range, and the three ways of leaving
// without OK: every one gives back exactly what the window had.
TEST_F(ConfigDialogKeyboardTest, LeavingWithoutOkGivesBackExactlyTheCapturedValues) {
    enum class Field { Size, Trans, Width, Height };
    struct Case {
        Field field;
        int value;
    } cases[] = {
        {Field::Size, 3},    {Field::Size, 10},    {Field::Size, 50},      {Field::Trans, 0},
        {Field::Trans, 100}, {Field::Width, 99},   {Field::Width, 500},    {Field::Width, 40000},
        {Field::Height, 50}, {Field::Height, 400}, {Field::Height, 99999},
        // AlphaBlendValue is a byte: nothing lies above its range of 1 to 255.
    };
    enum class Way { CancelButton, EscapeKey, CloseBox };
    for (const Case& c : cases) {
        for (Way way : {Way::CancelButton, Way::EscapeKey, Way::CloseBox}) {
            SCOPED_TRACE(testing::Message() << "field " << static_cast<int>(c.field) << " value " << c.value
                                            << " way " << static_cast<int>(way));
            form->SetCollapseSize(c.field == Field::Size ? c.value : 4);
            form->SetAlphaBlendValue(static_cast<BYTE>(c.field == Field::Trans ? c.value : 64));
            form->SetExpandWidth(c.field == Field::Width ? c.value : 300);
            form->SetExpandHeight(c.field == Field::Height ? c.value : 225);
            const int size = form->CollapseSize(), width = form->ExpandWidth(), height = form->ExpandHeight();
            const BYTE alpha = form->AlphaBlendValue();
            int result = RunSteps({[&] {
                // Opening changes nothing either.
                EXPECT_EQ(form->CollapseSize(), size);
                EXPECT_EQ(form->AlphaBlendValue(), alpha);
                EXPECT_EQ(form->ExpandWidth(), width);
                EXPECT_EQ(form->ExpandHeight(), height);
                switch (way) {
                case Way::CancelButton:
                    Click(dialog->CancelButton());
                    break;
                case Way::EscapeKey:
                    PressKey(VK_ESCAPE);
                    break;
                case Way::CloseBox:
                    PostMessageW(dialog->Handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
                    break;
                }
            }});
            EXPECT_EQ(result, gui::mrCancel);
            EXPECT_EQ(form->CollapseSize(), size);
            EXPECT_EQ(form->AlphaBlendValue(), alpha);
            EXPECT_EQ(form->ExpandWidth(), width);
            EXPECT_EQ(form->ExpandHeight(), height);
        }
    }
    EXPECT_TRUE(saved.empty());
}

TEST_F(ConfigDialogKeyboardTest,
       TheColourListOpensTheColourDialogOnlyWhenItsDroppedListClosesOnTheCustomEntry) {
    int asked = 0;
    dialog->BaseBox().PickColor = [&](HWND, gui::TColor& color) {
        ++asked;
        color = 0x123456;
        return true;
    };
    gui::ColorBox& box = dialog->BaseBox();
    auto wheel = [&](int notches) {
        RECT r = box.ScreenBounds();
        PostMessageW(box.Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, -notches * WHEEL_DELTA),
                     MAKELPARAM(r.left + 5, r.top + 5));
    };
    // A dropped-down list follows the pointer over it; the keys alone choose here.
    ASSERT_TRUE(e2e::MoveTo({2, GetSystemMetrics(SM_CYSCREEN) - 2}));
    RunSteps({
        [&] { PressKeys({VK_MENU}, 'C'); }, // ベースカラー(&C)
        [&] {
            ASSERT_EQ(GetFocus(), box.Handle());
            // Keys on the closed box pass over the custom entry: it is a colour like the others.
            PressKey(VK_HOME);
        },
        [&] {
            EXPECT_EQ(box.ItemIndex(), 0);
            EXPECT_EQ(form->BaseColor(), static_cast<gui::TColor>(box.ItemData(0)));
            PressKey(VK_DOWN);
            PressKey(VK_UP);
        },
        [&] {
            EXPECT_EQ(box.ItemIndex(), 0);
            wheel(1);
        },
        [&] {
            EXPECT_EQ(box.ItemIndex(), 1);
            wheel(-1);
        },
        [&] {
            EXPECT_EQ(box.ItemIndex(), 0);
            EXPECT_EQ(asked, 0);
            // In the dropped-down list: Enter on it.
            PressKey(VK_F4);
            PressKey(VK_DOWN);
            PressKey(VK_HOME);
        },
        [&] {
            EXPECT_TRUE(box.DroppedDown());
            EXPECT_EQ(asked, 0);
            PressKey(VK_RETURN);
        },
        [&] {
            EXPECT_FALSE(box.DroppedDown());
            EXPECT_EQ(asked, 1);
            EXPECT_EQ(form->BaseColor(), 0x123456u);
            // Closing the list on it with Alt+Up, and with F4.
            PressKeys({VK_MENU}, VK_DOWN);
            PressKey(VK_DOWN);
            PressKey(VK_UP);
            PressKeys({VK_MENU}, VK_UP);
        },
        [&] {
            EXPECT_EQ(asked, 2);
            PressKey(VK_F4);
            PressKey(VK_F4);
        },
        [&] {
            EXPECT_EQ(asked, 3);
            // Escape leaves the list without choosing.
            PressKey(VK_F4);
            PressKey(VK_DOWN);
            PressKey(VK_HOME);
            PressKey(VK_ESCAPE);
        },
        [&] {
            EXPECT_FALSE(box.DroppedDown());
            EXPECT_EQ(asked, 3);
            // A click on it in the dropped-down list.
            PressKey(VK_DOWN);
            PressKey(VK_F4);
        },
        [&] {
            ASSERT_TRUE(box.DroppedDown());
            COMBOBOXINFO info{};
            info.cbSize = sizeof(info);
            ASSERT_TRUE(GetComboBoxInfo(box.Handle(), &info));
            // The list shows the entry chosen; the custom entry first is scrolled to.
            SendMessageW(info.hwndList, LB_SETTOPINDEX, 0, 0);
            RECT item{};
            SendMessageW(info.hwndList, LB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&item));
            POINT at{item.left + 20, (item.top + item.bottom) / 2};
            ClientToScreen(info.hwndList, &at);
            ASSERT_TRUE(e2e::ClickAt(at));
        },
        [&] {
            EXPECT_EQ(asked, 4);
            EXPECT_FALSE(box.DroppedDown());
            Click(dialog->CancelButton());
        },
    });
    EXPECT_EQ(form->BaseColor(), gui::clBtnFace);
}

TEST_F(ConfigDialogKeyboardTest, TheColourBoxsHintFollowsTheColourShownAfterCancelAndOnReopening) {
    const std::wstring wide = L"Gradient Inactive Caption";
    const gui::TColor wideColor = 0xFF000000u | COLOR_GRADIENTINACTIVECAPTION;
    gui::ColorBox& box = dialog->BaseBox();
    Run([&] {
        Pick(box, IndexOf(box, wide));
        ASSERT_EQ(gui::HintOf(box), wide);
        Click(dialog->CancelButton());
    });
    EXPECT_EQ(box.Selected(), gui::clBtnFace);
    EXPECT_EQ(gui::HintOf(box), L"");
    form->SetBaseColor(wideColor);
    Run([&] {
        EXPECT_EQ(box.Selected(), wideColor);
        EXPECT_EQ(gui::HintOf(box), wide);
        Click(dialog->CancelButton());
    });
}

TEST_F(ConfigDialogKeyboardTest, TheHotkeyFieldIsCapturedAppliedAtOnceAndGivenBack) {
    ASSERT_TRUE(Free(kCtrlShiftF9) && Free(kCtrlShiftF8)) << "keys held by another program";
    form->SetHotkey(kCtrlShiftF9);
    ASSERT_FALSE(form->HotkeyRefused());
    RunSteps({
        [&] {
            EXPECT_EQ(dialog->HotkeyEdt().Hotkey(), kCtrlShiftF9);
            EXPECT_EQ(dialog->HotkeyNoteLbl().Text(), L"");
            PressKeys({VK_MENU}, 'K');
        },
        [&] {
            ASSERT_EQ(GetFocus(), dialog->HotkeyEdt().Handle());
            PressKeys({VK_CONTROL, VK_SHIFT}, VK_F8);
        },
        [&] {
            // Applied at once: the window holds the new keys and has let the old ones go.
            EXPECT_EQ(dialog->HotkeyEdt().Hotkey(), kCtrlShiftF8);
            EXPECT_EQ(form->Hotkey(), kCtrlShiftF8);
            EXPECT_FALSE(Free(kCtrlShiftF8));
            EXPECT_TRUE(Free(kCtrlShiftF9));
            Click(dialog->CancelButton());
        },
    });
    EXPECT_EQ(form->Hotkey(), kCtrlShiftF9);
    EXPECT_FALSE(Free(kCtrlShiftF9));
    EXPECT_TRUE(Free(kCtrlShiftF8));

    // 今回のみ keeps it for the running program; Backspace is no hotkey at all.
    RunSteps({
        [&] {
            dialog->HotkeyEdt().SetFocus();
            PressKey(VK_BACK);
        },
        [&] {
            EXPECT_EQ(dialog->HotkeyEdt().Hotkey(), 0);
            EXPECT_EQ(form->Hotkey(), 0);
            EXPECT_FALSE(form->HotkeyRefused());
            EXPECT_TRUE(Free(kCtrlShiftF9));
            Click(dialog->ApplyButton());
        },
    });
    EXPECT_EQ(form->Hotkey(), 0);
    EXPECT_TRUE(saved.empty());

    // OK keeps it and saves the configuration.
    Run([&] {
        dialog->HotkeyEdt().SetHotkey(kCtrlShiftF8);
        SendMessageW(dialog->HotkeyEdt().Parent()->Handle(), WM_COMMAND, MAKEWPARAM(0, EN_CHANGE),
                     reinterpret_cast<LPARAM>(dialog->HotkeyEdt().Handle()));
        Click(dialog->OKButton());
    });
    EXPECT_EQ(form->Hotkey(), kCtrlShiftF8);
    ASSERT_EQ(saved.size(), 1u);
    EXPECT_TRUE(saved[0].Contains(app::cpConfig));
    form->SetHotkey(0);
}

TEST_F(ConfigDialogKeyboardTest, KeysTakenElsewhereShowANoteOfTheirOwnAndLeaveOkAlone) {
    TakenHotkey taken(kCtrlShiftF9);
    ASSERT_TRUE(taken.Taken());
    form->SetHotkey(kCtrlShiftF9);
    ASSERT_TRUE(form->HotkeyRefused());
    Run([&] {
        EXPECT_EQ(dialog->HotkeyNoteLbl().Text(), L"使用中");
        EXPECT_TRUE(IsWindowVisible(dialog->HotkeyNoteLbl().Handle()));
        EXPECT_EQ(dialog->WarningLbl().Text(), L"");
        EXPECT_TRUE(dialog->OKButton().Enabled());
        EXPECT_TRUE(dialog->ApplyButton().Enabled());
        // Other keys: registered, and the note goes.
        dialog->HotkeyEdt().SetHotkey(kCtrlShiftF8);
        SendMessageW(dialog->HotkeyEdt().Parent()->Handle(), WM_COMMAND, MAKEWPARAM(0, EN_CHANGE),
                     reinterpret_cast<LPARAM>(dialog->HotkeyEdt().Handle()));
        EXPECT_FALSE(form->HotkeyRefused());
        EXPECT_EQ(dialog->HotkeyNoteLbl().Text(), L"");
        Click(dialog->CancelButton());
    });
    // Given back: the keys still taken, the note there again at the next opening.
    EXPECT_EQ(form->Hotkey(), kCtrlShiftF9);
    EXPECT_TRUE(form->HotkeyRefused());
    Run([&] {
        EXPECT_EQ(dialog->HotkeyNoteLbl().Text(), L"使用中");
        Click(dialog->CancelButton());
    });
    form->SetHotkey(0);
}

} // namespace

namespace {

TEST_F(ConfigDialogKeyboardTest, TheHotkeyWhileTheDialogIsOpenBringsTheDialogForward) {
    ASSERT_EQ(form->Layout(), app::loCollapsed);
    HWND other = CreateWindowExW(0, L"STATIC", L"other", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50, 200, 100,
                                 nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(other, nullptr);
    Run([&] {
        SetForegroundWindow(other);
        ASSERT_EQ(GetForegroundWindow(), other);
        form->HotkeyPressed();
        EXPECT_EQ(form->Layout(), app::loCollapsed);
        EXPECT_EQ(GetForegroundWindow(), dialog->Handle());
        EXPECT_EQ(GetActiveWindow(), dialog->Handle());
        Click(dialog->CancelButton());
    });
    DestroyWindow(other);
}

} // namespace
