#include "gui/Fonts.h"

#include <cwchar>

namespace gui {

LOGFONTW DefaultLogFont(int weight) {
    LOGFONTW font{};
    font.lfHeight = -11;
    font.lfWeight = weight;
    font.lfCharSet = DEFAULT_CHARSET;
    font.lfQuality = DEFAULT_QUALITY;
    std::wcsncpy(font.lfFaceName, L"Tahoma", LF_FACESIZE - 1);
    return font;
}

unique_hfont CreateFontFrom(LOGFONTW font, int escapement) {
    font.lfEscapement = escapement;
    font.lfOrientation = escapement;
    return unique_hfont(::CreateFontIndirectW(&font));
}

unique_hfont CreateDefaultFont(int weight, int escapement) { return CreateFontFrom(DefaultLogFont(weight), escapement); }

bool SystemCaptionFont(LOGFONTW& font) {
    // 504 is the size of the structure with the padded-border field of Vista and later.
    NONCLIENTMETRICSW metrics{};
    static_assert(sizeof(NONCLIENTMETRICSW) == 504, "unexpected NONCLIENTMETRICSW size");
    metrics.cbSize = 504;
    if (!::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, 0, &metrics, 0))
        return false;
    font = metrics.lfCaptionFont;
    return true;
}

} // namespace gui
