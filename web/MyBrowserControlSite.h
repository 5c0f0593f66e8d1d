// The control site of our web dialogs: the framework's site plus IDocHostShowUI, so that the
// browser's script message boxes and help can go to the dialog.
#pragma once
#include <windows.h>
#include <mshtmhst.h>

#include "fw/BrowserSite.h"

namespace vorel {

class CMyBrowserControlSite : public fw::BrowserControlSite, public IDocHostShowUI {
public:
    // container: the dialog that hosts the browser (its CDHtmDlgEx, if it is one, gets the
    // message boxes).
    explicit CMyBrowserControlSite(fw::BrowserHost* container);

    // The IDocHostShowUI part answers for the handler part: one object, one identity.
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    HRESULT STDMETHODCALLTYPE ShowMessage(HWND wnd, LPOLESTR text, LPOLESTR caption, DWORD type,
                                          LPOLESTR helpFile, DWORD helpContext,
                                          LRESULT* result) override;
    HRESULT STDMETHODCALLTYPE ShowHelp(HWND wnd, LPOLESTR helpFile, UINT command, DWORD data,
                                       POINT mouse, IDispatch* hit) override;

protected:
    ~CMyBrowserControlSite() override = default;
    IUnknown* GetInterfaceHook(REFIID iid) override;
};

}  // namespace vorel
