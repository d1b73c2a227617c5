#include "gui/ImageList.h"

#include "gui/Error.h"

namespace gui {

const RGBQUAD* GlyphPalette() {
    static const RGBQUAD palette[16] = {
        {0, 0, 0, 0},       {0, 0, 128, 0},   {0, 128, 0, 0},   {0, 128, 128, 0},
        {128, 0, 0, 0},     {128, 0, 128, 0}, {128, 128, 0, 0}, {192, 192, 192, 0},
        {128, 128, 128, 0}, {0, 0, 255, 0},   {0, 255, 0, 0},   {0, 255, 255, 0},
        {255, 0, 0, 0},     {255, 0, 255, 0}, {255, 255, 0, 0}, {255, 255, 255, 0}};
    return palette;
}

ImageList::ImageList(int width, int height)
    : list_(::ImageList_Create(width, height, ILC_COLOR4, 4, 4)), width_(width), height_(height) {
    CHECK(list_);
}

int ImageList::Count() const { return ::ImageList_GetImageCount(list_.get()); }

void ImageList::Add(HBITMAP bitmap) { ::ImageList_Add(list_.get(), bitmap, nullptr); }

void ImageList::AddResourceBitmaps(HINSTANCE instance, std::initializer_list<int> ids) {
    for (int id : ids) {
        unique_hbitmap bitmap(static_cast<HBITMAP>(
            ::LoadImageW(instance, MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
        if (bitmap)
            Add(bitmap.get());
    }
}

unique_hbitmap CreateGlyph(const ImageList& images, int index, bool inverted) {
    struct {
        BITMAPINFOHEADER header;
        RGBQUAD colors[16];
    } info{};
    info.header.biSize = sizeof(BITMAPINFOHEADER);
    info.header.biWidth = images.Width();
    info.header.biHeight = images.Height();
    info.header.biPlanes = 1;
    info.header.biBitCount = 4;
    info.header.biCompression = BI_RGB;
    info.header.biClrUsed = 16;
    for (int i = 0; i < 16; ++i)
        info.colors[i] = GlyphPalette()[i];
    void* bits = nullptr;
    unique_hbitmap glyph(
        ::CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!glyph)
        return glyph;
    unique_hdc dc(::CreateCompatibleDC(nullptr));
    SelectGuard select(dc.get(), glyph.get());
    RECT all{0, 0, images.Width(), images.Height()};
    ::FillRect(dc.get(), &all, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
    if (index >= 0 && index < images.Count())
        ::ImageList_Draw(images.Handle(), index, dc.get(), 0, 0, ILD_NORMAL);
    if (inverted)
        ::BitBlt(dc.get(), 0, 0, images.Width(), images.Height(), dc.get(), 0, 0, DSTINVERT);
    return glyph;
}

} // namespace gui
