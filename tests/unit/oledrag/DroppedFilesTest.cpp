#include "oledrag/DroppedFiles.h"
#include "oledrag/FormatEtc.h"
#include "unit/oledrag/FakeDataObject.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <optional>

using testing_support::AnsiDropBlock;
using testing_support::DropBlock;
using testing_support::FakeDataObject;

namespace {

using Names = std::vector<std::wstring>;

Names Numbered(int count, const std::wstring& prefix = L"C:\\dropped\\") {
    Names names;
    for (int i = 0; i < count; ++i)
        names.push_back(prefix + std::to_wstring(i));
    return names;
}

std::vector<unsigned char> WithHeader(std::vector<unsigned char> block, DWORD pFiles) {
    DROPFILES header;
    std::memcpy(&header, block.data(), sizeof(header));
    header.pFiles = pFiles;
    std::memcpy(block.data(), &header, sizeof(header));
    return block;
}

TEST(DroppedFilesTest, ReadsEveryNameAtFullLengthAndReleasesTheMediumOnce) {
    const std::wstring longName = L"C:\\" + std::wstring(300, L'x') + L"\\" + std::wstring(300, L'y');
    struct Case {
        const char* what;
        std::function<void(FakeDataObject&)> setUp;
        std::optional<Names> names;
        int released;
    } cases[] = {
        {"no names", [](FakeDataObject& d) { d.block = DropBlock({}); }, Names{}, 1},
        {"one", [](FakeDataObject& d) { d.block = DropBlock({L"C:\\a"}); }, Names{L"C:\\a"}, 1},
        {"two in order",
         [](FakeDataObject& d) {
             d.block = DropBlock({L"C:\\b", L"C:\\a"});
         },
         Names{L"C:\\b", L"C:\\a"}, 1},
        {"300", [](FakeDataObject& d) { d.block = DropBlock(Numbered(300)); }, Numbered(300), 1},
        {"10000", [](FakeDataObject& d) { d.block = DropBlock(Numbered(10000)); }, Numbered(10000), 1},
        {"Japanese",
         [](FakeDataObject& d) {
             d.block = DropBlock({L"C:\\書類\\写真 2024", L"D:\\ドキュメント"});
         },
         Names{L"C:\\書類\\写真 2024", L"D:\\ドキュメント"}, 1},
        {"over 260 characters",
         [&](FakeDataObject& d) {
             d.block = DropBlock({longName, L"C:\\b"});
         },
         Names{longName, L"C:\\b"}, 1},
        {"ANSI names",
         [](FakeDataObject& d) {
             d.block = AnsiDropBlock({"C:\\a", "C:\\bb"});
         },
         Names{L"C:\\a", L"C:\\bb"}, 1},
        {"no CF_HDROP",
         [](FakeDataObject& d) {
             d.claimsFiles = false;
             d.givesFiles = false;
         },
         std::nullopt, 0},
        {"claims CF_HDROP but GetData fails", [](FakeDataObject& d) { d.givesFiles = false; }, std::nullopt,
         0},
        {"a stream instead of global memory",
         [](FakeDataObject& d) {
             d.block = DropBlock({L"C:\\a"});
             d.medium = FakeDataObject::Medium::Stream;
         },
         std::nullopt, 1},
        {"global memory without a handle",
         [](FakeDataObject& d) { d.medium = FakeDataObject::Medium::NullGlobal; }, std::nullopt, 1},
        {"header shorter than DROPFILES",
         [](FakeDataObject& d) {
             d.block = {1, 2, 3};
         },
         std::nullopt, 1},
        {"names said to lie beyond the block",
         [](FakeDataObject& d) { d.block = WithHeader(DropBlock({L"C:\\a"}), 4096); }, std::nullopt, 1},
        {"names said to lie inside the header",
         [](FakeDataObject& d) { d.block = WithHeader(DropBlock({L"C:\\a"}), 4); }, std::nullopt, 1},
        {"last name not terminated",
         [](FakeDataObject& d) {
             d.block = DropBlock({L"C:\\a", L"C:\\b"});
             d.block.resize(d.block.size() - 3 * sizeof(wchar_t)); // cuts "\b" and both nuls
         },
         Names{L"C:\\a"}, 1},
        {"names at an odd offset",
         [](FakeDataObject& d) {
             d.block = DropBlock({L"C:\\a"});
             d.block.insert(d.block.begin() + sizeof(DROPFILES), 0x55);
             d.block = WithHeader(d.block, sizeof(DROPFILES) + 1);
         },
         Names{L"C:\\a"}, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        FakeDataObject data;
        c.setUp(data);
        std::optional<Names> names = oledrag::DroppedFileNames(&data);
        ASSERT_EQ(names.has_value(), c.names.has_value());
        if (names) {
            EXPECT_TRUE(*names == *c.names) << names->size() << " names";
        }
        EXPECT_EQ(data.released, c.released);
        EXPECT_EQ(data.released, data.handedOut);
    }
}

TEST(DroppedFilesTest, NoDataObjectGivesNoList) {
    EXPECT_FALSE(oledrag::DroppedFileNames(nullptr).has_value());
}

TEST(DroppedFilesTest, TheFileListIsAskedForAsContentInGlobalMemory) {
    FORMATETC format = oledrag::MakeContentFormatEtc(CF_HDROP, -1, TYMED_HGLOBAL);
    EXPECT_EQ(format.cfFormat, 15);
    EXPECT_EQ(format.ptd, nullptr);
    EXPECT_EQ(format.dwAspect, 1u);
    EXPECT_EQ(format.lindex, -1);
    EXPECT_EQ(format.tymed, 1u);
    DVTARGETDEVICE device{};
    FORMATETC any = oledrag::MakeFormatEtc(49000, &device, DVASPECT_ICON, 3, TYMED_ISTREAM);
    EXPECT_EQ(any.cfFormat, 49000);
    EXPECT_EQ(any.ptd, &device);
    EXPECT_EQ(any.dwAspect, static_cast<DWORD>(DVASPECT_ICON));
    EXPECT_EQ(any.lindex, 3);
    EXPECT_EQ(any.tymed, static_cast<DWORD>(TYMED_ISTREAM));
}

TEST(DroppedFilesTest, ADropThatRefersToItemsNeverAnswersMove) {
    struct Case {
        DWORD offered, answered;
    } cases[] = {
        {DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK, DROPEFFECT_LINK},
        {DROPEFFECT_COPY | DROPEFFECT_MOVE, DROPEFFECT_COPY},
        {DROPEFFECT_MOVE, DROPEFFECT_NONE},
        {DROPEFFECT_NONE, DROPEFFECT_NONE},
        {DROPEFFECT_LINK | DROPEFFECT_SCROLL, DROPEFFECT_LINK},
    };
    for (const Case& c : cases)
        EXPECT_EQ(oledrag::ReferenceDropEffect(c.offered), c.answered) << c.offered;
}

} // namespace
