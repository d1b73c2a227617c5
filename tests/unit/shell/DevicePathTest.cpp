// Device paths from GetFinalPathNameByHandleW mapped back to drive letters.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "shell/SymLink.h"

namespace {

using shell::DevicePathToDosPath;
using shell::DosDeviceName;

TEST(DevicePathTest, DeviceIsReplacedByItsDrive) {
    // Volume 10 comes first, so a match on a mere prefix of the text would pick it for
    // volume 1 paths, and volume 1 for volume 10 paths if the order were reversed.
    const std::vector<DosDeviceName> devices = {
        {L"D:", L"\\Device\\HarddiskVolume10"},
        {L"C:", L"\\Device\\HarddiskVolume1"},
        {L"E:", L"\\Device\\CdRom0\\"},
    };
    struct Case {
        std::wstring devicePath;
        std::optional<std::wstring> expected;
    };
    const Case cases[] = {
        {L"\\Device\\HarddiskVolume1\\Users\\me", L"C:\\Users\\me"},
        {L"\\Device\\HarddiskVolume10\\Data", L"D:\\Data"},
        {L"\\Device\\HarddiskVolume1", L"C:\\"},
        {L"\\Device\\HarddiskVolume1\\", L"C:\\"},
        {L"\\device\\harddiskvolume1\\Öl", L"C:\\Öl"}, // device names ignore case, the rest is kept
        {L"\\Device\\HarddiskVolume100\\x", std::nullopt},
        {L"\\Device\\HarddiskVolume1x\\x", std::nullopt},
        {L"\\Device\\CdRom0\\setup", L"E:\\setup"},
        {L"\\Device\\Mup\\server\\share\\dir", L"\\\\server\\share\\dir"},
        {L"\\Device\\Mup\\", std::nullopt},
        {L"\\Device\\HarddiskVolume2\\x", std::nullopt},
        {L"", std::nullopt},
        {L"C:\\Users", std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << testing::PrintToString(c.devicePath));
        EXPECT_EQ(DevicePathToDosPath(c.devicePath, devices), c.expected);
    }
    EXPECT_EQ(DevicePathToDosPath(L"\\Device\\HarddiskVolume1\\x", {}), std::nullopt);
}

} // namespace
