// The little of a loaded page that our windows touch, behind narrow interfaces: a page element
// (class, tag, the "disabled" attribute, offsets, background position, click) and a document
// (the body's scroll setting, the document events). The COM versions wrap MSHTML; tests can
// stand in for a page that the browser never loaded.
#pragma once
#include <windows.h>
#include <ole2.h>
#include <mshtml.h>
#include <mshtmdid.h>

#include <memory>
#include <string>

#include "fw/DhtmlMatch.h"
#include "fw/EventSink.h"
#include "fw/Raii.h"

namespace fw {

// The document events that binding tables name (the headers spell them as unsigned numbers).
namespace dhtml_event {
constexpr long kMouseDown = static_cast<DISPID>(DISPID_HTMLDOCUMENTEVENTS2_ONMOUSEDOWN);
constexpr long kMouseUp = static_cast<DISPID>(DISPID_HTMLDOCUMENTEVENTS2_ONMOUSEUP);
constexpr long kMouseMove = static_cast<DISPID>(DISPID_HTMLDOCUMENTEVENTS2_ONMOUSEMOVE);
constexpr long kMouseOver = static_cast<DISPID>(DISPID_HTMLDOCUMENTEVENTS2_ONMOUSEOVER);
constexpr long kMouseOut = static_cast<DISPID>(DISPID_HTMLDOCUMENTEVENTS2_ONMOUSEOUT);
constexpr long kContextMenu = static_cast<DISPID>(DISPID_HTMLDOCUMENTEVENTS2_ONCONTEXTMENU);
}  // namespace dhtml_event

class HtmlElement {
public:
    virtual ~HtmlElement() = default;
    virtual std::wstring ClassName() = 0;
    virtual std::wstring TagName() = 0;
    // The attribute "disabled" read as a boolean variant that is true; a failed read is false.
    virtual bool IsDisabled() = 0;
    virtual bool GetOffsets(long* left, long* top, long* width, long* height) = 0;
    // style.backgroundPositionX as a 4-byte integer variant.
    virtual bool SetBackgroundPositionX(long x) = 0;
    // Fires the element's own click handlers.
    virtual bool Click() = 0;
};
using HtmlElementPtr = std::shared_ptr<HtmlElement>;

class HtmlDocument {
public:
    virtual ~HtmlDocument() = default;
    // The body element's scroll property; false without a body element.
    virtual bool SetBodyScroll(const wchar_t* value) = 0;
    // The document's HTMLDocumentEvents2 go to sink until DisconnectEvents (or destruction).
    virtual bool ConnectEvents(IDispatch* sink) = 0;
    virtual void DisconnectEvents() = 0;
};
using HtmlDocumentPtr = std::shared_ptr<HtmlDocument>;

// Null for a null element.
HtmlElementPtr WrapElement(IHTMLElement* element);
// The document of a browser (or frame) dispatch; null when it has no HTML document.
HtmlDocumentPtr DocumentOfBrowser(IDispatch* browser);

// Who receives a window's DHTML events: its binding table and its handlers.
class DhtmlEventTarget {
public:
    virtual const DhtmlBinding* GetDhtmlEventMap(size_t* count) = 0;
    // S_FALSE makes the event's return value false (no default action).
    virtual HRESULT OnDhtmlEvent(int handler, const HtmlElementPtr& source) = 0;

    // The first binding matching the event and its source element runs; S_OK when none does.
    HRESULT DispatchDhtmlEvent(long eventId, const HtmlElementPtr& source);

protected:
    ~DhtmlEventTarget() = default;
};

// The IDispatch advised on a document's HTMLDocumentEvents2.
class DhtmlEventSink final : public EventSink {
public:
    explicit DhtmlEventSink(DhtmlEventTarget* target);  // one reference, the creator's

    void DetachTarget() { m_target = nullptr; }
    static LONG LiveCount();

    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID lcid, WORD flags,
                                     DISPPARAMS* params, VARIANT* result, EXCEPINFO* exception,
                                     UINT* argError) override;

private:
    DhtmlEventTarget* m_target;
};

}  // namespace fw
