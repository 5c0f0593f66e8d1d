// A view that is a web browser: the WebBrowser control over the view's client area, with the
// browser's events and host questions as virtuals of the view.
#pragma once
#include <windows.h>
#include <exdisp.h>

#include "fw/BrowserControl.h"
#include "fw/DocView.h"

namespace fw {

class HtmlView : public View, public BrowserHost, public BrowserEventHandler {
public:
    static constexpr UINT kBrowserControlId = 102;

    ~HtmlView() override;

    IWebBrowser2* GetBrowser() const { return m_browser.Browser(); }
    HRESULT Navigate2(const wchar_t* url, DWORD flags = 0, const wchar_t* targetFrame = nullptr,
                      const wchar_t* headers = nullptr, VARIANT* postData = nullptr);
    virtual HRESULT Refresh();

    // Creates the browser; -1 when it cannot be made.
    int OnCreate(CREATESTRUCTW* cs) override;
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    // The browser's own keys (Tab between page elements, Enter in forms...), after the
    // frame's rules: the frame decides first what F5 and the hotkeys do.
    BOOL TranslateViewAccelerator(MSG* msg) override;

    // The host's questions.
    virtual HRESULT OnGetHostInfo(DOCHOSTUIINFO* info);
    virtual HRESULT OnShowContextMenu(DWORD id, POINT* point, IUnknown* commandTarget,
                                      IDispatch* object);
    virtual BOOL CreateControlSite(BrowserControlSite** out);

    // The browser's events.
    virtual void OnBeforeNavigate2(const wchar_t* url, DWORD flags, const wchar_t* targetFrame,
                                   VARIANT* postData, const wchar_t* headers, BOOL* cancel);
    virtual void OnNavigateComplete2(const wchar_t* url);
    virtual void OnDocumentComplete(const wchar_t* url);
    virtual void OnNavigateError(const wchar_t* url, const wchar_t* targetFrame, LONG status,
                                 BOOL* cancel);
    virtual void OnTitleChange(const wchar_t* text);

    // BrowserHost
    HWND BrowserHostWindow() const override { return m_hWnd; }
    HRESULT GetHostInfo(DOCHOSTUIINFO* info) override { return OnGetHostInfo(info); }
    HRESULT ShowContextMenu(DWORD id, POINT* point, IUnknown* commandTarget,
                            IDispatch* object) override {
        return OnShowContextMenu(id, point, commandTarget, object);
    }

    // BrowserEventHandler
    void OnBrowserBeforeNavigate2(IDispatch* disp, const wchar_t* url, DWORD flags,
                                  const wchar_t* targetFrame, VARIANT* postData,
                                  const wchar_t* headers, VARIANT_BOOL* cancel) override;
    void OnBrowserNavigateComplete2(IDispatch* disp, const wchar_t* url) override;
    void OnBrowserDocumentComplete(IDispatch* disp, const wchar_t* url) override;
    void OnBrowserNavigateError(IDispatch* disp, const wchar_t* url, const wchar_t* targetFrame,
                                LONG statusCode, VARIANT_BOOL* cancel) override;
    void OnBrowserTitleChange(const wchar_t* text) override;

private:
    BrowserControl m_browser;
};

}  // namespace fw
