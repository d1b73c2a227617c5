// The options dialog laid out at the DPIs of common monitors: nothing clipped, nothing
// tiny, and back at 96 dpi exactly as it was made.
#include "FarPointerDesktop.h"
#include "app/MainForm.h"
#include "gui/ComboBox.h"
#include "gui/Dpi.h"
#include "gui/Label.h"
#include "options/ConfigDialog.h"
#include "support/Pump.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>

using namespace options;
using testing_support::PumpUntilIdle;

namespace {

void RecordBounds(const gui::Window& window, std::map<const gui::Window*, RECT>& bounds) {
    for (const gui::Window* child : window.Children()) {
        bounds[child] = child->Bounds();
        RecordBounds(*child, bounds);
    }
}

// The extent of a label's text as shown: an accelerator's '&' is not drawn.
SIZE TextExtent(const gui::Window& window, HFONT font) {
    HDC dc = ::GetDC(window.Handle());
    HGDIOBJ old = ::SelectObject(dc, font);
    std::wstring text = window.Text();
    if (size_t amp = text.find(L'&'); amp != std::wstring::npos)
        text.erase(amp, 1);
    SIZE size{};
    ::GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    ::SelectObject(dc, old);
    ::ReleaseDC(window.Handle(), dc);
    return size;
}

// Every control lies inside its parent's client area (a combo box's height is that of
// its open list, so only its width counts), and every label shows its whole text.
void ExpectNothingClipped(const gui::Window& window, HFONT font) {
    RECT room = window.ClientRect();
    for (const gui::Window* child : window.Children()) {
        const RECT& b = child->Bounds();
        std::wstring name = child->Text();
        EXPECT_GE(b.left, 0) << testing::PrintToString(name);
        EXPECT_GE(b.top, 0) << testing::PrintToString(name);
        EXPECT_LE(b.right, room.right) << testing::PrintToString(name);
        if (dynamic_cast<const gui::ComboBox*>(child) == nullptr) {
            EXPECT_LE(b.bottom, room.bottom) << testing::PrintToString(name);
        }
        if (dynamic_cast<const gui::Label*>(child) != nullptr && !name.empty()) {
            SIZE text = TextExtent(*child, font);
            EXPECT_GE(child->Width(), text.cx) << testing::PrintToString(name);
            EXPECT_GE(child->Height(), text.cy) << testing::PrintToString(name);
        }
        ExpectNothingClipped(*child, font);
    }
}

TEST(ConfigDialogDpi, ScalesItsLayoutAndFontWithoutClippingAndComesBackExactly) {
    FarPointerDesktop desktop;
    auto form = std::make_unique<app::TMainForm>(desktop);
    auto dialog = std::make_unique<TConfigDialog>(*form);
    PumpUntilIdle();
    dialog->SetDpi(96);
    std::map<const gui::Window*, RECT> made;
    RecordBounds(*dialog, made);
    const RECT client96 = dialog->ClientRect();
    ASSERT_EQ(gui::Width(client96), 277);
    ASSERT_EQ(gui::Height(client96), 356);

    for (int dpi : {120, 144, 192, 96}) {
        SCOPED_TRACE(dpi);
        dialog->SetDpi(dpi);
        PumpUntilIdle();
        EXPECT_EQ(dialog->Dpi(), dpi);
        RECT client = dialog->ClientRect();
        EXPECT_EQ(gui::Width(client), gui::ScaleForDpi(277, dpi));
        EXPECT_EQ(gui::Height(client), gui::ScaleForDpi(356, dpi));
        LOGFONTW font{};
        ::GetObjectW(dialog->DialogFont(), sizeof(font), &font);
        EXPECT_EQ(font.lfHeight, gui::ScaleForDpi(-11, dpi));
        EXPECT_EQ(dialog->OKButton().Font(), dialog->DialogFont());
        // Each side is scaled (made at 28, 323, 75 × 25), so neighbours stay neighbours.
        EXPECT_EQ(dialog->OKButton().Bounds(),
                  (RECT{gui::ScaleForDpi(28, dpi), gui::ScaleForDpi(323, dpi), gui::ScaleForDpi(103, dpi),
                        gui::ScaleForDpi(348, dpi)}));
        EXPECT_EQ(::SendMessageW(dialog->BaseBox().Handle(), CB_GETITEMHEIGHT, 0, 0),
                  gui::ScaleForDpi(16, dpi));
        ExpectNothingClipped(*dialog, dialog->DialogFont());
    }

    // Back at 96 dpi every control is where it was made: scaling never drifts.
    std::map<const gui::Window*, RECT> again;
    RecordBounds(*dialog, again);
    for (const auto& [window, bounds] : made) {
        std::string name = testing::PrintToString(window->Text());
        if (dynamic_cast<const gui::Label*>(window) != nullptr)
            continue; // labels fit their text anew
        const RECT& now = again[window];
        EXPECT_EQ(now.left, bounds.left) << name;
        EXPECT_EQ(now.top, bounds.top) << name;
        EXPECT_EQ(now.right, bounds.right) << name;
        // A closed combo box is as high as the control makes it for its font.
        if (dynamic_cast<const gui::ComboBox*>(window) == nullptr) {
            EXPECT_EQ(now.bottom, bounds.bottom) << name;
        }
    }
    dialog.reset();
    form.reset();
    PumpUntilIdle();
}

TEST(ConfigDialogDpi, MovedToAMonitorOfAnotherDpiItTakesThatDpiWhereTheUserPutIt) {
    FarPointerDesktop desktop;
    auto form = std::make_unique<app::TMainForm>(desktop);
    auto dialog = std::make_unique<TConfigDialog>(*form);
    PumpUntilIdle();
    dialog->SetDpi(96);
    RECT suggested{300, 120, 300 + dialog->Width() * 3 / 2, 120 + dialog->Height() * 3 / 2};
    ::SendMessageW(dialog->Handle(), gui::kWMDpiChanged, MAKEWPARAM(144, 144),
                   reinterpret_cast<LPARAM>(&suggested));
    EXPECT_EQ(dialog->Dpi(), 144);
    EXPECT_EQ(dialog->Left(), 300);
    EXPECT_EQ(dialog->Top(), 120);
    EXPECT_EQ(gui::Width(dialog->ClientRect()), gui::ScaleForDpi(277, 144));
    // A message without its rectangle changes nothing.
    ::SendMessageW(dialog->Handle(), gui::kWMDpiChanged, MAKEWPARAM(192, 192), 0);
    EXPECT_EQ(dialog->Dpi(), 144);
    dialog.reset();
    form.reset();
    PumpUntilIdle();
}

} // namespace
