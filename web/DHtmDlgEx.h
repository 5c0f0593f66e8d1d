// The dialog base of our windows that are a web page and nothing else: a silent browser
// without border, selection, context menu or error pages, scroll bars only where a page
// overflows, "app:" navigations never loaded, the window dragged by its page background, and
// page elements of class "button" shown as three-frame image buttons.
#pragma once
#include <windows.h>

#include "fw/DHtmlDialog.h"

namespace vorel {

class CDHtmDlgEx : public fw::DHtmlDialog {
public:
    CDHtmDlgEx(UINT templateId, HWND parent);
    ~CDHtmDlgEx() override;

    // The release of an image-button press: WM_LBUTTONUP and WM_RBUTTONUP while we hold the
    // mouse capture.
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    BOOL CreateControlSite(fw::BrowserHost* container, fw::BrowserControlSite** out, UINT id,
                           REFCLSID clsid) override;
    // The framework's, then a silent browser.
    BOOL OnInitDialog() override;
    // Enter never closes the dialog.
    void OnOK() override;
    BOOL CanAccessExternal() override;
    BOOL IsExternalDispatchSafe() override;
    // The framework's, then "auto" scroll bars on the page's body.
    void OnNavigateComplete(IDispatch* disp, const wchar_t* url) override;
    HRESULT ShowContextMenu(DWORD id, POINT* point, IUnknown* commandTarget,
                            IDispatch* object) override;
    HRESULT GetHostInfo(DOCHOSTUIINFO* info) override;

    // Cancels, so that the browser shows no error page of its own.
    virtual void OnNavigateError(IDispatch* disp, const wchar_t* url, const wchar_t* targetFrame,
                                 LONG statusCode, VARIANT_BOOL* cancel);
    // The browser's script message boxes and help: S_FALSE lets the browser show its own.
    virtual HRESULT ShowMessage(HWND wnd, LPOLESTR text, LPOLESTR caption, DWORD type,
                                LPOLESTR helpFile, DWORD helpContext, LRESULT* result);
    virtual HRESULT ShowHelp(HWND wnd, LPOLESTR helpFile, UINT command, DWORD data, POINT mouse,
                             IDispatch* hit);

    // Browser events: the command-scheme filter in place of the framework's before-navigate
    // processing, and the error cancel.
    void OnBrowserBeforeNavigate2(IDispatch* disp, const wchar_t* url, DWORD flags,
                                  const wchar_t* targetFrame, VARIANT* postData,
                                  const wchar_t* headers, VARIANT_BOOL* cancel) override;
    void OnBrowserNavigateError(IDispatch* disp, const wchar_t* url, const wchar_t* targetFrame,
                                LONG statusCode, VARIANT_BOOL* cancel) override;

    const fw::DhtmlBinding* GetDhtmlEventMap(size_t* count) override;
    HRESULT OnDhtmlEvent(int handler, const fw::HtmlElementPtr& source) override;

    // The DHTML handlers; each answers S_FALSE.
    HRESULT OnButtonMouseOut(const fw::HtmlElementPtr& element);
    HRESULT OnButtonMouseOver(const fw::HtmlElementPtr& element);
    HRESULT OnButtonMouseDown(const fw::HtmlElementPtr& element);
    HRESULT OnButtonMouseUp(const fw::HtmlElementPtr& element);
    // Drag messages: sent to ourselves with HTCAPTION and the cursor's screen position.
    HRESULT OnDragMouse(UINT ncMessage);

    const fw::HtmlElementPtr& PressedElement() const { return m_pressed; }

protected:
    bool HoldsCapture() const;

private:
    void ShowNormalFrame(const fw::HtmlElementPtr& element);
    void ShowHoverFrame(const fw::HtmlElementPtr& element);

    // The element on which a press is in progress.
    fw::HtmlElementPtr m_pressed;
};

}  // namespace vorel
