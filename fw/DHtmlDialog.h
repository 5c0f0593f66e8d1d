// A dialog that is a web page: the WebBrowser control over the whole client area, its events,
// and the page's DHTML element events bound through a table (fw/DhtmlMatch.h).
#pragma once
#include <windows.h>
#include <exdisp.h>

#include "fw/BrowserControl.h"
#include "fw/Dialog.h"
#include "fw/HtmlDom.h"

namespace fw {

class DHtmlDialog : public Dialog,
                    public BrowserHost,
                    public BrowserEventHandler,
                    public DhtmlEventTarget {
public:
    // The browser control's child-window id.
    static constexpr UINT kBrowserControlId = 102;

    DHtmlDialog(UINT templateId, Wnd* parent = nullptr);
    DHtmlDialog(UINT templateId, HWND parent);
    ~DHtmlDialog() override;

    // Creates the browser over the client area; TRUE (focus to the first control).
    BOOL OnInitDialog() override;
    // Resizes the browser with the dialog and tears it down at WM_DESTROY.
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    // Keyboard messages go to the browser's accelerators first.
    BOOL PreTranslateMessage(MSG* msg) override;

    // Makes the control site of the browser; FALSE when out is null or nothing was made.
    virtual BOOL CreateControlSite(BrowserHost* container, BrowserControlSite** out, UINT id,
                                   REFCLSID clsid);

    IWebBrowser2* Browser() const { return m_browser.Browser(); }
    HWND BrowserWindow() const { return m_browser.Window(); }
    HRESULT Navigate(const wchar_t* url, DWORD flags = 0, const wchar_t* targetFrame = nullptr,
                     const wchar_t* headers = nullptr, VARIANT* postData = nullptr);

    // DOCHOSTUIFLAG_* that GetHostInfo reports; no 3-D border and no scroll bars by default.
    DWORD m_dwHostFlags = 0x4 | 0x8;

    // BrowserHost
    HWND BrowserHostWindow() const override { return m_hWnd; }
    HRESULT GetHostInfo(DOCHOSTUIINFO* info) override;
    HRESULT GetExternal(IDispatch** dispatch) override;
    // Whether page script may reach the external object, and without the zone check.
    virtual BOOL CanAccessExternal();
    virtual BOOL IsExternalDispatchSafe();
    void SetExternalDispatch(IDispatch* external) { m_external = ComPtr<IDispatch>(external); }

    // The browser's events, as the framework handles them: a completed navigation keeps the
    // page's document and binds its DHTML events, then calls OnNavigateComplete.
    void OnBrowserBeforeNavigate2(IDispatch* disp, const wchar_t* url, DWORD flags,
                                  const wchar_t* targetFrame, VARIANT* postData,
                                  const wchar_t* headers, VARIANT_BOOL* cancel) override;
    void OnBrowserNavigateComplete2(IDispatch* disp, const wchar_t* url) override;
    void OnBrowserDocumentComplete(IDispatch* disp, const wchar_t* url) override;

    virtual void OnBeforeNavigate(IDispatch* disp, const wchar_t* url);
    virtual void OnNavigateComplete(IDispatch* disp, const wchar_t* url);
    virtual void OnDocumentComplete(IDispatch* disp, const wchar_t* url);

    // DhtmlEventTarget: no bindings unless a subclass has some.
    const DhtmlBinding* GetDhtmlEventMap(size_t* count) override;
    HRESULT OnDhtmlEvent(int handler, const HtmlElementPtr& source) override;

    const HtmlDocumentPtr& Document() const { return m_document; }

protected:
    // The document of a completed navigation.
    virtual HtmlDocumentPtr DocumentOf(IDispatch* disp);
    BrowserControl& Control() { return m_browser; }

private:
    void DestroyBrowser();

    BrowserControl m_browser;
    ComPtr<DhtmlEventSink> m_dhtmlSink;
    HtmlDocumentPtr m_document;
    ComPtr<IDispatch> m_external;
};

}  // namespace fw
