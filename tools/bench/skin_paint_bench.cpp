// Prints what one paint of a stretched window skin costs next to a plain BitBlt of the same
// size: a repaint copies the skin painted for the window's size, the first paint after a size
// change paints it first, and a skinned child's background takes only its own piece.
//
//   skin_paint_bench.exe [repetitions]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>

#include "fw/Raii.h"
#include "res/resource.h"
#include "tests/support/BenchClock.h"
#include "ui/DlgEx.h"
#include "ui/SkinImage.h"

namespace {

using testsupport::Now;

constexpr int kWidth = 1920;
constexpr int kHeight = 1040;

class BenchWindow : public vorel::CDlgEx {
public:
    BenchWindow() : vorel::CDlgEx(IDD_MESSAGEBOX, static_cast<HWND>(nullptr)) {}
    using vorel::CDlgEx::PaintSkin;
};

template <class F>
double MillisecondsEach(int repetitions, F&& work) {
    work();  // warm caches and lazy GDI set-up outside the measurement
    const double start = Now();
    for (int i = 0; i < repetitions; ++i) work();
    ::GdiFlush();
    return (Now() - start) * 1000.0 / repetitions;
}

// The skinned window at 1920 x 1040, with its title and icon (the caller destroys the icon).
bool SetUpWindow(BenchWindow& window, HICON* icon) {
    if (!window.Create()) {
        std::fprintf(stderr, "cannot create the window\n");
        return false;
    }
    window.m_captionHeight = 30;
    window.m_borderWidth = 4;
    vorel::SkinSpec look;
    look.background = vorel::LoadSkinBitmap(vorel::SkinInstance(), IDP_MAIN_BACKGROUND);
    look.stretchBackground = TRUE;
    if (!look.background) {
        std::fprintf(stderr, "no skin image %d\n", IDP_MAIN_BACKGROUND);
        return false;
    }
    window.SetSkin(look, nullptr);
    window.SetWindowText(L"VorelTolv登录器");
    *icon = static_cast<HICON>(
        ::LoadImageW(vorel::SkinInstance(), MAKEINTRESOURCEW(IDI_APP), IMAGE_ICON, 16, 16, 0));
    if (*icon) window.SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(*icon));
    ::SetWindowPos(window.m_hWnd, nullptr, 0, 0, kWidth, kHeight, SWP_NOZORDER | SWP_NOACTIVATE);
    RECT r;
    window.GetWindowRect(&r);
    if (r.right - r.left != kWidth || r.bottom - r.top != kHeight) {
        std::fprintf(stderr, "window is %ld x %ld\n", r.right - r.left, r.bottom - r.top);
        return false;
    }
    return true;
}

// Live resizing: each step a new size, then its first paint; only the paint is timed.
double MillisecondsOfFirstPaints(BenchWindow& window, HDC target, int repetitions) {
    double resized = 0;
    for (int i = 0; i < repetitions; ++i) {
        const int height = kHeight - 1 - (i & 1);  // never the size painted before
        ::SetWindowPos(window.m_hWnd, nullptr, 0, 0, kWidth, height,
                       SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
        ::GdiFlush();
        const double start = Now();
        window.SendMessage(WM_ERASEBKGND, reinterpret_cast<WPARAM>(target));
        ::GdiFlush();
        resized += Now() - start;
    }
    ::SetWindowPos(window.m_hWnd, nullptr, 0, 0, kWidth, kHeight,
                   SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
    return resized * 1000.0 / repetitions;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const int repetitions = argc > 1 ? std::max(1, _wtoi(argv[1])) : 100;

    BenchWindow window;
    HICON icon = nullptr;
    if (!SetUpWindow(window, &icon)) return 1;

    // Both targets are screen-compatible off-screen bitmaps of the same size.
    fw::ScopedGetDC screen(nullptr);
    vorel::OffscreenBitmap target(screen.get(), kWidth, kHeight);
    vorel::OffscreenBitmap source(screen.get(), kWidth, kHeight);
    ::PatBlt(source.dc(), 0, 0, kWidth, kHeight, WHITENESS);

    const double skin = MillisecondsEach(repetitions, [&] {
        window.SendMessage(WM_ERASEBKGND, reinterpret_cast<WPARAM>(target.dc()));
    });
    const double plain = MillisecondsEach(repetitions, [&] {
        ::BitBlt(target.dc(), 0, 0, kWidth, kHeight, source.dc(), 0, 0, SRCCOPY);
    });

    const double resized = MillisecondsOfFirstPaints(window, target.dc(), repetitions);

    // A caption-button-sized child near the window's middle takes its background from the
    // window, as every skinned button, static and progress bar does.
    constexpr int kChildWidth = 108, kChildHeight = 28;
    HWND child = ::CreateWindowExW(0, L"STATIC", L"", WS_CHILD, kWidth / 2, kHeight / 2,
                                   kChildWidth, kChildHeight, window.m_hWnd, nullptr,
                                   ::GetModuleHandleW(nullptr), nullptr);
    vorel::OffscreenBitmap piece(screen.get(), kChildWidth, kChildHeight);
    const double childSkin = MillisecondsEach(repetitions, [&] {
        ::SetViewportOrgEx(piece.dc(), 0, 0, nullptr);
        vorel::PaintParentBackground(child, piece.dc());
    });
    const double childPlain = MillisecondsEach(repetitions, [&] {
        ::BitBlt(piece.dc(), 0, 0, kChildWidth, kChildHeight, source.dc(), 0, 0, SRCCOPY);
    });

    // What a size change costs without the allocation: the skin composed into a bitmap
    // that exists already.
    const double compose = MillisecondsEach(repetitions, [&] { window.PaintSkin(target.dc()); });

    // The double buffering alone: a fresh off-screen bitmap per paint, copied once.
    const double buffer = MillisecondsEach(repetitions, [&] {
        vorel::OffscreenBitmap canvas(target.dc(), kWidth, kHeight);
        canvas.CopyTo(target.dc());
    });

    std::printf("stretched skin paint %dx%d (nine pieces, icon, title, one BitBlt): %.3f ms\n",
                kWidth, kHeight, skin);
    std::printf("plain BitBlt %dx%d: %.3f ms\n", kWidth, kHeight, plain);
    std::printf("first paint after a size change %dx%d: %.3f ms\n", kWidth, kHeight - 1, resized);
    std::printf("child background %dx%d from the window's skin: %.4f ms\n", kChildWidth,
                kChildHeight, childSkin);
    std::printf("plain BitBlt %dx%d: %.4f ms\n", kChildWidth, kChildHeight, childPlain);
    std::printf("a fresh window-sized off-screen bitmap and its copy: %.3f ms\n", buffer);
    std::printf("the skin composed into an existing bitmap: %.3f ms\n", compose);
    std::printf(
        "ratio skin / BitBlt: %.2f, after a size change %.2f, child %.2f "
        "(%d repetitions, %d-bit screen)\n",
        skin / plain, resized / plain, childSkin / childPlain, repetitions,
        ::GetDeviceCaps(screen.get(), BITSPIXEL));
    if (child) ::DestroyWindow(child);
    if (icon) ::DestroyIcon(icon);
    return 0;
}
