#pragma once
// The text forms in which the store keeps typed values. Parsers answer nothing for a
// text that is not of the form; the caller raises the conversion error.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace appdata {

// Decimal, "-" for negative values, no other sign and no leading zeros.
std::wstring IntegerToText(int32_t value);
// Decimal with an optional sign; nothing when out of range.
std::optional<int32_t> TextToInteger(std::wstring_view text);

std::wstring CardinalToText(uint32_t value);
// Decimal from 0 to 4294967295, an optional "+" in front.
std::optional<uint32_t> TextToCardinal(std::wstring_view text);

// General form: at most 15 significant digits, no trailing zeros; fixed notation for
// magnitudes from 0.00001 up to 15 integer digits, otherwise "E" and the exponent
// ("1.5E-7", "1E20"). Infinities and NaN are written "INF", "-INF" and "NAN".
std::wstring FloatToText(double value, std::wstring_view decimalSeparator);
// The same form (either letter case for "E", an optional sign before the number and
// the exponent); nothing for other texts or for values beyond the range of a double.
std::optional<double> TextToFloat(std::wstring_view text, std::wstring_view decimalSeparator);

// "-1" for true, "0" for false.
std::wstring BoolToText(bool value);
// Any number (non-zero is true), or "True" or "False" in any letter case.
std::optional<bool> TextToBool(std::wstring_view text, std::wstring_view decimalSeparator);

// The decimal separator of the user's locale settings ("." when they give none).
std::wstring UserDecimalSeparator();

} // namespace appdata
