#include "options/NumFilters.h"

#include "appdata/XMLTextForms.h"

#include <initializer_list>

namespace options {
namespace {

bool OneOf(wchar_t ch, std::initializer_list<wchar_t> set) {
    for (wchar_t c : set) {
        if (c == ch)
            return true;
    }
    return false;
}

bool AdmittedBy(TFilterChar filter, wchar_t ch) {
    switch (filter) {
    case fcAllowPositive:
        return ch == L'+';
    case fcAllowNegative:
        return ch == L'-';
    case fcAllowHexdigit:
        return ch == L'$' || (ch >= L'A' && ch <= L'F') || (ch >= L'a' && ch <= L'f') || ch == L'X' ||
               ch == L'x';
    case fcAllowReal:
        return OneOf(ch, {L'.', L'E', L'e'});
    case fcAllowSeparater:
        return ch == L',';
    default:
        return false;
    }
}

} // namespace

bool IsFilterChar(wchar_t ch, TFilterChars filters) {
    if (filters.Empty())
        return true;
    if (ch > 0xFF)
        return false;
    if ((ch >= L'0' && ch <= L'9') || OneOf(ch, {0x01, 0x03, 0x08, 0x16, 0x18, 0x1A, 0x1B}))
        return true;
    for (int ordinal = 0; ordinal < TFilterChars::kMemberCount; ++ordinal) {
        auto filter = static_cast<TFilterChar>(ordinal);
        if (filters.Contains(filter) && AdmittedBy(filter, ch))
            return true;
    }
    return false;
}

bool FilterText(const std::wstring& source, std::wstring& dest, TFilterChars filters) {
    if (filters.Empty()) {
        dest = source;
        return false;
    }
    bool dropped = false;
    std::wstring kept;
    for (wchar_t ch : source) {
        if (IsFilterChar(ch, filters)) {
            kept += ch;
            continue;
        }
        dropped = true;
        if (filters.Contains(fcRejectProcess))
            return true;
    }
    dest = kept;
    return dropped;
}

std::optional<int> WholeNumber(const std::wstring& text) {
    return appdata::TextToInteger(text);
}

TNumericallyRelationship GetRelation(const std::wstring& text, int position) {
    std::optional<int> value = WholeNumber(text);
    if (!value)
        return nrNonNumber;
    return *value == position ? nrAccord : nrDisaccord;
}

PasteAction DecidePaste(const std::optional<std::wstring>& clipboardText, TFilterChars filters) {
    PasteAction action;
    if (filters.Empty()) {
        action.ordinary = true;
        return action;
    }
    if (!clipboardText)
        return action;
    std::wstring filtered;
    if (!FilterText(*clipboardText, filtered, filters)) {
        action.text = *clipboardText;
        return action;
    }
    action.beep = true;
    if (!filters.Contains(fcRejectProcess))
        action.text = filtered;
    return action;
}

} // namespace options
