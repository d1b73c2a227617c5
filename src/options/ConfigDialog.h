#pragma once
// The options dialog: the strip's thickness and translucency, the panel's size, the
// base colour and colour shift, the hotkey that opens the panel, the default tree styles
// and filters, and what is kept at the end of the program. Every change reaches the main
// window at once; the values the window had when the dialog opened are captured first,
// so that cancelling gives them back.
#include "app/MainForm.h"
#include "app/OptionsDialog.h"
#include "gui/Button.h"
#include "gui/CheckBox.h"
#include "gui/ColorBox.h"
#include "gui/ComboBox.h"
#include "gui/GroupBox.h"
#include "gui/Handles.h"
#include "gui/HotkeyEdit.h"
#include "gui/InputMethod.h"
#include "gui/Label.h"
#include "gui/ModalForm.h"
#include "gui/PageControl.h"
#include "options/NumEdits.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace options {

// The validation message for the numeric fields, in the order they are checked (the
// last wrong field's message is the one shown); empty when all are right.
struct NumericField {
    const wchar_t* name;
    TNumericallyRelationship relation;
};
std::wstring ValidationMessage(const std::vector<NumericField>& fields);

// The parts saved after OK: the configuration always, and each snapshot part whose
// keep mode (0 save, 1 save this time only, 2 do not save) is not 2.
app::TChangeParts PartsToSave(int formMode, int frameMode, int treeMode);

// A digit typed in full width (as a Japanese input method gives it, U+FF10 to U+FF19)
// as the plain digit; any other character as it is.
wchar_t PlainDigit(wchar_t typed);

class TConfigDialog : public gui::ModalForm, public app::IOptionsDialog {
public:
    // inputMethod: the one the numeric fields keep closed (the system's unless a test
    // gives another).
    explicit TConfigDialog(app::TMainForm& mainForm,
                           gui::IInputMethod& inputMethod = gui::SystemInputMethod());

    // Shows the dialog modally; after OK marks the whole state changed and saves the
    // parts the keep modes ask for. Answers the modal result.
    int Execute() override;

    // Saves after OK; the main window's SaveSettings unless replaced (tests record).
    std::function<void(app::TChangeParts parts)> Save;

    // Controls, by role.
    gui::PageControl& OptionPage() { return *FOptionPage; }
    gui::Label& WarningLbl() { return *FWarningLbl; }
    gui::Button& OKButton() { return *FOKButton; }
    gui::Button& CancelButton() { return *FCancelButton; }
    gui::Button& ApplyButton() { return *FApplyButton; }
    TUpDownEdit& SizeEdt() { return *FSizeEdt; }
    TUpDownEdit& TransEdt() { return *FTransEdt; }
    TUpDownEdit& WidthEdt() { return *FWidthEdt; }
    TUpDownEdit& HeightEdt() { return *FHeightEdt; }
    gui::Label& SizeLbl() { return *FSizeLbl; }
    gui::ColorBox& BaseBox() { return *FBaseBox; }
    gui::CheckBox& ShiftChk() { return *FShiftChk; }
    gui::Label& HotkeyLbl() { return *FHotkeyLbl; }
    gui::HotkeyEdit& HotkeyEdt() { return *FHotkeyEdt; }
    // Beside the hotkey field: says when the system refused the keys.
    gui::Label& HotkeyNoteLbl() { return *FHotkeyNoteLbl; }
    gui::CheckBox& HasLinesChk() { return *FStyleChks[0]; }
    gui::CheckBox& FullRowSelectChk() { return *FStyleChks[1]; }
    const std::vector<std::unique_ptr<gui::CheckBox>>& StyleChks() const { return FStyleChks; }
    const std::vector<std::unique_ptr<gui::CheckBox>>& FilterChks() const { return FFilterChks; }
    gui::ComboBox& FromCbx() { return *FFromCbx; }
    gui::ComboBox& FrameCbx() { return *FFrameCbx; }
    gui::ComboBox& TreeCbx() { return *FTreeCbx; }

protected:
    void DpiChanged(int dpi) override;

private:
    void CreateControls();
    void AdjustLabels();
    TUpDownEdit& AddNumEdit(gui::Window& group, const std::wstring& caption, int top, int min, int max,
                            std::unique_ptr<gui::Label>& label, std::unique_ptr<TUpDownEdit>& edit);
    gui::ComboBox& AddMaintainCbx(gui::Window& group, const std::wstring& caption, int top, int tag,
                                  bool labelFocuses, std::unique_ptr<gui::Label>& label,
                                  std::unique_ptr<gui::ComboBox>& box);

    void FormCreate();
    void FormShow();
    void OKButtonClick() {}
    void CancelButtonClick();
    void ApplyButtonClick();
    void FormCloseBox();
    void SizeEdtVerify(std::wstring& text, int& position, TNumericallyRelationship relation);
    void TransEdtVerify(std::wstring& text, int& position, TNumericallyRelationship relation);
    void WidthEdtVerify(std::wstring& text, int& position, TNumericallyRelationship relation);
    void HeightEdtVerify(std::wstring& text, int& position, TNumericallyRelationship relation);
    void BaseBoxChange();
    void BaseBoxDropDown();
    void HotkeyEdtChange();
    void NumEdtKeyPress(wchar_t& key);
    void ShiftChkClick();
    void DefaultStyleChksClick(gui::CheckBox& sender);
    void DefaultFilterChksClick(gui::CheckBox& sender);
    void MaintainCbxsChange(gui::ComboBox& sender);

    void EnterUpdate() { ++FUpdateCount; }
    void LeaveUpdate();
    void ShowSettings();
    void CaptureSettings();
    void RestoreSettings();
    // The colour box's hint is the name it shows when that is wider than the box.
    void UpdateBaseBoxHint();
    void UpdateHotkeyNote();
    // Runs a change handler inside an update bracket that closes also on an exception.
    void Bracketed(const std::function<void()>& change);
    // Whether the verification handlers may write to the main window: only while the
    // dialog is the application's active window, and never while the dialog fills its
    // own fields (a field holding its position already would otherwise write back the
    // position the field clamped, not the value given).
    bool IsActive() const { return !FFilling && Handle() != nullptr && ::GetActiveWindow() == Handle(); }

    app::TMainForm& FMainForm;
    gui::IInputMethod& FInputMethod;
    int FUpdateCount = 0;
    bool FFilling = false;

    std::unique_ptr<gui::PageControl> FOptionPage;
    std::unique_ptr<gui::GroupBox> FCollapsedGroup, FExpandedGroup, FColoringGroup;
    std::unique_ptr<gui::GroupBox> FDefaultStylesGroup, FDefaultFiltersGroup, FMaintainGroup;
    std::unique_ptr<gui::Label> FSizeLbl, FTransLbl, FWidthLbl, FHeightLbl, FBaseLbl;
    std::unique_ptr<TUpDownEdit> FSizeEdt, FTransEdt, FWidthEdt, FHeightEdt;
    std::unique_ptr<gui::ColorBox> FBaseBox;
    std::unique_ptr<gui::CheckBox> FShiftChk;
    std::unique_ptr<gui::Label> FHotkeyLbl, FHotkeyNoteLbl;
    std::unique_ptr<gui::HotkeyEdit> FHotkeyEdt;
    // The input method stays closed in the numeric fields.
    std::vector<std::unique_ptr<gui::InputMethodOff>> FInputMethodOffs;
    std::vector<std::unique_ptr<gui::CheckBox>> FStyleChks;
    std::vector<std::unique_ptr<gui::CheckBox>> FFilterChks;
    std::unique_ptr<gui::Label> FFromLbl, FFrameLbl, FTreeLbl;
    std::unique_ptr<gui::ComboBox> FFromCbx, FFrameCbx, FTreeCbx;
    std::unique_ptr<gui::Label> FWarningLbl;
    std::unique_ptr<gui::Button> FOKButton, FCancelButton, FApplyButton;
};

} // namespace options
