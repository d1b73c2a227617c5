#include "appdata/WholeFile.h"

#include "appdata/XMLRegFileErrors.h"
#include "gui/Error.h"
#include "gui/Handles.h"

#include <windows.h>

#include <algorithm>
#include <cwchar>

namespace appdata {
namespace {

[[noreturn]] void ThrowCannotCreate(const std::wstring& fileName, DWORD error) {
    throw EFCreateError(FormatText(messages::kCannotCreateFile, {fileName, gui::SystemMessage(error)}));
}

// The path of the file that path finally names, symbolic links followed; path itself
// when there is no such file. (Asked of every file: not every platform marks a link to
// a file as a reparse point.)
std::wstring FinalPath(const std::wstring& path) {
    gui::unique_hfile file(::CreateFileW(path.c_str(), 0,
                                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                         OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!file)
        return path;
    std::wstring final(MAX_PATH, L'\0');
    for (;;) {
        DWORD length = ::GetFinalPathNameByHandleW(file.get(), final.data(), static_cast<DWORD>(final.size()),
                                                   FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
        if (length == 0)
            return path;
        if (length < final.size()) {
            final.resize(length);
            return final;
        }
        final.resize(length + 1);
    }
}

std::wstring TemporaryName(const std::wstring& target, unsigned attempt) {
    static unsigned counter = 0;
    wchar_t suffix[40];
    std::swprintf(suffix, 40, L".~%04lX%04X.tmp", ::GetCurrentProcessId() & 0xFFFF,
                  (++counter + attempt) & 0xFFFF);
    return target + suffix;
}

std::optional<uint64_t>& WriteFault() {
    static std::optional<uint64_t> bytesBeforeFault;
    return bytesBeforeFault;
}

bool WriteAll(HANDLE file, std::string_view bytes) {
    std::optional<uint64_t> fault = WriteFault();
    while (!bytes.empty()) {
        DWORD chunk = bytes.size() > 0x10000000 ? 0x10000000 : static_cast<DWORD>(bytes.size());
        if (fault) {
            if (*fault == 0) {
                ::SetLastError(ERROR_DISK_FULL);
                return false;
            }
            chunk = static_cast<DWORD>(std::min<uint64_t>(chunk, *fault));
            *fault -= chunk;
        }
        DWORD written = 0;
        if (!::WriteFile(file, bytes.data(), chunk, &written, nullptr) || written == 0)
            return false;
        bytes.remove_prefix(written);
    }
    return true;
}

} // namespace

void FailWritesAfterForTesting(std::optional<uint64_t> bytes) {
    WriteFault() = bytes;
}

std::optional<std::string> ReadWholeFile(const std::wstring& fileName, uint64_t sizeLimit) {
    gui::unique_hfile file(::CreateFileW(fileName.c_str(), GENERIC_READ,
                                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                         OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file) {
        DWORD error = ::GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND)
            return std::nullopt;
        throw EFOpenError(FormatText(messages::kCannotOpenFile, {fileName, gui::SystemMessage(error)}));
    }
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(file.get(), &size))
        throw EFOpenError(
            FormatText(messages::kCannotOpenFile, {fileName, gui::SystemMessage(::GetLastError())}));
    if (static_cast<uint64_t>(size.QuadPart) > sizeLimit) {
        std::wstring reason = FormatText(messages::kFileTooLarge, {std::to_wstring(sizeLimit)});
        throw EXMLDocError(FormatText(messages::kCannotLoadFile, {fileName, reason}));
    }
    std::string bytes(static_cast<size_t>(size.QuadPart), '\0');
    size_t filled = 0;
    while (filled < bytes.size()) {
        DWORD read = 0;
        if (!::ReadFile(file.get(), bytes.data() + filled, static_cast<DWORD>(bytes.size() - filled), &read,
                        nullptr))
            throw EFOpenError(
                FormatText(messages::kCannotOpenFile, {fileName, gui::SystemMessage(::GetLastError())}));
        if (read == 0)
            break; // the file shrank meanwhile
        filled += read;
    }
    bytes.resize(filled);
    return bytes;
}

void ReplaceWholeFile(const std::wstring& fileName, std::string_view bytes) {
    std::wstring target = FinalPath(fileName);
    DWORD attributes = ::GetFileAttributesW(target.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) {
        // Windows refuses to replace a read-only file or a folder; checked here so that
        // no platform replaces one silently.
        if (attributes & FILE_ATTRIBUTE_DIRECTORY)
            ThrowCannotCreate(fileName, ERROR_ACCESS_DENIED);
        if (attributes & FILE_ATTRIBUTE_READONLY)
            ThrowCannotCreate(fileName, ERROR_ACCESS_DENIED);
    }
    DWORD kept = attributes == INVALID_FILE_ATTRIBUTES
                     ? 0
                     : attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                     FILE_ATTRIBUTE_NOT_CONTENT_INDEXED);

    // The new file lies in the same folder, so that moving it over the old one is a
    // rename within one volume, never a copy.
    std::wstring temporary;
    gui::unique_hfile file;
    DWORD error = ERROR_FILE_EXISTS;
    for (unsigned attempt = 0; attempt < 16 && error == ERROR_FILE_EXISTS; ++attempt) {
        temporary = TemporaryName(target, attempt);
        file.reset(::CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                 kept ? kept : FILE_ATTRIBUTE_NORMAL, nullptr));
        error = file ? ERROR_SUCCESS : ::GetLastError();
        if (error == ERROR_ALREADY_EXISTS)
            error = ERROR_FILE_EXISTS;
    }
    if (!file)
        ThrowCannotCreate(fileName, error);

    if (!WriteAll(file.get(), bytes) || !::FlushFileBuffers(file.get())) {
        DWORD error = ::GetLastError();
        file.reset();
        ::DeleteFileW(temporary.c_str());
        ThrowCannotCreate(fileName, error);
    }
    file.reset();
    if (!::MoveFileExW(temporary.c_str(), target.c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        DWORD error = ::GetLastError();
        ::DeleteFileW(temporary.c_str());
        ThrowCannotCreate(fileName, error);
    }
}

} // namespace appdata
