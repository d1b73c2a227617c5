#include "appdata/XMLTextForms.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>

using namespace appdata;

TEST(XMLTextForms, IntegersAndCardinalsAreWrittenInPlainDecimal) {
    EXPECT_EQ(IntegerToText(0), L"0");
    EXPECT_EQ(IntegerToText(-1), L"-1");
    EXPECT_EQ(IntegerToText(std::numeric_limits<int32_t>::max()), L"2147483647");
    EXPECT_EQ(IntegerToText(std::numeric_limits<int32_t>::min()), L"-2147483648");
    EXPECT_EQ(CardinalToText(0), L"0");
    EXPECT_EQ(CardinalToText(4294967295u), L"4294967295");
}

TEST(XMLTextForms, IntegerTextsParseWithinRangeOnly) {
    struct Case {
        const wchar_t* text;
        std::optional<int32_t> integer;
        std::optional<uint32_t> cardinal;
    };
    const Case cases[] = {
        {L"0", 0, 0u},
        {L"42", 42, 42u},
        {L"+5", 5, 5u},
        {L"-0", 0, std::nullopt},
        {L"007", 7, 7u},
        {L"-17", -17, std::nullopt},
        {L"2147483647", 2147483647, 2147483647u},
        {L"2147483648", std::nullopt, 2147483648u},
        {L"-2147483648", std::numeric_limits<int32_t>::min(), std::nullopt},
        {L"-2147483649", std::nullopt, std::nullopt},
        {L"4294967295", std::nullopt, 4294967295u},
        {L"4294967296", std::nullopt, std::nullopt},
        {L"99999999999999999999999", std::nullopt, std::nullopt},
        {L"", std::nullopt, std::nullopt},
        {L"-", std::nullopt, std::nullopt},
        {L"+", std::nullopt, std::nullopt},
        {L"abc", std::nullopt, std::nullopt},
        {L" 5", std::nullopt, std::nullopt},
        {L"5 ", std::nullopt, std::nullopt},
        {L"1e3", std::nullopt, std::nullopt},
        {L"0x10", std::nullopt, std::nullopt},
        {L"1.0", std::nullopt, std::nullopt},
        {L"\uFF11", std::nullopt, std::nullopt}, // a full-width digit is not a decimal digit
    };
    for (const Case& c : cases) {
        EXPECT_EQ(TextToInteger(c.text), c.integer) << c.text;
        EXPECT_EQ(TextToCardinal(c.text), c.cardinal) << c.text;
    }
}

TEST(XMLTextForms, FloatsAreWrittenInGeneralFormWithTheGivenSeparator) {
    struct Case {
        double value;
        const wchar_t* dot;
        const wchar_t* comma;
    };
    const Case cases[] = {
        {0.0, L"0", L"0"},
        {-0.0, L"0", L"0"},
        {1.0, L"1", L"1"},
        {100.0, L"100", L"100"},
        {-1.5, L"-1.5", L"-1,5"},
        {0.1 + 0.2, L"0.3", L"0,3"},
        {1.0 / 3.0, L"0.333333333333333", L"0,333333333333333"},
        {2.0 / 3.0, L"0.666666666666667", L"0,666666666666667"},
        {123456789012345.0, L"123456789012345", L"123456789012345"},
        {1234567890123456.0, L"1.23456789012346E15", L"1,23456789012346E15"},
        {1e15, L"1E15", L"1E15"},
        {1e20, L"1E20", L"1E20"},
        {0.00001, L"0.00001", L"0,00001"},
        {0.0000099, L"9.9E-6", L"9,9E-6"},
        {-1.5e-7, L"-1.5E-7", L"-1,5E-7"},
        {1e-300, L"1E-300", L"1E-300"},
        {std::numeric_limits<double>::max(), L"1.79769313486232E308", L"1,79769313486232E308"},
        {std::numeric_limits<double>::infinity(), L"INF", L"INF"},
        {-std::numeric_limits<double>::infinity(), L"-INF", L"-INF"},
        {std::nan(""), L"NAN", L"NAN"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FloatToText(c.value, L"."), c.dot) << c.dot;
        EXPECT_EQ(FloatToText(c.value, L","), c.comma) << c.comma;
    }
}

TEST(XMLTextForms, FloatTextsParseInTheSameFormOnly) {
    struct Case {
        const wchar_t* text;
        const wchar_t* separator;
        std::optional<double> value;
    };
    const Case cases[] = {
        {L"0", L".", 0.0},
        {L"1.5", L".", 1.5},
        {L"1,5", L",", 1.5},
        {L"-1,5E-7", L",", -1.5e-7},
        {L"1.5e+3", L".", 1500.0},
        {L"+2", L".", 2.0},
        {L".5", L".", 0.5},
        {L"5.", L".", 5.0},
        {L"1E20", L".", 1e20},
        {L"1.79769313486232E308", L".", std::numeric_limits<double>::max()},
        {L"-1.79769313486232E308", L".", -std::numeric_limits<double>::max()},
        {L"1.7976931348624E308", L".", std::nullopt},
        {L"1E-400", L".", 0.0},
        {L"1,5", L".", std::nullopt},
        {L"1.5", L",", std::nullopt},
        {L"1E400", L".", std::nullopt},
        {L"1E", L".", std::nullopt},
        {L"E5", L".", std::nullopt},
        {L".", L".", std::nullopt},
        {L"", L".", std::nullopt},
        {L"1.5x", L".", std::nullopt},
        {L" 1.5", L".", std::nullopt},
        {L"0x1p3", L".", std::nullopt},
        {L"infinity", L".", std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TextToFloat(c.text, c.separator), c.value) << c.text;

    EXPECT_EQ(TextToFloat(L"INF", L"."), std::numeric_limits<double>::infinity());
    EXPECT_EQ(TextToFloat(L"-inf", L"."), -std::numeric_limits<double>::infinity());
    ASSERT_TRUE(TextToFloat(L"NaN", L".").has_value());
    EXPECT_TRUE(std::isnan(*TextToFloat(L"NaN", L".")));
}

TEST(XMLTextForms, FloatsSurviveTheirTextFormToFifteenDigits) {
    const double values[] = {1.0 / 3.0,
                             -2.0 / 7.0,
                             6.02214076e23,
                             1.602176634e-19,
                             12345.6789,
                             0.00001234,
                             9.99999999999999e14,
                             std::numeric_limits<double>::min(),
                             std::numeric_limits<double>::max(),
                             -std::numeric_limits<double>::max()};
    for (const wchar_t* separator : {L".", L","}) {
        for (double value : values) {
            std::optional<double> back = TextToFloat(FloatToText(value, separator), separator);
            ASSERT_TRUE(back.has_value()) << FloatToText(value, separator);
            EXPECT_NEAR(*back / value, 1.0, 1e-14) << FloatToText(value, separator);
        }
    }
}

TEST(XMLTextForms, BooleansAreMinusOneAndZeroAndReadFromNumbersOrWords) {
    EXPECT_EQ(BoolToText(true), L"-1");
    EXPECT_EQ(BoolToText(false), L"0");
    struct Case {
        const wchar_t* text;
        std::optional<bool> value;
    };
    const Case cases[] = {
        {L"-1", true},
        {L"1", true},
        {L"2", true},
        {L"1.5", true},
        {L"99999999999999999999", true},
        {L"True", true},
        {L"TRUE", true},
        {L"tRuE", true},
        {L"0", false},
        {L"-0", false},
        {L"0.0", false},
        {L"0E10", false},
        {L"False", false},
        {L"fALSE", false},
        {L"yes", std::nullopt},
        {L"", std::nullopt},
        {L"T", std::nullopt},
        {L" True", std::nullopt},
        {L"INF", std::nullopt},
        {L"NAN", std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TextToBool(c.text, L"."), c.value) << c.text;
    EXPECT_EQ(TextToBool(L"0,5", L","), true);
    EXPECT_EQ(TextToBool(L"0.5", L","), std::nullopt);
}

TEST(XMLTextForms, UserDecimalSeparatorIsTheLocales) {
    wchar_t expected[8] = {};
    ASSERT_GT(::GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SDECIMAL, expected, 8), 1);
    EXPECT_EQ(UserDecimalSeparator(), expected);
}
