#include "ui/SkinImage.h"

#include <objidl.h>
#include <gdiplus.h>

#include <vector>

#include "fw/App.h"
#include "fw/SystemLibrary.h"
#include "ui/ScopedGdiplus.h"
#include "ui/SkinPixels.h"

namespace vorel {

namespace gp = Gdiplus::DllExports;

namespace {

struct GpImageOwner {
    Gdiplus::GpImage* image = nullptr;
    ~GpImageOwner() {
        if (image) gp::GdipDisposeImage(image);
    }
};

BITMAPINFO BottomUpHeader(int width, int height) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;  // positive: bottom-up
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

HBITMAP CreateDibSection32(HDC dc, int width, int height, void** bits) {
    BITMAPINFO info = BottomUpHeader(width, height);
    return ::CreateDIBSection(dc, &info, DIB_RGB_COLORS, bits, nullptr, 0);
}

}  // namespace

// The keyed form of a decoded image: a 32-bit bottom-up section whose transparent pixels
// carry the key colour.
HBITMAP MakeKeyedBitmap(Gdiplus::GpBitmap* bitmap, COLORREF key) {
    UINT width = 0, height = 0;
    gp::GdipGetImageWidth(bitmap, &width);
    if (width == 0) return nullptr;
    gp::GdipGetImageWidth(bitmap, &width);
    gp::GdipGetImageHeight(bitmap, &height);

    void* bits = nullptr;
    fw::ScopedBitmap section;
    {
        fw::ScopedGetDC screen(nullptr);
        section.reset(CreateDibSection32(screen.get(), int(width), int(height), &bits));
    }
    if (!section || !bits) return nullptr;

    Gdiplus::GpRect whole(0, 0, int(width), int(height));
    Gdiplus::BitmapData data = {};
    if (gp::GdipBitmapLockBits(bitmap, &whole, Gdiplus::ImageLockModeRead, PixelFormat32bppARGB,
                               &data) != Gdiplus::Ok) {
        return nullptr;
    }
    if (!data.Scan0) {
        gp::GdipBitmapUnlockBits(bitmap, &data);
        return nullptr;
    }
    // The locked copy may carry a padded stride; the conversion wants packed rows.
    const auto* scan = static_cast<const BYTE*>(data.Scan0);
    if (data.Stride == INT(width * 4)) {
        ConvertArgbToKeyedDib(reinterpret_cast<const uint32_t*>(scan), int(width), int(height),
                              static_cast<uint32_t*>(bits), key);
    } else {
        std::vector<uint32_t> packed(size_t(width) * height);
        for (UINT y = 0; y < height; ++y) {
            memcpy(&packed[size_t(y) * width], scan + INT_PTR(y) * data.Stride, width * 4);
        }
        ConvertArgbToKeyedDib(packed.data(), int(width), int(height), static_cast<uint32_t*>(bits),
                              key);
    }
    gp::GdipBitmapUnlockBits(bitmap, &data);
    return section.release();
}

HBITMAP LoadSkinBitmap(HINSTANCE instance, UINT id) {
    if (!instance) return nullptr;
    ScopedGdiplus gdiplus;

    // A bitmap resource of the same id wins and is used as it is, without keying.
    if (HBITMAP plain = ::LoadBitmapW(instance, MAKEINTRESOURCEW(id))) return plain;

    HRSRC found = ::FindResourceW(instance, MAKEINTRESOURCEW(id), L"PNG");
    if (!found) return nullptr;
    HGLOBAL loaded = ::LoadResource(instance, found);
    if (!loaded) return nullptr;
    const void* data = ::LockResource(loaded);
    const DWORD size = ::SizeofResource(instance, found);
    if (!data || size == 0) return nullptr;

    fw::ComPtr<IStream> stream;
    // The stream owns its memory and frees it on its last release.
    if (FAILED(::CreateStreamOnHGlobal(nullptr, TRUE, stream.Receive()))) return nullptr;
    ULONG written = 0;
    if (FAILED(stream->Write(data, size, &written)) || written != size) return nullptr;
    LARGE_INTEGER start = {};
    stream->Seek(start, STREAM_SEEK_SET, nullptr);

    Gdiplus::GpBitmap* decoded = nullptr;
    if (gp::GdipCreateBitmapFromStream(stream.get(), &decoded) != Gdiplus::Ok || !decoded) {
        return nullptr;
    }
    GpImageOwner owner{decoded};
    HBITMAP keyed = MakeKeyedBitmap(decoded, kSkinKeyColour);
    if (!keyed) {
        // GDI+'s own conversion flattens onto the key colour instead.
        gp::GdipCreateHBITMAPFromBitmap(decoded, &keyed, kKeyArgb);
    }
    return keyed;
}

HINSTANCE SkinInstance() {
    if (fw::App* app = fw::App::Current()) {
        if (app->Instance()) return app->Instance();
    }
    return ::GetModuleHandleW(nullptr);
}

namespace {
// Started on the first image file and shut down when the process's static objects go, which
// is after every window (and so every use) has ended.
void EnsureProcessGdiplus() { static ScopedGdiplus instance; }
}  // namespace

HBITMAP LoadImageFileBitmap(const wchar_t* path, int* width, int* height) {
    if (width) *width = 0;
    if (height) *height = 0;
    if (!path) return nullptr;
    EnsureProcessGdiplus();

    GpImageOwner image;
    if (gp::GdipLoadImageFromFile(path, &image.image) != Gdiplus::Ok || !image.image) {
        return nullptr;
    }
    UINT w = 0, h = 0;
    gp::GdipGetImageWidth(image.image, &w);
    gp::GdipGetImageHeight(image.image, &h);
    if (w == 0 || h == 0) return nullptr;

    fw::ScopedGetDC screen(nullptr);
    fw::ScopedMemDC dc(screen.get());
    void* bits = nullptr;
    fw::ScopedBitmap section(CreateDibSection32(screen.get(), int(w), int(h), &bits));
    if (!dc || !section) return nullptr;
    {
        fw::ScopedSelectObject select(dc.get(), section.get());
        RECT all = {0, 0, LONG(w), LONG(h)};
        ::FillRect(dc.get(), &all, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
        Gdiplus::GpGraphics* graphics = nullptr;
        if (gp::GdipCreateFromHDC(dc.get(), &graphics) == Gdiplus::Ok && graphics) {
            gp::GdipDrawImageRectI(graphics, image.image, 0, 0, INT(w), INT(h));
            gp::GdipDeleteGraphics(graphics);
        }
    }
    if (width) *width = int(w);
    if (height) *height = int(h);
    return section.release();
}

SIZE BitmapSize(HBITMAP bitmap) {
    BITMAP info = {};
    if (!bitmap || !::GetObjectW(bitmap, sizeof(info), &info)) return SIZE{0, 0};
    return SIZE{info.bmWidth, info.bmHeight < 0 ? -info.bmHeight : info.bmHeight};
}

void PaintParentBackground(HWND child, HDC memDC) {
    HWND parent = ::GetParent(child);
    if (!parent) return;
    RECT childRect, parentRect;
    ::GetWindowRect(child, &childRect);
    ::GetWindowRect(parent, &parentRect);
    const int dx = childRect.left - parentRect.left, dy = childRect.top - parentRect.top;
    // The parent paints its whole skin in WM_ERASEBKGND; shifting the origin leaves exactly
    // the piece under the child in our bitmap. The viewport shift then cancels the window
    // shift for everything drawn afterwards.
    ::SetWindowOrgEx(memDC, dx, dy, nullptr);
    ::SendMessageW(parent, WM_ERASEBKGND, reinterpret_cast<WPARAM>(memDC), 0);
    ::SetViewportOrgEx(memDC, dx, dy, nullptr);
}

BOOL StripImageList::Create(HBITMAP strip, int frames) {
    Reset();
    const SIZE size = BitmapSize(strip);
    if (frames < 1) return FALSE;
    const int frameWidth = size.cx / frames;
    if (frameWidth <= 0 || size.cy <= 0) return FALSE;
    // ImageList_AddMasked blackens the masked pixels of the bitmap it is given; a copy keeps
    // the caller's strip intact for the next time it is added (the maximize/restore images).
    fw::ScopedGetDC screen(nullptr);
    OffscreenBitmap copy(screen.get(), size.cx, size.cy);
    if (!copy) return FALSE;
    {
        fw::ScopedMemDC source(screen.get());
        fw::ScopedSelectObject select(source.get(), strip);
        ::BitBlt(copy.dc(), 0, 0, size.cx, size.cy, source.get(), 0, 0, SRCCOPY);
    }
    fw::ScopedBitmap pixels(copy.DetachBitmap());
    m_list = ::ImageList_Create(frameWidth, size.cy, ILC_COLOR24 | ILC_MASK, frames, 0);
    if (!m_list) return FALSE;
    if (::ImageList_AddMasked(m_list, pixels.get(), kSkinKeyColour) < 0) {
        Reset();
        return FALSE;
    }
    m_frame = SIZE{frameWidth, size.cy};
    return TRUE;
}

void StripImageList::Reset() {
    if (m_list) ::ImageList_Destroy(m_list);
    m_list = nullptr;
    m_frame = SIZE{0, 0};
}

void StripImageList::Draw(int index, HDC dc, int x, int y) const {
    if (m_list) ::ImageList_Draw(m_list, index, dc, x, y, ILD_TRANSPARENT);
}

void StripImageList::DrawStretched(int index, HDC dc, int x, int y, int width, int height) const {
    if (!m_list) return;
    if (width == m_frame.cx && height == m_frame.cy) {
        Draw(index, dc, x, y);
        return;
    }
    OffscreenBitmap frame(dc, m_frame.cx, m_frame.cy);
    if (!frame) return;
    fw::ScopedBrush key(::CreateSolidBrush(kSkinKeyColour));
    RECT all = {0, 0, m_frame.cx, m_frame.cy};
    ::FillRect(frame.dc(), &all, key.get());
    Draw(index, frame.dc(), 0, 0);
    fw::SystemTransparentBlt(dc, x, y, width, height, frame.dc(), 0, 0, m_frame.cx, m_frame.cy,
                             kSkinKeyColour);
}

OffscreenBitmap::OffscreenBitmap(HDC compatibleWith, int width, int height)
    : m_width(width), m_height(height), m_dc(compatibleWith) {
    m_bitmap.reset(
        ::CreateCompatibleBitmap(compatibleWith, width > 0 ? width : 1, height > 0 ? height : 1));
    if (m_dc && m_bitmap) m_old = ::SelectObject(m_dc.get(), m_bitmap.get());
}

OffscreenBitmap::~OffscreenBitmap() { Deselect(); }

void OffscreenBitmap::Deselect() {
    if (m_old) ::SelectObject(m_dc.get(), m_old);
    m_old = nullptr;
}

HBITMAP OffscreenBitmap::DetachBitmap() {
    Deselect();
    return m_bitmap.release();
}

BOOL OffscreenBitmap::CopyTo(HDC target, int x, int y) const {
    return ::BitBlt(target, x, y, m_width, m_height, m_dc.get(), 0, 0, SRCCOPY);
}

}  // namespace vorel
