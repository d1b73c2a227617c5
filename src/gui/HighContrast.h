#pragma once
// Whether a high-contrast theme is on. The real one asks the system; tests give a fake
// that they switch.

namespace gui {

class IHighContrastSetting {
public:
    virtual ~IHighContrastSetting() = default;
    virtual bool HighContrastOn() = 0;
};

// SPI_GETHIGHCONTRAST.
IHighContrastSetting& SystemHighContrastSetting();

} // namespace gui
