#pragma once
// A plain container painted in its colour, without a border.
#include "gui/Accessible.h"
#include "gui/Window.h"

namespace gui {

class Panel : public Window {
public:
    explicit Panel(Window& parent);
};

// The caption-bar kind of panel: it draws its own text in bold, white on a dark colour
// and black otherwise, fitted into the room of the bar. On a vertical bar (aligned left
// or right) the font is expected to be rotated by 90 degrees and the text runs upwards.
// In a high-contrast theme it is drawn in the system's button colours with a frame of
// the text colour instead. Screen readers know it as a title bar named by its caption.
class CaptionPanel : public Panel {
public:
    explicit CaptionPanel(Window& parent);

    bool HighContrast() const { return highContrast_; }
    // Draws the bar in the system's high-contrast colours (or back in its own colour).
    virtual void SetHighContrast(bool on);
    // The colour the caption is drawn in now.
    COLORREF CaptionTextColor() const;

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
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void Paint(HDC dc) override;
    void EraseBackground(HDC dc) override;
    void SetDpiValue(int dpi) { dpi_ = dpi; }

private:
    int dpi_ = 96;
    bool highContrast_ = false;
    std::wstring FittedCaption(HDC dc, Placement* placement) const;
    AccessibleServer accessible_;
};

} // namespace gui
