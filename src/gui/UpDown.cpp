#include "gui/UpDown.h"

#include <algorithm>
#include <string>

namespace gui {

UpDown::UpDown(Window& parent) : NativeControl(parent) {
    SetBounds(MakeRect(0, 0, 16, 21));
    CreateControl(L"GuiUpDown", UPDOWN_CLASSW, UDS_ARROWKEYS | UDS_NOTHOUSANDS);
    Send(UDM_SETRANGE32, 0, 100);
    Show();
}

int UpDown::Min() const {
    int min = 0;
    Send(UDM_GETRANGE32, reinterpret_cast<WPARAM>(&min), 0);
    return min;
}

int UpDown::Max() const {
    int max = 0;
    Send(UDM_GETRANGE32, 0, reinterpret_cast<LPARAM>(&max));
    return max;
}

void UpDown::SetRange(int min, int max) {
    Send(UDM_SETRANGE32, static_cast<WPARAM>(min), max);
}

void UpDown::SetPosition(int position) {
    position = std::clamp(position, std::min(Min(), Max()), std::max(Min(), Max()));
    int current = StoredPosition();
    if (position != current) {
        if (!CanChange(position, position - current))
            return;
        Send(UDM_SETPOS32, 0, position);
    }
    WriteBuddy(StoredPosition());
}

int UpDown::Increment() const {
    UDACCEL accel{0, 1};
    Send(UDM_GETACCEL, 1, reinterpret_cast<LPARAM>(&accel));
    return static_cast<int>(accel.nInc);
}

void UpDown::SetIncrement(int increment) {
    UDACCEL accel{0, static_cast<UINT>(increment)};
    Send(UDM_SETACCEL, 1, reinterpret_cast<LPARAM>(&accel));
}

void UpDown::SetWrap(bool wrap) {
    LONG style = ::GetWindowLongW(Handle(), GWL_STYLE);
    ::SetWindowLongW(Handle(), GWL_STYLE, wrap ? style | UDS_WRAP : style & ~UDS_WRAP);
}

void UpDown::SetArrowKeys(bool arrowKeys) {
    LONG style = ::GetWindowLongW(Handle(), GWL_STYLE);
    ::SetWindowLongW(Handle(), GWL_STYLE, arrowKeys ? style | UDS_ARROWKEYS : style & ~UDS_ARROWKEYS);
}

bool UpDown::CanChange(int newPosition, int) {
    bool allow = true;
    if (OnChanging)
        OnChanging(newPosition, allow);
    return allow;
}

void UpDown::Stepped() {
    if (OnStep)
        OnStep();
}

void UpDown::WriteBuddy(int position) {
    HWND buddy = Buddy();
    if (buddy != nullptr)
        ::SetWindowTextW(buddy, std::to_wstring(position).c_str());
}

bool UpDown::Notified(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (message == WM_NOTIFY && reinterpret_cast<const NMHDR*>(lParam)->code == UDN_DELTAPOS) {
        const auto* change = reinterpret_cast<const NMUPDOWN*>(lParam);
        result = CanChange(change->iPos + change->iDelta, change->iDelta) ? 0 : 1;
        return true;
    }
    if ((message == WM_VSCROLL || message == WM_HSCROLL) && LOWORD(wParam) == SB_THUMBPOSITION) {
        WriteBuddy(StoredPosition());
        Stepped();
        result = 0;
        return true;
    }
    return false;
}

} // namespace gui
