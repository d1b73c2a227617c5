#include "gui/CaptionBar.h"

#include "gui/Dpi.h"
#include "gui/Fonts.h"

#include <algorithm>
#include <utility>

namespace gui {
namespace {

Padding BarPadding(int dpi) {
    int padding = ScaleForDpi(2, dpi);
    return {padding, padding, padding, padding};
}

} // namespace

CaptionBar::CaptionBar(Window& parent, std::initializer_list<int> glyphResources)
    : CaptionPanel(parent), glyphResources_(glyphResources) {
    SetDpiValue(DpiOfWindow(parent.Handle()));
    MakeImages();
    SetParentColor(true);
    SetBounds(MakeRect(0, 0, parent.Width(), Thickness()));
    SetPadding(BarPadding(Dpi()));
    SetCaptionFont(DefaultLogFont(FW_BOLD));
    SetAlign(alTop);
}

CaptionBar::~CaptionBar() {
    // The buttons go while the bar's window is still there.
    buttons_.clear();
}

int CaptionBar::Thickness() const {
    return ScaleForDpi(25, Dpi());
}

void CaptionBar::SetCaptionFont(const LOGFONTW& font, int fontDpi) {
    designFont_ = font;
    designFontDpi_ = SaneDpi(fontDpi);
    MakeFonts();
    SetFont(IsVerticalSide(Align()) ? verticalFont_.get() : font_.get());
}

void CaptionBar::MakeFonts() {
    LOGFONTW font = designFont_;
    font.lfHeight = ::MulDiv(font.lfHeight, Dpi(), designFontDpi_);
    font.lfWidth = ::MulDiv(font.lfWidth, Dpi(), designFontDpi_);
    font_ = CreateFontFrom(font);
    verticalFont_ = CreateFontFrom(font, 900);
}

void CaptionBar::MakeImages() {
    int size = GlyphSizeForDpi(Dpi());
    images_ = std::make_unique<ImageList>(size, size);
    images_->AddGlyphResources(::GetModuleHandleW(nullptr), glyphResources_);
}

SpeedButton& CaptionBar::AddButton(ButtonPlace place, int tag, SIZE size) {
    auto button = std::make_unique<SpeedButton>(*this);
    SpeedButton& added = *button;
    added.SetBounds(MakeRect(0, 0, ScaleForDpi(size.cx, Dpi()), ScaleForDpi(size.cy, Dpi())));
    buttons_.push_back({std::move(button), place, size});
    ApplyOrientation();
    SetButtonTag(added, tag);
    return added;
}

void CaptionBar::SetButtonTag(SpeedButton& button, int tag) {
    button.SetTag(tag);
    UpdateButtonGlyph(button);
}

void CaptionBar::UpdateButtonGlyph(SpeedButton& button) {
    if (images_->Count() == 0)
        return;
    if (HighContrast())
        button.SetGlyph(CreateGlyphInColor(*images_, button.Tag(), CaptionTextColor()));
    else
        button.SetGlyph(CreateGlyph(*images_, button.Tag(), IsDarkColor(Color())));
}

void CaptionBar::SetHighContrast(bool on) {
    if (on == HighContrast())
        return;
    CaptionPanel::SetHighContrast(on);
    SystemColorsChanged();
}

void CaptionBar::SystemColorsChanged() {
    for (const Button& button : buttons_)
        UpdateButtonGlyph(*button.control);
    Invalidate();
}

void CaptionBar::SetKeyboardFocusable(bool focusable) {
    for (const Button& button : buttons_) {
        SpeedButton& control = *button.control;
        control.SetKeyboardFocusable(focusable);
        if (focusable)
            control.OnKeyDown = [this, &control](UINT key, bool& handled) {
                ButtonKeyDown(control, key, handled);
            };
        else
            control.OnKeyDown = nullptr;
    }
}

std::vector<SpeedButton*> CaptionBar::ButtonsInOrder() const {
    std::vector<SpeedButton*> order;
    for (const Button& button : buttons_) {
        if (button.control->Visible())
            order.push_back(button.control.get());
    }
    // A vertical bar starts at its bottom, where its text starts.
    bool vertical = IsVerticalSide(Align());
    std::sort(order.begin(), order.end(), [vertical](const SpeedButton* a, const SpeedButton* b) {
        return vertical ? a->Top() > b->Top() : a->Left() < b->Left();
    });
    return order;
}

void CaptionBar::FocusButtons() {
    std::vector<SpeedButton*> order = ButtonsInOrder();
    if (order.empty())
        return;
    bool known = std::find(order.begin(), order.end(), lastFocused_) != order.end();
    SpeedButton* target = known ? lastFocused_ : order.front();
    target->SetFocus();
    lastFocused_ = target;
}

void CaptionBar::ButtonKeyDown(SpeedButton& button, UINT key, bool& handled) {
    lastFocused_ = &button;
    if (OnButtonKeyDown)
        OnButtonKeyDown(key, handled);
    if (handled)
        return;
    std::vector<SpeedButton*> order = ButtonsInOrder();
    auto at = std::find(order.begin(), order.end(), &button);
    if (at == order.end())
        return;
    size_t index = static_cast<size_t>(at - order.begin());
    size_t count = order.size();
    bool shift = ::GetKeyState(VK_SHIFT) < 0;
    size_t next = index;
    switch (key) {
    case VK_LEFT:
    case VK_DOWN:
        next = (index + count - 1) % count;
        break;
    case VK_RIGHT:
    case VK_UP:
        next = (index + 1) % count;
        break;
    case VK_TAB:
        next = shift ? (index + count - 1) % count : (index + 1) % count;
        break;
    case VK_HOME:
        next = 0;
        break;
    case VK_END:
        next = count - 1;
        break;
    default:
        return;
    }
    handled = true;
    order[next]->SetFocus();
    lastFocused_ = order[next];
}

void CaptionBar::SetBarAlign(TAlign align) {
    SetAlign(align);
    ApplyOrientation();
    if (Parent() != nullptr)
        Parent()->Realign();
    Realign();
    Invalidate();
}

void CaptionBar::SetDpi(int dpi) {
    dpi = SaneDpi(dpi);
    if (dpi == Dpi())
        return;
    SetDpiValue(dpi);
    MakeFonts();
    MakeImages();
    for (const Button& button : buttons_)
        UpdateButtonGlyph(*button.control);
    ApplySizes();
    ApplyOrientation();
    if (Parent() != nullptr)
        Parent()->Realign();
    Realign();
    Invalidate();
}

void CaptionBar::ApplySizes() {
    bool vertical = IsVerticalSide(Align());
    SetPadding(BarPadding(Dpi()));
    if (vertical)
        SetWidth(Thickness());
    else
        SetHeight(Thickness());
    for (const Button& button : buttons_) {
        // An aligned button keeps the size it was given; turned with the bar, its
        // width and height swap.
        int width = ScaleForDpi(button.designSize.cx, Dpi());
        int height = ScaleForDpi(button.designSize.cy, Dpi());
        SpeedButton& control = *button.control;
        if (IsHorizontalSide(control.Align()))
            std::swap(width, height);
        control.SetBounds(MakeRect(control.Left(), control.Top(), width, height));
    }
}

void CaptionBar::ApplyOrientation() {
    bool vertical = IsVerticalSide(Align());
    SetFont(vertical ? verticalFont_.get() : font_.get());
    for (const Button& button : buttons_) {
        if (button.place == ButtonPlace::Start)
            button.control->SetAlign(vertical ? alBottom : alLeft);
        else
            button.control->SetAlign(vertical ? alTop : alRight);
    }
}

void CaptionBar::ColorChanged() {
    CaptionPanel::ColorChanged();
    // Dark colours get white glyphs, light ones black.
    for (const Button& button : buttons_)
        UpdateButtonGlyph(*button.control);
}

} // namespace gui
