// The WebBrowser control's DWebBrowserEvents2, delivered to C++ virtuals: an IDispatch sink
// whose Invoke dispatches by DISPID and unpacks the arguments.
#pragma once
#include <windows.h>
#include <ole2.h>
#include <ocidl.h>

#include "fw/EventSink.h"
#include "fw/Raii.h"

namespace fw {

// The events we use. Texts are never null (an absent argument is ""); a cancel flag is the
// browser's own: leave it alone to keep the browser's choice.
class BrowserEventHandler {
public:
    virtual void OnBrowserBeforeNavigate2(IDispatch* disp, const wchar_t* url, DWORD flags,
                                          const wchar_t* targetFrame, VARIANT* postData,
                                          const wchar_t* headers, VARIANT_BOOL* cancel) {}
    virtual void OnBrowserNavigateComplete2(IDispatch* disp, const wchar_t* url) {}
    virtual void OnBrowserDocumentComplete(IDispatch* disp, const wchar_t* url) {}
    virtual void OnBrowserNavigateError(IDispatch* disp, const wchar_t* url,
                                        const wchar_t* targetFrame, LONG statusCode,
                                        VARIANT_BOOL* cancel) {}
    virtual void OnBrowserTitleChange(const wchar_t* text) {}

protected:
    ~BrowserEventHandler() = default;
};

class BrowserEventSink final : public EventSink {
public:
    // One reference, the creator's.
    explicit BrowserEventSink(BrowserEventHandler* handler);

    // Advises the browser's DWebBrowserEvents2 connection point; once only.
    HRESULT Connect(IUnknown* browser);
    // Unadvises and forgets the handler: events that are still under way find nobody.
    void Disconnect();

    static LONG LiveCount();

    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID lcid, WORD flags,
                                     DISPPARAMS* params, VARIANT* result, EXCEPINFO* exception,
                                     UINT* argError) override;

private:
    BrowserEventHandler* m_handler;
    ComPtr<IConnectionPoint> m_point;
    DWORD m_cookie = 0;
};

// Helpers for dispatch arguments, which the browser passes by value or by reference.
// A string argument's text, or "" when it is not a string.
const wchar_t* VariantText(const VARIANT* v);
LONG VariantLong(const VARIANT* v);
IDispatch* VariantDispatch(const VARIANT* v);
VARIANT_BOOL* VariantBoolRef(VARIANT* v);

}  // namespace fw
