#include "fw/BrowserEvents.h"

#include <exdisp.h>
#include <exdispid.h>

namespace fw {

namespace {

LONG g_liveSinks = 0;

const VARIANT* Deref(const VARIANT* v) {
    while (v && V_VT(v) == (VT_BYREF | VT_VARIANT)) v = V_VARIANTREF(v);
    return v;
}

// rgvarg holds the arguments last to first.
VARIANT* Arg(DISPPARAMS* params, UINT index, UINT count) {
    if (!params || params->cArgs != count || !params->rgvarg) return nullptr;
    return &params->rgvarg[count - 1 - index];
}

}  // namespace

const wchar_t* VariantText(const VARIANT* v) {
    v = Deref(v);
    if (!v) return L"";
    if (V_VT(v) == VT_BSTR && V_BSTR(v)) return V_BSTR(v);
    if (V_VT(v) == (VT_BYREF | VT_BSTR) && V_BSTRREF(v) && *V_BSTRREF(v)) return *V_BSTRREF(v);
    return L"";
}

LONG VariantLong(const VARIANT* v) {
    v = Deref(v);
    if (!v) return 0;
    switch (V_VT(v)) {
        case VT_I4:
            return V_I4(v);
        case VT_UI4:
            return static_cast<LONG>(V_UI4(v));
        case VT_INT:
            return V_INT(v);
        case VT_I2:
            return V_I2(v);
        case VT_BYREF | VT_I4:
            return V_I4REF(v) ? *V_I4REF(v) : 0;
        default:
            return 0;
    }
}

IDispatch* VariantDispatch(const VARIANT* v) {
    v = Deref(v);
    if (!v) return nullptr;
    if (V_VT(v) == VT_DISPATCH) return V_DISPATCH(v);
    if (V_VT(v) == (VT_BYREF | VT_DISPATCH) && V_DISPATCHREF(v)) return *V_DISPATCHREF(v);
    return nullptr;
}

VARIANT_BOOL* VariantBoolRef(VARIANT* v) {
    if (v && V_VT(v) == (VT_BYREF | VT_BOOL)) return V_BOOLREF(v);
    return nullptr;
}

BrowserEventSink::BrowserEventSink(BrowserEventHandler* handler)
    : EventSink(DIID_DWebBrowserEvents2, &g_liveSinks), m_handler(handler) {}

LONG BrowserEventSink::LiveCount() { return g_liveSinks; }

HRESULT BrowserEventSink::Connect(IUnknown* browser) {
    if (!browser) return E_POINTER;
    if (m_point) return E_UNEXPECTED;
    ComPtr<IConnectionPointContainer> container;
    HRESULT hr = browser->QueryInterface(IID_IConnectionPointContainer, container.ReceiveVoid());
    if (FAILED(hr)) return hr;
    ComPtr<IConnectionPoint> point;
    hr = container->FindConnectionPoint(DIID_DWebBrowserEvents2, point.Receive());
    if (FAILED(hr)) return hr;
    hr = point->Advise(static_cast<IDispatch*>(this), &m_cookie);
    if (FAILED(hr)) return hr;
    m_point = point;
    return S_OK;
}

void BrowserEventSink::Disconnect() {
    m_handler = nullptr;
    if (m_point) {
        // The connection point holds a reference to us until this returns.
        ComPtr<IConnectionPoint> point = std::move(m_point);
        point->Unadvise(m_cookie);
        m_cookie = 0;
    }
}

HRESULT BrowserEventSink::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*,
                                 EXCEPINFO*, UINT*) {
    // A handler may end the window that owns us; we stay alive until the call returns.
    ComPtr<IDispatch> self(static_cast<IDispatch*>(this));
    BrowserEventHandler* handler = m_handler;
    if (!handler) return S_OK;
    switch (id) {
        case DISPID_BEFORENAVIGATE2: {
            VARIANT_BOOL* cancel = VariantBoolRef(Arg(params, 6, 7));
            if (!cancel) return E_INVALIDARG;
            handler->OnBrowserBeforeNavigate2(
                VariantDispatch(Arg(params, 0, 7)), VariantText(Arg(params, 1, 7)),
                static_cast<DWORD>(VariantLong(Arg(params, 2, 7))), VariantText(Arg(params, 3, 7)),
                Arg(params, 4, 7), VariantText(Arg(params, 5, 7)), cancel);
            return S_OK;
        }
        case DISPID_NAVIGATECOMPLETE2:
            if (!params || params->cArgs != 2) return E_INVALIDARG;
            handler->OnBrowserNavigateComplete2(VariantDispatch(Arg(params, 0, 2)),
                                                VariantText(Arg(params, 1, 2)));
            return S_OK;
        case DISPID_DOCUMENTCOMPLETE:
            if (!params || params->cArgs != 2) return E_INVALIDARG;
            handler->OnBrowserDocumentComplete(VariantDispatch(Arg(params, 0, 2)),
                                               VariantText(Arg(params, 1, 2)));
            return S_OK;
        case DISPID_NAVIGATEERROR: {
            VARIANT_BOOL* cancel = VariantBoolRef(Arg(params, 4, 5));
            if (!cancel) return E_INVALIDARG;
            handler->OnBrowserNavigateError(
                VariantDispatch(Arg(params, 0, 5)), VariantText(Arg(params, 1, 5)),
                VariantText(Arg(params, 2, 5)), VariantLong(Arg(params, 3, 5)), cancel);
            return S_OK;
        }
        case DISPID_TITLECHANGE:
            if (!params || params->cArgs != 1) return E_INVALIDARG;
            handler->OnBrowserTitleChange(VariantText(Arg(params, 0, 1)));
            return S_OK;
        default:
            return S_OK;
    }
}

}  // namespace fw
