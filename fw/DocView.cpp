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

BOOL FrameWnd::LoadFrame(UINT resourceId, DWORD style, HWND parent, CreateContext* context) {
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
    cs.hwndParent = parent;
    cs.lpszName = title;
    cs.style = style;
    cs.x = cs.y = cs.cx = cs.cy = CW_USEDEFAULT;
    if (::FindResourceW(instance, MAKEINTRESOURCEW(resourceId), RT_MENU)) {
        cs.hMenu = ::LoadMenuW(instance, MAKEINTRESOURCEW(resourceId));
    }
    HMENU loaded = cs.hMenu;
    // PreCreateWindow may drop the menu: it is ours to destroy then.
    const BOOL ready = PreCreateWindow(cs);
    if (loaded && cs.hMenu != loaded) ::DestroyMenu(loaded);
    if (!ready) {
        if (cs.hMenu == loaded && loaded) ::DestroyMenu(loaded);
        return FALSE;
    }
    m_context = context;
    const BOOL created = CreateFromStruct(*this, cs);
    m_context = nullptr;
    if (!created && cs.hMenu) ::DestroyMenu(cs.hMenu);
    return created;
}

int FrameWnd::OnCreate(CREATESTRUCTW*) {
    if (!m_context || !m_context->newView) return 0;
    std::unique_ptr<View> view = m_context->newView();
    if (!view || !view->Create(m_hWnd, m_context->document)) return -1;
    m_view = std::move(view);
    return 0;
}

BOOL FrameWnd::PreTranslateMessage(MSG* msg) {
    if (msg && msg->message >= WM_KEYFIRST && msg->message <= WM_KEYLAST && m_view &&
        m_view->TranslateViewAccelerator(msg)) {
        return TRUE;
    }
    return Wnd::PreTranslateMessage(msg);
}

void FrameWnd::InitialUpdateFrame(Document*, BOOL makeVisible) {
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

SingleDocTemplate::SingleDocTemplate(UINT resourceId,
                                     std::function<std::unique_ptr<Document>()> newDocument,
                                     std::function<std::unique_ptr<FrameWnd>()> newFrame,
                                     std::function<std::unique_ptr<View>()> newView)
    : m_resourceId(resourceId),
      m_newDocument(std::move(newDocument)),
      m_newFrame(std::move(newFrame)),
      m_newView(std::move(newView)) {}

SingleDocTemplate::~SingleDocTemplate() { Close(); }

Document* SingleDocTemplate::OpenNewDocument(BOOL makeVisible) {
    if (m_frame || !m_newDocument || !m_newFrame) return nullptr;
    std::unique_ptr<Document> document = m_newDocument();
    if (!document || !document->OnNewDocument()) return nullptr;
    std::unique_ptr<FrameWnd> frame = m_newFrame();
    if (!frame) return nullptr;
    CreateContext context;
    context.document = document.get();
    context.newView = m_newView;
    if (!frame->LoadFrame(m_resourceId, WS_OVERLAPPEDWINDOW, nullptr, &context)) return nullptr;
    m_document = std::move(document);
    m_frame = std::move(frame);
    m_frame->InitialUpdateFrame(m_document.get(), makeVisible);
    return m_document.get();
}

void SingleDocTemplate::Close() {
    if (m_frame) {
        m_frame->DestroyWindow();
        m_frame.reset();
    }
    m_document.reset();
}

}  // namespace fw
