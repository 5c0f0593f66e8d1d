#include "ui/StaticEx.h"

#include <commctrl.h>

#include "ui/TextLines.h"

namespace vorel {

namespace {

int MeasureWidth(HDC dc, const std::wstring& text) {
    RECT r = {0, 0, 0, 0};
    ::DrawTextW(dc, text.c_str(), int(text.size()), &r, DT_CALCRECT);
    return r.right - r.left;
}
}  // namespace

void CStaticEx::PreSubclassWindow() {
    m_text = GetWindowText();
    fw::Wnd::PreSubclassWindow();
}

BOOL CStaticEx::SetImage(HBITMAP image) {
    if (!image) return FALSE;
    m_image.Create(image, 1);
    const SIZE size = BitmapSize(image);
    m_imageWidth = size.cx;
    m_imageHeight = size.cy;
    return TRUE;
}

HFONT CStaticEx::Font() {
    if (m_font) return m_font.get();
    HFONT base = reinterpret_cast<HFONT>(SendMessage(WM_GETFONT));
    if (!base) base = static_cast<HFONT>(::GetStockObject(SYSTEM_FONT));
    LOGFONTW font = {};
    ::GetObjectW(base, sizeof(font), &font);
    if (m_fontHeight != 0) font.lfHeight = m_fontHeight;
    if (m_fontWeight != -1) font.lfWeight = m_fontWeight;
    if (m_fontWidth != 0) font.lfWidth = m_fontWidth;
    if (m_underline) font.lfUnderline = static_cast<BYTE>(m_underline);
    m_font.reset(::CreateFontIndirectW(&font));
    return m_font.get();
}

void CStaticEx::OnPaint() {
    fw::ScopedPaint paint(m_hWnd);
    RECT window;
    GetWindowRect(&window);
    const int W = window.right - window.left, H = window.bottom - window.top;
    OffscreenBitmap canvas(paint.get(), W, H);
    if (!canvas) return;
    const int saved = ::SaveDC(canvas.dc());
    PaintParentBackground(m_hWnd, canvas.dc());
    ::RestoreDC(canvas.dc(), saved);
    if (m_image) m_image.Draw(0, canvas.dc(), 3, (H - m_imageHeight) / 2);
    DrawTextLines(canvas.dc());
    canvas.CopyTo(paint.get());
}

void CStaticEx::DrawTextLines(HDC dc) {
    RECT r;
    GetClientRect(&r);
    if (m_imageWidth != 0) r.left += m_imageWidth + 6;
    const UINT format = LabelDrawTextFormat(static_cast<uint32_t>(GetStyle()));

    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, m_hoverColourEnabled && m_mouse.IsOn() ? m_hoverColour : m_textColour);
    fw::ScopedSelectObject selectFont(dc, Font());

    // The probe is measured with its terminator, as 11 units.
    RECT probe = {0, 0, 0, 0};
    ::DrawTextW(dc, kWidthProbeText, kWidthProbeDivisor, &probe, DT_CALCRECT);
    const int lineHeight = probe.bottom - probe.top;
    const int averageWidth = (probe.right - probe.left) / kWidthProbeDivisor;

    r.bottom = r.top + lineHeight;
    if (r.right - r.left < averageWidth) return;

    const auto lines = BreakTextLines(m_text, r.right - r.left, [dc](const std::wstring& line) {
        return MeasureWidth(dc, line);
    });
    for (const std::wstring& line : lines) {
        ::DrawTextW(dc, line.c_str(), int(line.size()), &r, format);
        ::OffsetRect(&r, 0, lineHeight + m_lineSpacing);
    }

    const int needed = TextLinesHeight(int(lines.size()), lineHeight, m_lineSpacing);
    RECT window;
    GetWindowRect(&window);
    if (window.bottom - window.top < needed) {
        HWND parent = GetParent();
        ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&window), 2);
        MoveWindow(window.left, window.top, window.right - window.left, needed, TRUE);
    }
}

LRESULT CStaticEx::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_PAINT:
            OnPaint();
            return 0;
        case WM_ERASEBKGND:
            return TRUE;
        case WM_SETCURSOR:
            if (m_handCursor) ::SetCursor(::LoadCursorW(nullptr, IDC_HAND));
            return TRUE;
        case WM_MOUSEMOVE:
        case WM_MOUSEHOVER:
        case WM_MOUSELEAVE:
            if (!m_mouse.Track(m_hWnd, msg)) break;
            Invalidate(FALSE);
            return 0;
    }
    return fw::Wnd::WindowProc(msg, wParam, lParam);
}

}  // namespace vorel
