#include "gui/HighContrast.h"

#include <windows.h>

namespace gui {
namespace {

class SystemSetting : public IHighContrastSetting {
public:
    bool HighContrastOn() override {
        HIGHCONTRASTW contrast{};
        contrast.cbSize = sizeof(contrast);
        return ::SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof(contrast), &contrast, 0) &&
               (contrast.dwFlags & HCF_HIGHCONTRASTON) != 0;
    }
};

} // namespace

IHighContrastSetting& SystemHighContrastSetting() {
    static SystemSetting setting;
    return setting;
}

} // namespace gui
