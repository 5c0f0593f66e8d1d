// The IUnknown and IDispatch bodies every event sink shares: a dispatch interface that answers
// for one event interface, counts its references and its live instances, and leaves only
// Invoke to the sink. Event sources call Invoke by DISPID, so the type-information calls are
// not implemented.
#pragma once
#include <windows.h>
#include <ole2.h>

namespace fw {

class EventSink : public IDispatch {
public:
    EventSink(const EventSink&) = delete;
    EventSink& operator=(const EventSink&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID lcid, ITypeInfo** info) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID lcid,
                                            DISPID* ids) override;

protected:
    // One reference, the creator's. live counts the instances of the sink's own kind.
    EventSink(REFIID events, LONG* live);
    virtual ~EventSink();

private:
    const IID m_events;
    LONG* m_live;
    LONG m_refs = 1;
};

}  // namespace fw
