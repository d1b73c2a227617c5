#include "gui/ImageList.h"

#include "gui/Dpi.h"
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

namespace {

unique_hbitmap LoadBitmapResource(HINSTANCE instance, int id) {
    return unique_hbitmap(static_cast<HBITMAP>(
        ::LoadImageW(instance, MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
}

SIZE BitmapSize(HBITMAP bitmap) {
    BITMAP info{};
    ::GetObjectW(bitmap, sizeof(info), &info);
    return {info.bmWidth, info.bmHeight};
}

} // namespace

void ImageList::AddResourceBitmaps(HINSTANCE instance, std::initializer_list<int> ids) {
    for (int id : ids) {
        if (unique_hbitmap bitmap = LoadBitmapResource(instance, id))
            AddFitted(bitmap.get());
    }
}

void ImageList::AddGlyphResources(HINSTANCE instance, const std::vector<int>& ids16) {
    for (int id : ids16) {
        unique_hbitmap bitmap = LoadBitmapResource(instance, GlyphResourceId(id, width_));
        if (!bitmap)
            bitmap = LoadBitmapResource(instance, id);
        if (bitmap)
            AddFitted(bitmap.get());
    }
}

void ImageList::AddFitted(HBITMAP bitmap) {
    SIZE size = BitmapSize(bitmap);
    if (size.cx == width_ && size.cy == height_) {
        Add(bitmap);
        return;
    }
    // The list would split a wider bitmap into several images and drop a narrower one.
    unique_hdc target(::CreateCompatibleDC(nullptr));
    unique_hdc source(::CreateCompatibleDC(nullptr));
    HDC reference = ::GetDC(nullptr);
    unique_hbitmap fitted(::CreateCompatibleBitmap(reference, width_, height_));
    ::ReleaseDC(nullptr, reference);
    if (!fitted || !target || !source)
        return;
    {
        SelectGuard selectFitted(target.get(), fitted.get());
        SelectGuard selectSource(source.get(), bitmap);
        RECT all{0, 0, width_, height_};
        ::FillRect(target.get(), &all, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
        ::BitBlt(target.get(), (width_ - size.cx) / 2, (height_ - size.cy) / 2, size.cx, size.cy,
                 source.get(), 0, 0, SRCCOPY);
    }
    Add(fitted.get());
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

unique_hbitmap CreateGlyphInColor(const ImageList& images, int index, COLORREF color) {
    unique_hbitmap drawing = CreateGlyph(images, index, false);
    DIBSECTION source{};
    if (!drawing || ::GetObjectW(drawing.get(), sizeof(source), &source) != sizeof(source) ||
        source.dsBm.bmBits == nullptr)
        return drawing;
    struct {
        BITMAPINFOHEADER header;
        RGBQUAD colors[2];
    } info{};
    info.header = source.dsBmih;
    info.header.biClrUsed = 2;
    info.header.biClrImportant = 0;
    auto quad = [](COLORREF c) { return RGBQUAD{GetBValue(c), GetGValue(c), GetRValue(c), 0}; };
    info.colors[0] = quad(RGB(255 - GetRValue(color), 255 - GetGValue(color), 255 - GetBValue(color)));
    info.colors[1] = quad(color);
    void* bits = nullptr;
    unique_hbitmap glyph(
        ::CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!glyph)
        return drawing;
    ::GdiFlush();
    // Both are 4-bit bitmaps of one size: palette index 15 is the white ground of the
    // drawing, anything else is drawn.
    const auto* from = static_cast<const BYTE*>(source.dsBm.bmBits);
    auto* to = static_cast<BYTE*>(bits);
    const size_t size =
        static_cast<size_t>(source.dsBm.bmWidthBytes) * static_cast<size_t>(source.dsBm.bmHeight);
    for (size_t i = 0; i < size; ++i) {
        BYTE high = (from[i] >> 4) == 15 ? 0 : 1;
        BYTE low = (from[i] & 0x0F) == 15 ? 0 : 1;
        to[i] = static_cast<BYTE>((high << 4) | low);
    }
    return glyph;
}

} // namespace gui
