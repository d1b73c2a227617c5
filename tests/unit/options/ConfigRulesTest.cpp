#include "options/ConfigDialog.h"

#include <gtest/gtest.h>

using namespace options;

namespace {

TEST(ValidationMessage, TheLastWrongFieldInOrderWins) {
    struct Case {
        TNumericallyRelationship size, trans, width, height;
        const wchar_t* message;
    } cases[] = {
        {nrAccord, nrAccord, nrAccord, nrAccord, L""},
        {nrDisaccord, nrAccord, nrAccord, nrAccord, L"幅が範囲外です"},
        {nrNonNumber, nrAccord, nrAccord, nrAccord, L"不正な幅です"},
        {nrAccord, nrDisaccord, nrAccord, nrAccord, L"透明度が範囲外です"},
        {nrAccord, nrNonNumber, nrAccord, nrAccord, L"不正な透明度です"},
        {nrAccord, nrAccord, nrDisaccord, nrAccord, L"横幅が範囲外です"},
        {nrAccord, nrAccord, nrNonNumber, nrAccord, L"不正な横幅です"},
        {nrAccord, nrAccord, nrAccord, nrDisaccord, L"高さが範囲外です"},
        {nrAccord, nrAccord, nrAccord, nrNonNumber, L"不正な高さです"},
        // An empty strip width and a height out of range: the height comes later.
        {nrNonNumber, nrAccord, nrAccord, nrDisaccord, L"高さが範囲外です"},
        {nrDisaccord, nrNonNumber, nrAccord, nrAccord, L"不正な透明度です"},
        {nrDisaccord, nrAccord, nrNonNumber, nrAccord, L"不正な横幅です"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ValidationMessage(
                      {{L"幅", c.size}, {L"透明度", c.trans}, {L"横幅", c.width}, {L"高さ", c.height}}),
                  c.message);
    }
}

TEST(PartsToSave, ConfigurationAlwaysAndEverySnapshotPartNotSetToDoNotSave) {
    using app::TChangeParts;
    struct Case {
        int form, frame, tree;
        TChangeParts parts;
    } cases[] = {
        {0, 0, 0, app::AllChangeParts},
        {1, 1, 1, app::AllChangeParts},
        {2, 2, 2, TChangeParts{app::cpConfig}},
        {1, 2, 0, TChangeParts{app::cpConfig, app::cpForm, app::cpTree}},
        {2, 0, 2, TChangeParts{app::cpConfig, app::cpFrame}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PartsToSave(c.form, c.frame, c.tree).Bits(), c.parts.Bits()) << c.form << c.frame << c.tree;
}

TEST(PlainDigit, FullWidthDigitsBecomePlainOnesAndEverythingElseStays) {
    for (wchar_t d = 0; d < 10; ++d)
        EXPECT_EQ(PlainDigit(static_cast<wchar_t>(0xFF10 + d)), static_cast<wchar_t>(L'0' + d));
    for (wchar_t other :
         {L'0', L'9', L'a', L'\uFF0F', L'\uFF1A', L'\uFF21', L'\u3000', L'\u0660', L'\b', L'\0'})
        EXPECT_EQ(PlainDigit(other), other) << static_cast<int>(other);
}

} // namespace
