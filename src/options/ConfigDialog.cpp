#include "options/ConfigDialog.h"

#include "gui/Fonts.h"
#include "gui/Hint.h"

#include <algorithm>

namespace options {
namespace {

using shellctrls::TNamespaceTreeControlStyle;
using shellctrls::TShellContactFilter;

struct CheckBoxEntry {
    const wchar_t* caption;
    int tag;
};

constexpr CheckBoxEntry kStyleChks[] = {
    {L"親子をつなぐ線を表示(&L)", shellctrls::nstcsHasLines},
    {L"行全体を強調表示(&F)", shellctrls::nstcsFullRowSelect},
    {L"選択解除された項目を折りたたむ(&S)", shellctrls::nstcsSpringExpand},
    {L"水平スクロールバーを使用(&H)", shellctrls::nstcsHorizontalScroll},
    {L"常に選択表示(&O)", shellctrls::nstcsShowSelectionAlways},
    {L"項目名の編集禁止(&N)", shellctrls::nstcsNoEditLabels},
    {L"自動的に水平スクロール(&U)", shellctrls::nstcsAutoHScroll},
    {L"展開ボタンの表示を自動的に切り替える(&E)", shellctrls::nstcsFadeInOutExpandos},
};

constexpr CheckBoxEntry kFilterChks[] = {
    {L"フォルダ(&F)", shellctrls::shcontfFolders},
    {L"非フォルダ(&N)", shellctrls::shcontfNonFolders},
    {L"非表示を含める(&H)", shellctrls::shcontfIncludeHidden},
    {L"システムを含める(&S)", shellctrls::shcontfIncludeSuperHidden},
};

constexpr const wchar_t* kKeepModes[] = {L"保存する", L"今回のみ保存", L"保存しない"};
constexpr int kSave = 0;
constexpr int kDoNotSave = 2;

// Geometry of the controls inside a group: labels at the left, fields at the right.
constexpr int kLabelLeft = 12;
constexpr int kFieldLeft = 136;
constexpr int kGroupLeft = 5;
constexpr int kGroupWidth = 245;
// The first page: three groups one above the other, then the hotkey row with its note
// beside the field.
constexpr int kWindowGroupHeight = 71;
constexpr int kWindowGroupTop[] = {4, 79, 154};
constexpr int kHotkeyTop = 231;
constexpr int kHotkeyLeft = 95;
constexpr int kHotkeyWidth = 110;

std::wstring Format(const wchar_t* pattern, const wchar_t* name) {
    std::wstring text = pattern;
    text.replace(text.find(L"%s"), 2, name);
    return text;
}

} // namespace

std::wstring ValidationMessage(const std::vector<NumericField>& fields) {
    std::wstring message;
    for (const NumericField& field : fields) {
        if (field.relation == nrDisaccord)
            message = Format(L"%sが範囲外です", field.name);
        else if (field.relation == nrNonNumber)
            message = Format(L"不正な%sです", field.name);
    }
    return message;
}

wchar_t PlainDigit(wchar_t typed) {
    return typed >= L'\uFF10' && typed <= L'\uFF19' ? static_cast<wchar_t>(L'0' + (typed - L'\uFF10'))
                                                    : typed;
}

app::TChangeParts PartsToSave(int formMode, int frameMode, int treeMode) {
    app::TChangeParts parts{app::cpConfig};
    if (formMode != kDoNotSave)
        parts.Include(app::cpForm);
    if (frameMode != kDoNotSave)
        parts.Include(app::cpFrame);
    if (treeMode != kDoNotSave)
        parts.Include(app::cpTree);
    return parts;
}

TConfigDialog::TConfigDialog(app::TMainForm& mainForm, gui::IInputMethod& inputMethod)
    : gui::ModalForm(mainForm.Handle(), L"オプション", 277, 356), FMainForm(mainForm),
      FInputMethod(inputMethod) {
    Save = [this](app::TChangeParts parts) { FMainForm.SaveSettings(parts); };
    CreateControls();
    SetDialogFont(gui::DefaultLogFont());
    AdjustLabels();
    OnShow = [this] { FormShow(); };
    OnClose = [this] { FormCloseBox(); };
    FormCreate();
}

TUpDownEdit& TConfigDialog::AddNumEdit(gui::Window& group, const std::wstring& caption, int top, int min,
                                       int max, std::unique_ptr<gui::Label>& label,
                                       std::unique_ptr<TUpDownEdit>& edit) {
    label = std::make_unique<gui::Label>(group, caption, kLabelLeft, top + 4);
    edit = std::make_unique<TUpDownEdit>(group, gui::MakeRect(kFieldLeft, top, 64, 21));
    edit->SetFilters({fcAllowDecimal, fcRejectProcess});
    edit->UpDown()->SetRange(min, max);
    edit->OnKeyPress = [this](wchar_t& key) { NumEdtKeyPress(key); };
    FInputMethodOffs.push_back(std::make_unique<gui::InputMethodOff>(*edit, FInputMethod));
    label->SetFocusControl(edit.get());
    return *edit;
}

gui::ComboBox& TConfigDialog::AddMaintainCbx(gui::Window& group, const std::wstring& caption, int top,
                                             int tag, bool labelFocuses, std::unique_ptr<gui::Label>& label,
                                             std::unique_ptr<gui::ComboBox>& box) {
    label = std::make_unique<gui::Label>(group, caption, kLabelLeft, top + 4);
    box = std::make_unique<gui::ComboBox>(group, gui::MakeRect(kFieldLeft, top, 95, 120));
    for (const wchar_t* mode : kKeepModes)
        box->AddItem(mode);
    box->SetTag(tag);
    gui::ComboBox* sender = box.get();
    box->OnChange = [this, sender] { MaintainCbxsChange(*sender); };
    if (labelFocuses)
        label->SetFocusControl(box.get());
    return *box;
}

void TConfigDialog::CreateControls() {
    FOptionPage = std::make_unique<gui::PageControl>(*this, gui::MakeRect(8, 8, 263, 294));
    gui::TabSheet& windowTab = FOptionPage->AddPage(L"ウィンドウ");
    gui::TabSheet& frameTab = FOptionPage->AddPage(L"フレーム");
    gui::TabSheet& treeTab = FOptionPage->AddPage(L"ツリー");
    gui::TabSheet& completionTab = FOptionPage->AddPage(L"終了時");

    // ウィンドウ: the collapsed strip, the expanded panel, the colour.
    FCollapsedGroup = std::make_unique<gui::GroupBox>(
        windowTab, L"折り畳み時",
        gui::MakeRect(kGroupLeft, kWindowGroupTop[0], kGroupWidth, kWindowGroupHeight));
    AddNumEdit(*FCollapsedGroup, L"幅[4-32](&W): ", 18, 4, 32, FSizeLbl, FSizeEdt);
    AddNumEdit(*FCollapsedGroup, L"透明度[1-255](&T): ", 45, 1, 255, FTransLbl, FTransEdt);
    FExpandedGroup = std::make_unique<gui::GroupBox>(
        windowTab, L"展開時", gui::MakeRect(kGroupLeft, kWindowGroupTop[1], kGroupWidth, kWindowGroupHeight));
    AddNumEdit(*FExpandedGroup, L"横幅[100-32767](&X): ", 18, 100, 32767, FWidthLbl, FWidthEdt);
    AddNumEdit(*FExpandedGroup, L"高さ[100-32767](&Y): ", 45, 100, 32767, FHeightLbl, FHeightEdt);
    FSizeEdt->OnVerify = [this](TUpDownEdit&, std::wstring& text, int& position, TNumericallyRelationship r) {
        SizeEdtVerify(text, position, r);
    };
    FTransEdt->OnVerify = [this](TUpDownEdit&, std::wstring& text, int& position,
                                 TNumericallyRelationship r) { TransEdtVerify(text, position, r); };
    FWidthEdt->OnVerify = [this](TUpDownEdit&, std::wstring& text, int& position,
                                 TNumericallyRelationship r) { WidthEdtVerify(text, position, r); };
    FHeightEdt->OnVerify = [this](TUpDownEdit&, std::wstring& text, int& position,
                                  TNumericallyRelationship r) { HeightEdtVerify(text, position, r); };

    FColoringGroup = std::make_unique<gui::GroupBox>(
        windowTab, L"着色", gui::MakeRect(kGroupLeft, kWindowGroupTop[2], kGroupWidth, kWindowGroupHeight));
    FBaseLbl = std::make_unique<gui::Label>(*FColoringGroup, L"ベースカラー(&C): ", kLabelLeft, 22);
    FBaseBox = std::make_unique<gui::ColorBox>(*FColoringGroup, gui::MakeRect(100, 18, 127, 240));
    FBaseLbl->SetFocusControl(FBaseBox.get());
    FBaseBox->OnChange = [this] { BaseBoxChange(); };
    FBaseBox->OnDropDown = [this] { BaseBoxDropDown(); };
    FShiftChk = std::make_unique<gui::CheckBox>(*FColoringGroup, L"隣接ウィンドウとの重複を避ける(&S)",
                                                gui::MakeRect(kLabelLeft, 47, 215, 17));
    FShiftChk->OnClick = [this] { ShiftChkClick(); };

    // The hotkey that opens the panel, below the groups; K is free on this page.
    FHotkeyLbl =
        std::make_unique<gui::Label>(windowTab, L"ホットキー(&K):", kGroupLeft + kLabelLeft, kHotkeyTop + 4);
    FHotkeyEdt = std::make_unique<gui::HotkeyEdit>(windowTab,
                                                   gui::MakeRect(kHotkeyLeft, kHotkeyTop, kHotkeyWidth, 21));
    FHotkeyLbl->SetFocusControl(FHotkeyEdt.get());
    FHotkeyEdt->OnChange = [this] { HotkeyEdtChange(); };
    FHotkeyNoteLbl =
        std::make_unique<gui::Label>(windowTab, L"", kHotkeyLeft + kHotkeyWidth + 6, kHotkeyTop + 4);

    // フレーム: the styles new frames start with.
    FDefaultStylesGroup = std::make_unique<gui::GroupBox>(frameTab, L"表示形式初期値",
                                                          gui::MakeRect(kGroupLeft, 6, kGroupWidth, 184));
    int top = 20;
    for (const CheckBoxEntry& entry : kStyleChks) {
        auto check = std::make_unique<gui::CheckBox>(*FDefaultStylesGroup, entry.caption,
                                                     gui::MakeRect(kLabelLeft - 4, top, 235, 17));
        check->SetTag(entry.tag);
        gui::CheckBox* sender = check.get();
        check->OnClick = [this, sender] { DefaultStyleChksClick(*sender); };
        FStyleChks.push_back(std::move(check));
        top += 20;
    }

    // ツリー: the filters new roots start with.
    FDefaultFiltersGroup = std::make_unique<gui::GroupBox>(treeTab, L"フィルター初期値",
                                                           gui::MakeRect(kGroupLeft, 6, kGroupWidth, 104));
    top = 20;
    for (const CheckBoxEntry& entry : kFilterChks) {
        auto check = std::make_unique<gui::CheckBox>(*FDefaultFiltersGroup, entry.caption,
                                                     gui::MakeRect(kLabelLeft - 4, top, 235, 17));
        check->SetTag(entry.tag);
        gui::CheckBox* sender = check.get();
        check->OnClick = [this, sender] { DefaultFilterChksClick(*sender); };
        FFilterChks.push_back(std::move(check));
        top += 20;
    }

    // 終了時: what is kept when the program ends.
    FMaintainGroup = std::make_unique<gui::GroupBox>(completionTab, L"状態保存",
                                                     gui::MakeRect(kGroupLeft, 6, kGroupWidth, 104));
    AddMaintainCbx(*FMaintainGroup, L"ウィンドウ位置(&W): ", 18, app::cpForm, true, FFromLbl, FFromCbx);
    AddMaintainCbx(*FMaintainGroup, L"フレーム配置(&F): ", 45, app::cpFrame, false, FFrameLbl, FFrameCbx);
    AddMaintainCbx(*FMaintainGroup, L"展開・選択アイテム(&I): ", 72, app::cpTree, false, FTreeLbl, FTreeCbx);

    FWarningLbl = std::make_unique<gui::Label>(*this, L"Warning!", 8, 306);
    FWarningLbl->SetBounds(gui::MakeRect(8, 306, 261, 14));
    FOKButton = std::make_unique<gui::Button>(*this, L"OK", gui::MakeRect(28, 323, 75, 25));
    FOKButton->SetModalResult(gui::mrOk);
    FOKButton->SetDefault(true);
    FOKButton->OnClick = [this] { OKButtonClick(); };
    FCancelButton = std::make_unique<gui::Button>(*this, L"キャンセル", gui::MakeRect(111, 323, 75, 25));
    FCancelButton->SetModalResult(gui::mrCancel);
    FCancelButton->OnClick = [this] { CancelButtonClick(); };
    FApplyButton = std::make_unique<gui::Button>(*this, L"今回のみ(&A)", gui::MakeRect(194, 323, 75, 25));
    FApplyButton->OnClick = [this] { ApplyButtonClick(); };
    SetDefaultButton(FOKButton.get());
    SetCancelButton(FCancelButton.get());
}

void TConfigDialog::AdjustLabels() {
    for (gui::Label* label :
         {FSizeLbl.get(), FTransLbl.get(), FWidthLbl.get(), FHeightLbl.get(), FBaseLbl.get(),
          FHotkeyLbl.get(), FHotkeyNoteLbl.get(), FFromLbl.get(), FFrameLbl.get(), FTreeLbl.get()})
        label->AdjustSize();
}

void TConfigDialog::DpiChanged(int dpi) {
    // The labels fit their text in the font of this DPI; the colour list's rows grow too.
    AdjustLabels();
    FBaseBox->SetDpi(dpi);
    // The warning keeps its width and takes at least a line of the font: scaled fonts
    // are not always scaled in height alike.
    FWarningLbl->SetHeight(std::max(FWarningLbl->Height(), FWarningLbl->TextHeight()));
}

int TConfigDialog::Execute() {
    int result = ShowModal();
    if (result == gui::mrOk) {
        FMainForm.SetModifies(app::AllChangeParts);
        if (Save)
            Save(PartsToSave(FFromCbx->ItemIndex(), FFrameCbx->ItemIndex(), FTreeCbx->ItemIndex()));
    }
    return result;
}

void TConfigDialog::FormCreate() {
    FOptionPage->SetActivePageIndex(0);
}

void TConfigDialog::FormShow() {
    FUpdateCount = 0;
    CaptureSettings();
}

void TConfigDialog::CancelButtonClick() {
    // Cancelling gives the captured values back also while a field is wrong: what the
    // user tried in the dialog does not stay behind.
    RestoreSettings();
}

void TConfigDialog::FormCloseBox() {
    RestoreSettings();
}

void TConfigDialog::ApplyButtonClick() {
    FMainForm.SetMaintains(app::TChangeParts::FromBits(static_cast<unsigned>(FMaintainGroup->Tag())));
    SetModalResult(gui::mrCancel);
}

void TConfigDialog::Bracketed(const std::function<void()>& change) {
    EnterUpdate();
    try {
        change();
    } catch (...) {
        LeaveUpdate();
        throw;
    }
    LeaveUpdate();
}

void TConfigDialog::LeaveUpdate() {
    if (--FUpdateCount > 0)
        return;
    FUpdateCount = 0;
    std::wstring message = ValidationMessage({{L"幅", FSizeEdt->Relation()},
                                              {L"透明度", FTransEdt->Relation()},
                                              {L"横幅", FWidthEdt->Relation()},
                                              {L"高さ", FHeightEdt->Relation()}});
    FWarningLbl->SetText(message);
    FOKButton->SetEnabled(message.empty());
    FApplyButton->SetEnabled(FOKButton->Enabled());
}

void TConfigDialog::CaptureSettings() {
    FSizeEdt->SetTag(FMainForm.CollapseSize());
    FTransEdt->SetTag(FMainForm.AlphaBlendValue());
    FWidthEdt->SetTag(FMainForm.ExpandWidth());
    FHeightEdt->SetTag(FMainForm.ExpandHeight());
    FBaseBox->SetTag(static_cast<int>(FMainForm.BaseColor()));
    FShiftChk->SetTag(FMainForm.ColorShift() ? 1 : 0);
    FHotkeyEdt->SetTag(FMainForm.Hotkey());
    FDefaultStylesGroup->SetTag(static_cast<int>(FMainForm.DefaultStyles().Bits()));
    FDefaultFiltersGroup->SetTag(static_cast<int>(FMainForm.DefaultFilters().Bits()));
    FMaintainGroup->SetTag(static_cast<int>(FMainForm.Maintains().Bits()));
    ShowSettings();
}

void TConfigDialog::ShowSettings() {
    struct Filling {
        bool& flag;
        explicit Filling(bool& f) : flag(f) { flag = true; }
        ~Filling() { flag = false; }
    };
    Bracketed([this] {
        {
            Filling filling(FFilling);
            for (TUpDownEdit* edit : {FSizeEdt.get(), FTransEdt.get(), FWidthEdt.get(), FHeightEdt.get()})
                edit->SetValue(edit->Tag());
        }
        FBaseBox->SetSelected(static_cast<gui::TColor>(FBaseBox->Tag()));
        UpdateBaseBoxHint();
        FShiftChk->SetChecked(FShiftChk->Tag() != 0);
        FHotkeyEdt->SetHotkey(static_cast<WORD>(FHotkeyEdt->Tag()));
        UpdateHotkeyNote();
        auto styles = static_cast<unsigned>(FDefaultStylesGroup->Tag());
        for (auto& check : FStyleChks)
            check->SetChecked(check->Tag() < 32 && ((styles >> check->Tag()) & 1) != 0);
        auto filters = static_cast<unsigned>(FDefaultFiltersGroup->Tag());
        for (auto& check : FFilterChks)
            check->SetChecked(check->Tag() < 16 && ((filters >> check->Tag()) & 1) != 0);
        auto maintains = static_cast<unsigned>(FMaintainGroup->Tag());
        for (gui::ComboBox* box : {FFromCbx.get(), FFrameCbx.get(), FTreeCbx.get()})
            box->SetItemIndex(((maintains >> box->Tag()) & 1) != 0 ? kSave : kDoNotSave);
    });
}

void TConfigDialog::RestoreSettings() {
    FMainForm.SetCollapseSize(FSizeEdt->Tag());
    FMainForm.SetAlphaBlendValue(static_cast<BYTE>(FTransEdt->Tag()));
    FMainForm.SetExpandWidth(FWidthEdt->Tag());
    FMainForm.SetExpandHeight(FHeightEdt->Tag());
    FMainForm.SetBaseColor(static_cast<gui::TColor>(FBaseBox->Tag()));
    FMainForm.SetColorShift(FShiftChk->Tag() != 0);
    FMainForm.SetHotkey(static_cast<WORD>(FHotkeyEdt->Tag()));
    FMainForm.SetDefaultStyles(
        shellctrls::TNamespaceTreeControlStyles::FromBits(static_cast<unsigned>(FDefaultStylesGroup->Tag())));
    FMainForm.SetDefaultFilters(
        shellctrls::TShellContactFilters::FromBits(static_cast<unsigned>(FDefaultFiltersGroup->Tag())));
    FMainForm.SetMaintains(app::TChangeParts::FromBits(static_cast<unsigned>(FMaintainGroup->Tag())));
    ShowSettings();
}

void TConfigDialog::SizeEdtVerify(std::wstring&, int& position, TNumericallyRelationship relation) {
    if (!IsActive())
        return;
    Bracketed([&] {
        if (relation == nrAccord)
            FMainForm.SetCollapseSize(position);
    });
}

void TConfigDialog::TransEdtVerify(std::wstring&, int& position, TNumericallyRelationship relation) {
    if (!IsActive())
        return;
    Bracketed([&] {
        if (relation == nrAccord)
            FMainForm.SetAlphaBlendValue(static_cast<BYTE>(position));
    });
}

void TConfigDialog::WidthEdtVerify(std::wstring&, int& position, TNumericallyRelationship relation) {
    if (!IsActive())
        return;
    Bracketed([&] {
        if (relation == nrAccord)
            FMainForm.SetExpandWidth(position);
    });
}

void TConfigDialog::HeightEdtVerify(std::wstring&, int& position, TNumericallyRelationship relation) {
    if (!IsActive())
        return;
    Bracketed([&] {
        if (relation == nrAccord)
            FMainForm.SetExpandHeight(position);
    });
}

void TConfigDialog::BaseBoxChange() {
    Bracketed([this] {
        FMainForm.SetBaseColor(FBaseBox->Selected());
        UpdateBaseBoxHint();
    });
}

void TConfigDialog::UpdateBaseBoxHint() {
    std::wstring text = FBaseBox->ItemText(FBaseBox->ItemIndex());
    gui::SetHint(*FBaseBox, FBaseBox->TextWidth(text) > FBaseBox->Width() ? text : std::wstring());
}

void TConfigDialog::NumEdtKeyPress(wchar_t& key) {
    // The fields' own filter takes plain digits only; a digit from an input method in
    // full width is the same digit.
    key = PlainDigit(key);
}

void TConfigDialog::HotkeyEdtChange() {
    Bracketed([this] {
        FMainForm.SetHotkey(FHotkeyEdt->Hotkey());
        UpdateHotkeyNote();
    });
}

void TConfigDialog::UpdateHotkeyNote() {
    // Its own note: the warning label decides whether OK can be pressed, and keys taken
    // by another program are no reason to refuse the other settings.
    FHotkeyNoteLbl->SetText(FMainForm.HotkeyRefused() ? L"使用中" : L"");
    FHotkeyNoteLbl->AdjustSize();
}

void TConfigDialog::BaseBoxDropDown() {
    int width = FBaseBox->Width();
    for (int i = 0; i < FBaseBox->Count(); ++i)
        width = std::max(width, FBaseBox->TextWidth(FBaseBox->ItemText(i)) + 50);
    FBaseBox->SetDroppedWidth(width);
}

void TConfigDialog::ShiftChkClick() {
    Bracketed([this] { FMainForm.SetColorShift(FShiftChk->Checked()); });
}

void TConfigDialog::DefaultStyleChksClick(gui::CheckBox& sender) {
    Bracketed([&] {
        // Lines between parent and child and full-row selection are never on together.
        if (sender.Checked() && sender.Tag() == shellctrls::nstcsHasLines)
            FullRowSelectChk().SetChecked(false);
        if (sender.Checked() && sender.Tag() == shellctrls::nstcsFullRowSelect)
            HasLinesChk().SetChecked(false);
        if (sender.Tag() >= 32)
            return;
        auto style = static_cast<TNamespaceTreeControlStyle>(sender.Tag());
        shellctrls::TNamespaceTreeControlStyles styles = FMainForm.DefaultStyles();
        sender.Checked() ? styles.Include(style) : styles.Exclude(style);
        FMainForm.SetDefaultStyles(styles);
    });
}

void TConfigDialog::DefaultFilterChksClick(gui::CheckBox& sender) {
    Bracketed([&] {
        if (sender.Tag() > 15)
            return;
        auto filter = static_cast<TShellContactFilter>(sender.Tag());
        shellctrls::TShellContactFilters filters = FMainForm.DefaultFilters();
        sender.Checked() ? filters.Include(filter) : filters.Exclude(filter);
        FMainForm.SetDefaultFilters(filters);
    });
}

void TConfigDialog::MaintainCbxsChange(gui::ComboBox& sender) {
    Bracketed([&] {
        if (sender.Tag() > 7)
            return;
        auto part = static_cast<app::TChangePart>(sender.Tag());
        app::TChangeParts maintains = FMainForm.Maintains();
        sender.ItemIndex() == kSave ? maintains.Include(part) : maintains.Exclude(part);
        FMainForm.SetMaintains(maintains);
    });
}

} // namespace options

namespace app {

std::unique_ptr<IOptionsDialog> CreateOptionsDialog(TMainForm& mainForm) {
    return std::make_unique<options::TConfigDialog>(mainForm);
}

} // namespace app
