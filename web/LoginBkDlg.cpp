#include "web/LoginBkDlg.h"

#include <gdiplus.h>

#include <cstring>

#include "app/Ambrel3App.h"
#include "res/resource.h"

namespace vorel {

namespace {
// A login whose main window has gone ends as if it had been cancelled. Looked for twice a
// second: with the login browser's teardown, the process is gone within a second.
constexpr UINT_PTR kParentWatchTimer = 1;
constexpr UINT kParentWatchMs = 500;
}  // namespace

CLoginBkDlg::CLoginBkDlg(HWND parent, int tabNumber, const std::wstring& loginUrl)
    : fw::Dialog(IDD_LOGIN, parent),
      m_parentMainWindow(parent),
      m_login(loginUrl, this, LoginTarget{parent, tabNumber}) {}

// The image reads from the stream until it goes: image first.
CLoginBkDlg::~CLoginBkDlg() {
    m_image.reset();
    m_stream.reset();
}

bool CLoginBkDlg::LoadPicture() {
    fw::App* app = fw::App::Current();
    HMODULE module = app ? app->Instance() : ::GetModuleHandleW(nullptr);
    HRSRC info = ::FindResourceW(module, MAKEINTRESOURCEW(IDP_LOGIN_BACKGROUND), L"PNG");
    HGLOBAL loaded = info ? ::LoadResource(module, info) : nullptr;
    const void* bytes = loaded ? ::LockResource(loaded) : nullptr;
    const DWORD size = info ? ::SizeofResource(module, info) : 0;
    if (!bytes || size == 0) return false;

    fw::ScopedGlobal copy(::GlobalAlloc(GMEM_MOVEABLE, size));
    if (!copy) return false;
    void* target = ::GlobalLock(copy.get());
    if (!target) return false;
    std::memcpy(target, bytes, size);
    ::GlobalUnlock(copy.get());
    // The stream frees the block when it goes.
    if (FAILED(::CreateStreamOnHGlobal(copy.get(), TRUE, m_stream.Receive()))) return false;
    copy.release();

    m_image.reset(Gdiplus::Bitmap::FromStream(m_stream.get()));
    if (!m_image || m_image->GetLastStatus() != Gdiplus::Ok) {
        m_image.reset();
        return false;
    }
    m_width = static_cast<int>(m_image->GetWidth());
    m_height = static_cast<int>(m_image->GetHeight());
    return m_width > 0 && m_height > 0;
}

void CLoginBkDlg::PaintLayered() {
    fw::ScopedGetDC screen(nullptr);
    fw::ScopedMemDC memory(screen.get());
    // A top-down 32-bit DIB: the picture's alpha survives, premultiplied as the system wants.
    BITMAPINFO bmi = {};
    bmi.bmiHeader.biSize = sizeof(bmi.bmiHeader);
    bmi.bmiHeader.biWidth = m_width;
    bmi.bmiHeader.biHeight = -m_height;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    bmi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    fw::ScopedBitmap bitmap(
        ::CreateDIBSection(screen.get(), &bmi, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!memory || !bitmap || !bits) return;
    fw::ScopedSelectObject select(memory.get(), bitmap.get());
    {
        Gdiplus::Bitmap canvas(m_width, m_height, m_width * 4, PixelFormat32bppPARGB,
                               static_cast<BYTE*>(bits));
        Gdiplus::Graphics graphics(&canvas);
        graphics.Clear(Gdiplus::Color(0, 0, 0, 0));
        graphics.DrawImage(m_image.get(), 0, 0, m_width, m_height);
    }
    if (!(GetExStyle() & WS_EX_LAYERED)) ModifyStyleEx(0, WS_EX_LAYERED);
    RECT window;
    GetWindowRect(&window);
    POINT position = {window.left, window.top};
    SIZE size = {m_width, m_height};
    POINT source = {0, 0};
    BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    ::UpdateLayeredWindow(m_hWnd, screen.get(), &position, &size, memory.get(), &source, 0, &blend,
                          ULW_ALPHA);
}

BOOL CLoginBkDlg::OnInitDialog() {
    fw::Dialog::OnInitDialog();
    SetWindowText(kProductTitle);
    if (LoadPicture()) PaintLayered();
    m_login.Create(m_hWnd);
    ModifyStyle(0, WS_MINIMIZEBOX);
    SetTimer(kParentWatchTimer, kParentWatchMs);
    return FALSE;
}

LRESULT CLoginBkDlg::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_TIMER:
            if (wParam != kParentWatchTimer) break;
            if (!::IsWindow(m_parentMainWindow)) {
                KillTimer(kParentWatchTimer);
                EndDialog(IDCANCEL);
            }
            return 0;
        case WM_LBUTTONDOWN: {
            const LRESULT result = DefWindowProc(msg, wParam, lParam);
            SendMessage(WM_NCLBUTTONDOWN, HTCAPTION, lParam);
            return result;
        }
        case WM_WINDOWPOSCHANGED: {
            const LRESULT result = DefWindowProc(msg, wParam, lParam);
            if (m_login.IsWindow()) {
                RECT window;
                GetWindowRect(&window);
                m_login.MoveWindow(window.left, window.top - kPageRaise, window.right - window.left,
                                   window.bottom - window.top, TRUE);
            }
            return result;
        }
    }
    return fw::Dialog::WindowProc(msg, wParam, lParam);
}

BOOL CLoginBkDlg::PreTranslateMessage(MSG* msg) {
    if (msg->message == WM_KEYDOWN && msg->wParam == VK_RETURN) return TRUE;
    return fw::Dialog::PreTranslateMessage(msg);
}

}  // namespace vorel
