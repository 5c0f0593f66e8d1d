#include "ui/DlgEx.h"

#include <windowsx.h>

#include "res/resource.h"
#include "ui/SkinGeometry.h"
#include "ui/SkinImage.h"
#include "ui/WindowPlacement.h"

namespace vorel {

namespace {
IntRect ToIntRect(const RECT& r) { return IntRect{r.left, r.top, r.right, r.bottom}; }
RECT ToRect(const IntRect& r) { return RECT{r.left, r.top, r.right, r.bottom}; }

// The work area of the monitor that holds most of the window (the nearest one when it is on
// none), so that a window on a second monitor stays there.
IntRect WorkAreaOf(HWND wnd) {
    MONITORINFO info = {};
    info.cbSize = sizeof(info);
    if (::GetMonitorInfoW(::MonitorFromWindow(wnd, MONITOR_DEFAULTTONEAREST), &info)) {
        return ToIntRect(info.rcWork);
    }
    RECT work = {};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    return ToIntRect(work);
}

void Blit(HDC dest, HDC source, const SkinPiece& piece) {
    const BlitBox& d = piece.dest;
    const BlitBox& s = piece.source;
    if (d.width <= 0 || d.height <= 0 || s.width <= 0 || s.height <= 0) return;
    if (piece.stretch) {
        ::StretchBlt(dest, d.x, d.y, d.width, d.height, source, s.x, s.y, s.width, s.height,
                     SRCCOPY);
    } else {
        ::BitBlt(dest, d.x, d.y, d.width, d.height, source, s.x, s.y, SRCCOPY);
    }
}

const wchar_t kTipClose[] = L"关闭";
const wchar_t kTipMinimize[] = L"最小化";
const wchar_t kTipMaximize[] = L"最大化";
const wchar_t kTipRestore[] = L"还原";
}  // namespace

CDlgEx::CDlgEx(UINT templateId, HWND parent) : fw::Dialog(templateId, parent) {}

CDlgEx::CDlgEx(UINT templateId, fw::Wnd* parent) : fw::Dialog(templateId, parent) {}

void CDlgEx::DoDataExchange() {}

BOOL CDlgEx::OnInitDialog() {
    fw::Dialog::OnInitDialog();
    // No system frame: the skin is the frame. The minimize box lets the system minimize us
    // for SC_MINIMIZE and the taskbar.
    ModifyStyle(WS_CAPTION | DS_MODALFRAME, WS_MINIMIZEBOX);
    ModifyStyleEx(WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE, 0);
    const IntRect work = WorkAreaOf(m_hWnd);
    TakeLimitsFrom(work);
    m_restoreRect = ToRect(InitialRestoreRect(work));
    return TRUE;
}

BOOL CDlgEx::SetSkin(SkinSpec look, HBITMAP close) {
    m_stretchBackground = look.stretchBackground;
    m_background.reset(look.background);
    const SIZE image = BitmapSize(m_background.get());

    RECT client = {};
    if (look.fitWindowToImage) {
        ::SetWindowPos(m_hWnd, nullptr, 0, 0, image.cx, image.cy, SWP_NOMOVE | SWP_NOZORDER);
        client = RECT{0, 0, image.cx, image.cy};
    } else {
        GetClientRect(&client);
    }
    BuildWindowRegion();

    int right = client.right - m_buttonRightMargin;
    const int top = m_buttonTopMargin;
    auto widthOf = [](const CBtnEx& button) {
        RECT r = {};
        ::GetWindowRect(button.m_hWnd, &r);
        return int(r.right - r.left);
    };
    auto recreate = [&](CBtnEx& button, HBITMAP strip, int id, const wchar_t* tip) {
        if (button.m_hWnd) button.DestroyWindow();
        if (CBtnEx::CreateCaptionButton(button, right, top, strip, id, m_hWnd)) {
            button.SetToolTipText(tip);
        }
    };
    if (close) recreate(m_closeButton, close, kCloseButtonId, kTipClose);
    if (look.maximizeImage) {
        right -= widthOf(m_closeButton) + m_buttonGap;
        recreate(m_maximizeButton, look.maximizeImage, kMaximizeButtonId, kTipMaximize);
        m_maximizeImage.reset(look.maximizeImage);
        m_restoreImage.reset(look.restoreImage);
    }
    if (look.minimizeImage) {
        right -= (m_maximizeButton.m_hWnd ? widthOf(m_maximizeButton) : widthOf(m_closeButton)) +
                 m_buttonGap;
        recreate(m_minimizeButton, look.minimizeImage, kMinimizeButtonId, kTipMinimize);
    }
    return TRUE;
}

void CDlgEx::UseStandardFrame() {
    m_captionHeight = 30;
    m_borderWidth = 4;
    m_buttonRightMargin = 0;
    m_buttonTopMargin = 0;
    m_buttonGap = 0;
}

BOOL CDlgEx::ApplyStandardDialogSkin(const std::wstring& caption) {
    UseStandardFrame();
    SetCaptionText(caption);
    const HINSTANCE skins = SkinInstance();
    SkinSpec look;
    look.background = LoadSkinBitmap(skins, IDP_DIALOG_BACKGROUND);  // SetSkin owns it
    look.stretchBackground = TRUE;
    fw::ScopedBitmap close(LoadSkinBitmap(skins, IDP_BUTTON_CLOSE));  // only copied
    return SetSkin(look, close.get());
}

void CDlgEx::BuildWindowRegion() {
    if (!m_hWnd) return;
    RECT window;
    GetWindowRect(&window);
    const int W = window.right - window.left, H = window.bottom - window.top;
    fw::ScopedRgn region(::CreateRectRgn(0, 0, W, H));
    if (!region) return;
    if (m_background) {
        const SIZE image = BitmapSize(m_background.get());
        fw::ScopedGetDC screen(nullptr);
        fw::ScopedMemDC dc(screen.get());
        fw::ScopedSelectObject select(dc.get(), m_background.get());
        const auto cut = CornerCutPixels(W, H, image.cx, image.cy, [&](int x, int y) {
            return ::GetPixel(dc.get(), x, y) == kSkinKeyColour;
        });
        for (const IntPoint& p : cut) {
            fw::ScopedRgn pixel(::CreateRectRgn(p.x, p.y, p.x + 1, p.y + 1));
            ::CombineRgn(region.get(), region.get(), pixel.get(), RGN_DIFF);
        }
    }
    // The window owns the region from here on.
    ::SetWindowRgn(m_hWnd, region.release(), FALSE);
}

HFONT CDlgEx::CreateTitleFont() const {
    HFONT base = reinterpret_cast<HFONT>(SendMessage(WM_GETFONT));
    if (!base) base = static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
    LOGFONTW font = {};
    if (!::GetObjectW(base, sizeof(font), &font)) return nullptr;
    font.lfWeight = m_titleWeight;
    return ::CreateFontIndirectW(&font);
}

int CDlgEx::TitleFontLfHeight() const {
    HFONT base = reinterpret_cast<HFONT>(SendMessage(WM_GETFONT));
    if (!base) base = static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
    LOGFONTW font = {};
    ::GetObjectW(base, sizeof(font), &font);
    return font.lfHeight;
}

BOOL CDlgEx::PaintSkin(HDC dc) {
    if (!m_background) return FALSE;
    RECT window;
    GetWindowRect(&window);
    const int W = window.right - window.left, H = window.bottom - window.top;
    OffscreenBitmap canvas(dc, W, H);
    if (!canvas) return FALSE;
    const SIZE image = BitmapSize(m_background.get());
    {
        fw::ScopedMemDC source(dc);
        fw::ScopedSelectObject select(source.get(), m_background.get());
        const int B = m_borderWidth, C = m_captionHeight;
        if (m_stretchBackground) {
            for (const SkinPiece& piece : NinePieces(W, H, image.cx, image.cy, B, C)) {
                Blit(canvas.dc(), source.get(), piece);
            }
        } else {
            for (const SkinPiece& piece : UnscaledPieces(W, H, image.cx, image.cy, B, C)) {
                Blit(canvas.dc(), source.get(), piece);
            }
        }
    }

    int iconWidth = 0;
    if (m_showIcon) {
        if (HICON icon = reinterpret_cast<HICON>(SendMessage(WM_GETICON, ICON_SMALL))) {
            const IntPoint at = CaptionIconOrigin(m_borderWidth, m_captionHeight);
            ::DrawIconEx(canvas.dc(), at.x, at.y, icon, 16, 16, 0, nullptr, DI_NORMAL);
            iconWidth = 16;
        }
    }
    if (m_showTitle) {
        const std::wstring title = GetWindowText();
        fw::ScopedFont font(CreateTitleFont());
        const int saved = ::SaveDC(canvas.dc());
        ::SetBkMode(canvas.dc(), TRANSPARENT);
        ::SetTextColor(canvas.dc(), m_titleColour);
        if (font) ::SelectObject(canvas.dc(), font.get());
        const IntPoint at =
            CaptionTitleOrigin(m_borderWidth, m_captionHeight, iconWidth, TitleFontLfHeight());
        ::TextOutW(canvas.dc(), at.x, at.y, title.c_str(), int(title.size()));
        ::RestoreDC(canvas.dc(), saved);  // deselects the font before it is deleted
    }
    canvas.CopyTo(dc);
    return TRUE;
}

LRESULT CDlgEx::OnNcHitTest(LPARAM screenPoint) {
    POINT p = {GET_X_LPARAM(screenPoint), GET_Y_LPARAM(screenPoint)};
    ::ScreenToClient(m_hWnd, &p);
    RECT client;
    GetClientRect(&client);
    const SkinHit hit = SkinHitTest(p.x, p.y, client.right, client.bottom, m_borderWidth,
                                    m_captionHeight, m_resizable, m_maximized);
    if (hit == kHitDefault) return DefWindowProc(WM_NCHITTEST, 0, screenPoint);
    return hit;
}

void CDlgEx::OnNcLButtonDown(WPARAM hit, LPARAM screenPoint) {
    if (const unsigned command = SizeCommandForHit(int(hit))) {
        // Runs the system's sizing loop; returns when the user lets go.
        SendMessage(WM_SYSCOMMAND, command, screenPoint);
    } else {
        DefWindowProc(WM_NCLBUTTONDOWN, hit, screenPoint);  // the caption drags
    }
    GetWindowRect(&m_restoreRect);
}

void CDlgEx::OnSize(int cx) {
    if (!m_background) return;
    BuildWindowRegion();
    ::InvalidateRect(m_hWnd, nullptr, TRUE);
    int x = cx - m_buttonRightMargin;
    for (CBtnEx* button : {&m_closeButton, &m_maximizeButton, &m_minimizeButton}) {
        if (!button->m_hWnd) continue;
        RECT r;
        button->GetWindowRect(&r);
        ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&r), 2);
        const int width = r.right - r.left;
        x -= width;
        button->MoveWindow(x, r.top, width, r.bottom - r.top, TRUE);
    }
}

int CDlgEx::ToggleMaximize() {
    if (m_maximized) {
        const RECT& r = m_restoreRect;
        MoveWindow(r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
        UpdateMaximizeButton(FALSE);
    } else {
        // The monitor the window is on now, which need not be the one it opened on.
        const IntRect work = WorkAreaOf(m_hWnd);
        FollowWorkArea(work);
        const IntRect r = MaximizedRect(work, m_maxWidth, m_maxHeight);
        MoveWindow(r.left, r.top, r.Width(), r.Height(), TRUE);
        UpdateMaximizeButton(TRUE);
    }
    m_maximizeButton.ClearHover();
    m_maximized = !m_maximized;
    return 0;
}

void CDlgEx::UpdateMaximizeButton(BOOL maximized) {
    if (!m_maximizeButton.m_hWnd) return;
    m_maximizeButton.SetStripImage(maximized ? m_restoreImage.get() : m_maximizeImage.get(), FALSE);
    m_maximizeButton.SetToolTipText(maximized ? kTipRestore : kTipMaximize);
    m_maximizeButton.Invalidate(TRUE);
}

void CDlgEx::OnSkinClose() { PostMessage(WM_SYSCOMMAND, SC_CLOSE, 0); }

void CDlgEx::OnSkinMinimize() { PostMessage(WM_SYSCOMMAND, SC_MINIMIZE, 0); }

void CDlgEx::SetCaptionText(const std::wstring& text) {
    SetWindowText(text);
    const bool hasIcon = SendMessage(WM_GETICON, ICON_SMALL) != 0;
    const IntPoint at =
        CaptionTitleOrigin(m_borderWidth, m_captionHeight, hasIcon ? 16 : 0, TitleFontLfHeight());
    RECT area = {at.x, at.y, at.x, at.y};
    {
        fw::ScopedGetDC dc(m_hWnd);
        HFONT font = reinterpret_cast<HFONT>(SendMessage(WM_GETFONT));
        fw::ScopedSelectObject select(dc.get(), font);
        ::DrawTextW(dc.get(), text.c_str(), int(text.size()), &area, DT_CALCRECT);
    }
    RECT client;
    GetClientRect(&client);
    area.right = client.right;
    ::InvalidateRect(m_hWnd, &area, TRUE);
}

void CDlgEx::RepaintCaptionButtons() {
    for (CBtnEx* button : {&m_closeButton, &m_minimizeButton, &m_maximizeButton}) {
        if (button->m_hWnd) button->Invalidate(TRUE);
    }
}

void CDlgEx::CentreIfNotPlaced(const RECT& before) {
    // What the application framework does for its dialogs after WM_INITDIALOG: a hidden
    // top-level dialog that did not place itself, and whose owner is absent or disabled (a
    // modal one), is centred on its owner or on the work area.
    if (GetStyle() & (WS_VISIBLE | WS_CHILD)) return;
    RECT now;
    GetWindowRect(&now);
    if (now.left != before.left || now.top != before.top) return;
    HWND owner = ::GetWindow(m_hWnd, GW_OWNER);
    if (owner && ::IsWindowEnabled(owner)) return;
    // On the owner's monitor: a main window on a second monitor keeps its boxes there.
    const IntRect work = WorkAreaOf(owner ? owner : m_hWnd);
    RECT around = ToRect(work);
    if (owner && ::IsWindowVisible(owner) && !::IsIconic(owner)) ::GetWindowRect(owner, &around);
    const IntPoint at =
        CentreInWorkArea(now.right - now.left, now.bottom - now.top, ToIntRect(around), work);
    ::SetWindowPos(m_hWnd, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CDlgEx::TakeLimitsFrom(const IntRect& work) {
    m_maxWidth = m_workLimitWidth = work.Width();
    m_maxHeight = m_workLimitHeight = work.Height();
}

void CDlgEx::FollowWorkArea(const IntRect& work) {
    // Limits that a derived class set stay; those taken from a work area follow it.
    if (m_maxWidth == m_workLimitWidth && m_maxHeight == m_workLimitHeight) TakeLimitsFrom(work);
}

void CDlgEx::OnWorkAreaChanged() {
    // A new resolution, a monitor gone or the taskbar moved: the own maximize follows.
    const IntRect work = WorkAreaOf(m_hWnd);
    FollowWorkArea(work);
    if (!m_maximized) return;
    const IntRect r = MaximizedRect(work, m_maxWidth, m_maxHeight);
    MoveWindow(r.left, r.top, r.Width(), r.Height(), TRUE);
}

LRESULT CDlgEx::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_INITDIALOG: {
            RECT before;
            GetWindowRect(&before);
            const LRESULT result = fw::Dialog::WindowProc(msg, wParam, lParam);
            if (m_hWnd) CentreIfNotPlaced(before);
            return result;
        }
        case WM_ERASEBKGND:
            // Without a skin the dialog manager erases as for any dialog.
            if (PaintSkin(reinterpret_cast<HDC>(wParam))) return TRUE;
            break;
        case WM_NCHITTEST:
            return OnNcHitTest(lParam);
        case WM_COMMAND:
            if (HIWORD(wParam) == BN_CLICKED) {
                switch (LOWORD(wParam)) {
                    case kCloseButtonId:
                        OnSkinClose();
                        return 0;
                    case kMaximizeButtonId:
                        ToggleMaximize();
                        return 0;
                    case kMinimizeButtonId:
                        OnSkinMinimize();
                        return 0;
                }
            }
            break;
        case WM_SYSCOMMAND:
            // F10 or Alt alone would put the window into the mode of a system menu that no
            // skinned window shows, where it takes no click until Esc. F10 is the default
            // boss key: its key-up reaches whichever window is active once the main window
            // is back. Alt+Space still opens the menu.
            if ((wParam & 0xFFF0) == SC_KEYMENU && lParam == 0) return 0;
            break;
        case WM_NCLBUTTONDOWN:
            OnNcLButtonDown(wParam, lParam);
            return 0;
        case WM_NCLBUTTONDBLCLK:
            if (wParam == HTCAPTION && m_resizable) {
                ToggleMaximize();
                return 0;
            }
            break;
        case WM_LBUTTONDBLCLK: {
            const int y = GET_Y_LPARAM(lParam);
            if (m_maximized && (m_captionHeight == -1 || (y >= 0 && y < m_captionHeight))) {
                ToggleMaximize();
            }
            break;
        }
        case WM_SIZE: {
            const LRESULT result = fw::Dialog::WindowProc(msg, wParam, lParam);
            OnSize(LOWORD(lParam));
            return result;
        }
        case WM_DISPLAYCHANGE:
            OnWorkAreaChanged();
            break;
        case WM_SETTINGCHANGE:
            if (wParam == SPI_SETWORKAREA) OnWorkAreaChanged();
            break;
        case WM_DRAWITEM:
            // The framework does not reflect owner drawing: the skinned buttons draw
            // themselves here.
            if (ReflectDrawItem(lParam)) return TRUE;
            break;
    }
    return fw::Dialog::WindowProc(msg, wParam, lParam);
}

}  // namespace vorel
