#include "fw/BrowserSite.h"

namespace fw {

const IID kIID_IDocHostShowUI = {
    0xc4d244b0, 0xd43e, 0x11cf, {0x89, 0x3b, 0x00, 0xaa, 0x00, 0xbd, 0xce, 0x1a}};
const IID kDIID_HTMLDocumentEvents2 = {
    0x3050f613, 0x98b5, 0x11cf, {0xbb, 0x82, 0x00, 0xaa, 0x00, 0xbd, 0xce, 0x0b}};

namespace {
LONG g_liveSites = 0;
}

HRESULT BrowserHost::GetHostInfo(DOCHOSTUIINFO*) { return S_OK; }

HRESULT BrowserHost::ShowContextMenu(DWORD, POINT*, IUnknown*, IDispatch*) { return S_FALSE; }

HRESULT BrowserHost::GetExternal(IDispatch** dispatch) {
    if (dispatch) *dispatch = nullptr;
    return S_FALSE;
}

BrowserControlSite::BrowserControlSite(BrowserHost* host) : m_host(host) {
    InterlockedIncrement(&g_liveSites);
}

BrowserControlSite::~BrowserControlSite() { InterlockedDecrement(&g_liveSites); }

LONG BrowserControlSite::LiveCount() { return g_liveSites; }

IUnknown* BrowserControlSite::GetInterfaceHook(REFIID) { return nullptr; }

HRESULT BrowserControlSite::QueryInterface(REFIID iid, void** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (IUnknown* hooked = GetInterfaceHook(iid)) {
        *out = hooked;
    } else if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IOleClientSite)) {
        *out = static_cast<IOleClientSite*>(this);
    } else if (IsEqualIID(iid, IID_IOleWindow) || IsEqualIID(iid, IID_IOleInPlaceSite)) {
        *out = static_cast<IOleInPlaceSite*>(this);
    } else if (IsEqualIID(iid, IID_IOleInPlaceUIWindow) || IsEqualIID(iid, IID_IOleInPlaceFrame)) {
        *out = static_cast<IOleInPlaceFrame*>(this);
    } else if (IsEqualIID(iid, IID_IDocHostUIHandler)) {
        *out = static_cast<IDocHostUIHandler*>(this);
    } else {
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

ULONG BrowserControlSite::AddRef() { return static_cast<ULONG>(InterlockedIncrement(&m_refs)); }

ULONG BrowserControlSite::Release() {
    const LONG refs = InterlockedDecrement(&m_refs);
    if (refs == 0) delete this;
    return static_cast<ULONG>(refs);
}

// IOleClientSite: an embedded object that is never saved or linked.
HRESULT BrowserControlSite::SaveObject() { return E_NOTIMPL; }
HRESULT BrowserControlSite::GetMoniker(DWORD, DWORD, IMoniker** moniker) {
    if (moniker) *moniker = nullptr;
    return E_NOTIMPL;
}
HRESULT BrowserControlSite::GetContainer(IOleContainer** container) {
    if (container) *container = nullptr;
    return E_NOINTERFACE;
}
HRESULT BrowserControlSite::ShowObject() { return S_OK; }
HRESULT BrowserControlSite::OnShowWindow(BOOL) { return S_OK; }
HRESULT BrowserControlSite::RequestNewObjectLayout() { return E_NOTIMPL; }

HRESULT BrowserControlSite::GetWindow(HWND* wnd) {
    if (!wnd) return E_POINTER;
    *wnd = m_host ? m_host->BrowserHostWindow() : nullptr;
    return *wnd ? S_OK : E_FAIL;
}
HRESULT BrowserControlSite::ContextSensitiveHelp(BOOL) { return E_NOTIMPL; }

HRESULT BrowserControlSite::CanInPlaceActivate() { return m_host ? S_OK : S_FALSE; }
HRESULT BrowserControlSite::OnInPlaceActivate() { return S_OK; }
HRESULT BrowserControlSite::OnUIActivate() { return S_OK; }

HRESULT BrowserControlSite::GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** doc,
                                             RECT* position, RECT* clip,
                                             OLEINPLACEFRAMEINFO* frameInfo) {
    if (!frame || !doc || !position || !clip || !frameInfo) return E_POINTER;
    *doc = nullptr;
    *frame = static_cast<IOleInPlaceFrame*>(this);
    AddRef();
    HWND wnd = m_host ? m_host->BrowserHostWindow() : nullptr;
    RECT client = {0, 0, 0, 0};
    if (wnd) ::GetClientRect(wnd, &client);
    *position = client;
    *clip = client;
    // The record's cb is the caller's; the rest is ours to fill.
    frameInfo->fMDIApp = FALSE;
    frameInfo->hwndFrame = wnd;
    frameInfo->haccel = nullptr;
    frameInfo->cAccelEntries = 0;
    return S_OK;
}

HRESULT BrowserControlSite::Scroll(SIZE) { return E_NOTIMPL; }
HRESULT BrowserControlSite::OnUIDeactivate(BOOL) { return S_OK; }
HRESULT BrowserControlSite::OnInPlaceDeactivate() { return S_OK; }
HRESULT BrowserControlSite::DiscardUndoState() { return E_NOTIMPL; }
HRESULT BrowserControlSite::DeactivateAndUndo() { return E_NOTIMPL; }
// The host sizes the control itself (BrowserControl::Move).
HRESULT BrowserControlSite::OnPosRectChange(const RECT*) { return S_OK; }

HRESULT BrowserControlSite::GetBorder(RECT*) { return INPLACE_E_NOTOOLSPACE; }
HRESULT BrowserControlSite::RequestBorderSpace(const BORDERWIDTHS*) {
    return INPLACE_E_NOTOOLSPACE;
}
HRESULT BrowserControlSite::SetBorderSpace(const BORDERWIDTHS*) { return S_OK; }
HRESULT BrowserControlSite::SetActiveObject(IOleInPlaceActiveObject*, LPCOLESTR) { return S_OK; }
HRESULT BrowserControlSite::InsertMenus(HMENU, OLEMENUGROUPWIDTHS*) { return E_NOTIMPL; }
HRESULT BrowserControlSite::SetMenu(HMENU, HOLEMENU, HWND) { return S_OK; }
HRESULT BrowserControlSite::RemoveMenus(HMENU) { return E_NOTIMPL; }
HRESULT BrowserControlSite::SetStatusText(LPCOLESTR) { return S_OK; }
HRESULT BrowserControlSite::EnableModeless(BOOL) { return S_OK; }
HRESULT BrowserControlSite::TranslateAccelerator(MSG*, WORD) { return S_FALSE; }

HRESULT BrowserControlSite::ShowContextMenu(DWORD id, POINT* point, IUnknown* commandTarget,
                                            IDispatch* object) {
    return m_host ? m_host->ShowContextMenu(id, point, commandTarget, object) : S_OK;
}

HRESULT BrowserControlSite::GetHostInfo(DOCHOSTUIINFO* info) {
    if (!info) return E_POINTER;
    if (info->cbSize < sizeof(DOCHOSTUIINFO)) return E_INVALIDARG;
    return m_host ? m_host->GetHostInfo(info) : S_OK;
}

HRESULT BrowserControlSite::ShowUI(DWORD, IOleInPlaceActiveObject*, IOleCommandTarget*,
                                   IOleInPlaceFrame*, IOleInPlaceUIWindow*) {
    // S_OK: the host shows its own UI (none); the browser adds no menus or tool bars.
    return S_OK;
}
HRESULT BrowserControlSite::HideUI() { return S_OK; }
HRESULT BrowserControlSite::UpdateUI() { return S_OK; }
HRESULT BrowserControlSite::OnDocWindowActivate(BOOL) { return S_OK; }
HRESULT BrowserControlSite::OnFrameWindowActivate(BOOL) { return S_OK; }
HRESULT BrowserControlSite::ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL) { return S_OK; }
HRESULT BrowserControlSite::TranslateAccelerator(LPMSG, const GUID*, DWORD) { return S_FALSE; }
HRESULT BrowserControlSite::GetOptionKeyPath(LPOLESTR* key, DWORD) {
    if (key) *key = nullptr;
    return S_FALSE;
}
HRESULT BrowserControlSite::GetDropTarget(IDropTarget*, IDropTarget** result) {
    if (result) *result = nullptr;
    return E_NOTIMPL;
}
HRESULT BrowserControlSite::GetExternal(IDispatch** dispatch) {
    if (!dispatch) return E_POINTER;
    *dispatch = nullptr;
    return m_host ? m_host->GetExternal(dispatch) : S_FALSE;
}
HRESULT BrowserControlSite::TranslateUrl(DWORD, LPWSTR, LPWSTR* out) {
    if (out) *out = nullptr;
    return S_FALSE;
}
HRESULT BrowserControlSite::FilterDataObject(IDataObject*, IDataObject** result) {
    if (result) *result = nullptr;
    return S_FALSE;
}

}  // namespace fw
