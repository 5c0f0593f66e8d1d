// The container side of an embedded WebBrowser control: one COM object that is the control's
// client site, in-place site and in-place frame, and its doc-host UI handler. What the
// browser asks of its host window goes to a BrowserHost.
#pragma once
#include <windows.h>
#include <ole2.h>
#include <mshtmhst.h>

namespace fw {

// Interface ids that mingw-w64's import libraries lack.
extern const IID kIID_IDocHostShowUI;
extern const IID kDIID_HTMLDocumentEvents2;

// The window object that hosts a browser control. Not COM: the site keeps a plain pointer,
// which the host clears (BrowserControlSite::DetachHost) before it goes away.
class BrowserHost {
public:
    // The window the control is in-place active in.
    virtual HWND BrowserHostWindow() const = 0;
    // IDocHostUIHandler::GetHostInfo; the record's size is already checked.
    virtual HRESULT GetHostInfo(DOCHOSTUIINFO* info);
    // S_OK: handled (nothing shown); S_FALSE: the browser shows its own menu.
    virtual HRESULT ShowContextMenu(DWORD id, POINT* point, IUnknown* commandTarget,
                                    IDispatch* object);
    // The object page script sees as window.external; null and S_FALSE for none.
    virtual HRESULT GetExternal(IDispatch** dispatch);

protected:
    ~BrowserHost() = default;
};

class BrowserControlSite : public IOleClientSite,
                           public IOleInPlaceSite,
                           public IOleInPlaceFrame,
                           public IDocHostUIHandler {
public:
    // Starts with one reference, the creator's.
    explicit BrowserControlSite(BrowserHost* host);
    BrowserControlSite(const BrowserControlSite&) = delete;
    BrowserControlSite& operator=(const BrowserControlSite&) = delete;

    BrowserHost* Host() const { return m_host; }
    // The host is going: calls that the control still makes answer without it.
    void DetachHost() { m_host = nullptr; }

    // Live site objects of the process, for leak checks.
    static LONG LiveCount();

    // IUnknown: one identity for every interface, so that the handler's QueryInterface and
    // the client site's give the same answers.
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    // IOleClientSite
    HRESULT STDMETHODCALLTYPE SaveObject() override;
    HRESULT STDMETHODCALLTYPE GetMoniker(DWORD assign, DWORD which, IMoniker** moniker) override;
    HRESULT STDMETHODCALLTYPE GetContainer(IOleContainer** container) override;
    HRESULT STDMETHODCALLTYPE ShowObject() override;
    HRESULT STDMETHODCALLTYPE OnShowWindow(BOOL show) override;
    HRESULT STDMETHODCALLTYPE RequestNewObjectLayout() override;

    // IOleWindow (for both the in-place site and the frame)
    HRESULT STDMETHODCALLTYPE GetWindow(HWND* wnd) override;
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL enter) override;

    // IOleInPlaceSite
    HRESULT STDMETHODCALLTYPE CanInPlaceActivate() override;
    HRESULT STDMETHODCALLTYPE OnInPlaceActivate() override;
    HRESULT STDMETHODCALLTYPE OnUIActivate() override;
    HRESULT STDMETHODCALLTYPE GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** doc,
                                               RECT* position, RECT* clip,
                                               OLEINPLACEFRAMEINFO* frameInfo) override;
    HRESULT STDMETHODCALLTYPE Scroll(SIZE extent) override;
    HRESULT STDMETHODCALLTYPE OnUIDeactivate(BOOL undoable) override;
    HRESULT STDMETHODCALLTYPE OnInPlaceDeactivate() override;
    HRESULT STDMETHODCALLTYPE DiscardUndoState() override;
    HRESULT STDMETHODCALLTYPE DeactivateAndUndo() override;
    HRESULT STDMETHODCALLTYPE OnPosRectChange(const RECT* position) override;

    // IOleInPlaceUIWindow and IOleInPlaceFrame: a frame without menus or tool space.
    HRESULT STDMETHODCALLTYPE GetBorder(RECT* border) override;
    HRESULT STDMETHODCALLTYPE RequestBorderSpace(const BORDERWIDTHS* widths) override;
    HRESULT STDMETHODCALLTYPE SetBorderSpace(const BORDERWIDTHS* widths) override;
    HRESULT STDMETHODCALLTYPE SetActiveObject(IOleInPlaceActiveObject* object,
                                              LPCOLESTR name) override;
    HRESULT STDMETHODCALLTYPE InsertMenus(HMENU shared, OLEMENUGROUPWIDTHS* widths) override;
    HRESULT STDMETHODCALLTYPE SetMenu(HMENU shared, HOLEMENU descriptor, HWND object) override;
    HRESULT STDMETHODCALLTYPE RemoveMenus(HMENU shared) override;
    HRESULT STDMETHODCALLTYPE SetStatusText(LPCOLESTR text) override;
    // Also IDocHostUIHandler::EnableModeless, which has the same signature.
    HRESULT STDMETHODCALLTYPE EnableModeless(BOOL enable) override;
    HRESULT STDMETHODCALLTYPE TranslateAccelerator(MSG* msg, WORD id) override;

    // IDocHostUIHandler
    HRESULT STDMETHODCALLTYPE ShowContextMenu(DWORD id, POINT* point, IUnknown* commandTarget,
                                              IDispatch* object) override;
    HRESULT STDMETHODCALLTYPE GetHostInfo(DOCHOSTUIINFO* info) override;
    HRESULT STDMETHODCALLTYPE ShowUI(DWORD id, IOleInPlaceActiveObject* object,
                                     IOleCommandTarget* target, IOleInPlaceFrame* frame,
                                     IOleInPlaceUIWindow* doc) override;
    HRESULT STDMETHODCALLTYPE HideUI() override;
    HRESULT STDMETHODCALLTYPE UpdateUI() override;
    HRESULT STDMETHODCALLTYPE OnDocWindowActivate(BOOL activate) override;
    HRESULT STDMETHODCALLTYPE OnFrameWindowActivate(BOOL activate) override;
    HRESULT STDMETHODCALLTYPE ResizeBorder(LPCRECT border, IOleInPlaceUIWindow* window,
                                           BOOL frameWindow) override;
    HRESULT STDMETHODCALLTYPE TranslateAccelerator(LPMSG msg, const GUID* group,
                                                   DWORD command) override;
    HRESULT STDMETHODCALLTYPE GetOptionKeyPath(LPOLESTR* key, DWORD reserved) override;
    HRESULT STDMETHODCALLTYPE GetDropTarget(IDropTarget* target, IDropTarget** result) override;
    HRESULT STDMETHODCALLTYPE GetExternal(IDispatch** dispatch) override;
    HRESULT STDMETHODCALLTYPE TranslateUrl(DWORD translate, LPWSTR in, LPWSTR* out) override;
    HRESULT STDMETHODCALLTYPE FilterDataObject(IDataObject* object, IDataObject** result) override;

protected:
    // Deleted by the last Release only.
    virtual ~BrowserControlSite();

    // Further interfaces of a derived site, asked before the site's own; the pointer is
    // returned without a reference added, nullptr for an interface the hook does not add.
    virtual IUnknown* GetInterfaceHook(REFIID iid);

private:
    LONG m_refs = 1;
    BrowserHost* m_host;
};

}  // namespace fw
