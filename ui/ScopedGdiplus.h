// GDI+ for one scope. Start and shutdown only move GDI+'s reference count when the
// application has started it already.
#pragma once
#include <windows.h>
#include <objidl.h>

#include <gdiplus.h>

namespace vorel {

class ScopedGdiplus {
public:
    ScopedGdiplus() {
        Gdiplus::GdiplusStartupInput input;  // version 1, no callback, thread and codecs allowed
        if (Gdiplus::GdiplusStartup(&m_token, &input, nullptr) != Gdiplus::Ok) m_token = 0;
    }
    ~ScopedGdiplus() {
        if (m_token) Gdiplus::GdiplusShutdown(m_token);
    }
    ScopedGdiplus(const ScopedGdiplus&) = delete;
    ScopedGdiplus& operator=(const ScopedGdiplus&) = delete;
    explicit operator bool() const { return m_token != 0; }

private:
    ULONG_PTR m_token = 0;
};

}  // namespace vorel
