#include "fw/HtmlDom.h"

#include "fw/BrowserSite.h"

#include <exdisp.h>

#include <utility>

namespace fw {

namespace {

LONG g_liveDhtmlSinks = 0;

std::wstring TakeBstr(BSTR text) {
    std::wstring out = text ? std::wstring(text, ::SysStringLen(text)) : std::wstring();
    ::SysFreeString(text);
    return out;
}

class ComHtmlElement final : public HtmlElement {
public:
    explicit ComHtmlElement(IHTMLElement* element) : m_element(element) {}

    std::wstring ClassName() override {
        BSTR text = nullptr;
        if (FAILED(m_element->get_className(&text))) return std::wstring();
        return TakeBstr(text);
    }
    std::wstring TagName() override {
        BSTR text = nullptr;
        if (FAILED(m_element->get_tagName(&text))) return std::wstring();
        return TakeBstr(text);
    }
    bool IsDisabled() override {
        const ScopedBstr name = MakeBstr(L"disabled");
        VARIANT value;
        ::VariantInit(&value);
        const HRESULT hr = m_element->getAttribute(name.get(), 0, &value);
        const bool disabled = SUCCEEDED(hr) && V_VT(&value) == VT_BOOL && V_BOOL(&value);
        ::VariantClear(&value);
        return disabled;
    }
    bool GetOffsets(long* left, long* top, long* width, long* height) override {
        return SUCCEEDED(m_element->get_offsetLeft(left)) &&
               SUCCEEDED(m_element->get_offsetTop(top)) &&
               SUCCEEDED(m_element->get_offsetWidth(width)) &&
               SUCCEEDED(m_element->get_offsetHeight(height));
    }
    bool SetBackgroundPositionX(long x) override {
        ComPtr<IHTMLStyle> style;
        if (FAILED(m_element->get_style(style.Receive())) || !style) return false;
        VARIANT value;
        ::VariantInit(&value);
        V_VT(&value) = VT_I4;
        V_I4(&value) = x;
        return SUCCEEDED(style->put_backgroundPositionX(value));
    }
    bool Click() override { return SUCCEEDED(m_element->click()); }

private:
    ComPtr<IHTMLElement> m_element;
};

class ComHtmlDocument final : public HtmlDocument {
public:
    explicit ComHtmlDocument(IHTMLDocument2* document) : m_document(document) {}
    ~ComHtmlDocument() override { DisconnectEvents(); }

    bool SetBodyScroll(const wchar_t* value) override {
        ComPtr<IHTMLElement> body;
        if (FAILED(m_document->get_body(body.Receive())) || !body) return false;
        ComPtr<IHTMLBodyElement> bodyElement;
        if (FAILED(body->QueryInterface(IID_IHTMLBodyElement, bodyElement.ReceiveVoid())))
            return false;
        const ScopedBstr text = MakeBstr(value);
        return SUCCEEDED(bodyElement->put_scroll(text.get()));
    }

    bool ConnectEvents(IDispatch* sink) override {
        DisconnectEvents();
        ComPtr<IConnectionPointContainer> container;
        if (FAILED(
                m_document->QueryInterface(IID_IConnectionPointContainer, container.ReceiveVoid())))
            return false;
        ComPtr<IConnectionPoint> point;
        if (FAILED(container->FindConnectionPoint(kDIID_HTMLDocumentEvents2, point.Receive())))
            return false;
        DWORD cookie = 0;
        if (FAILED(point->Advise(sink, &cookie))) return false;
        m_point = std::move(point);
        m_cookie = cookie;
        return true;
    }

    void DisconnectEvents() override {
        if (!m_point) return;
        ComPtr<IConnectionPoint> point = std::move(m_point);
        point->Unadvise(m_cookie);
        m_cookie = 0;
    }

private:
    ComPtr<IHTMLDocument2> m_document;
    ComPtr<IConnectionPoint> m_point;
    DWORD m_cookie = 0;
};

}  // namespace

HtmlElementPtr WrapElement(IHTMLElement* element) {
    if (!element) return nullptr;
    return std::make_shared<ComHtmlElement>(element);
}

HtmlDocumentPtr DocumentOfBrowser(IDispatch* browser) {
    if (!browser) return nullptr;
    ComPtr<IWebBrowser2> web;
    if (FAILED(browser->QueryInterface(IID_IWebBrowser2, web.ReceiveVoid()))) return nullptr;
    ComPtr<IDispatch> documentDispatch;
    if (FAILED(web->get_Document(documentDispatch.Receive())) || !documentDispatch) return nullptr;
    ComPtr<IHTMLDocument2> document;
    if (FAILED(documentDispatch->QueryInterface(IID_IHTMLDocument2, document.ReceiveVoid())))
        return nullptr;
    return std::make_shared<ComHtmlDocument>(document.get());
}

HRESULT DhtmlEventTarget::DispatchDhtmlEvent(long eventId, const HtmlElementPtr& source) {
    if (!source) return S_OK;
    size_t count = 0;
    const DhtmlBinding* table = GetDhtmlEventMap(&count);
    const int row = FindDhtmlBinding(table, count, eventId, source->ClassName(), source->TagName());
    if (row < 0) return S_OK;
    return OnDhtmlEvent(table[row].handler, source);
}

DhtmlEventSink::DhtmlEventSink(DhtmlEventTarget* target)
    : EventSink(kDIID_HTMLDocumentEvents2, &g_liveDhtmlSinks), m_target(target) {}

LONG DhtmlEventSink::LiveCount() { return g_liveDhtmlSinks; }

HRESULT DhtmlEventSink::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT* result,
                               EXCEPINFO*, UINT*) {
    ComPtr<IDispatch> self(static_cast<IDispatch*>(this));
    DhtmlEventTarget* target = m_target;
    if (!target || !params || params->cArgs < 1 || !params->rgvarg) return S_OK;
    const VARIANT& arg = params->rgvarg[params->cArgs - 1];
    if (V_VT(&arg) != VT_DISPATCH || !V_DISPATCH(&arg)) return S_OK;
    ComPtr<IHTMLEventObj> event;
    if (FAILED(V_DISPATCH(&arg)->QueryInterface(IID_IHTMLEventObj, event.ReceiveVoid())))
        return S_OK;
    ComPtr<IHTMLElement> source;
    if (FAILED(event->get_srcElement(source.Receive())) || !source) return S_OK;
    if (target->DispatchDhtmlEvent(id, WrapElement(source.get())) == S_FALSE) {
        VARIANT no;
        ::VariantInit(&no);
        V_VT(&no) = VT_BOOL;
        V_BOOL(&no) = VARIANT_FALSE;
        event->put_returnValue(no);
        if (result) *result = no;
    }
    return S_OK;
}

}  // namespace fw
