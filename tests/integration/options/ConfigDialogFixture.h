#pragma once
// A main window with its options dialog, and ways to act on the open dialog as the user
// would: inside the dialog's own modal loop, step by step.
#include "FarPointerDesktop.h"
#include "app/MainForm.h"
#include "options/ConfigDialog.h"
#include "support/Keyboard.h"
#include "support/Pump.h"

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <initializer_list>
#include <memory>
#include <vector>

namespace options_test {

class ConfigDialogFixture : public ::testing::Test {
protected:
    void SetUp() override {
        form = std::make_unique<app::TMainForm>(desktop);
        dialog = MakeDialog();
        dialog->Save = [this](app::TChangeParts parts) {
            saved.push_back(parts);
            modifiesAtSave.push_back(form->Modifies());
        };
        testing_support::PumpUntilIdle();
    }
    void TearDown() override {
        dialog.reset();
        form.reset();
        testing_support::PumpUntilIdle();
    }
    virtual std::unique_ptr<options::TConfigDialog> MakeDialog() {
        return std::make_unique<options::TConfigDialog>(*form);
    }

    // Opens the dialog and runs the actions inside its modal loop, as the user would
    // act on it; the actions end by closing it. Answers the modal result.
    int Run(std::function<void()> actions) { return RunSteps({std::move(actions)}); }

    // The same, one step after the other: each step starts once the dialog's loop has
    // handled everything the step before queued (posted messages, injected input), since
    // a timer's tick comes only when nothing else waits. The last step closes the dialog.
    int RunSteps(std::vector<std::function<void()>> steps) {
        pending.assign(steps.begin(), steps.end());
        current = dialog.get();
        UINT_PTR start = SetTimer(nullptr, 0, 1, NextStep);
        // A dialog that is still open after all this is a failure.
        UINT_PTR failsafe = SetTimer(nullptr, 0, 10000, [](HWND, UINT, UINT_PTR id, DWORD) {
            KillTimer(nullptr, id);
            if (current->ShowingModal()) {
                ADD_FAILURE() << "the dialog stayed open";
                pending.clear();
                current->SetModalResult(gui::mrCancel);
            }
        });
        int result = dialog->Execute();
        KillTimer(nullptr, start);
        KillTimer(nullptr, failsafe);
        pending.clear();
        return result;
    }

    // Keys as the keyboard gives them, through the dialog's loop.
    static void PressKeys(std::initializer_list<WORD> held, WORD key) {
        EXPECT_TRUE(testing_support::PressKeys(held, key));
    }
    static void PressKey(WORD key) { PressKeys({}, key); }

    static void Type(gui::Window& control, const std::wstring& text) {
        control.SetFocus();
        for (wchar_t ch : text)
            SendMessageW(control.Handle(), WM_CHAR, ch, 1);
    }
    static void Retype(options::TUpDownEdit& edit, const std::wstring& text) {
        edit.SetFocus();
        edit.SelectAll();
        SendMessageW(edit.Handle(), WM_CHAR, VK_BACK, 1);
        Type(edit, text);
    }
    // The whole text replaced at once, as a paste over the selection does.
    static void Replace(options::TUpDownEdit& edit, const std::wstring& text) { edit.SetText(text); }
    static void Click(gui::Window& button) { SendMessageW(button.Handle(), BM_CLICK, 0, 0); }
    // Picks an item as the user does: the list selects it and tells its parent.
    static void Pick(gui::ComboBox& box, int index) {
        box.SetItemIndex(index);
        SendMessageW(GetParent(box.Handle()), WM_COMMAND, MAKEWPARAM(0, CBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(box.Handle()));
    }
    // Drops the list down, moves to an entry and closes the list on it with Enter.
    static void ChooseInList(gui::ComboBox& box, int index) {
        SendMessageW(box.Handle(), CB_SHOWDROPDOWN, TRUE, 0);
        box.SetItemIndex(index);
        SendMessageW(box.Handle(), WM_KEYDOWN, VK_RETURN, 0);
    }
    static int IndexOf(gui::ComboBox& box, const std::wstring& text) {
        for (int i = 0; i < box.Count(); ++i) {
            if (box.ItemText(i) == text)
                return i;
        }
        return -1;
    }

    FarPointerDesktop desktop;
    std::unique_ptr<app::TMainForm> form;
    std::unique_ptr<options::TConfigDialog> dialog;
    std::vector<app::TChangeParts> saved;
    std::vector<app::TChangeParts> modifiesAtSave;
    static inline std::deque<std::function<void()>> pending;
    static inline options::TConfigDialog* current = nullptr;

private:
    static void CALLBACK NextStep(HWND, UINT, UINT_PTR id, DWORD) {
        KillTimer(nullptr, id);
        if (pending.empty())
            return;
        std::function<void()> step = std::move(pending.front());
        pending.pop_front();
        EXPECT_EQ(GetActiveWindow(), current->Handle());
        step();
        if (!pending.empty() && current->ShowingModal() && current->ModalResult() == gui::mrNone)
            SetTimer(nullptr, 0, 1, NextStep);
    }
};

} // namespace options_test
