#include "fw/DHtmlDialog.h"

namespace fw {

DHtmlDialog::DHtmlDialog(UINT templateId, Wnd* parent) : Dialog(templateId, parent) {}

DHtmlDialog::DHtmlDialog(UINT templateId, HWND parent) : Dialog(templateId, parent) {}

DHtmlDialog::~DHtmlDialog() { DestroyBrowser(); }

BOOL DHtmlDialog::CreateControlSite(BrowserHost* container, BrowserControlSite** out, UINT,
                                    REFCLSID) {
    if (!out) return FALSE;
    *out = new BrowserControlSite(container);
    return TRUE;
}

BOOL DHtmlDialog::OnInitDialog() {
    Dialog::OnInitDialog();
    ComPtr<BrowserControlSite> site;  // the control holds references of its own
    if (CreateControlSite(this, site.Receive(), kBrowserControlId, CLSID_WebBrowser) && site) {
        RECT client;
        ::GetClientRect(m_hWnd, &client);
        m_browser.Create(m_hWnd, client, site.get(), this, kBrowserControlId);
    }
    return TRUE;
}

void DHtmlDialog::DestroyBrowser() {
    if (m_document) {
        m_document->DisconnectEvents();
        m_document.reset();
    }
    if (m_dhtmlSink) {
        m_dhtmlSink->DetachTarget();
        m_dhtmlSink.reset();
    }
    m_browser.Destroy();
}

LRESULT DHtmlDialog::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_SIZE:
            m_browser.FillClientOf(m_hWnd);
            break;
        case WM_DESTROY:
            // The control's window is a child of ours and dies after this message.
            DestroyBrowser();
            break;
    }
    return Dialog::WindowProc(msg, wParam, lParam);
}

BOOL DHtmlDialog::PreTranslateMessage(MSG* msg) {
    if (msg && msg->message >= WM_KEYFIRST && msg->message <= WM_KEYLAST &&
        m_browser.TranslateAccelerator(msg)) {
        return TRUE;
    }
    return Dialog::PreTranslateMessage(msg);
}

HRESULT DHtmlDialog::Navigate(const wchar_t* url, DWORD flags, const wchar_t* targetFrame,
                              const wchar_t* headers, VARIANT* postData) {
    return m_browser.Navigate(url, flags, targetFrame, headers, postData);
}

HRESULT DHtmlDialog::GetHostInfo(DOCHOSTUIINFO* info) {
    if (!info) return E_POINTER;
    info->dwFlags = m_dwHostFlags;
    info->dwDoubleClick = DOCHOSTUIDBLCLK_DEFAULT;
    return S_OK;
}

BOOL DHtmlDialog::CanAccessExternal() { return FALSE; }

BOOL DHtmlDialog::IsExternalDispatchSafe() { return FALSE; }

HRESULT DHtmlDialog::GetExternal(IDispatch** dispatch) {
    if (!dispatch) return E_POINTER;
    *dispatch = nullptr;
    // Without a safe object the page's own zone decides; we only hand out what may be had.
    if (!m_external || !CanAccessExternal() || !IsExternalDispatchSafe()) return S_FALSE;
    *dispatch = m_external.get();
    (*dispatch)->AddRef();
    return S_OK;
}

void DHtmlDialog::OnBrowserBeforeNavigate2(IDispatch* disp, const wchar_t* url, DWORD,
                                           const wchar_t*, VARIANT*, const wchar_t*,
                                           VARIANT_BOOL*) {
    OnBeforeNavigate(disp, url);
}

void DHtmlDialog::OnBrowserNavigateComplete2(IDispatch* disp, const wchar_t* url) {
    OnNavigateComplete(disp, url);
}

void DHtmlDialog::OnBrowserDocumentComplete(IDispatch* disp, const wchar_t* url) {
    OnDocumentComplete(disp, url);
}

void DHtmlDialog::OnBeforeNavigate(IDispatch*, const wchar_t*) {}

namespace {
// A frame of the page completes with its own browser object; only the top one is the page.
bool IsFrameOf(IDispatch* disp, IWebBrowser2* top) {
    if (!disp || !top) return false;
    ComPtr<IUnknown> a, b;
    disp->QueryInterface(IID_IUnknown, a.ReceiveVoid());
    top->QueryInterface(IID_IUnknown, b.ReceiveVoid());
    return a.get() != b.get();
}
}  // namespace

void DHtmlDialog::OnNavigateComplete(IDispatch* disp, const wchar_t*) {
    if (IsFrameOf(disp, Browser())) return;
    HtmlDocumentPtr document = DocumentOf(disp);
    if (!document) return;
    if (m_document) m_document->DisconnectEvents();
    m_document = document;
    size_t count = 0;
    if (GetDhtmlEventMap(&count) && count > 0) {
        if (!m_dhtmlSink) m_dhtmlSink.Attach(new DhtmlEventSink(this));
        m_document->ConnectEvents(m_dhtmlSink.get());
    }
}

void DHtmlDialog::OnDocumentComplete(IDispatch*, const wchar_t*) {}

HtmlDocumentPtr DHtmlDialog::DocumentOf(IDispatch* disp) { return DocumentOfBrowser(disp); }

const DhtmlBinding* DHtmlDialog::GetDhtmlEventMap(size_t* count) {
    if (count) *count = 0;
    return nullptr;
}

HRESULT DHtmlDialog::OnDhtmlEvent(int, const HtmlElementPtr&) { return S_OK; }

}  // namespace fw
