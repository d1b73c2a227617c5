#pragma once
// An image list of small glyphs, and the button glyphs made from it.
#include "gui/Handles.h"

#include <windows.h>
#include <commctrl.h>
#include <initializer_list>
#include <vector>

namespace gui {

class ImageList {
public:
    // Images of width × height in 16 colours.
    ImageList(int width, int height);
    HIMAGELIST Handle() const { return list_.get(); }
    int Count() const;
    int Width() const { return width_; }
    int Height() const { return height_; }
    // Adds the bitmap resources with these ids, in order. A bitmap of another size is
    // centred on the white ground (cut where it is larger), never stretched.
    void AddResourceBitmaps(HINSTANCE instance, std::initializer_list<int> ids);
    // Adds glyphs given by the ids of their 16-pixel bitmaps, each in the list's size
    // where it is shipped in that size (GlyphResourceId), else its 16-pixel bitmap.
    void AddGlyphResources(HINSTANCE instance, const std::vector<int>& ids16);
    void Add(HBITMAP bitmap);

private:
    // Adds a bitmap that has the list's size, or a copy of it centred in that size.
    void AddFitted(HBITMAP bitmap);

    unique_himagelist list_;
    int width_;
    int height_;
};

// A fresh bitmap of 4 bits per pixel holding image `index` of the list on a white
// ground; with `inverted`, every pixel is inverted (DSTINVERT), so a black drawing
// becomes white for a dark background. The bottom-left pixel names the transparent colour.
unique_hbitmap CreateGlyph(const ImageList& images, int index, bool inverted);

// The same image as a silhouette in one colour, for high-contrast themes: every pixel of
// the drawing takes `color`, the ground (the bottom-left pixel, drawn transparent) its
// complement, so the two never match.
unique_hbitmap CreateGlyphInColor(const ImageList& images, int index, COLORREF color);

// The 16-colour palette of 4-bit glyphs, index n of which inverts to index 15 - n.
const RGBQUAD* GlyphPalette();

} // namespace gui
