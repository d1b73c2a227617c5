#include "gui/CaptionBar.h"

#include "gui/Dpi.h"
#include "gui/Fonts.h"

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
    button.SetGlyph(CreateGlyph(*images_, button.Tag(), IsDarkColor(Color())));
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
