// The hotkey in the data file: the integer "Hotkey" under \Configuration, the word of a
// hotkey field, which older copies of the program pass over.
#include "SettingsFixture.h"

#include "app/GlobalHotkey.h"

#include <optional>

using namespace settings_test;

namespace {

using HotkeySettingsTest = SettingsFixture;

TEST_F(HotkeySettingsTest, TheStoredHotkeyLoadsAndSavesBackAndAnyOtherValueGivesASafeOne) {
    struct Case {
        std::optional<std::wstring> stored;
        WORD loaded;
        bool reported;
    } cases[] = {
        {std::nullopt, app::kDefaultHotkey, false}, // absent: the default
        {L"1089", MAKEWORD('A', HOTKEYF_ALT), false},
        {L"0", 0, false},                       // none
        {L"768", 0, false},                     // modifiers without a key
        {L"70000", app::kDefaultHotkey, false}, // no hotkey word
        {L"-5", app::kDefaultHotkey, false},
        {L"F11", app::kDefaultHotkey, true}, // no number at all
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing_support::Utf8(c.stored.value_or(L"(absent)")));
        DeleteFileW(dataFile.c_str());
        reported.clear();
        Prepare({{L"\\Configuration", L"CollapseSize", L"6"}});
        if (c.stored)
            Prepare({{L"\\Configuration", L"Hotkey", *c.stored}});
        Start();
        EXPECT_EQ(form->Hotkey(), c.loaded);
        EXPECT_EQ(form->CollapseSize(), 6);
        EXPECT_EQ(!reported.empty(), c.reported);
        // Written with the configuration, as the options dialog's OK writes it.
        form->InclModify(app::cpConfig);
        form->SaveSettings({app::cpConfig});
        EXPECT_EQ(Value(L"\\Configuration", L"Hotkey"), std::to_wstring(c.loaded));
        Stop();
    }
}

TEST_F(HotkeySettingsTest, OnlyTheConfigurationWritesTheHotkey) {
    Prepare({{L"\\Configuration", L"Hotkey", L"1089"}});
    Start();
    form->SetHotkey(MAKEWORD(VK_F8, HOTKEYF_CONTROL | HOTKEYF_SHIFT));
    form->InclModify(app::cpForm);
    form->SaveSettings({app::cpForm});
    EXPECT_EQ(Value(L"\\Configuration", L"Hotkey"), L"1089");
    Stop();
}

} // namespace
