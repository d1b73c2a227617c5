// Saving replaces the data file in one step: whatever goes wrong, the old file stays
// byte for byte as it was and no temporary file is left beside it.
#include "appdata/XMLRegFile.h"
#include "appdata/XMLRegFileErrors.h"
#include "appdata/XMLPrologCheck.h"

#include "support/LinuxSide.h"
#include "support/TempFolder.h"
#include "support/TestFiles.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using appdata::TXMLRegFile;
using testing_support::ReadBytes;
using testing_support::TempFolder;
using testing_support::WriteBytes;
using testing::ElementsAre;

namespace {

const std::string kOld = "<?xml version=\"1.0\"?>\r\n<Kestrav>\r\n  <Old>1</Old>\r\n</Kestrav>\r\n";

std::wstring CannotCreate(const std::wstring& file, DWORD error) {
    return appdata::FormatText(appdata::messages::kCannotCreateFile, {file, gui::SystemMessage(error)});
}

// Changes the store on file and frees it, which writes; the message of the error.
std::wstring SaveChange(const std::wstring& file) {
    try {
        TXMLRegFile reg(file);
        reg.OpenNode(L"\\New", true);
        reg.WriteInteger(L"Value", 2);
    } catch (const appdata::EFCreateError& error) {
        return error.Message();
    }
    return L"(saved)";
}

TEST(XMLRegFileSave, ReplacesTheFileAndLeavesNothingElse) {
    TempFolder folder;
    const std::wstring file = folder.File(L"Kestrav.xml");
    WriteBytes(file, kOld);
    ::SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_HIDDEN);
    EXPECT_EQ(SaveChange(file), L"(saved)");
    EXPECT_NE(ReadBytes(file).find("<Value>2</Value>"), std::string::npos);
    EXPECT_THAT(folder.Entries(), ElementsAre(L"Kestrav.xml"));
    EXPECT_TRUE(::GetFileAttributesW(file.c_str()) & FILE_ATTRIBUTE_HIDDEN)
        << "the file keeps its attributes";
}

TEST(XMLRegFileSave, SymbolicLinkKeepsPointingAtTheReplacedFile) {
    TempFolder folder;
    ::CreateDirectoryW(folder.File(L"real").c_str(), nullptr);
    const std::wstring real = folder.File(L"real\\Kestrav.xml"), link = folder.File(L"Kestrav.xml");
    WriteBytes(real, kOld);
    if (!testing_support::MakeLinkOnLinuxSide(link, real)) {
        ASSERT_FALSE(testing_support::UnderWine()) << "no link could be made on Wine's Linux side";
        GTEST_SKIP() << "needs Wine: the link is made on its Linux side";
    }
    EXPECT_EQ(SaveChange(link), L"(saved)");
    // Had the link itself been replaced by a plain file, the file it names would be old.
    EXPECT_NE(ReadBytes(real).find("<Value>2</Value>"), std::string::npos);
    EXPECT_EQ(ReadBytes(link), ReadBytes(real));
    EXPECT_THAT(folder.Entries(), ElementsAre(L"Kestrav.xml", L"real"));
    EXPECT_TRUE(testing_support::RemoveOnLinuxSide(link));
}

TEST(XMLRegFileSave, ReadOnlyFileIsRefusedAndKept) {
    TempFolder folder;
    const std::wstring file = folder.File(L"Kestrav.xml");
    WriteBytes(file, kOld);
    ::SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_READONLY);
    // Windows refuses to replace a read-only file; Wine's MoveFileExW would not, so the
    // store checks itself and the result is the same on both.
    EXPECT_EQ(SaveChange(file), CannotCreate(file, ERROR_ACCESS_DENIED));
    EXPECT_EQ(ReadBytes(file), kOld);
    EXPECT_THAT(folder.Entries(), ElementsAre(L"Kestrav.xml"));
}

TEST(XMLRegFileSave, FileHeldOpenIsKeptAndWrittenOnceFree) {
    TempFolder folder;
    const std::wstring file = folder.File(L"Kestrav.xml");
    WriteBytes(file, kOld);
    // Locked after loading, as when another program opens the file between our reading
    // and our writing.
    std::wstring message;
    {
        TXMLRegFile reg(file);
        reg.OpenNode(L"\\New", true);
        reg.WriteInteger(L"Value", 2);
        HANDLE locked = ::CreateFileW(file.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(locked, INVALID_HANDLE_VALUE);
        try {
            reg.UpdateFile();
        } catch (const appdata::EFCreateError& error) {
            message = error.Message();
        }
        ::CloseHandle(locked);
        EXPECT_EQ(ReadBytes(file), kOld);
        EXPECT_THAT(folder.Entries(), ElementsAre(L"Kestrav.xml"));
        EXPECT_TRUE(reg.Modified());
    } // freed with the file free again: written now
    EXPECT_EQ(message.find(L"ファイル \"" + file + L"\" を作成できません。"), 0u)
        << testing::PrintToString(message);
    EXPECT_NE(ReadBytes(file).find("<Value>2</Value>"), std::string::npos);
    EXPECT_THAT(folder.Entries(), ElementsAre(L"Kestrav.xml"));
}

TEST(XMLRegFileSave, MissingFolderOrFolderInTheWayIsAnError) {
    TempFolder folder;
    const std::wstring missing = folder.File(L"Missing\\Kestrav.xml");
    EXPECT_EQ(SaveChange(missing), CannotCreate(missing, ERROR_PATH_NOT_FOUND));
    EXPECT_TRUE(folder.Entries().empty());

    const std::wstring directory = folder.File(L"Kestrav.xml");
    ::CreateDirectoryW(directory.c_str(), nullptr);
    EXPECT_THROW(TXMLRegFile{directory}, appdata::EFOpenError);
    TXMLRegFile reg(folder.File(L"Other.xml"));
    reg.SetFileName(directory);
    EXPECT_THROW(reg.UpdateFile(), appdata::EFCreateError);
    EXPECT_THAT(folder.Entries(), ElementsAre(L"Kestrav.xml"));
}

// A document the store would refuse to read back is not written: the last file stays.
// At the bound it is written.
TEST(XMLRegFileSave, ADocumentBeyondWhatIsReadBackKeepsTheLastFile) {
    TempFolder folder;
    const std::wstring file = folder.File(L"Kestrav.xml");
    WriteBytes(file, kOld);
    auto save = [&](size_t markup) {
        TXMLRegFile reg(file);
        reg.OpenNode(L"\\Old", true);
        reg.WriteString(L"Value", std::wstring(markup, L'='));
        reg.Flush();
    };
    save(1);
    const uint64_t overhead = appdata::MarkupCount(ReadBytes(file)) - 1;
    save(TXMLRegFile::kMaxMarkup - overhead);
    EXPECT_EQ(appdata::MarkupCount(ReadBytes(file)), TXMLRegFile::kMaxMarkup);
    const std::string written = ReadBytes(file);
    try {
        save(TXMLRegFile::kMaxMarkup - overhead + 1);
        ADD_FAILURE() << "written";
    } catch (const appdata::EFCreateError& error) {
        EXPECT_EQ(error.Message(), appdata::FormatText(appdata::messages::kCannotCreateFile,
                                                       {file, appdata::messages::kContentTooLarge}));
    }
    EXPECT_TRUE(ReadBytes(file) == written);
    EXPECT_THAT(folder.Entries(), ElementsAre(L"Kestrav.xml"));
}

TEST(XMLRegFileSave, ErrorWhileUnwindingDoesNotEndTheProgram) {
    TempFolder folder;
    const std::wstring missing = folder.File(L"Missing\\Kestrav.xml");
    try {
        TXMLRegFile reg(missing);
        reg.OpenNode(L"\\New", true);
        reg.WriteInteger(L"Value", 2);
        throw std::runtime_error("first");
    } catch (const std::runtime_error& error) {
        EXPECT_STREQ(error.what(), "first");
    }
}

} // namespace
