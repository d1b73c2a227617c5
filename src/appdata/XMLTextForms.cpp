#include "appdata/XMLTextForms.h"

#include <windows.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace appdata {
namespace {

bool IsDigit(wchar_t c) noexcept {
    return c >= L'0' && c <= L'9';
}

bool EqualsIgnoringCase(std::wstring_view text, std::wstring_view ascii) noexcept {
    if (text.size() != ascii.size())
        return false;
    for (size_t i = 0; i < text.size(); ++i) {
        wchar_t c = text[i];
        if (c >= L'A' && c <= L'Z')
            c = static_cast<wchar_t>(c - L'A' + L'a');
        if (c != ascii[i])
            return false;
    }
    return true;
}

// The decimal digits of text as an unsigned value, nothing when there are none, when
// another character is among them or when the value exceeds limit.
std::optional<uint64_t> ParseDigits(std::wstring_view text, uint64_t limit) noexcept {
    if (text.empty())
        return std::nullopt;
    uint64_t value = 0;
    for (wchar_t c : text) {
        if (!IsDigit(c))
            return std::nullopt;
        value = value * 10 + static_cast<uint64_t>(c - L'0');
        if (value > limit)
            return std::nullopt;
    }
    return value;
}

std::wstring Widen(std::string_view ascii) {
    return std::wstring(ascii.begin(), ascii.end());
}

// The number in text as plain ASCII with "." as separator, after checking the form:
// [sign] digits [separator digits] [E [sign] digits], with at least one digit in the
// mantissa. Nothing when the text has another form.
std::optional<std::string> NormalizeNumber(std::wstring_view text, std::wstring_view separator) {
    std::string number;
    size_t i = 0;
    if (i < text.size() && (text[i] == L'+' || text[i] == L'-')) {
        if (text[i] == L'-')
            number += '-';
        ++i;
    }
    bool digits = false;
    while (i < text.size() && IsDigit(text[i])) {
        number += static_cast<char>(text[i++]);
        digits = true;
    }
    if (!separator.empty() && text.substr(i, separator.size()) == separator) {
        i += separator.size();
        number += '.';
        while (i < text.size() && IsDigit(text[i])) {
            number += static_cast<char>(text[i++]);
            digits = true;
        }
    }
    if (!digits)
        return std::nullopt;
    if (i < text.size() && (text[i] == L'E' || text[i] == L'e')) {
        ++i;
        number += 'e';
        if (i < text.size() && (text[i] == L'+' || text[i] == L'-')) {
            if (text[i] == L'-')
                number += '-';
            ++i;
        }
        bool exponentDigits = false;
        while (i < text.size() && IsDigit(text[i])) {
            number += static_cast<char>(text[i++]);
            exponentDigits = true;
        }
        if (!exponentDigits)
            return std::nullopt;
    }
    if (i != text.size())
        return std::nullopt;
    return number;
}

// A number beyond a double's range, in the form NormalizeNumber makes. A tiny one is
// as good as zero; a large one is refused, except that the fifteen-digit form of the
// largest double, which rounds up past it, still reads back as that double.
std::optional<double> OutOfRange(const std::string& number) {
    bool negative = !number.empty() && number[0] == '-';
    size_t e = number.find('e');
    std::string_view mantissa = std::string_view(number).substr(negative ? 1 : 0, e - (negative ? 1 : 0));
    long long exponent = 0;
    if (e != std::string::npos) {
        std::string_view digits = std::string_view(number).substr(e + 1);
        bool down = !digits.empty() && digits[0] == '-';
        if (down)
            digits.remove_prefix(1);
        for (char c : digits)
            exponent = std::min(exponent * 10 + (c - '0'), 100000LL);
        if (down)
            exponent = -exponent;
    }
    // The significant digits and the power of ten of the first of them.
    std::string significant;
    long long power = -1;
    bool afterPoint = false;
    for (char c : mantissa) {
        if (c == '.') {
            afterPoint = true;
        } else if (!significant.empty() || c != '0') {
            significant += c;
            if (!afterPoint)
                ++power;
        } else if (afterPoint) {
            --power;
        }
    }
    if (significant.empty())
        return 0.0;
    power += exponent;
    if (power < 0)
        return 0.0;
    // The number as m times 10 to the 308th, m read as a plain double.
    std::string scaled = "0." + significant + "e" + std::to_string(power + 1 - 308);
    double m = 0;
    auto [end, error] = std::from_chars(scaled.data(), scaled.data() + scaled.size(), m);
    if (error != std::errc() || m > 1.7976931348623157 * (1 + 5e-15))
        return std::nullopt;
    return negative ? -std::numeric_limits<double>::max() : std::numeric_limits<double>::max();
}

std::optional<double> ParseNumber(std::wstring_view text, std::wstring_view separator) {
    std::optional<std::string> number = NormalizeNumber(text, separator);
    if (!number)
        return std::nullopt;
    const char* first = number->data();
    const char* last = first + number->size();
    double value = 0;
    auto [end, error] = std::from_chars(first, last, value);
    if (error == std::errc() && end == last)
        return value;
    if (error != std::errc::result_out_of_range)
        return std::nullopt;
    return OutOfRange(*number);
}

} // namespace

std::wstring IntegerToText(int32_t value) {
    return std::to_wstring(value);
}

std::optional<int32_t> TextToInteger(std::wstring_view text) {
    bool negative = false;
    if (!text.empty() && (text.front() == L'+' || text.front() == L'-')) {
        negative = text.front() == L'-';
        text.remove_prefix(1);
    }
    std::optional<uint64_t> magnitude = ParseDigits(text, negative ? 2147483648ULL : 2147483647ULL);
    if (!magnitude)
        return std::nullopt;
    return static_cast<int32_t>(negative ? -static_cast<int64_t>(*magnitude)
                                         : static_cast<int64_t>(*magnitude));
}

std::wstring CardinalToText(uint32_t value) {
    return std::to_wstring(value);
}

std::optional<uint32_t> TextToCardinal(std::wstring_view text) {
    if (!text.empty() && text.front() == L'+')
        text.remove_prefix(1);
    std::optional<uint64_t> value = ParseDigits(text, 4294967295ULL);
    if (!value)
        return std::nullopt;
    return static_cast<uint32_t>(*value);
}

std::wstring FloatToText(double value, std::wstring_view decimalSeparator) {
    if (std::isnan(value))
        return L"NAN";
    if (std::isinf(value))
        return value < 0 ? L"-INF" : L"INF";
    if (value == 0)
        return L"0";

    // Fifteen significant digits, rounded once: "d.dddddddddddddde[+-]x".
    char buffer[64];
    auto result =
        std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value), std::chars_format::scientific, 14);
    std::string_view scientific(buffer, static_cast<size_t>(result.ptr - buffer));
    size_t e = scientific.find('e');
    std::string digits;
    digits += scientific[0];
    digits += scientific.substr(2, e - 2);
    int exponent = std::atoi(std::string(scientific.substr(e + 1)).c_str());
    while (digits.size() > 1 && digits.back() == '0')
        digits.pop_back();

    std::wstring text = value < 0 ? L"-" : L"";
    if (exponent >= -5 && exponent < 15) {
        if (exponent >= 0) {
            size_t integerDigits = static_cast<size_t>(exponent) + 1;
            if (digits.size() <= integerDigits) {
                text += Widen(digits);
                text.append(integerDigits - digits.size(), L'0');
            } else {
                text += Widen(std::string_view(digits).substr(0, integerDigits));
                text += decimalSeparator;
                text += Widen(std::string_view(digits).substr(integerDigits));
            }
        } else {
            text += L'0';
            text += decimalSeparator;
            text.append(static_cast<size_t>(-exponent - 1), L'0');
            text += Widen(digits);
        }
    } else {
        text += static_cast<wchar_t>(digits[0]);
        if (digits.size() > 1) {
            text += decimalSeparator;
            text += Widen(std::string_view(digits).substr(1));
        }
        text += L'E';
        text += std::to_wstring(exponent);
    }
    return text;
}

std::optional<double> TextToFloat(std::wstring_view text, std::wstring_view decimalSeparator) {
    if (EqualsIgnoringCase(text, L"nan"))
        return std::nan("");
    if (EqualsIgnoringCase(text, L"inf") || EqualsIgnoringCase(text, L"+inf"))
        return HUGE_VAL;
    if (EqualsIgnoringCase(text, L"-inf"))
        return -HUGE_VAL;
    return ParseNumber(text, decimalSeparator);
}

std::wstring BoolToText(bool value) {
    return value ? L"-1" : L"0";
}

std::optional<bool> TextToBool(std::wstring_view text, std::wstring_view decimalSeparator) {
    if (EqualsIgnoringCase(text, L"true"))
        return true;
    if (EqualsIgnoringCase(text, L"false"))
        return false;
    // Any number counts, however long: only whether it is zero matters.
    std::optional<std::string> number = NormalizeNumber(text, decimalSeparator);
    if (!number)
        return std::nullopt;
    size_t mantissaEnd = number->find('e');
    std::string_view mantissa = std::string_view(*number).substr(0, mantissaEnd);
    return mantissa.find_first_of("123456789") != std::string_view::npos;
}

std::wstring UserDecimalSeparator() {
    wchar_t separator[8] = {};
    if (::GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SDECIMAL, separator, 8) <= 1)
        return L".";
    return separator;
}

} // namespace appdata
