#pragma once
// A caption bar: a caption panel 25 pixels thick (at 96 dpi) with flat glyph buttons at
// its two ends. It owns its fonts (one for a horizontal bar, one rotated for a vertical
// bar), its image list of glyphs and its buttons. A button's tag is the index of its
// glyph, and the glyphs are drawn inverted while the bar's colour is dark. Its
// thickness, buttons, fonts and glyphs follow the DPI of the window it is in.
#include "gui/Handles.h"
#include "gui/ImageList.h"
#include "gui/Panel.h"
#include "gui/SpeedButton.h"

#include <functional>
#include <initializer_list>
#include <memory>
#include <vector>

namespace gui {

class CaptionBar : public CaptionPanel {
public:
    // Where a button sits: at the start of the bar (left, or bottom on a vertical bar)
    // or at its end (right, or top). Buttons at the end are placed from the end inwards
    // in the order they were added.
    enum class ButtonPlace { Start, End };

    // A bar across the top of parent, in parent's colour, with the glyphs of these
    // bitmap resources of the program (the ids of their 16-pixel bitmaps), at the DPI
    // of parent's window.
    CaptionBar(Window& parent, std::initializer_list<int> glyphResources);
    ~CaptionBar() override;

    const ImageList& Images() const { return *images_; }

    // The bar's font, described at `fontDpi`: bold Tahoma until another is given; its
    // rotated twin is used on a vertical bar. Its height follows the bar's DPI.
    void SetCaptionFont(const LOGFONTW& font, int fontDpi = 96);
    // The font as it is made for the bar's DPI now.
    HFONT CaptionFont() const { return font_.get(); }

    // A button of the given size at 96 dpi at one end, showing the glyph of its tag.
    SpeedButton& AddButton(ButtonPlace place, int tag, SIZE size = {21, 21});
    // Sets a button's tag and shows the glyph of it.
    void SetButtonTag(SpeedButton& button, int tag);

    // Lays the bar along a side of its parent: top or bottom make a horizontal bar,
    // left or right a vertical one with its text running upwards.
    void SetBarAlign(TAlign align);

    // Makes the fonts and glyphs for another DPI first and then sizes the bar and its
    // buttons once, so that nothing shows at a mix of both.
    void SetDpi(int dpi);
    // The bar's thickness across its length at its DPI.
    int Thickness() const;

    void SetHighContrast(bool on) override;
    // The system's colours changed: the glyphs are made again in the new ones.
    void SystemColorsChanged();

    // Lets the keyboard reach the buttons: each takes the focus when given, the arrow
    // keys, Home, End and Tab move it along the bar in the order the buttons show.
    void SetKeyboardFocusable(bool focusable);
    // The buttons from the start of the bar to its end, as they show now.
    std::vector<SpeedButton*> ButtonsInOrder() const;
    // Gives the focus to the button that had it last (else the first one).
    void FocusButtons();
    // A key pressed on one of the buttons, before the bar moves the focus; set
    // handled to use it up.
    std::function<void(UINT key, bool& handled)> OnButtonKeyDown;

protected:
    void ColorChanged() override;

private:
    struct Button {
        std::unique_ptr<SpeedButton> control;
        ButtonPlace place;
        SIZE designSize;
    };
    void UpdateButtonGlyph(SpeedButton& button);
    void ButtonKeyDown(SpeedButton& button, UINT key, bool& handled);
    void ApplyOrientation();
    void MakeFonts();
    void MakeImages();
    void ApplySizes();

    std::vector<int> glyphResources_;
    std::unique_ptr<ImageList> images_;
    LOGFONTW designFont_{};
    int designFontDpi_ = 96;
    unique_hfont font_;
    unique_hfont verticalFont_;
    std::vector<Button> buttons_;
    SpeedButton* lastFocused_ = nullptr;
};

} // namespace gui
