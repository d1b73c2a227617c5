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

namespace {

bool NonClientMetrics(NONCLIENTMETRICSW& metrics) {
    // 504 is the size of the structure with the padded-border field of Vista and later.
    static_assert(sizeof(NONCLIENTMETRICSW) == 504, "unexpected NONCLIENTMETRICSW size");
    metrics = {};
    metrics.cbSize = 504;
    return ::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, 0, &metrics, 0) != FALSE;
}

} // namespace

bool SystemCaptionFont(LOGFONTW& font) {
    NONCLIENTMETRICSW metrics;
    if (!NonClientMetrics(metrics))
        return false;
    font = metrics.lfCaptionFont;
    return true;
}

bool SystemStatusFont(LOGFONTW& font) {
    NONCLIENTMETRICSW metrics;
    if (!NonClientMetrics(metrics))
        return false;
    font = metrics.lfStatusFont;
    return true;
}

} // namespace gui
