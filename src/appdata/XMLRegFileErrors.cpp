#include "appdata/XMLRegFileErrors.h"

namespace appdata {

std::wstring FormatText(std::wstring_view pattern, std::initializer_list<std::wstring_view> arguments) {
    std::wstring text;
    text.reserve(pattern.size() + 64);
    auto argument = arguments.begin();
    for (size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == L'%' && i + 1 < pattern.size() && pattern[i + 1] == L's' &&
            argument != arguments.end()) {
            text += *argument++;
            ++i;
        } else {
            text += pattern[i];
        }
    }
    return text;
}

} // namespace appdata
