#pragma once
// The character filters of the numeric edits and how a text relates to a position:
// plain functions over characters and strings.
#include "gui/EnumSet.h"

#include <cstdint>
#include <optional>
#include <string>

namespace options {

enum TFilterChar : std::uint8_t {
    fcAllowDecimal,   // nothing of its own: digits are admitted always
    fcAllowPositive,  // "+"
    fcAllowNegative,  // "-"
    fcAllowHexdigit,  // "$", "A".."F", "a".."f", "X", "x"
    fcAllowReal,      // ".", "E", "e"
    fcAllowSeparater, // ","
    fcRejectProcess,  // a paste with any character not admitted fails whole
};
using TFilterChars = gui::EnumSet<TFilterChar, std::uint8_t, 7>;

enum TNumericallyRelationship : std::uint8_t {
    nrAccord,    // a whole number equal to the position
    nrDisaccord, // a whole number different from the position
    nrNonNumber, // not a whole number (the empty text included)
};

// Whether a typed or pasted character passes the filters. With no filter every
// character passes; otherwise the digits and the editing keys (Ctrl+A, Ctrl+C,
// backspace, Ctrl+V, Ctrl+X, Ctrl+Z, escape) always do, and the rest only through a
// filter that admits them.
bool IsFilterChar(wchar_t ch, TFilterChars filters);

// Keeps the admitted characters of source in dest; true when some character was not
// admitted. With fcRejectProcess the walk stops at the first such character and dest
// is left as it was.
bool FilterText(const std::wstring& source, std::wstring& dest, TFilterChars filters);

// The whole number a text stands for: decimal digits with an optional sign, within
// 32 bits.
std::optional<int> WholeNumber(const std::wstring& text);

TNumericallyRelationship GetRelation(const std::wstring& text, int position);

// What a paste request does with the clipboard's text (none when the clipboard holds
// no text).
struct PasteAction {
    bool ordinary = false;            // the edit's own paste, unfiltered
    bool beep = false;                // the default beep
    std::optional<std::wstring> text; // replaces the selection, when set
};
PasteAction DecidePaste(const std::optional<std::wstring>& clipboardText, TFilterChars filters);

} // namespace options
