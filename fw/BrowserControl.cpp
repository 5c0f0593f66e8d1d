#include "fw/BrowserControl.h"

namespace fw {

HRESULT BrowserControl::Create(HWND parent, const RECT& rect, BrowserControlSite* site,
                               BrowserEventHandler* events, UINT controlId) {
    if (m_object) return E_UNEXPECTED;
    if (!parent || !site) return E_POINTER;
    m_site = ComPtr<BrowserControlSite>(site);
    HRESULT hr = m_object.CreateInstance(CLSID_WebBrowser);
    if (SUCCEEDED(hr)) hr = m_object->SetClientSite(static_cast<IOleClientSite*>(site));
    if (SUCCEEDED(hr)) hr = m_object.QueryInterface(m_browser);
    if (SUCCEEDED(hr) && events) {
        m_sink.Attach(new BrowserEventSink(events));
        hr = m_sink->Connect(m_browser.get());
    }
    if (SUCCEEDED(hr)) {
        RECT position = rect;
        hr = m_object->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, static_cast<IOleClientSite*>(site),
                              0, parent, &position);
    }
    if (FAILED(hr)) {
        Destroy();
        return hr;
    }
    Move(rect);
    if (HWND wnd = Window()) ::SetWindowLongPtrW(wnd, GWLP_ID, static_cast<LONG_PTR>(controlId));
    return S_OK;
}

void BrowserControl::Destroy() {
    if (m_sink) {
        m_sink->Disconnect();
        m_sink.reset();
    }
    if (m_browser) {
        // A navigation still under way would call back into a host that is leaving.
        m_browser->Stop();
    }
    if (m_object) {
        ComPtr<IOleInPlaceObject> inPlace;
        if (SUCCEEDED(m_object.QueryInterface(inPlace))) inPlace->InPlaceDeactivate();
        m_object->Close(OLECLOSE_NOSAVE);
        m_object->SetClientSite(nullptr);
    }
    m_browser.reset();
    m_object.reset();
    if (m_site) {
        m_site->DetachHost();
        m_site.reset();
    }
}

HWND BrowserControl::Window() const {
    if (!m_object) return nullptr;
    ComPtr<IOleWindow> window;
    HWND wnd = nullptr;
    if (SUCCEEDED(m_object.QueryInterface(window))) window->GetWindow(&wnd);
    return wnd;
}

void BrowserControl::Move(const RECT& rect) {
    if (!m_object) return;
    ComPtr<IOleInPlaceObject> inPlace;
    if (SUCCEEDED(m_object.QueryInterface(inPlace))) inPlace->SetObjectRects(&rect, &rect);
}

void BrowserControl::FillClientOf(HWND parent) {
    if (!m_object) return;
    RECT client;
    ::GetClientRect(parent, &client);
    Move(client);
}

BOOL BrowserControl::TranslateAccelerator(MSG* msg) {
    if (!m_object || !msg) return FALSE;
    ComPtr<IOleInPlaceActiveObject> active;
    if (FAILED(m_object.QueryInterface(active))) return FALSE;
    return active->TranslateAccelerator(msg) == S_OK;
}

HRESULT BrowserControl::Navigate(const wchar_t* url, DWORD flags, const wchar_t* targetFrame,
                                 const wchar_t* headers, VARIANT* postData) {
    if (!m_browser) return E_UNEXPECTED;
    const ScopedBstr address = MakeBstr(url ? url : L"");
    VARIANT vFlags, vTarget, vHeaders, vPost;
    ::VariantInit(&vFlags);
    ::VariantInit(&vTarget);
    ::VariantInit(&vHeaders);
    ::VariantInit(&vPost);
    V_VT(&vFlags) = VT_I4;
    V_I4(&vFlags) = static_cast<LONG>(flags);
    const ScopedBstr target = MakeBstr(targetFrame);
    const ScopedBstr head = MakeBstr(headers);
    if (target.get()) {
        V_VT(&vTarget) = VT_BSTR;
        V_BSTR(&vTarget) = target.get();
    }
    if (head.get()) {
        V_VT(&vHeaders) = VT_BSTR;
        V_BSTR(&vHeaders) = head.get();
    }
    return m_browser->Navigate(address.get(), &vFlags, &vTarget, postData ? postData : &vPost,
                               &vHeaders);
}

}  // namespace fw
