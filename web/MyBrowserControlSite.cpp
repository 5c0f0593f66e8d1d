#include "web/MyBrowserControlSite.h"

#include "web/DHtmDlgEx.h"

namespace vorel {

CMyBrowserControlSite::CMyBrowserControlSite(fw::BrowserHost* container)
    : fw::BrowserControlSite(container) {}

IUnknown* CMyBrowserControlSite::GetInterfaceHook(REFIID iid) {
    if (IsEqualIID(iid, fw::kIID_IDocHostShowUI)) return static_cast<IDocHostShowUI*>(this);
    return fw::BrowserControlSite::GetInterfaceHook(iid);
}

HRESULT CMyBrowserControlSite::QueryInterface(REFIID iid, void** out) {
    return fw::BrowserControlSite::QueryInterface(iid, out);
}

ULONG CMyBrowserControlSite::AddRef() { return fw::BrowserControlSite::AddRef(); }

ULONG CMyBrowserControlSite::Release() { return fw::BrowserControlSite::Release(); }

HRESULT CMyBrowserControlSite::ShowMessage(HWND wnd, LPOLESTR text, LPOLESTR caption, DWORD type,
                                           LPOLESTR helpFile, DWORD helpContext, LRESULT* result) {
    if (auto* dialog = dynamic_cast<CDHtmDlgEx*>(Host())) {
        return dialog->ShowMessage(wnd, text, caption, type, helpFile, helpContext, result);
    }
    return S_OK;
}

HRESULT CMyBrowserControlSite::ShowHelp(HWND wnd, LPOLESTR helpFile, UINT command, DWORD data,
                                        POINT mouse, IDispatch* hit) {
    if (auto* dialog = dynamic_cast<CDHtmDlgEx*>(Host())) {
        return dialog->ShowHelp(wnd, helpFile, command, data, mouse, hit);
    }
    return S_OK;
}

}  // namespace vorel
