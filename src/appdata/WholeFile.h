#pragma once
// Reading a data file whole, and replacing it whole without ever leaving a truncated
// or half-written file behind.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace appdata {

// The bytes of the file, or nothing when there is no such file (or folder). Raises
// EFOpenError when the file is there but cannot be read, and EXMLDocError when it is
// larger than sizeLimit (it is then not read at all).
std::optional<std::string> ReadWholeFile(const std::wstring& fileName, uint64_t sizeLimit);

// Writes bytes to a new file beside fileName, flushes it and moves it over fileName in
// one step (a symbolic link is followed, so the file it names is replaced). On failure the
// old file is left as it was, the new one is removed, and EFCreateError is raised
// with fileName and the system's reason. A read-only file is refused, as the
// platform's replace operation itself does on Windows.
void ReplaceWholeFile(const std::wstring& fileName, std::string_view bytes);

// Fault injection for tests: after this many bytes the writes of ReplaceWholeFile fail
// as on a full disk (ERROR_DISK_FULL); nothing gives writes that do not fail.
void FailWritesAfterForTesting(std::optional<uint64_t> bytes);

} // namespace appdata
