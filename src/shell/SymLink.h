#pragma once
// Targets of symbolic links and junctions (reparse points of the file system).
#include <windows.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "shell/ShellHandles.h"

namespace shell {

// The ID list of the location a symbolic link or junction finally leads to. False,
// and a nil list, when the file is no reparse point, the link dangles or its target
// does not parse; never raises.
bool GetSymLinkTarget(const std::wstring& fileName, unique_pidl& idList);

// A drive and the device it maps to ("C:", "\Device\HarddiskVolume1").
struct DosDeviceName {
    std::wstring drive;
    std::wstring device;
};

// The drives of this system with their devices.
std::vector<DosDeviceName> QueryDosDeviceNames();

// A device path ("\Device\HarddiskVolume1\Users") with its device replaced by the
// drive that maps to it ("C:\Users"). The device must be followed by a backslash or
// the end, so \Device\HarddiskVolume10 never matches the device of volume 1. A path on
// the network redirector (\Device\Mup\server\share) becomes a UNC path. None when no
// drive maps to the device.
std::optional<std::wstring> DevicePathToDosPath(std::wstring_view devicePath,
                                                const std::vector<DosDeviceName>& devices);

} // namespace shell
