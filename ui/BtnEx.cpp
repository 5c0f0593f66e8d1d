#include "ui/BtnEx.h"

#include <commctrl.h>

namespace vorel {

namespace {
constexpr int kTooltipDelayMs = 660;

TOOLINFOW ToolFor(HWND button) {
    TOOLINFOW tool = {};
    tool.cbSize = sizeof(tool);
    tool.uFlags = TTF_IDISHWND;
    tool.hwnd = button;
    tool.uId = reinterpret_cast<UINT_PTR>(button);
    return tool;
}
}  // namespace

CBtnEx::~CBtnEx() { DestroyTooltip(); }

void CBtnEx::PreSubclassWindow() {
    m_text = GetWindowText();
    ModifyStyle(0, BS_OWNERDRAW);
    RememberWindowRect();
    fw::Wnd::PreSubclassWindow();
}

void CBtnEx::RememberWindowRect() {
    if (m_hWnd) ::GetWindowRect(m_hWnd, &m_windowRect);
}

BOOL CBtnEx::SetStripImage(HBITMAP strip, BOOL resizeToFrame) {
    m_images.Create(strip, kStripFrames);
    if (resizeToFrame && m_hWnd) {
        const SIZE size = BitmapSize(strip);
        ::SetWindowPos(m_hWnd, nullptr, 0, 0, size.cx / kStripFrames, size.cy,
                       SWP_NOMOVE | SWP_NOZORDER);
    }
    RememberWindowRect();
    return TRUE;
}

BOOL CBtnEx::CreateCaptionButton(CBtnEx& button, int right, int top, HBITMAP strip, int id,
                                 HWND parent) {
    const SIZE size = BitmapSize(strip);
    const int width = size.cx / kStripFrames;
    if (!button.CreateEx(0, L"BUTTON", L"", WS_CHILD | WS_VISIBLE, right - width, top, width,
                         size.cy, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)))) {
        return FALSE;
    }
    return button.SetStripImage(strip, FALSE);
}

void CBtnEx::ClearHover() {
    m_mouse.Clear();
}

void CBtnEx::DrawItem(const DRAWITEMSTRUCT& item) {
    int frame;
    if (item.itemState & (ODS_GRAYED | ODS_DISABLED)) {
        frame = kFrameDisabled;
    } else if ((item.itemState & ODS_SELECTED) || m_pressedLatch) {
        frame = kFramePressed;
        m_pressedLatch = TRUE;
    } else {
        frame = m_mouse.IsOn() ? kFrameHover : kFrameNormal;
    }

    const int width = m_windowRect.right - m_windowRect.left;
    const int height = m_windowRect.bottom - m_windowRect.top;
    OffscreenBitmap canvas(item.hDC, width, height);
    if (!canvas) return;
    PaintParentBackground(m_hWnd, canvas.dc());

    IMAGEINFO info;
    if (m_images && ::ImageList_GetImageInfo(m_images.get(), frame, &info)) {
        m_images.DrawStretched(frame, canvas.dc(), 0, 0, width, height);
    }

    if (!m_text.empty()) {
        ::SetBkMode(canvas.dc(), TRANSPARENT);
        ::SetTextColor(canvas.dc(),
                       frame == kFrameDisabled ? ::GetSysColor(COLOR_GRAYTEXT) : m_textColour);
        HFONT font = reinterpret_cast<HFONT>(SendMessage(WM_GETFONT));
        if (!font) font = static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
        fw::ScopedSelectObject selectFont(canvas.dc(), font);
        RECT client;
        GetClientRect(&client);
        ::DrawTextW(canvas.dc(), m_text.c_str(), int(m_text.size()), &client,
                    DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }
    // No focus rectangle in any state.
    canvas.CopyTo(item.hDC);
}

void CBtnEx::SetToolTipText(const std::wstring& text) {
    m_tooltipText = text;
    m_tooltipEnabled = TRUE;
    if (m_tooltip || !m_hWnd) return;
    m_tooltip = ::CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                                  CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                                  m_hWnd, nullptr, ::GetModuleHandleW(nullptr), nullptr);
    if (!m_tooltip) return;
    TOOLINFOW tool = ToolFor(m_hWnd);
    tool.lpszText = LPSTR_TEXTCALLBACKW;  // the text arrives with the first hover
    ::SendMessageW(m_tooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    ::SendMessageW(m_tooltip, TTM_SETDELAYTIME, TTDT_AUTOMATIC, kTooltipDelayMs);
}

void CBtnEx::DestroyTooltip() {
    // The tooltip is owned by the dialog's window and may have gone with it already.
    if (m_tooltip && ::IsWindow(m_tooltip)) ::DestroyWindow(m_tooltip);
    m_tooltip = nullptr;
}

BOOL CBtnEx::PreTranslateMessage(MSG* msg) {
    if (m_tooltipEnabled && m_tooltip) {
        ::SendMessageW(m_tooltip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(msg));
    }
    return fw::Wnd::PreTranslateMessage(msg);
}

LRESULT CBtnEx::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_ERASEBKGND:
            return TRUE;  // DrawItem paints every pixel
        case WM_MOUSEMOVE:
        case WM_MOUSEHOVER:
        case WM_MOUSELEAVE:
            if (!m_mouse.Track(m_hWnd, msg)) break;
            Invalidate(FALSE);
            if (msg == WM_MOUSEHOVER && m_tooltipEnabled && m_tooltip) {
                TOOLINFOW tool = ToolFor(m_hWnd);
                tool.lpszText = const_cast<wchar_t*>(m_tooltipText.c_str());
                ::SendMessageW(m_tooltip, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
            }
            return 0;
        case WM_LBUTTONUP:
            m_pressedLatch = FALSE;
            break;
        case WM_DESTROY:
            DestroyTooltip();
            m_tooltipEnabled = FALSE;
            break;
    }
    return fw::Wnd::WindowProc(msg, wParam, lParam);
}

BOOL ReflectDrawItem(LPARAM drawItem) {
    const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(drawItem);
    if (!item || item->CtlType != ODT_BUTTON) return FALSE;
    auto* button = dynamic_cast<CBtnEx*>(fw::Wnd::FromHandlePermanent(item->hwndItem));
    if (!button) return FALSE;
    button->DrawItem(*item);
    return TRUE;
}

}  // namespace vorel
