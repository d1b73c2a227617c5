#pragma once
// A desktop whose pointer stays far away, so the edge window under the options dialog
// neither opens nor closes by itself; the rest is the system's.
#include "app/Desktop.h"

#include <optional>

class FarPointerDesktop : public app::IDesktop {
public:
    POINT CursorPos() override { return {5000, 5000}; }
    bool LeftButtonDown() override { return false; }
    HMONITOR MonitorFromPoint(POINT p) override { return app::SystemDesktop().MonitorFromPoint(p); }
    HMONITOR MonitorFromRect(const RECT& r) override { return app::SystemDesktop().MonitorFromRect(r); }
    RECT WorkArea(HMONITOR m) override { return app::SystemDesktop().WorkArea(m); }
    std::optional<UINT> MenuShowDelay() override { return 400u; }
};
