// One WebBrowser control, in-place active in a host window: created with a client site and an
// event handler, sized with the host, and torn down so that no reference outlives the host.
#pragma once
#include <windows.h>
#include <exdisp.h>

#include "fw/BrowserEvents.h"
#include "fw/BrowserSite.h"
#include "fw/Raii.h"

namespace fw {

class BrowserControl {
public:
    BrowserControl() = default;
    ~BrowserControl() { Destroy(); }
    BrowserControl(const BrowserControl&) = delete;
    BrowserControl& operator=(const BrowserControl&) = delete;

    // Creates the control inside parent over rect, with `site` as its client site (the
    // control takes its own references; the caller keeps its own) and events going to
    // `events` (may be null). The control's window gets the id controlId.
    HRESULT Create(HWND parent, const RECT& rect, BrowserControlSite* site,
                   BrowserEventHandler* events, UINT controlId);
    // Unadvises the events, deactivates and closes the control and lets go of the site.
    // Safe to call more than once.
    void Destroy();

    bool IsCreated() const { return static_cast<bool>(m_browser); }
    IWebBrowser2* Browser() const { return m_browser.get(); }
    BrowserControlSite* Site() const { return m_site.get(); }
    // The control's own window, a child of the parent.
    HWND Window() const;

    void Move(const RECT& rect);
    // Makes the control cover the client area of `parent`; nothing before it is created.
    void FillClientOf(HWND parent);
    // Keys for the control's accelerators (Tab between page elements, Enter in forms...);
    // TRUE when the control used the message.
    BOOL TranslateAccelerator(MSG* msg);

    HRESULT Navigate(const wchar_t* url, DWORD flags = 0, const wchar_t* targetFrame = nullptr,
                     const wchar_t* headers = nullptr, VARIANT* postData = nullptr);

private:
    ComPtr<IOleObject> m_object;
    ComPtr<IWebBrowser2> m_browser;
    ComPtr<BrowserControlSite> m_site;
    ComPtr<BrowserEventSink> m_sink;
};

}  // namespace fw
