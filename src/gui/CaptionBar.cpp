#include "gui/CaptionBar.h"

#include "gui/Fonts.h"

namespace gui {

CaptionBar::CaptionBar(Window& parent, std::initializer_list<int> glyphResources) : CaptionPanel(parent) {
    images_.AddResourceBitmaps(::GetModuleHandleW(nullptr), glyphResources);
    SetParentColor(true);
    SetBounds(MakeRect(0, 0, parent.Width(), 25));
    SetPadding({2, 2, 2, 2});
    SetCaptionFont(DefaultLogFont(FW_BOLD));
    SetAlign(alTop);
}

CaptionBar::~CaptionBar() {
    // The buttons go while the bar's window is still there.
    buttons_.clear();
}

void CaptionBar::SetCaptionFont(const LOGFONTW& font) {
    font_ = CreateFontFrom(font);
    verticalFont_ = CreateFontFrom(font, 900);
    SetFont(IsVerticalSide(Align()) ? verticalFont_.get() : font_.get());
}

SpeedButton& CaptionBar::AddButton(ButtonPlace place, int tag, SIZE size) {
    auto button = std::make_unique<SpeedButton>(*this);
    SpeedButton& added = *button;
    added.SetBounds(MakeRect(0, 0, size.cx, size.cy));
    buttons_.push_back({std::move(button), place});
    ApplyOrientation();
    SetButtonTag(added, tag);
    return added;
}

void CaptionBar::SetButtonTag(SpeedButton& button, int tag) {
    button.SetTag(tag);
    UpdateButtonGlyph(button);
}

void CaptionBar::UpdateButtonGlyph(SpeedButton& button) {
    if (images_.Count() == 0)
        return;
    button.SetGlyph(CreateGlyph(images_, button.Tag(), IsDarkColor(Color())));
}

void CaptionBar::SetBarAlign(TAlign align) {
    SetAlign(align);
    ApplyOrientation();
    if (Parent() != nullptr)
        Parent()->Realign();
    Realign();
    Invalidate();
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
