#include "fw/DocView.h"

#include "fw/App.h"

namespace fw {

namespace {
const wchar_t kFrameClass[] = L"fw.FrameWnd";
const wchar_t kViewClass[] = L"fw.View";

HINSTANCE Instance() {
    App* app = App::Current();
    return app ? app->Instance() : ::GetModuleHandleW(nullptr);
}

BOOL CreateFromStruct(Wnd& wnd, const CREATESTRUCTW& cs) {
    return wnd.CreateEx(cs.dwExStyle, cs.lpszClass, cs.lpszName, cs.style, cs.x, cs.y, cs.cx, cs.cy,
                        cs.hwndParent, cs.hMenu, cs.hInstance);
}
}  // namespace

BOOL View::PreCreateWindow(CREATESTRUCTW& cs) {
    if (!Wnd::RegisterClassOnce(kViewClass, CS_DBLCLKS)) return FALSE;
    cs.lpszClass = kViewClass;
    return TRUE;
}

BOOL View::Create(HWND frame, Document* document, UINT id) {
    m_document = document;
    RECT client = {0, 0, 0, 0};
    ::GetClientRect(frame, &client);
    CREATESTRUCTW cs = {};
    cs.hInstance = Instance();
    cs.hwndParent = frame;
    cs.hMenu = reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id));
    cs.style = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
    cs.dwExStyle = WS_EX_CLIENTEDGE;
    cs.cx = client.right;
    cs.cy = client.bottom;
    if (!PreCreateWindow(cs)) return FALSE;
    return CreateFromStruct(*this, cs);
}

int View::OnCreate(CREATESTRUCTW*) { return 0; }

LRESULT View::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_CREATE) {
        if (OnCreate(reinterpret_cast<CREATESTRUCTW*>(lParam)) == -1) return -1;
        return 0;
    }
    return Wnd::WindowProc(msg, wParam, lParam);
}

BOOL FrameWnd::PreCreateWindow(CREATESTRUCTW& cs) {
    HICON icon = ::LoadIconW(cs.hInstance, MAKEINTRESOURCEW(m_resourceId));
    if (!icon) icon = ::LoadIconW(nullptr, IDI_APPLICATION);
    if (!Wnd::RegisterClassOnce(kFrameClass, CS_DBLCLKS, nullptr, icon, icon)) return FALSE;
    cs.lpszClass = kFrameClass;
    cs.dwExStyle |= WS_EX_CLIENTEDGE;
    return TRUE;
}

BOOL FrameWnd::LoadFrame(UINT resourceId, DWORD style, Document* document,
                         std::unique_ptr<View> view) {
    m_resourceId = resourceId;
    wchar_t title[256] = L"";
    HINSTANCE instance = Instance();
    ::LoadStringW(instance, resourceId, title, 256);
    // The string's first "\n"-separated part is the window title.
    for (wchar_t* p = title; *p; ++p) {
        if (*p == L'\n') {
            *p = L'\0';
            break;
        }
    }
    CREATESTRUCTW cs = {};
    cs.hInstance = instance;
    cs.lpszName = title;
    cs.style = style;
    cs.x = cs.y = cs.cx = cs.cy = CW_USEDEFAULT;
    if (!PreCreateWindow(cs)) return FALSE;
    m_document = document;
    m_view = std::move(view);
    if (CreateFromStruct(*this, cs)) return TRUE;
    m_view.reset();
    return FALSE;
}

int FrameWnd::OnCreate(CREATESTRUCTW*) {
    if (!m_view) return 0;
    return m_view->Create(m_hWnd, m_document) ? 0 : -1;
}

BOOL FrameWnd::PreTranslateMessage(MSG* msg) {
    if (msg && msg->message >= WM_KEYFIRST && msg->message <= WM_KEYLAST && m_view &&
        m_view->TranslateViewAccelerator(msg)) {
        return TRUE;
    }
    return Wnd::PreTranslateMessage(msg);
}

void FrameWnd::InitialUpdateFrame(BOOL makeVisible) {
    if (m_view) m_view->OnInitialUpdate();
    if (makeVisible) {
        ::ShowWindow(m_hWnd, SW_SHOW);
        ::UpdateWindow(m_hWnd);
    }
}

LRESULT FrameWnd::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_CREATE:
            return OnCreate(reinterpret_cast<CREATESTRUCTW*>(lParam)) == -1 ? -1 : 0;
        case WM_SIZE:
            if (m_view && m_view->m_hWnd) {
                RECT client;
                ::GetClientRect(m_hWnd, &client);
                ::MoveWindow(m_view->m_hWnd, 0, 0, client.right, client.bottom, TRUE);
            }
            break;
        case WM_SETFOCUS:
            if (m_view && m_view->m_hWnd) {
                ::SetFocus(m_view->m_hWnd);
                return 0;
            }
            break;
    }
    return Wnd::WindowProc(msg, wParam, lParam);
}

BOOL SingleDocWindow::Open(UINT resourceId, std::unique_ptr<Document> document,
                           std::unique_ptr<FrameWnd> frame, std::unique_ptr<View> view,
                           BOOL makeVisible) {
    if (m_frame || !document || !frame || !document->OnNewDocument()) return FALSE;
    if (!frame->LoadFrame(resourceId, WS_OVERLAPPEDWINDOW, document.get(), std::move(view))) {
        return FALSE;
    }
    m_document = std::move(document);
    m_frame = std::move(frame);
    m_frame->InitialUpdateFrame(makeVisible);
    return TRUE;
}

void SingleDocWindow::Close() {
    if (m_frame) {
        m_frame->DestroyWindow();
        m_frame.reset();
    }
    m_document.reset();
}

}  // namespace fw
