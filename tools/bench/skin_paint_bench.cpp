// Prints what one paint of a stretched window skin costs next to a plain BitBlt of the same
// size: the skin goes through one off-screen bitmap and one BitBlt, so the ratio shows what
// the nine pieces, the icon and the title add.
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
};

template <class F>
double MillisecondsEach(int repetitions, F&& work) {
    work();  // warm caches and lazy GDI set-up outside the measurement
    const double start = Now();
    for (int i = 0; i < repetitions; ++i) work();
    ::GdiFlush();
    return (Now() - start) * 1000.0 / repetitions;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const int repetitions = argc > 1 ? std::max(1, _wtoi(argv[1])) : 100;

    BenchWindow window;
    if (!window.Create()) {
        std::fprintf(stderr, "cannot create the window\n");
        return 1;
    }
    window.m_captionHeight = 30;
    window.m_borderWidth = 4;
    vorel::SkinSpec look;
    look.background = vorel::LoadSkinBitmap(vorel::SkinInstance(), IDP_MAIN_BACKGROUND);
    look.stretchBackground = TRUE;
    if (!look.background) {
        std::fprintf(stderr, "no skin image %d\n", IDP_MAIN_BACKGROUND);
        return 1;
    }
    window.SetSkin(look, nullptr);
    window.SetWindowText(L"VorelTolv登录器");
    HICON icon = static_cast<HICON>(
        ::LoadImageW(vorel::SkinInstance(), MAKEINTRESOURCEW(IDI_APP), IMAGE_ICON, 16, 16, 0));
    if (icon) window.SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
    ::SetWindowPos(window.m_hWnd, nullptr, 0, 0, kWidth, kHeight, SWP_NOZORDER | SWP_NOACTIVATE);
    RECT r;
    window.GetWindowRect(&r);
    if (r.right - r.left != kWidth || r.bottom - r.top != kHeight) {
        std::fprintf(stderr, "window is %ld x %ld\n", r.right - r.left, r.bottom - r.top);
        return 1;
    }

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

    // The double buffering alone: a fresh off-screen bitmap per paint, copied once.
    const double buffer = MillisecondsEach(repetitions, [&] {
        vorel::OffscreenBitmap canvas(target.dc(), kWidth, kHeight);
        canvas.CopyTo(target.dc());
    });

    std::printf("stretched skin paint %dx%d (nine pieces, icon, title, one BitBlt): %.3f ms\n",
                kWidth, kHeight, skin);
    std::printf("plain BitBlt %dx%d: %.3f ms\n", kWidth, kHeight, plain);
    std::printf("of which off-screen bitmap and its copy: %.3f ms\n", buffer);
    std::printf("ratio skin / BitBlt: %.2f (%d repetitions, %d-bit screen)\n", skin / plain,
                repetitions, ::GetDeviceCaps(screen.get(), BITSPIXEL));
    if (icon) ::DestroyIcon(icon);
    return 0;
}
