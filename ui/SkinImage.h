// Loading skin images into key-coloured GDI bitmaps, and the drawing conventions the skinned
// controls share: image strips as image lists, stretched frames with the key colour kept
// transparent, and a child painting its parent's skin under itself.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include "fw/Raii.h"

namespace vorel {

constexpr COLORREF kSkinKeyColour = RGB(255, 0, 255);

// The skin image `id` of the module: a bitmap resource of that id as it is, else the PNG
// resource of that id converted to a keyed bitmap. Null when neither exists or decoding
// fails. The caller owns the bitmap.
HBITMAP LoadSkinBitmap(HINSTANCE instance, UINT id);

// The module whose resources hold the skins: the application's, or the executable's when no
// application object runs (tests, tools).
HINSTANCE SkinInstance();

// An image file (the notice's picture) drawn over white into a 32-bit bitmap; width and
// height are 0 when the file cannot be decoded.
HBITMAP LoadImageFileBitmap(const wchar_t* path, int* width, int* height);

SIZE BitmapSize(HBITMAP bitmap);

// The first drawing step of a skinned child: the part of the parent's skin that lies under
// the child, painted into the child's off-screen DC at (0, 0).
void PaintParentBackground(HWND child, HDC memDC);

// Owner of an image list holding the frames of a strip.
class StripImageList {
public:
    StripImageList() = default;
    ~StripImageList() { Reset(); }
    StripImageList(const StripImageList&) = delete;
    StripImageList& operator=(const StripImageList&) = delete;

    // frames equally wide frames of the strip; the bitmap's pixels are copied, the caller
    // keeps the bitmap. FALSE (and empty) for a null bitmap or a frame of no size.
    BOOL Create(HBITMAP strip, int frames);
    void Reset();

    HIMAGELIST get() const { return m_list; }
    explicit operator bool() const { return m_list != nullptr; }
    SIZE FrameSize() const { return m_frame; }

    // Draws frame `index` at (x, y), key-coloured pixels left out.
    void Draw(int index, HDC dc, int x, int y) const;
    // Draws frame `index` stretched to width x height through a key-filled temporary bitmap,
    // so that the key colour stays transparent after scaling.
    void DrawStretched(int index, HDC dc, int x, int y, int width, int height) const;

private:
    HIMAGELIST m_list = nullptr;
    SIZE m_frame = {0, 0};
};

// An off-screen bitmap of a given size with its memory DC: every paint of the toolkit draws
// into one of these and copies it to the screen in one BitBlt.
class OffscreenBitmap {
public:
    OffscreenBitmap(HDC compatibleWith, int width, int height);
    ~OffscreenBitmap();
    OffscreenBitmap(const OffscreenBitmap&) = delete;
    OffscreenBitmap& operator=(const OffscreenBitmap&) = delete;

    HDC dc() const { return m_dc.get(); }
    explicit operator bool() const { return m_dc && m_bitmap && m_old; }
    int width() const { return m_width; }
    int height() const { return m_height; }
    BOOL CopyTo(HDC target, int x = 0, int y = 0) const;
    // Hands the bitmap (deselected) to the caller; the DC stays usable for nothing.
    HBITMAP DetachBitmap();

private:
    void Deselect();

    int m_width, m_height;
    fw::ScopedMemDC m_dc;
    fw::ScopedBitmap m_bitmap;
    HGDIOBJ m_old = nullptr;
};

}  // namespace vorel
