// The program ships each glyph in every size a common DPI asks for, drawn in the same
// few colours as its 16-pixel drawing: nothing blended, so nothing blurred.
#include "gui/Dpi.h"

#include "ResourceIds.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

namespace {

struct Pixels {
    int width = 0;
    int height = 0;
    std::set<COLORREF> colours;
};

Pixels Load(int id) {
    Pixels result;
    HBITMAP bitmap = static_cast<HBITMAP>(::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id),
                                                       IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    if (bitmap == nullptr)
        return result;
    BITMAP info{};
    ::GetObjectW(bitmap, sizeof(info), &info);
    result.width = info.bmWidth;
    result.height = info.bmHeight;
    HDC dc = ::CreateCompatibleDC(nullptr);
    HGDIOBJ old = ::SelectObject(dc, bitmap);
    for (int y = 0; y < info.bmHeight; ++y)
        for (int x = 0; x < info.bmWidth; ++x)
            result.colours.insert(::GetPixel(dc, x, y));
    ::SelectObject(dc, old);
    ::DeleteDC(dc);
    ::DeleteObject(bitmap);
    return result;
}

TEST(GlyphResources, EveryGlyphComesInEverySizeInItsOwnColours) {
    std::vector<int> ids;
    for (int i = 0; i < IDB_TITLE_COUNT; ++i)
        ids.push_back(IDB_TITLE_OPTIONS + i);
    for (int i = 0; i < IDB_CAPTION_COUNT; ++i)
        ids.push_back(IDB_CAPTION_BARS + i);
    for (int id : ids) {
        Pixels drawing = Load(id);
        ASSERT_EQ(drawing.width, 16) << id;
        for (int size : gui::kGlyphSizes) {
            Pixels glyph = Load(gui::GlyphResourceId(id, size));
            EXPECT_EQ(glyph.width, size) << id << " at " << size;
            EXPECT_EQ(glyph.height, size) << id << " at " << size;
            EXPECT_EQ(glyph.colours, drawing.colours) << id << " at " << size;
        }
    }
}

} // namespace
