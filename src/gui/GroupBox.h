#pragma once
// A captioned frame that holds controls; keyboard navigation enters it.
#include "gui/Window.h"

namespace gui {

class GroupBox : public Window {
public:
    GroupBox(Window& parent, const std::wstring& caption, const RECT& bounds);

protected:
    void Paint(HDC dc) override;
};

} // namespace gui
