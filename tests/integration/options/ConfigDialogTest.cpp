#include "ConfigDialogFixture.h"
#include "gui/Hint.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

using namespace options;
using app::TChangeParts;
using testing_support::PumpUntilIdle;

namespace {

using ConfigDialogTest = options_test::ConfigDialogFixture;

TEST_F(ConfigDialogTest, IsLaidOutAsTheOptionsDialog) {
    EXPECT_EQ(dialog->Text(), L"オプション");
    RECT client = dialog->ClientRect();
    EXPECT_EQ(gui::Width(client), 277);
    EXPECT_EQ(gui::Height(client), 356);
    EXPECT_EQ(GetWindowLongW(dialog->Handle(), GWL_STYLE) & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX),
              0);
    EXPECT_EQ(GetWindow(dialog->Handle(), GW_OWNER), form->Handle());
    ASSERT_EQ(dialog->OptionPage().PageCount(), 4);
    const wchar_t* pages[] = {L"ウィンドウ", L"フレーム", L"ツリー", L"終了時"};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(dialog->OptionPage().Page(i).Text(), pages[i]);
    EXPECT_EQ(dialog->OptionPage().ActivePageIndex(), 0);
    EXPECT_EQ(dialog->OKButton().Text(), L"OK");
    EXPECT_EQ(dialog->CancelButton().Text(), L"キャンセル");
    EXPECT_EQ(dialog->ApplyButton().Text(), L"今回のみ(&A)");
    EXPECT_EQ(dialog->OKButton().Bounds(), gui::MakeRect(28, 323, 75, 25));
    EXPECT_EQ(dialog->ApplyButton().Bounds(), gui::MakeRect(194, 323, 75, 25));
    EXPECT_EQ(dialog->WarningLbl().Text(), L"Warning!");
    // The style boxes carry the ordinals of their styles.
    std::vector<int> tags;
    for (auto& check : dialog->StyleChks())
        tags.push_back(check->Tag());
    EXPECT_EQ(tags, (std::vector<int>{1, 3, 4, 5, 7, 15, 18, 19}));
    tags.clear();
    for (auto& check : dialog->FilterChks())
        tags.push_back(check->Tag());
    EXPECT_EQ(tags, (std::vector<int>{1, 2, 3, 12}));
    // Each edit's button sits directly right of it, 16 wide.
    EXPECT_EQ(dialog->SizeEdt().UpDown()->Left(), dialog->SizeEdt().Bounds().right);
    EXPECT_EQ(dialog->SizeEdt().UpDown()->Width(), 16);
}

TEST_F(ConfigDialogTest, OpensWithTheMainWindowsValuesAndValid) {
    form->SetMaintains({app::cpFrame});
    int result = Run([&] {
        EXPECT_EQ(dialog->SizeEdt().Text(), L"4");
        EXPECT_EQ(dialog->TransEdt().Text(), L"64");
        EXPECT_EQ(dialog->WidthEdt().Text(), L"300");
        EXPECT_EQ(dialog->HeightEdt().Text(), L"225");
        EXPECT_EQ(dialog->BaseBox().Selected(), gui::clBtnFace);
        EXPECT_TRUE(dialog->ShiftChk().Checked());
        EXPECT_EQ(dialog->WarningLbl().Text(), L"");
        EXPECT_TRUE(dialog->OKButton().Enabled());
        EXPECT_TRUE(dialog->ApplyButton().Enabled());
        EXPECT_EQ(dialog->FromCbx().ItemIndex(), 2);
        EXPECT_EQ(dialog->FrameCbx().ItemIndex(), 0);
        EXPECT_EQ(dialog->TreeCbx().ItemIndex(), 2);
        EXPECT_FALSE(IsWindowEnabled(form->Handle()));
        PostMessageW(dialog->Handle(), WM_KEYDOWN, VK_ESCAPE, 0);
    });
    EXPECT_EQ(result, gui::mrCancel);
    EXPECT_TRUE(IsWindowEnabled(form->Handle()));
    EXPECT_FALSE(IsWindowVisible(dialog->Handle()));
    EXPECT_TRUE(saved.empty());
}

TEST_F(ConfigDialogTest, EveryChangeReachesTheMainWindowAtOnceAndCancelGivesAllBack) {
    ASSERT_EQ(form->Layout(), app::loCollapsed);
    TChangeParts maintains = form->Maintains();
    auto styles = form->DefaultStyles();
    auto filters = form->DefaultFilters();
    int result = Run([&] {
        Retype(dialog->SizeEdt(), L"20");
        EXPECT_EQ(form->CollapseSize(), 20);
        EXPECT_EQ(form->Width(), 20);
        Retype(dialog->TransEdt(), L"200");
        EXPECT_EQ(form->AlphaBlendValue(), 200);
        BYTE alpha = 0;
        GetLayeredWindowAttributes(form->Handle(), nullptr, &alpha, nullptr);
        EXPECT_EQ(alpha, 200);
        Retype(dialog->WidthEdt(), L"100");
        EXPECT_EQ(form->ExpandWidth(), 100);
        Retype(dialog->HeightEdt(), L"32767");
        EXPECT_EQ(form->ExpandHeight(), 32767);
        Pick(dialog->BaseBox(), IndexOf(dialog->BaseBox(), L"Red"));
        EXPECT_EQ(form->BaseColor(), 0x0000FFu);
        Click(dialog->ShiftChk());
        EXPECT_FALSE(form->ColorShift());
        Click(*dialog->StyleChks()[2]); // 選択解除された項目を折りたたむ
        EXPECT_TRUE(form->DefaultStyles().Contains(shellctrls::nstcsSpringExpand));
        Click(*dialog->FilterChks()[2]); // 非表示を含める
        EXPECT_TRUE(form->DefaultFilters().Contains(shellctrls::shcontfIncludeHidden));
        Pick(dialog->TreeCbx(), 0);
        EXPECT_TRUE(form->Maintains().Contains(app::cpTree));
        EXPECT_EQ(dialog->WarningLbl().Text(), L"");
        Click(dialog->CancelButton());
    });
    EXPECT_EQ(result, gui::mrCancel);
    EXPECT_EQ(form->CollapseSize(), 4);
    EXPECT_EQ(form->Width(), 4);
    EXPECT_EQ(form->AlphaBlendValue(), 64);
    EXPECT_EQ(form->ExpandWidth(), 300);
    EXPECT_EQ(form->ExpandHeight(), 225);
    EXPECT_EQ(form->BaseColor(), gui::clBtnFace);
    EXPECT_TRUE(form->ColorShift());
    EXPECT_EQ(form->DefaultStyles(), styles);
    EXPECT_EQ(form->DefaultFilters(), filters);
    EXPECT_EQ(form->Maintains(), maintains);
    EXPECT_TRUE(saved.empty());
}

TEST_F(ConfigDialogTest, AWrongFieldShowsItsMessageDisablesOkAndNeverReachesTheWindow) {
    int result = Run([&] {
        Replace(dialog->SizeEdt(), L"50");
        EXPECT_EQ(dialog->WarningLbl().Text(), L"幅が範囲外です");
        EXPECT_FALSE(dialog->OKButton().Enabled());
        EXPECT_FALSE(dialog->ApplyButton().Enabled());
        EXPECT_EQ(form->CollapseSize(), 4);
        // Typed key by key, the 5 on the way is a valid width and the last one applied.
        Retype(dialog->SizeEdt(), L"50");
        EXPECT_EQ(dialog->WarningLbl().Text(), L"幅が範囲外です");
        EXPECT_EQ(form->CollapseSize(), 5);
        // Enter presses nothing while OK is disabled.
        MSG enter{dialog->SizeEdt().Handle(), WM_KEYDOWN, VK_RETURN, 0, 0, {}};
        EXPECT_TRUE(dialog->PreTranslate(enter));
        EXPECT_EQ(dialog->ModalResult(), gui::mrNone);

        Retype(dialog->SizeEdt(), L"20");
        EXPECT_EQ(dialog->WarningLbl().Text(), L"");
        EXPECT_TRUE(dialog->OKButton().Enabled());
        EXPECT_TRUE(dialog->ApplyButton().Enabled());
        EXPECT_EQ(form->CollapseSize(), 20);

        // An emptied strip width and a height of 0: the height's message wins.
        Retype(dialog->SizeEdt(), L"");
        EXPECT_EQ(dialog->WarningLbl().Text(), L"不正な幅です");
        Retype(dialog->HeightEdt(), L"0");
        EXPECT_EQ(dialog->WarningLbl().Text(), L"高さが範囲外です");
        EXPECT_EQ(form->CollapseSize(), 20);
        EXPECT_EQ(form->ExpandHeight(), 225);
        Replace(dialog->TransEdt(), L"0");
        Replace(dialog->WidthEdt(), L"99");
        EXPECT_EQ(form->AlphaBlendValue(), 64);
        EXPECT_EQ(form->ExpandWidth(), 300);
        EXPECT_EQ(dialog->WarningLbl().Text(), L"高さが範囲外です");
        // キャンセル while the warning shows still gives the captured values back.
        Click(dialog->CancelButton());
    });
    EXPECT_EQ(result, gui::mrCancel);
    EXPECT_EQ(form->CollapseSize(), 4);
    EXPECT_EQ(form->ExpandHeight(), 225);
    EXPECT_TRUE(saved.empty());
}

TEST_F(ConfigDialogTest, TheCloseBoxGivesTheCapturedValuesBack) {
    int result = Run([&] {
        Retype(dialog->SizeEdt(), L"12");
        Pick(dialog->BaseBox(), IndexOf(dialog->BaseBox(), L"Navy"));
        EXPECT_EQ(form->CollapseSize(), 12);
        PostMessageW(dialog->Handle(), WM_CLOSE, 0, 0);
    });
    EXPECT_EQ(result, gui::mrCancel);
    EXPECT_EQ(form->CollapseSize(), 4);
    EXPECT_EQ(form->BaseColor(), gui::clBtnFace);
    EXPECT_TRUE(saved.empty());
}

TEST_F(ConfigDialogTest, OkKeepsTheChangesAndSavesAsTheKeepModesSay) {
    int result = Run([&] {
        Retype(dialog->SizeEdt(), L"8");
        Pick(dialog->FromCbx(), 1);  // 今回のみ保存
        Pick(dialog->FrameCbx(), 0); // 保存する
        // 展開・選択アイテム stays at 保存しない
        Click(dialog->OKButton());
    });
    EXPECT_EQ(result, gui::mrOk);
    EXPECT_EQ(form->CollapseSize(), 8);
    ASSERT_EQ(saved.size(), 1u);
    EXPECT_EQ(saved[0], (TChangeParts{app::cpConfig, app::cpForm, app::cpFrame}));
    EXPECT_EQ(modifiesAtSave[0], app::AllChangeParts);
    // Saved this time only: not kept at the end of the program.
    EXPECT_EQ(form->Maintains(), TChangeParts{app::cpFrame});
    // Reopening shows 保存しない for the window position.
    Run([&] {
        EXPECT_EQ(dialog->FromCbx().ItemIndex(), 2);
        EXPECT_EQ(dialog->FrameCbx().ItemIndex(), 0);
        EXPECT_EQ(dialog->SizeEdt().Text(), L"8");
        // Enter presses the default button.
        PostMessageW(dialog->SizeEdt().Handle(), WM_KEYDOWN, VK_RETURN, 0);
    });
    EXPECT_EQ(saved.size(), 2u);
}

TEST_F(ConfigDialogTest, ThisTimeOnlyKeepsTheValuesRestoresTheKeepModesAndSavesNothing) {
    int result = Run([&] {
        Retype(dialog->WidthEdt(), L"420");
        Pick(dialog->BaseBox(), IndexOf(dialog->BaseBox(), L"Teal"));
        Pick(dialog->FromCbx(), 0);
        EXPECT_TRUE(form->Maintains().Contains(app::cpForm));
        Click(dialog->ApplyButton());
    });
    EXPECT_EQ(result, gui::mrCancel);
    EXPECT_EQ(form->ExpandWidth(), 420);
    EXPECT_EQ(form->BaseColor(), 0x808000u);
    EXPECT_TRUE(form->Maintains().Empty());
    EXPECT_TRUE(saved.empty());
}

TEST_F(ConfigDialogTest, LinesAndFullRowSelectionAreNeverOnTogether) {
    auto styles = form->DefaultStyles();
    styles.Include(shellctrls::nstcsHasLines);
    styles.Include(shellctrls::nstcsFullRowSelect);
    form->SetDefaultStyles(styles);
    Run([&] {
        // Opening with both leaves only full-row selection.
        EXPECT_FALSE(dialog->HasLinesChk().Checked());
        EXPECT_TRUE(dialog->FullRowSelectChk().Checked());
        EXPECT_FALSE(form->DefaultStyles().Contains(shellctrls::nstcsHasLines));
        EXPECT_TRUE(form->DefaultStyles().Contains(shellctrls::nstcsFullRowSelect));
        Click(dialog->HasLinesChk());
        EXPECT_TRUE(dialog->HasLinesChk().Checked());
        EXPECT_FALSE(dialog->FullRowSelectChk().Checked());
        EXPECT_TRUE(form->DefaultStyles().Contains(shellctrls::nstcsHasLines));
        EXPECT_FALSE(form->DefaultStyles().Contains(shellctrls::nstcsFullRowSelect));
        Click(dialog->FullRowSelectChk());
        EXPECT_FALSE(dialog->HasLinesChk().Checked());
        EXPECT_FALSE(form->DefaultStyles().Contains(shellctrls::nstcsHasLines));
        EXPECT_TRUE(form->DefaultStyles().Contains(shellctrls::nstcsFullRowSelect));
        Click(dialog->OKButton());
    });
}

TEST_F(ConfigDialogTest, TheSystemFilterIsShownAndKeptByCancel) {
    auto filters = form->DefaultFilters();
    filters.Include(shellctrls::shcontfIncludeSuperHidden);
    form->SetDefaultFilters(filters);
    Run([&] {
        EXPECT_TRUE(dialog->FilterChks()[3]->Checked());
        Click(*dialog->FilterChks()[3]);
        EXPECT_FALSE(form->DefaultFilters().Contains(shellctrls::shcontfIncludeSuperHidden));
        Click(dialog->CancelButton());
    });
    EXPECT_EQ(form->DefaultFilters().Bits(), 4096u + 6u);
}

TEST_F(ConfigDialogTest, TheColourListIsWideEnoughAndALongNameBecomesTheHint) {
    Run([&] {
        gui::ColorBox& box = dialog->BaseBox();
        EXPECT_EQ(box.ItemText(0), L"カスタム...");
        EXPECT_EQ(box.ItemText(1), L"Black");
        int longest = 0;
        for (int i = 0; i < box.Count(); ++i)
            longest = std::max(longest, box.TextWidth(box.ItemText(i)));
        SendMessageW(box.Handle(), CB_SHOWDROPDOWN, TRUE, 0);
        EXPECT_EQ(box.DroppedWidth(), std::max(box.Width(), longest + 50));
        SendMessageW(box.Handle(), CB_SHOWDROPDOWN, FALSE, 0);

        const std::wstring wide = L"Gradient Inactive Caption";
        ASSERT_GT(box.TextWidth(wide), box.Width());
        Pick(box, IndexOf(box, wide));
        EXPECT_EQ(gui::HintOf(box), wide);
        EXPECT_EQ(form->BaseColor(), 0xFF000000u | COLOR_GRADIENTINACTIVECAPTION);
        Pick(box, IndexOf(box, L"Red"));
        EXPECT_EQ(gui::HintOf(box), L"");
        Click(dialog->OKButton());
    });
}

TEST_F(ConfigDialogTest, TheCustomEntryTakesAPickedColourAndACancelledPickChangesNothing) {
    bool answer = false;
    int asked = 0;
    dialog->BaseBox().PickColor = [&](HWND, gui::TColor& color) {
        ++asked;
        color = 0x123456;
        return answer;
    };
    gui::ColorBox& box = dialog->BaseBox();
    RunSteps({[&] {
                  Pick(box, IndexOf(box, L"Olive"));
                  ChooseInList(box, 0);
              },
              [&] {
                  EXPECT_EQ(asked, 1);
                  EXPECT_EQ(form->BaseColor(), 0x008080u);
                  EXPECT_EQ(box.ItemText(box.ItemIndex()), L"Olive");
                  answer = true;
                  ChooseInList(box, 0);
              },
              [&] {
                  EXPECT_EQ(asked, 2);
                  EXPECT_EQ(form->BaseColor(), 0x123456u);
                  Click(dialog->OKButton());
              }});
    // A colour without a name opens as the custom entry.
    Run([&] {
        EXPECT_EQ(box.ItemIndex(), 0);
        EXPECT_EQ(box.Selected(), 0x123456u);
        Click(dialog->CancelButton());
    });
}

TEST_F(ConfigDialogTest, TheLastPageShownComesBackAndAcceleratorsFocusTheirFields) {
    Run([&] {
        dialog->OptionPage().SetActivePageIndex(3);
        Click(dialog->CancelButton());
    });
    Run([&] {
        EXPECT_EQ(dialog->OptionPage().ActivePageIndex(), 3);
        // ウィンドウ位置(&W) focuses its list; フレーム配置(&F) focuses nothing.
        MSG altW{dialog->Handle(), WM_SYSCHAR, L'w', 0, 0, {}};
        EXPECT_TRUE(dialog->PreTranslate(altW));
        EXPECT_EQ(GetFocus(), dialog->FromCbx().Handle());
        MSG altF{dialog->Handle(), WM_SYSCHAR, L'f', 0, 0, {}};
        EXPECT_FALSE(dialog->PreTranslate(altF));
        EXPECT_EQ(GetFocus(), dialog->FromCbx().Handle());
        dialog->OptionPage().SetActivePageIndex(0);
        EXPECT_TRUE(dialog->PreTranslate(altW));
        EXPECT_EQ(GetFocus(), dialog->SizeEdt().Handle());
        Click(dialog->CancelButton());
    });
}

TEST_F(ConfigDialogTest, TheSmallestPanelTheDialogAcceptsOpensAtThatSize) {
    form->SetLayout(app::loPinned);
    ASSERT_EQ(form->Width(), 300);
    Run([&] {
        Retype(dialog->WidthEdt(), L"100");
        EXPECT_EQ(form->ExpandWidth(), 100);
        EXPECT_EQ(form->Width(), 100);
        Click(dialog->OKButton());
    });
    form->SetLayout(app::loCollapsed);
    form->SetLayout(app::loPinned);
    EXPECT_EQ(form->Width(), 100);
}

TEST_F(ConfigDialogTest, FillingTheFieldsBeforeTheDialogIsActiveChangesNothing) {
    // Not shown, so not active: the verification handlers must not write.
    dialog->SizeEdt().SetText(L"30");
    EXPECT_EQ(form->CollapseSize(), 4);
}

} // namespace
