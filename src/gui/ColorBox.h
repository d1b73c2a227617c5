#pragma once
// A drop-down list of the platform's named colours, each drawn with a swatch and its
// plain name: first a custom entry, then the standard, the extended and the system
// colours. The custom entry opens the platform's colour dialog when it is chosen in the
// dropped-down list (clicked, or the list closed on it with Enter or F4); keys and the
// wheel that pass over it on the closed box only select it with the colour it holds.
#include "gui/Color.h"
#include "gui/ComboBox.h"

#include <functional>
#include <string>
#include <vector>

namespace gui {

struct NamedColor {
    const wchar_t* name;
    TColor color;
};
// The named colours in list order (the custom entry not included).
const std::vector<NamedColor>& NamedColors();

class ColorBox : public ComboBox {
public:
    static constexpr const wchar_t* CustomCaption = L"カスタム...";

    ColorBox(Window& parent, const RECT& bounds);

    TColor Selected() const;
    // Selects the named entry of the colour, or the custom entry with that colour.
    // Fires no event.
    void SetSelected(TColor color);

    // The rows (16 pixels high at 96 dpi) at another DPI.
    void SetDpi(int dpi);

    // Asks the user for a colour, starting at color; false when the user cancels.
    // The platform's colour dialog unless replaced (tests replace it).
    std::function<bool(HWND owner, TColor& color)> PickColor;

protected:
    void Select() override;
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool Notified(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    void DrawItem(const DRAWITEMSTRUCT& item);
    void ListClosed();
    // The colour dialog opens once the list's notifications have returned.
    void PostPick();
    void Pick();
    // The entry shown becomes the colour chosen.
    void Choose();

    int lastIndex_ = -1;
    // Between the list dropping down and closing up.
    bool dropped_ = false;
    // The custom entry became the selection in the dropped-down list.
    bool customInList_ = false;
    // The list closes on its selection: a click on an entry, Enter, or F4 and Alt with
    // an arrow key (not Escape, nor a click elsewhere).
    bool closesOnSelection_ = false;
    bool pickPosted_ = false;
};

// The platform's colour dialog.
bool ChooseColorDialog(HWND owner, TColor& color);

} // namespace gui
