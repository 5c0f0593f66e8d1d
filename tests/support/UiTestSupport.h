// Shared by the skinned-UI tests: synthetic skin bitmaps, a host dialog, message pumping and
// pixel reading.
#pragma once
#include <windows.h>

#include <functional>

#include "fw/App.h"
#include "res/resource.h"
#include "support/WinTestSupport.h"
#include "ui/DlgEx.h"
#include "ui/SkinImage.h"

namespace uitest {

// A 32-bit bottom-up section whose pixel (x, y), counted from the top, is colour(x, y).
inline HBITMAP MakeBitmap(int width, int height, const std::function<COLORREF(int, int)>& colour) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap) return nullptr;
    auto* pixels = static_cast<DWORD*>(bits);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const COLORREF c = colour(x, y);
            pixels[(height - 1 - y) * width + x] =
                (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
        }
    }
    return bitmap;
}

// A 4-frame strip of solid frames, one colour per state, with key-coloured corner pixels.
inline HBITMAP MakeStrip(int frameWidth, int height, const COLORREF (&frames)[4]) {
    return MakeBitmap(frameWidth * 4, height, [=](int x, int y) {
        const int fx = x % frameWidth;
        if ((fx == 0 || fx == frameWidth - 1) && (y == 0 || y == height - 1)) {
            return vorel::kSkinKeyColour;
        }
        return frames[x / frameWidth];
    });
}

inline void Pump(DWORD milliseconds = 0) {
    testsupport::PumpMessages(nullptr, milliseconds, testsupport::OnQuit::GoOn);
}

// What a window shows now: its client area after painting, read back from its DC.
inline COLORREF ScreenPixel(HWND wnd, int x, int y) {
    ::RedrawWindow(wnd, nullptr, nullptr,
                   RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    fw::ScopedGetDC dc(wnd);
    return ::GetPixel(dc.get(), x, y);
}

// Pixels of a freshly painted window within 40 of a colour in every channel: text is drawn
// antialiased, so only its cores have the exact colour.
inline int CountNear(HWND wnd, int width, int height, COLORREF c) {
    ::RedrawWindow(wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    fw::ScopedGetDC dc(wnd);
    auto within = [](int a, int b) { return a - b < 40 && b - a < 40; };
    int n = 0;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const COLORREF p = ::GetPixel(dc.get(), x, y);
            n += within(GetRValue(p), GetRValue(c)) && within(GetGValue(p), GetGValue(c)) &&
                 within(GetBValue(p), GetBValue(c));
        }
    }
    return n;
}

// Skin colours of the synthetic background: frame, caption band and centre.
constexpr COLORREF kFrame = RGB(10, 20, 30);
constexpr COLORREF kCaption = RGB(40, 60, 90);
constexpr COLORREF kCentre = RGB(230, 235, 240);

// A 30 x 51 background in the dialog-skin layout (caption 30, border 4) with a quarter circle
// of key colour in the top-left corner and one key pixel in the bottom-right corner.
inline HBITMAP MakeSkinBackground() {
    return MakeBitmap(30, 51, [](int x, int y) -> COLORREF {
        if (x < 5 && y < 5 && (5 - x) * (5 - x) + (5 - y) * (5 - y) > 25)
            return vorel::kSkinKeyColour;
        if (x == 29 && y == 50) return vorel::kSkinKeyColour;
        if (x < 4 || x >= 26 || y >= 47) return kFrame;
        if (y < 30) return kCaption;
        return kCentre;
    });
}

// A modeless skinned dialog on the message box's template, placed and sized for a test.
class HostDialog : public vorel::CDlgEx {
public:
    HostDialog() : vorel::CDlgEx(IDD_MESSAGEBOX, static_cast<HWND>(nullptr)) {}
    bool Open(int x, int y, int width, int height) {
        if (!Create()) return false;
        m_captionHeight = 30;
        m_borderWidth = 4;
        m_buttonRightMargin = 0;
        m_buttonTopMargin = 0;
        ::SetWindowPos(m_hWnd, nullptr, x, y, width, height, SWP_NOZORDER);
        ::ShowWindow(m_hWnd, SW_SHOWNOACTIVATE);
        Pump();
        return true;
    }
    // Opened with the synthetic background stretched over the whole window.
    bool OpenSkinned(int x, int y, int width, int height) {
        if (!Open(x, y, width, height)) return false;
        vorel::SkinSpec look;
        look.background = MakeSkinBackground();
        look.stretchBackground = TRUE;
        SetSkin(look, nullptr);
        return true;
    }
    using vorel::CDlgEx::PaintSkin;
};

}  // namespace uitest
