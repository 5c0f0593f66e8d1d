// Benchmarks of the main window, run by `make bench`: the cost of
// the hit test over the strip and of one strip repaint at 1920 pixels wide, and the idle CPU
// time of the main-window process with three tabs, when only the mute timer runs.
#include <cstdio>

#include "mainwnd/TabStrip.h"
#include "support/BenchClock.h"
#include "support/MainWindowTestSupport.h"

using namespace mwtest;
using namespace testsupport;

namespace {

class MainWindowBench : public MainWindowTest {
protected:
    void OpenThreeTabs() {
        LogIn(m_first, L"1服-龙城-alice");
        AddTab(L"1服-龙城-bob");
        AddTab(L"2服-凤鸣-carol");
        ASSERT_EQ(m_dlg->TabCount(), 3);
    }
};

}  // namespace

TEST_F(MainWindowBench, HitTestAndStripRepaintAt1920) {
    OpenThreeTabs();
    SetWindowPos(Main(), nullptr, 0, 0, 1920, 1040, SWP_NOZORDER | SWP_NOACTIVATE);
    RECT client;
    GetClientRect(Main(), &client);
    ASSERT_EQ(client.right, 1920);
    UpdateWindow(Main());
    Pump(200);

    const POINT onFirst = ClientToScreenPoint(vorel::TabRect(0).left + 40, 12);
    const POINT onSecond = ClientToScreenPoint(vorel::TabRect(1).left + 40, 12);
    const LPARAM first = MAKELPARAM(onFirst.x, onFirst.y);
    const LPARAM second = MAKELPARAM(onSecond.x, onSecond.y);
    constexpr int kHits = 2000;
    // The mouse moving within one tab: nothing changes.
    SendMessageW(Main(), WM_NCHITTEST, 0, first);
    ValidateRect(Main(), nullptr);
    double start = Now();
    for (int i = 0; i < kHits; ++i) SendMessageW(Main(), WM_NCHITTEST, 0, first);
    const double steadyUs = (Now() - start) * 1e6 / kHits;
    RECT dirty;
    EXPECT_FALSE(GetUpdateRect(Main(), &dirty, FALSE));  // nothing to repaint
    // The mouse going from tab to tab: every hit test invalidates two tabs, draws nothing.
    start = Now();
    for (int i = 0; i < kHits; ++i) SendMessageW(Main(), WM_NCHITTEST, 0, i % 2 ? first : second);
    const double changingUs = (Now() - start) * 1e6 / kHits;
    ASSERT_TRUE(GetUpdateRect(Main(), &dirty, FALSE));  // still waiting for its paint
    EXPECT_EQ(dirty.left, vorel::TabRect(0).left);
    EXPECT_EQ(dirty.right, vorel::TabRect(1).right);

    constexpr int kPaints = 20;
    const vorel::IntRect strip = vorel::StripRect(3);
    const RECT stripRect = {strip.left, strip.top, strip.right, strip.bottom};
    start = Now();
    for (int i = 0; i < kPaints; ++i) {
        InvalidateRect(Main(), &stripRect, TRUE);
        UpdateWindow(Main());
    }
    GdiFlush();
    const double stripMs = (Now() - start) * 1e3 / kPaints;
    start = Now();
    for (int i = 0; i < kPaints; ++i) {
        InvalidateRect(Main(), nullptr, TRUE);
        UpdateWindow(Main());
    }
    GdiFlush();
    const double windowMs = (Now() - start) * 1e3 / kPaints;

    // The window's own share of a repaint: the erase that paints skin and strip, into an
    // off-screen DC clipped like the paint DC of a strip repaint.
    fw::ScopedGetDC screen(nullptr);
    vorel::OffscreenBitmap target(screen.get(), client.right, client.bottom);
    fw::ScopedRgn clip(CreateRectRgn(strip.left, strip.top, strip.right, strip.bottom));
    SelectClipRgn(target.dc(), clip.get());
    start = Now();
    for (int i = 0; i < kPaints; ++i) {
        SendMessageW(Main(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(target.dc()), 0);
    }
    GdiFlush();
    const double eraseMs = (Now() - start) * 1e3 / kPaints;

    std::printf("main window 1920 x %ld, three tabs\n", client.bottom);
    std::printf("  WM_NCHITTEST over a tab, hover unchanged:   %8.2f us\n", steadyUs);
    std::printf("  WM_NCHITTEST from tab to tab (invalidates): %8.2f us\n", changingUs);
    std::printf("  strip repaint (567 x 22 invalid):           %8.3f ms\n", stripMs);
    std::printf("    of which painting skin and strip:         %8.3f ms\n", eraseMs);
    std::printf("  whole window repaint, for comparison:       %8.3f ms\n", windowMs);
    // Generous bounds: a hit test that drew would cost milliseconds.
    EXPECT_LT(steadyUs, 1000.0);
    EXPECT_LT(changingUs, 1000.0);
}

TEST_F(MainWindowBench, IdleCpuWithThreeTabs) {
    OpenThreeTabs();
    wchar_t value[16] = L"";
    const int seconds =
        GetEnvironmentVariableW(L"VOREL_BENCH_SECONDS", value, 16) ? _wtoi(value) : 60;
    Pump(1000);
    const double cpuStart = CpuSeconds();
    const DWORD end = GetTickCount() + DWORD(seconds) * 1000;
    int ticks = 0;
    for (;;) {
        const int left = int(end - GetTickCount());
        if (left <= 0) break;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, DWORD(left), QS_ALLINPUT);
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_TIMER && msg.hwnd == Main()) ++ticks;
            if (!fw::App::PreTranslate(&msg)) {
                TranslateMessage(&msg);
                DispatchMessageW(&msg);
            }
        }
    }
    const double cpu = CpuSeconds() - cpuStart;
    std::printf(
        "main-window process, three tabs, idle %d s: %d timer ticks, CPU %.3f s (%.3f %%)\n",
        seconds, ticks, cpu, cpu * 100.0 / seconds);
    EXPECT_GE(ticks, seconds * 2);  // the mute timer ran all along (2.5 ticks a second)
    EXPECT_FALSE(m_quit);
}
