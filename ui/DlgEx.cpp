#include "ui/DlgEx.h"

#include <windowsx.h>

#include <algorithm>
#include <vector>

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

// A 1-pixel-wide top-down 32-bit section: pixel y of its bits is row y.
HBITMAP CreateColumn(HDC dc, int height, void** bits) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = 1;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return ::CreateDIBSection(dc, &info, DIB_RGB_COLORS, bits, nullptr, 0);
}

// Which source row each of `to` rows shows when StretchBlt enlarges `from` rows: asked of
// StretchBlt itself, with a column whose pixels name their rows. Empty on failure.
std::vector<int> StretchedRows(HDC compatibleWith, int from, int to) {
    std::vector<int> rows;
    void* fromBits = nullptr;
    void* toBits = nullptr;
    fw::ScopedBitmap column(CreateColumn(compatibleWith, from, &fromBits));
    fw::ScopedBitmap stretched(CreateColumn(compatibleWith, to, &toBits));
    fw::ScopedMemDC fromDC(compatibleWith), toDC(compatibleWith);
    if (!column || !stretched || !fromDC || !toDC) return rows;
    for (int y = 0; y < from; ++y) static_cast<DWORD*>(fromBits)[y] = DWORD(y);
    {
        fw::ScopedSelectObject selectFrom(fromDC.get(), column.get());
        fw::ScopedSelectObject selectTo(toDC.get(), stretched.get());
        if (!::StretchBlt(toDC.get(), 0, 0, 1, to, fromDC.get(), 0, 0, 1, from, SRCCOPY)) {
            return rows;
        }
        ::GdiFlush();
    }
    rows.resize(size_t(to));
    for (int y = 0; y < to; ++y) {
        const DWORD row = static_cast<const DWORD*>(toBits)[y] & 0xFFFFFF;
        if (row >= DWORD(from)) return {};
        rows[size_t(y)] = int(row);
    }
    return rows;
}

// StretchBlt composes an enlargement pixel by pixel, which for a window-sized piece costs
// many times a copy. Enlarging is separable: the source rows are stretched across first,
// then each goes down over the rows StretchBlt gives it, the copied band doubling each time,
// so that every pixel is the one StretchBlt would have put there.
bool EnlargeByRows(HDC dest, HDC source, const BlitBox& d, const BlitBox& s) {
    const std::vector<int> rowOf = StretchedRows(dest, s.height, d.height);
    if (rowOf.empty()) return false;
    OffscreenBitmap across(dest, d.width, s.height);
    if (!across) return false;
    if (!::StretchBlt(across.dc(), 0, 0, d.width, s.height, source, s.x, s.y, s.width, s.height,
                      SRCCOPY)) {
        return false;
    }
    for (int y = 0; y < d.height;) {
        int end = y + 1;
        while (end < d.height && rowOf[size_t(end)] == rowOf[size_t(y)]) ++end;
        ::BitBlt(dest, d.x, d.y + y, d.width, 1, across.dc(), 0, rowOf[size_t(y)], SRCCOPY);
        for (int done = 1; y + done < end; done *= 2) {
            const int n = std::min(done, end - y - done);
            ::BitBlt(dest, d.x, d.y + y + done, d.width, n, dest, d.x, d.y + y, SRCCOPY);
        }
        y = end;
    }
    return true;
}

// Below this many destination pixels a piece is stretched in one call.
constexpr int kEnlargeByRowsArea = 64 * 1024;

void Blit(HDC dest, HDC source, const SkinPiece& piece) {
    const BlitBox& d = piece.dest;
    const BlitBox& s = piece.source;
    if (d.width <= 0 || d.height <= 0 || s.width <= 0 || s.height <= 0) return;
    if (piece.stretch && d.width >= s.width && d.height > s.height &&
        d.width * d.height >= kEnlargeByRowsArea && EnlargeByRows(dest, source, d, s)) {
        return;
    }
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

// The skin cache goes before the caption buttons, and destroying their windows asks this
// dialog to erase under them.
CDlgEx::~CDlgEx() { ReleaseWindow(); }

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
    DropSkinCache();
    m_cornerKeys.clear();
    m_regionSize = SIZE{0, 0};
    if (m_background) {
        // The scan at the image's own size tests every pixel it tests at any other size.
        fw::ScopedGetDC screen(nullptr);
        fw::ScopedMemDC dc(screen.get());
        fw::ScopedSelectObject select(dc.get(), m_background.get());
        m_cornerKeys = CornerCutPixels(image.cx, image.cy, image.cx, image.cy, [&](int x, int y) {
            return ::GetPixel(dc.get(), x, y) == kSkinKeyColour;
        });
        std::sort(m_cornerKeys.begin(), m_cornerKeys.end(),
                  [](const IntPoint& a, const IntPoint& b) {
                      return a.y != b.y ? a.y < b.y : a.x < b.x;
                  });
    }

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
    // The region depends on nothing but the size and the background.
    if (m_background && W == m_regionSize.cx && H == m_regionSize.cy) return;
    fw::ScopedRgn region(::CreateRectRgn(0, 0, W, H));
    if (!region) return;
    if (m_background) {
        const SIZE image = BitmapSize(m_background.get());
        const auto isKey = [&](int x, int y) {
            const IntPoint p{x, y};
            return std::binary_search(m_cornerKeys.begin(), m_cornerKeys.end(), p,
                                      [](const IntPoint& a, const IntPoint& b) {
                                          return a.y != b.y ? a.y < b.y : a.x < b.x;
                                      });
        };
        for (const IntPoint& p : CornerCutPixels(W, H, image.cx, image.cy, isKey)) {
            fw::ScopedRgn pixel(::CreateRectRgn(p.x, p.y, p.x + 1, p.y + 1));
            ::CombineRgn(region.get(), region.get(), pixel.get(), RGN_DIFF);
        }
        m_regionSize = SIZE{W, H};
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
    const SIZE image = BitmapSize(m_background.get());
    {
        fw::ScopedMemDC source(dc);
        fw::ScopedSelectObject select(source.get(), m_background.get());
        const int B = m_borderWidth, C = m_captionHeight;
        if (m_stretchBackground) {
            for (const SkinPiece& piece : NinePieces(W, H, image.cx, image.cy, B, C)) {
                Blit(dc, source.get(), piece);
            }
        } else {
            for (const SkinPiece& piece : UnscaledPieces(W, H, image.cx, image.cy, B, C)) {
                Blit(dc, source.get(), piece);
            }
        }
    }

    int iconWidth = 0;
    if (m_showIcon) {
        if (HICON icon = reinterpret_cast<HICON>(SendMessage(WM_GETICON, ICON_SMALL))) {
            const IntPoint at = CaptionIconOrigin(m_borderWidth, m_captionHeight);
            ::DrawIconEx(dc, at.x, at.y, icon, 16, 16, 0, nullptr, DI_NORMAL);
            iconWidth = 16;
        }
    }
    if (m_showTitle) {
        const std::wstring title = GetWindowText();
        fw::ScopedFont font(CreateTitleFont());
        const int saved = ::SaveDC(dc);
        ::SetBkMode(dc, TRANSPARENT);
        ::SetTextColor(dc, m_titleColour);
        if (font) ::SelectObject(dc, font.get());
        const IntPoint at =
            CaptionTitleOrigin(m_borderWidth, m_captionHeight, iconWidth, TitleFontLfHeight());
        ::TextOutW(dc, at.x, at.y, title.c_str(), int(title.size()));
        ::RestoreDC(dc, saved);  // deselects the font before it is deleted
    }
    return TRUE;
}

CDlgEx::SkinCacheKey CDlgEx::CurrentSkinCacheKey() const {
    RECT window = {};
    ::GetWindowRect(m_hWnd, &window);
    return SkinCacheKey{int(window.right - window.left),
                        int(window.bottom - window.top),
                        m_borderWidth,
                        m_captionHeight,
                        m_stretchBackground,
                        m_showIcon,
                        m_showTitle,
                        m_titleColour,
                        m_titleWeight};
}

HDC CDlgEx::SkinCacheDC() {
    if (!m_background || !m_hWnd) return nullptr;
    const SkinCacheKey key = CurrentSkinCacheKey();
    if (m_skinCache && m_skinCacheValid && key == m_skinCacheKey) return m_skinCache->dc();
    m_skinCacheValid = false;
    // A window-sized bitmap costs more to make than to paint: live resizing paints into the
    // one it has while the new size fits and is not much smaller.
    const int width = key.width, height = key.height;
    const bool fits = m_skinCache && m_skinCache->width() >= width &&
                      m_skinCache->height() >= height &&
                      m_skinCache->width() * m_skinCache->height() <= 2 * width * height;
    if (!fits) {
        m_skinCache.reset();
        fw::ScopedGetDC screen(nullptr);
        auto cache = std::make_unique<OffscreenBitmap>(screen.get(), (width + 63) & ~63,
                                                       (height + 63) & ~63);
        if (!*cache) return nullptr;
        m_skinCache = std::move(cache);
    } else if (!m_stretchBackground) {
        // The unscaled pieces leave what they do not cover as a new bitmap is: black.
        ::PatBlt(m_skinCache->dc(), 0, 0, width, height, BLACKNESS);
    }
    if (!PaintSkin(m_skinCache->dc())) return nullptr;
    m_skinCacheKey = key;
    m_skinCacheValid = true;
    return m_skinCache->dc();
}

void CDlgEx::DropSkinCache() { m_skinCacheValid = false; }

BOOL CDlgEx::EraseFromSkinCache(HDC dc) {
    if (!m_background) return FALSE;
    RECT box;
    const int clip = ::GetClipBox(dc, &box);
    if (clip == ERROR) return FALSE;
    if (clip == NULLREGION) return TRUE;
    HDC skin = SkinCacheDC();
    if (!skin) return FALSE;
    // A child's erase arrives with the window origin at the child's place in this window,
    // so its clip box is the piece under the child.
    const RECT all = {0, 0, m_skinCacheKey.width, m_skinCacheKey.height};
    if (!::IntersectRect(&box, &box, &all)) return TRUE;
    ::BitBlt(dc, box.left, box.top, box.right - box.left, box.bottom - box.top, skin, box.left,
             box.top, SRCCOPY);
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
            if (EraseFromSkinCache(reinterpret_cast<HDC>(wParam))) return TRUE;
            break;
        case WM_SETTEXT:
        case WM_SETICON:
        case WM_SETFONT:
            DropSkinCache();  // the title, the icon and its font are part of the skin
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
