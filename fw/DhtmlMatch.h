// Which binding of a DHTML event table handles an event: a class binding when the source
// element's whole class attribute equals its name (case-sensitive), a tag binding when the
// element's tag name equals its name ignoring case; the first matching row in table order.
// No <windows.h>: the matching is tested natively.
#pragma once
#include <cstddef>
#include <string>

namespace fw {

enum class DhtmlMatchKind { Class, Tag };

struct DhtmlBinding {
    DhtmlMatchKind kind;
    const wchar_t* name;
    long eventId;  // the DISPID of the document event (onmousedown...)
    int handler;   // the owner's own number for the handler
};

// The index of the binding, or -1 when no row matches.
int FindDhtmlBinding(const DhtmlBinding* table, size_t count, long eventId,
                     const std::wstring& className, const std::wstring& tagName);

}  // namespace fw
