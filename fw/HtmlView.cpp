#include "fw/HtmlView.h"

#include <functional>

namespace fw {

namespace {
// The browser's flag in and out of a handler that works with BOOL.
void CallWithCancel(VARIANT_BOOL* cancel, const std::function<void(BOOL*)>& call) {
    BOOL value = cancel && *cancel ? TRUE : FALSE;
    call(&value);
    if (cancel) *cancel = value ? VARIANT_TRUE : VARIANT_FALSE;
}
}  // namespace

HtmlView::~HtmlView() { m_browser.Destroy(); }

BOOL HtmlView::CreateControlSite(BrowserControlSite** out) {
    if (!out) return FALSE;
    *out = new BrowserControlSite(this);
    return TRUE;
}

int HtmlView::OnCreate(CREATESTRUCTW* cs) {
    if (View::OnCreate(cs) == -1) return -1;
    ComPtr<BrowserControlSite> site;  // the control holds references of its own
    if (!CreateControlSite(site.Receive()) || !site) return -1;
    RECT client = {0, 0, cs ? cs->cx : 0, cs ? cs->cy : 0};
    const HRESULT hr = m_browser.Create(m_hWnd, client, site.get(), this, kBrowserControlId);
    return SUCCEEDED(hr) ? 0 : -1;
}

LRESULT HtmlView::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_SIZE:
            m_browser.FillClientOf(m_hWnd);
            break;
        case WM_DESTROY:
            m_browser.Destroy();
            break;
        case WM_ERASEBKGND:
            // The browser covers everything.
            return 1;
    }
    return View::WindowProc(msg, wParam, lParam);
}

BOOL HtmlView::TranslateViewAccelerator(MSG* msg) { return m_browser.TranslateAccelerator(msg); }

HRESULT HtmlView::Navigate2(const wchar_t* url, DWORD flags, const wchar_t* targetFrame,
                            const wchar_t* headers, VARIANT* postData) {
    return m_browser.Navigate(url, flags, targetFrame, headers, postData);
}

HRESULT HtmlView::Refresh() {
    IWebBrowser2* browser = m_browser.Browser();
    return browser ? browser->Refresh() : E_UNEXPECTED;
}

HRESULT HtmlView::OnGetHostInfo(DOCHOSTUIINFO*) { return S_OK; }

HRESULT HtmlView::OnShowContextMenu(DWORD, POINT*, IUnknown*, IDispatch*) { return S_FALSE; }

void HtmlView::OnBeforeNavigate2(const wchar_t*, DWORD, const wchar_t*, VARIANT*, const wchar_t*,
                                 BOOL*) {}
void HtmlView::OnNavigateComplete2(const wchar_t*) {}
void HtmlView::OnDocumentComplete(const wchar_t*) {}
void HtmlView::OnNavigateError(const wchar_t*, const wchar_t*, LONG, BOOL*) {}
void HtmlView::OnTitleChange(const wchar_t*) {}

void HtmlView::OnBrowserBeforeNavigate2(IDispatch*, const wchar_t* url, DWORD flags,
                                        const wchar_t* targetFrame, VARIANT* postData,
                                        const wchar_t* headers, VARIANT_BOOL* cancel) {
    CallWithCancel(
        cancel, [&](BOOL* c) { OnBeforeNavigate2(url, flags, targetFrame, postData, headers, c); });
}

void HtmlView::OnBrowserNavigateComplete2(IDispatch*, const wchar_t* url) {
    OnNavigateComplete2(url);
}

void HtmlView::OnBrowserDocumentComplete(IDispatch*, const wchar_t* url) {
    OnDocumentComplete(url);
}

void HtmlView::OnBrowserNavigateError(IDispatch*, const wchar_t* url, const wchar_t* targetFrame,
                                      LONG statusCode, VARIANT_BOOL* cancel) {
    CallWithCancel(cancel, [&](BOOL* c) { OnNavigateError(url, targetFrame, statusCode, c); });
}

void HtmlView::OnBrowserTitleChange(const wchar_t* text) { OnTitleChange(text); }

}  // namespace fw
