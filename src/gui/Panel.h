#pragma once
// A plain container painted in its colour, without a border.
#include "gui/Window.h"

namespace gui {

class Panel : public Window {
public:
    explicit Panel(Window& parent);
};

// The caption-bar kind of panel: it draws its own text in bold, white on a dark colour
// and black otherwise, fitted into the room of the bar. On a vertical bar (aligned left
// or right) the font is expected to be rotated by 90 degrees and the text runs upwards.
class CaptionPanel : public Panel {
public:
    explicit CaptionPanel(Window& parent);

    // Where and in how much room the caption is drawn, for a text of height textHeight.
    struct Placement {
        int room;
        int x;
        int y;
    };
    Placement PlaceCaption(int textHeight, int textWidth) const;
    // The DPI the bar's own sizes are scaled to (its thickness, the room of its buttons).
    int Dpi() const { return dpi_; }
    // The text as it is drawn now (empty when nothing fits).
    std::wstring DrawnCaption() const;

protected:
    void Paint(HDC dc) override;
    void SetDpiValue(int dpi) { dpi_ = dpi; }

private:
    int dpi_ = 96;
    std::wstring FittedCaption(HDC dc, Placement* placement) const;
};

} // namespace gui
