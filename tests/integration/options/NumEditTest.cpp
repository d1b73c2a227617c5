#include "appdata/XMLRegFileErrors.h"
#include "gui/Application.h"
#include "gui/ModalForm.h"
#include "options/NumEdits.h"
#include "support/Pump.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

using namespace options;
using testing_support::PumpUntilIdle;

namespace {

struct Verification {
    std::wstring text;
    int position;
    TNumericallyRelationship relation;
};

class NumEditTest : public ::testing::Test {
protected:
    void SetUp() override {
        edit.UpDown()->SetRange(4, 32);
        edit.SetFilters({fcAllowDecimal, fcRejectProcess});
        edit.OnVerify = [this](TUpDownEdit&, std::wstring& text, int& position,
                               TNumericallyRelationship relation) {
            verified.push_back({text, position, relation});
            if (correct)
                correct(text, position);
        };
        edit.OnChange = [this] { ++changes; };
        edit.OnCount = [this](gui::Window&) { ++counts; };
    }
    void Type(wchar_t ch) { SendMessageW(edit.Handle(), WM_CHAR, ch, 1); }
    void Reset() {
        verified.clear();
        changes = 0;
        counts = 0;
    }

    gui::ModalForm host{nullptr, L"host", 200, 100};
    TUpDownEdit edit{host, gui::MakeRect(10, 10, 60, 21)};
    std::vector<Verification> verified;
    int changes = 0;
    int counts = 0;
    std::function<void(std::wstring&, int&)> correct;
};

TEST(NumEditFresh, ShowsZeroWithTheButtonRightOfIt) {
    gui::ModalForm host{nullptr, L"host", 200, 100};
    TUpDownEdit edit{host, gui::MakeRect(10, 10, 60, 21)};
    EXPECT_EQ(edit.Text(), L"0");
    EXPECT_EQ(edit.UpdateCount(), 0);
    EXPECT_TRUE(edit.Filters().Empty());
    ASSERT_NE(edit.UpDown(), nullptr);
    EXPECT_EQ(edit.UpDown()->Buddy(), edit.Handle());
    EXPECT_EQ(edit.UpDown()->Left(), 70);
    EXPECT_EQ(edit.UpDown()->Top(), 10);
    EXPECT_EQ(edit.UpDown()->Height(), 21);
    edit.SetBounds(gui::MakeRect(20, 30, 50, 25));
    EXPECT_EQ(edit.UpDown()->Left(), 70);
    EXPECT_EQ(edit.UpDown()->Top(), 30);
    EXPECT_EQ(edit.UpDown()->Height(), 25);
    edit.SetEnabled(false);
    EXPECT_FALSE(edit.UpDown()->Enabled());
}

TEST_F(NumEditTest, TextAndPositionRelateAsTheFieldIsEdited) {
    edit.SetValue(4);
    Reset();
    // One paste replacing the whole text, then an emptied field, then a good number.
    edit.SetText(L"50");
    edit.SetText(L"");
    edit.SetText(L"20");
    ASSERT_EQ(verified.size(), 3u);
    EXPECT_EQ(verified[0].text, L"50");
    EXPECT_EQ(verified[0].position, 4);
    EXPECT_EQ(verified[0].relation, nrDisaccord);
    EXPECT_EQ(verified[1].text, L"");
    EXPECT_EQ(verified[1].position, 4);
    EXPECT_EQ(verified[1].relation, nrNonNumber);
    EXPECT_EQ(verified[2].position, 20);
    EXPECT_EQ(verified[2].relation, nrAccord);
    EXPECT_EQ(edit.Value(), 20);
    EXPECT_EQ(changes, 3);
}

TEST_F(NumEditTest, TypedCharactersPassTheFilterOrBeep) {
    edit.SetValue(4);
    edit.SelectAll();
    Reset();
    for (wchar_t ch : {L'a', L'-', L'.', L' ', L'\xFF17'})
        Type(ch);
    EXPECT_EQ(edit.Text(), L"4");
    EXPECT_TRUE(verified.empty());
    Type(L'7');
    EXPECT_EQ(edit.Text(), L"7");
    EXPECT_EQ(changes, 1);
    ASSERT_EQ(verified.size(), 1u);
    EXPECT_EQ(verified[0].position, 7);
    EXPECT_EQ(verified[0].relation, nrAccord);
    // A key-press handler may replace the character before the filter sees it.
    edit.OnKeyPress = [](wchar_t& key) {
        if (key == L'x')
            key = L'1';
    };
    Type(L'x');
    EXPECT_EQ(edit.Text(), L"71");
}

TEST_F(NumEditTest, PastingFollowsTheFilters) {
    edit.SetValue(4);
    std::optional<std::wstring> clipboard;
    edit.ClipboardText = [&] { return clipboard; };
    struct Case {
        std::optional<std::wstring> clipboard;
        TFilterChars filters;
        const wchar_t* text;
    } cases[] = {
        {L"12a3", {fcAllowDecimal, fcRejectProcess}, L"4"},
        {L"12a3", {fcAllowDecimal}, L"123"},
        {L"-8", {fcAllowDecimal, fcRejectProcess}, L"4"},
        {L"25", {fcAllowDecimal, fcRejectProcess}, L"25"},
        {std::nullopt, {fcAllowDecimal, fcRejectProcess}, L"4"},
    };
    for (const Case& c : cases) {
        edit.SetValue(4);
        edit.SelectAll();
        clipboard = c.clipboard;
        edit.SetFilters(c.filters);
        SendMessageW(edit.Handle(), WM_PASTE, 0, 0);
        EXPECT_EQ(edit.Text(), c.text) << c.clipboard.value_or(L"(no text)");
    }
}

TEST_F(NumEditTest, RealClipboardTextIsPasted) {
    edit.SetValue(4);
    edit.SelectAll();
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    const wchar_t text[] = L"31";
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, sizeof(text));
    memcpy(GlobalLock(memory), text, sizeof(text));
    GlobalUnlock(memory);
    SetClipboardData(CF_UNICODETEXT, memory);
    CloseClipboard();
    SendMessageW(edit.Handle(), WM_PASTE, 0, 0);
    EXPECT_EQ(edit.Text(), L"31");
    EXPECT_EQ(edit.Value(), 31);
}

TEST_F(NumEditTest, UpdateBracketsVerifyOnceWhenTheLastCloses) {
    edit.SetValue(4);
    Reset();
    edit.BeginUpdate();
    edit.SetValue(10);
    edit.SetValue(12);
    EXPECT_TRUE(verified.empty());
    edit.EndUpdate();
    ASSERT_EQ(verified.size(), 1u);
    EXPECT_EQ(verified[0].text, L"12");
    EXPECT_EQ(verified[0].position, 12);
    EXPECT_EQ(changes, 0);
    // A surplus EndUpdate changes nothing and fires nothing.
    edit.EndUpdate();
    EXPECT_EQ(edit.UpdateCount(), 0);
    EXPECT_EQ(verified.size(), 1u);
}

TEST_F(NumEditTest, ArrowStepsVerifyWithoutOnChangeAndStopAtMax) {
    edit.SetValue(31);
    Reset();
    SendMessageW(edit.Handle(), WM_KEYDOWN, VK_UP, 0);
    SendMessageW(edit.Handle(), WM_KEYUP, VK_UP, 0);
    PumpUntilIdle();
    EXPECT_EQ(edit.Text(), L"32");
    EXPECT_EQ(edit.Value(), 32);
    EXPECT_EQ(changes, 0);
    EXPECT_GE(counts, 1);
    ASSERT_FALSE(verified.empty());
    EXPECT_EQ(verified.back().text, L"32");
    EXPECT_EQ(verified.back().relation, nrAccord);
    // At Max without wrapping the position stays.
    SendMessageW(edit.Handle(), WM_KEYDOWN, VK_UP, 0);
    SendMessageW(edit.Handle(), WM_KEYUP, VK_UP, 0);
    PumpUntilIdle();
    EXPECT_EQ(edit.Value(), 32);
    EXPECT_EQ(edit.Text(), L"32");
    EXPECT_EQ(edit.UpdateCount(), 0);
}

TEST_F(NumEditTest, AVerifyHandlerCorrectsTextAndPositionWithoutFiringAgain) {
    edit.SetValue(4);
    correct = [](std::wstring& text, int& position) {
        if (text == L"50") {
            text = L"5";
            position = 5;
        }
    };
    Reset();
    edit.SetText(L"50");
    EXPECT_EQ(edit.Text(), L"5");
    EXPECT_EQ(edit.UpDown()->StoredPosition(), 5);
    EXPECT_EQ(verified.size(), 1u);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(edit.UpdateCount(), 0);
    EXPECT_EQ(edit.UpDown()->Buddy(), edit.Handle());
}

TEST_F(NumEditTest, AFailingChangeHandlerStillClosesItsBracket) {
    std::vector<std::wstring> reported;
    gui::Application::Instance().SetReporter(
        [&](const std::wstring& message) { reported.push_back(message); });
    edit.OnChange = [] { throw gui::UserError(L"broken"); };
    Reset();
    edit.SetText(L"9");
    gui::Application::Instance().SetReporter(nullptr);
    EXPECT_EQ(edit.UpdateCount(), 0);
    ASSERT_EQ(reported.size(), 1u);
    EXPECT_EQ(reported[0], L"broken");
    // The verification ran all the same, when the bracket closed.
    ASSERT_EQ(verified.size(), 1u);
    EXPECT_EQ(verified[0].position, 9);
}

TEST_F(NumEditTest, WithoutItsButtonTheValueIsTheTextOrAConversionError) {
    edit.SetValue(7);
    DestroyWindow(edit.UpDown()->Handle());
    EXPECT_EQ(edit.UpDown(), nullptr);
    EXPECT_EQ(edit.Value(), 7);
    edit.SetText(L"abc");
    try {
        (void)edit.Value();
        ADD_FAILURE() << "no conversion error";
    } catch (const appdata::EConvertError& error) {
        EXPECT_EQ(error.Message(), L"'abc' は整数ではありません");
    }
}

} // namespace
