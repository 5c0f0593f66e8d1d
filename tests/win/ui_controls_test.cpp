#include <gtest/gtest.h>

#include <commctrl.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <vector>

#include "fw/Raii.h"
#include "ui/BtnEx.h"
#include "ui/ImgProgress.h"
#include "ui/StaticEx.h"
#include "support/WinTestSupport.h"
#include "support/UiTestSupport.h"

using namespace uitest;

namespace {
const COLORREF kFrames[4] = {RGB(200, 0, 0), RGB(0, 200, 0), RGB(0, 0, 200), RGB(200, 200, 0)};

// A skinned host with one CBtnEx of 40 x 20 frames at (100, 60).
class ButtonFixture : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(host.OpenSkinned(200, 150, 400, 300));
        strip.reset(MakeStrip(40, 20, kFrames));
        ASSERT_TRUE(button.CreateEx(0, L"BUTTON", L"", WS_CHILD | WS_VISIBLE, 100, 60, 40, 20,
                                    host.m_hWnd, reinterpret_cast<HMENU>(7)));
        button.SetStripImage(strip.get(), FALSE);
        Pump();
    }
    COLORREF Shown() { return ScreenPixel(button.m_hWnd, 20, 10); }

    HostDialog host;
    fw::ScopedBitmap strip;
    vorel::CBtnEx button;
};
}  // namespace

TEST_F(ButtonFixture, AttachingMakesTheButtonOwnerDrawnAndTakesItsText) {
    EXPECT_EQ(button.GetStyle() & BS_TYPEMASK, BS_OWNERDRAW);
    vorel::CBtnEx templateButton;
    HWND plain = ::CreateWindowExW(0, L"BUTTON", L"确定", WS_CHILD | WS_VISIBLE | BS_DEFPUSHBUTTON,
                                   10, 240, 80, 30, host.m_hWnd, nullptr, nullptr, nullptr);
    ASSERT_TRUE(templateButton.SubclassWindow(plain));
    EXPECT_EQ(templateButton.m_text, L"确定");
    EXPECT_EQ(templateButton.GetStyle() & BS_TYPEMASK, BS_OWNERDRAW);
}

TEST_F(ButtonFixture, FramesFollowTheStateAndDisabledShowsFrameThree) {
    EXPECT_EQ(Shown(), kFrames[0]);
    button.SendMessage(WM_MOUSEHOVER, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(Shown(), kFrames[1]);
    button.SendMessage(WM_MOUSELEAVE);
    EXPECT_EQ(Shown(), kFrames[0]);
    // The key-coloured corners show the dialog's skin (the centre colour under the button).
    EXPECT_EQ(ScreenPixel(button.m_hWnd, 0, 0), kCentre);

    ::EnableWindow(button.m_hWnd, FALSE);
    EXPECT_EQ(Shown(), kFrames[3]);
    button.SendMessage(WM_MOUSEHOVER, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(Shown(), kFrames[3]);
}

TEST_F(ButtonFixture, PressedLatchSurvivesADragOffTheButton) {
    button.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
    EXPECT_EQ(Shown(), kFrames[2]);
    // Dragged off while held: the system draws the button released, the latch keeps it down.
    button.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(-60, -60));
    EXPECT_EQ(::SendMessageW(button.m_hWnd, BM_GETSTATE, 0, 0) & BST_PUSHED, 0);
    EXPECT_EQ(Shown(), kFrames[2]);
    button.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(10, 10));
    EXPECT_EQ(Shown(), kFrames[2]);
    button.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(-60, -60));
    // Released off the button: no click, and the normal frame again.
    button.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(-60, -60));
    EXPECT_EQ(Shown(), kFrames[0]);
}

TEST_F(ButtonFixture, ASpacePressKeepsThePressedFrameUntilTheNextLeftRelease) {
    ::SetFocus(button.m_hWnd);
    button.SendMessage(WM_KEYDOWN, VK_SPACE, 0);
    EXPECT_EQ(Shown(), kFrames[2]);
    button.SendMessage(WM_KEYUP, VK_SPACE, 0xC0000001);
    EXPECT_EQ(Shown(), kFrames[2]);
    button.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
    EXPECT_EQ(Shown(), kFrames[0]);
}

TEST_F(ButtonFixture, AButtonOfAnotherSizeShowsTheFrameStretchedWithTheKeyStillTransparent) {
    ::SetWindowPos(button.m_hWnd, nullptr, 0, 0, 80, 40, SWP_NOMOVE | SWP_NOZORDER);
    button.RememberWindowRect();
    EXPECT_EQ(ScreenPixel(button.m_hWnd, 40, 20), kFrames[0]);
    EXPECT_EQ(ScreenPixel(button.m_hWnd, 76, 36), kFrames[0]);
    // The key-coloured corner pixel of the frame became 2 x 2 pixels, all showing the skin.
    for (POINT p : {POINT{0, 0}, POINT{1, 1}, POINT{78, 38}, POINT{79, 39}, POINT{0, 39}}) {
        EXPECT_EQ(ScreenPixel(button.m_hWnd, p.x, p.y), kCentre) << p.x << "," << p.y;
    }
    // SetStripImage with resizing brings it back to one frame.
    button.SetStripImage(strip.get(), TRUE);
    RECT r;
    button.GetWindowRect(&r);
    EXPECT_EQ(r.right - r.left, 40);
    EXPECT_EQ(r.bottom - r.top, 20);
}

TEST_F(ButtonFixture, ButtonTextIsDrawnOnTheFrameAndGreyWhenDisabled) {
    ::SetWindowPos(button.m_hWnd, nullptr, 0, 0, 80, 30, SWP_NOMOVE | SWP_NOZORDER);
    button.RememberWindowRect();
    button.m_textColour = RGB(0, 255, 255);
    // The pixels where the text changed the picture, in the text's blend with the frame.
    auto textPixels = [&] {
        std::vector<COLORREF> plain, withText, changed;
        for (auto* picture : {&plain, &withText}) {
            button.m_text = picture == &plain ? L"" : L"确定";
            ::RedrawWindow(button.m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
            fw::ScopedGetDC dc(button.m_hWnd);
            for (int y = 0; y < 30; ++y)
                for (int x = 0; x < 80; ++x) picture->push_back(::GetPixel(dc.get(), x, y));
        }
        for (size_t i = 0; i < plain.size(); ++i)
            if (plain[i] != withText[i]) changed.push_back(withText[i]);
        return changed;
    };
    // Cyan over the red normal frame: green and blue rise together up to cyan's 255.
    auto enabled = textPixels();
    ASSERT_GT(enabled.size(), 10u);
    int greenest = 0;
    for (COLORREF c : enabled) greenest = std::max<int>(greenest, GetGValue(c));
    EXPECT_GT(greenest, 180);
    // Disabled: the system's grey over the yellow frame keeps red and green equal.
    ::EnableWindow(button.m_hWnd, FALSE);
    auto disabled = textPixels();
    ASSERT_GT(disabled.size(), 10u);
    int darkest = 255;
    for (COLORREF c : disabled) {
        EXPECT_LT(std::abs(int(GetRValue(c)) - int(GetGValue(c))), 30);
        darkest = std::min<int>(darkest, GetRValue(c));
    }
    EXPECT_LT(darkest, 170);
}

TEST_F(ButtonFixture, CaptionButtonsAreCreatedLeftOfTheirRightEdgeWithATooltip) {
    vorel::CBtnEx caption;
    ASSERT_TRUE(
        vorel::CBtnEx::CreateCaptionButton(caption, 380, 2, strip.get(), 50000, host.m_hWnd));
    RECT r;
    caption.GetWindowRect(&r);
    POINT p = {r.left, r.top};
    ::ScreenToClient(host.m_hWnd, &p);
    EXPECT_EQ(p.x, 340);
    EXPECT_EQ(p.y, 2);
    EXPECT_EQ(r.right - r.left, 40);
    EXPECT_TRUE(caption.GetStyle() & WS_VISIBLE);
    caption.SetToolTipText(L"关闭");
    caption.SetToolTipText(L"最大化");
    // The tooltip learns the newest text at the hover.
    caption.SendMessage(WM_MOUSEHOVER);
    const HWND tip = testsupport::FindWindowOfThisThread([](HWND w) {
        wchar_t cls[64];
        ::GetClassNameW(w, cls, 64);
        return lstrcmpiW(cls, TOOLTIPS_CLASSW) == 0;
    });
    ASSERT_TRUE(tip);
    wchar_t text[64] = L"";
    TOOLINFOW tool = {};
    tool.cbSize = sizeof(tool);
    tool.hwnd = caption.m_hWnd;
    tool.uId = reinterpret_cast<UINT_PTR>(caption.m_hWnd);
    tool.lpszText = text;
    ::SendMessageW(tip, TTM_GETTEXTW, 64, reinterpret_cast<LPARAM>(&tool));
    EXPECT_STREQ(text, L"最大化");
    EXPECT_EQ(::SendMessageW(tip, TTM_GETDELAYTIME, TTDT_INITIAL, 0), 660);
}

namespace {
class StaticFixture : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(host.OpenSkinned(200, 150, 400, 300)); }
    // A static of the given size at (20, 50), taken over by a CStaticEx.
    void Attach(vorel::CStaticEx& label, const wchar_t* text, int width, int height,
                DWORD style = 0) {
        HWND wnd = ::CreateWindowExW(0, L"STATIC", text, WS_CHILD | WS_VISIBLE | style, 20, 50,
                                     width, height, host.m_hWnd, nullptr, nullptr, nullptr);
        ASSERT_TRUE(wnd);
        ::SendMessageW(wnd, WM_SETFONT, host.SendMessage(WM_GETFONT), FALSE);
        ASSERT_TRUE(label.SubclassWindow(wnd));
    }
    // The line height of the label's font as GDI reports it.
    int LineHeight(vorel::CStaticEx& label, int lfHeight) {
        LOGFONTW lf = {};
        ::GetObjectW(reinterpret_cast<HFONT>(host.SendMessage(WM_GETFONT)), sizeof(lf), &lf);
        lf.lfHeight = lfHeight;
        fw::ScopedFont font(::CreateFontIndirectW(&lf));
        fw::ScopedGetDC dc(label.m_hWnd);
        fw::ScopedSelectObject select(dc.get(), font.get());
        TEXTMETRICW tm = {};
        ::GetTextMetricsW(dc.get(), &tm);
        return tm.tmHeight;
    }
    int Height(const fw::Wnd& wnd) {
        RECT r;
        wnd.GetWindowRect(&r);
        return r.bottom - r.top;
    }

    HostDialog host;
};
}  // namespace

TEST_F(StaticFixture, TwoLinesGrowTheLabelToTwoLineHeightsAndTheSpacing) {
    vorel::CStaticEx label;
    Attach(label, L"第一行\r\n第二行", 200, 10);
    EXPECT_EQ(label.m_text, L"第一行\r\n第二行");
    label.m_fontHeight = -12;
    const int L = LineHeight(label, -12);
    ::UpdateWindow(label.m_hWnd);
    ::RedrawWindow(label.m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_EQ(Height(label), L + L + 3);
    // It never shrinks, and a label already high enough keeps its size.
    label.m_text = L"一行";
    ::RedrawWindow(label.m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_EQ(Height(label), L + L + 3);
    RECT r;
    label.GetWindowRect(&r);
    POINT p = {r.left, r.top};
    ::ScreenToClient(host.m_hWnd, &p);
    EXPECT_EQ(p.x, 20);
    EXPECT_EQ(p.y, 50);
}

TEST_F(StaticFixture, ACharacterWiderThanTheLabelGetsItsOwnLineAndPaintingEnds) {
    vorel::CStaticEx label;
    Attach(label, L"", 200, 10);
    label.m_fontHeight = -12;
    label.m_lineSpacing = 0;
    const int L = LineHeight(label, -12);
    // Measure as the label does: the probe's average and the width of one wide character.
    int average = 0, wide = 0;
    std::wstring widest;
    {
        LOGFONTW lf = {};
        ::GetObjectW(reinterpret_cast<HFONT>(host.SendMessage(WM_GETFONT)), sizeof(lf), &lf);
        lf.lfHeight = -12;
        fw::ScopedFont font(::CreateFontIndirectW(&lf));
        fw::ScopedGetDC dc(label.m_hWnd);
        fw::ScopedSelectObject select(dc.get(), font.get());
        RECT probe = {0, 0, 0, 0};
        ::DrawTextW(dc.get(), L"测试用汉字来获取宽度", 11, &probe, DT_CALCRECT);
        average = probe.right / 11;
        // Supplementary-plane characters are one character of two code units; fonts without
        // them draw the two units as two boxes.
        for (const wchar_t* candidate :
             {L"W", L"@", L"汉", L"\u2014", L"\U00020BB7", L"\U0001F600", L"\U0001D11E"}) {
            RECT w = {0, 0, 0, 0};
            ::DrawTextW(dc.get(), candidate, -1, &w, DT_CALCRECT);
            if (w.right > wide) {
                wide = w.right;
                widest = candidate;
            }
        }
    }
    ASSERT_GE(wide - 1, average) << "the font has no character wider than its average";
    // A label just narrower than that character: each one is alone on a line, the "i"s share.
    ::SetWindowPos(label.m_hWnd, nullptr, 0, 0, wide - 1, 10, SWP_NOMOVE | SWP_NOZORDER);
    label.m_text = widest + widest + L"ii";
    ::RedrawWindow(label.m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_EQ(Height(label), 3 * L);
}

TEST_F(StaticFixture, ALinkShowsTheHandCursorAndItsHoverColour) {
    vorel::CStaticEx link;
    Attach(link, L"登录其他账号", 120, 20, SS_NOTIFY);
    link.m_handCursor = TRUE;
    link.m_underline = TRUE;
    link.m_hoverColourEnabled = TRUE;
    link.m_textColour = RGB(255, 255, 255);
    link.m_hoverColour = RGB(255, 0, 0);
    EXPECT_EQ(link.SendMessage(WM_SETCURSOR, reinterpret_cast<WPARAM>(link.m_hWnd),
                               MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)),
              TRUE);
    EXPECT_EQ(::GetCursor(), ::LoadCursorW(nullptr, IDC_HAND));

    auto count = [&](COLORREF c) { return CountNear(link.m_hWnd, 120, 20, c); };
    EXPECT_GT(count(RGB(255, 255, 255)), 10);  // the underline alone gives a row of them
    EXPECT_EQ(count(RGB(255, 0, 0)), 0);
    link.SendMessage(WM_MOUSEHOVER);
    EXPECT_GT(count(RGB(255, 0, 0)), 10);
    link.SendMessage(WM_MOUSELEAVE);
    EXPECT_EQ(count(RGB(255, 0, 0)), 0);
}

TEST_F(StaticFixture, AnImageStandsBeforeTheText) {
    vorel::CStaticEx label;
    Attach(label, L"", 120, 20);
    fw::ScopedBitmap image(MakeBitmap(14, 16, [](int x, int y) {
        return x == 0 && y == 0 ? vorel::kSkinKeyColour : RGB(1, 150, 2);
    }));
    EXPECT_FALSE(label.SetImage(nullptr));
    EXPECT_TRUE(label.SetImage(image.get()));
    image.reset();  // the label keeps its own copy
    EXPECT_EQ(ScreenPixel(label.m_hWnd, 3 + 7, 2 + 8), RGB(1, 150, 2));
    EXPECT_EQ(ScreenPixel(label.m_hWnd, 3, 2), kCentre);  // key colour: the skin shows
    EXPECT_EQ(ScreenPixel(label.m_hWnd, 2, 10), kCentre);
}

namespace {
// The fill image's column x has red = x / 2, so a screen pixel tells which column it shows.
COLORREF FillColumn(int x) { return RGB(x / 2, 200, 100 + x % 2); }
constexpr COLORREF kTrough = RGB(30, 30, 30);
}  // namespace

TEST_F(StaticFixture, ProgressFillIsDrawnFromBothEndsOfTheFillImage) {
    HWND wnd = ::CreateWindowExW(0, PROGRESS_CLASSW, L"", WS_CHILD | WS_VISIBLE, 5, 200, 100, 10,
                                 host.m_hWnd, nullptr, nullptr, nullptr);
    vorel::CImgProgress progress;
    ASSERT_TRUE(progress.SubclassWindow(wnd));
    progress.SetImages(MakeBitmap(390, 21, [](int, int) { return kTrough; }),
                       MakeBitmap(380, 13, [](int x, int) { return FillColumn(x); }));
    RECT r;
    progress.GetWindowRect(&r);
    EXPECT_EQ(r.right - r.left, 390);
    EXPECT_EQ(r.bottom - r.top, 21);
    const RECT& fill = progress.FillRect();
    EXPECT_EQ(fill.left, 5);
    EXPECT_EQ(fill.top, 4);

    const int y = 10;
    progress.SendMessage(PBM_SETPOS, 0);
    EXPECT_EQ(ScreenPixel(wnd, 5, y), kTrough);
    EXPECT_EQ(ScreenPixel(wnd, 200, y), kTrough);

    progress.SendMessage(PBM_SETPOS, 50);
    EXPECT_EQ(ScreenPixel(wnd, 5, y), FillColumn(0));
    EXPECT_EQ(ScreenPixel(wnd, 5 + 94, y), FillColumn(94));
    EXPECT_EQ(ScreenPixel(wnd, 5 + 95, y), FillColumn(285));
    EXPECT_EQ(ScreenPixel(wnd, 5 + 189, y), FillColumn(379));
    EXPECT_EQ(ScreenPixel(wnd, 5 + 190, y), kTrough);
    EXPECT_EQ(ScreenPixel(wnd, 200, 2), kTrough);  // above the fill

    progress.SendMessage(PBM_SETPOS, 100);
    for (int x : {0, 100, 189, 190, 300, 379}) {
        EXPECT_EQ(ScreenPixel(wnd, 5 + x, y), FillColumn(x)) << x;
    }
    EXPECT_EQ(ScreenPixel(wnd, 386, y), kTrough);
}
