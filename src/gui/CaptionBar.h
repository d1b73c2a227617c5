#pragma once
// A caption bar: a caption panel 25 pixels thick with flat glyph buttons at its two ends.
// It owns its fonts (one for a horizontal bar, one rotated for a vertical bar), its
// image list of glyphs and its buttons. A button's tag is the index of its glyph, and
// the glyphs are drawn inverted while the bar's colour is dark.
#include "gui/Handles.h"
#include "gui/ImageList.h"
#include "gui/Panel.h"
#include "gui/SpeedButton.h"

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
    // bitmap resources of the program.
    CaptionBar(Window& parent, std::initializer_list<int> glyphResources);
    ~CaptionBar() override;

    const ImageList& Images() const { return images_; }

    // The bar's font: bold Tahoma until another is given; its rotated twin is used on a
    // vertical bar.
    void SetCaptionFont(const LOGFONTW& font);

    // A button of the given size at one end, showing the glyph of its tag.
    SpeedButton& AddButton(ButtonPlace place, int tag, SIZE size = {21, 21});
    // Sets a button's tag and shows the glyph of it.
    void SetButtonTag(SpeedButton& button, int tag);

    // Lays the bar along a side of its parent: top or bottom make a horizontal bar,
    // left or right a vertical one with its text running upwards.
    void SetBarAlign(TAlign align);

protected:
    void ColorChanged() override;

private:
    struct Button {
        std::unique_ptr<SpeedButton> control;
        ButtonPlace place;
    };
    void UpdateButtonGlyph(SpeedButton& button);
    void ApplyOrientation();

    ImageList images_{16, 16};
    unique_hfont font_;
    unique_hfont verticalFont_;
    std::vector<Button> buttons_;
};

} // namespace gui
