// Owners for Win32 handles, GDI objects, DCs and COM pointers: every resource is freed by the
// scope that holds it, and a hand-over to the system (SetWindowRgn, CreateStreamOnHGlobal with
// delete-on-release) is spelled release().
#pragma once
#include <windows.h>
#include <ole2.h>

#include <utility>

namespace fw {

// Traits: `type`, `Empty()` (the value reset() leaves), `IsValid(type)`, `Close(type)`.
template <class Traits>
class UniqueHandle {
  public:
    using type = typename Traits::type;

    UniqueHandle() = default;
    explicit UniqueHandle(type h) : m_h(h) {}
    ~UniqueHandle() { reset(); }

    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& other) noexcept : m_h(other.release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }

    type get() const { return m_h; }
    explicit operator bool() const { return Traits::IsValid(m_h); }

    // The caller owns the handle from now on.
    type release() {
        type h = m_h;
        m_h = Traits::Empty();
        return h;
    }

    void reset(type h = Traits::Empty()) {
        type old = m_h;
        m_h = h;
        if (Traits::IsValid(old) && old != h) Traits::Close(old);
    }

    // For out parameters (RegOpenKeyExW(..., key.Receive())): frees what was held first.
    type* Receive() {
        reset();
        return &m_h;
    }

  private:
    type m_h = Traits::Empty();
};

namespace detail {

struct KernelHandleTraits {
    using type = HANDLE;
    static type Empty() { return nullptr; }
    // CreateFile reports failure as INVALID_HANDLE_VALUE, most other calls as NULL.
    static bool IsValid(type h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
    static void Close(type h) { ::CloseHandle(h); }
};

template <class T>
struct GdiObjectTraits {
    using type = T;
    static type Empty() { return nullptr; }
    static bool IsValid(type h) { return h != nullptr; }
    static void Close(type h) { ::DeleteObject(h); }
};

struct MemDCTraits {
    using type = HDC;
    static type Empty() { return nullptr; }
    static bool IsValid(type h) { return h != nullptr; }
    static void Close(type h) { ::DeleteDC(h); }
};

struct RegKeyTraits {
    using type = HKEY;
    static type Empty() { return nullptr; }
    static bool IsValid(type h) { return h != nullptr; }
    static void Close(type h) { ::RegCloseKey(h); }
};

struct LibraryTraits {
    using type = HMODULE;
    static type Empty() { return nullptr; }
    static bool IsValid(type h) { return h != nullptr; }
    static void Close(type h) { ::FreeLibrary(h); }
};

struct IconTraits {
    using type = HICON;
    static type Empty() { return nullptr; }
    static bool IsValid(type h) { return h != nullptr; }
    static void Close(type h) { ::DestroyIcon(h); }
};

struct GlobalTraits {
    using type = HGLOBAL;
    static type Empty() { return nullptr; }
    static bool IsValid(type h) { return h != nullptr; }
    static void Close(type h) { ::GlobalFree(h); }
};

struct MenuTraits {
    using type = HMENU;
    static type Empty() { return nullptr; }
    static bool IsValid(type h) { return h != nullptr; }
    static void Close(type h) { ::DestroyMenu(h); }
};

struct HookTraits {
    using type = HHOOK;
    static type Empty() { return nullptr; }
    static bool IsValid(type h) { return h != nullptr; }
    static void Close(type h) { ::UnhookWindowsHookEx(h); }
};

struct BstrTraits {
    using type = BSTR;
    static type Empty() { return nullptr; }
    static bool IsValid(type h) { return h != nullptr; }
    static void Close(type h) { ::SysFreeString(h); }
};

}  // namespace detail

using ScopedHandle = UniqueHandle<detail::KernelHandleTraits>;
// For HBITMAP, HFONT, HRGN, HBRUSH, HPEN. Must not be selected into a DC when it goes.
template <class T>
using ScopedGdiObject = UniqueHandle<detail::GdiObjectTraits<T>>;
using ScopedBitmap = ScopedGdiObject<HBITMAP>;
using ScopedFont = ScopedGdiObject<HFONT>;
using ScopedRgn = ScopedGdiObject<HRGN>;
using ScopedBrush = ScopedGdiObject<HBRUSH>;
using ScopedPen = ScopedGdiObject<HPEN>;
// Owns only keys it opened or created: never hand it HKEY_LOCAL_MACHINE and friends.
using ScopedRegKey = UniqueHandle<detail::RegKeyTraits>;
using ScopedLibrary = UniqueHandle<detail::LibraryTraits>;
// For icons made by CreateIconIndirect/CopyIcon/ExtractIcon; shared icons from LoadIcon are
// not destroyed by anyone.
using ScopedHIcon = UniqueHandle<detail::IconTraits>;
// A menu that is no window's menu (a popup made for one TrackPopupMenu, a template loaded
// but not handed to a window).
using ScopedMenu = UniqueHandle<detail::MenuTraits>;
using ScopedHook = UniqueHandle<detail::HookTraits>;
// A BSTR made for a call; null text stays null.
using ScopedBstr = UniqueHandle<detail::BstrTraits>;
inline ScopedBstr MakeBstr(const wchar_t* text) {
    return ScopedBstr(text ? ::SysAllocString(text) : nullptr);
}
using ScopedGlobal = UniqueHandle<detail::GlobalTraits>;

// A memory DC: the constructor creates it (compatible with the given DC, or with the screen
// for null) and DeleteDC frees it. To adopt an existing memory DC use reset(dc).
class ScopedMemDC : public UniqueHandle<detail::MemDCTraits> {
  public:
    ScopedMemDC() = default;
    explicit ScopedMemDC(HDC compatibleWith)
        : UniqueHandle<detail::MemDCTraits>(::CreateCompatibleDC(compatibleWith)) {}
};

// Selects an object into a DC for one scope and puts the previous one back, so that the
// object can be deleted afterwards. Declare it after the owner of the object.
class ScopedSelectObject {
  public:
    ScopedSelectObject(HDC dc, HGDIOBJ obj)
        : m_dc(dc), m_old(dc && obj ? ::SelectObject(dc, obj) : nullptr) {}
    ~ScopedSelectObject() {
        if (m_dc && m_old && m_old != HGDI_ERROR) ::SelectObject(m_dc, m_old);
    }
    ScopedSelectObject(const ScopedSelectObject&) = delete;
    ScopedSelectObject& operator=(const ScopedSelectObject&) = delete;

    HGDIOBJ previous() const { return m_old; }
    explicit operator bool() const { return m_old != nullptr && m_old != HGDI_ERROR; }

  private:
    HDC m_dc;
    HGDIOBJ m_old;
};

// A window's (or the screen's, for a null window) DC from GetDC; given back with ReleaseDC.
class ScopedGetDC {
  public:
    ScopedGetDC() = default;
    explicit ScopedGetDC(HWND wnd) : m_wnd(wnd), m_dc(::GetDC(wnd)) {}
    ~ScopedGetDC() { reset(); }
    ScopedGetDC(const ScopedGetDC&) = delete;
    ScopedGetDC& operator=(const ScopedGetDC&) = delete;
    ScopedGetDC(ScopedGetDC&& other) noexcept : m_wnd(other.m_wnd), m_dc(other.release()) {}
    ScopedGetDC& operator=(ScopedGetDC&& other) noexcept {
        if (this != &other) {
            reset();
            m_wnd = other.m_wnd;
            m_dc = other.release();
        }
        return *this;
    }

    HDC get() const { return m_dc; }
    HWND window() const { return m_wnd; }
    explicit operator bool() const { return m_dc != nullptr; }
    // The caller must ReleaseDC(window(), dc) itself.
    HDC release() {
        HDC dc = m_dc;
        m_dc = nullptr;
        return dc;
    }
    void reset() {
        if (m_dc) ::ReleaseDC(m_wnd, m_dc);
        m_dc = nullptr;
    }

  private:
    HWND m_wnd = nullptr;
    HDC m_dc = nullptr;
};

// BeginPaint/EndPaint for one WM_PAINT. Not movable: EndPaint needs the same PAINTSTRUCT.
class ScopedPaint {
  public:
    explicit ScopedPaint(HWND wnd) : m_wnd(wnd), m_ps(), m_dc(::BeginPaint(wnd, &m_ps)) {}
    ~ScopedPaint() {
        if (m_dc) ::EndPaint(m_wnd, &m_ps);
    }
    ScopedPaint(const ScopedPaint&) = delete;
    ScopedPaint& operator=(const ScopedPaint&) = delete;

    HDC get() const { return m_dc; }
    const PAINTSTRUCT& ps() const { return m_ps; }
    explicit operator bool() const { return m_dc != nullptr; }

  private:
    HWND m_wnd;
    PAINTSTRUCT m_ps;
    HDC m_dc;
};

// A counted COM reference. Copies AddRef; Receive() is the out parameter of creating calls.
template <class T>
class ComPtr {
  public:
    ComPtr() = default;
    // Adds a reference of its own; use Attach() to adopt one.
    explicit ComPtr(T* p) : m_p(p) {
        if (m_p) m_p->AddRef();
    }
    ~ComPtr() { reset(); }
    ComPtr(const ComPtr& other) : ComPtr(other.m_p) {}
    ComPtr& operator=(const ComPtr& other) {
        if (other.m_p) other.m_p->AddRef();
        reset();
        m_p = other.m_p;
        return *this;
    }
    ComPtr(ComPtr&& other) noexcept : m_p(other.Detach()) {}
    ComPtr& operator=(ComPtr&& other) noexcept {
        if (this != &other) {
            reset();
            m_p = other.Detach();
        }
        return *this;
    }

    T* get() const { return m_p; }
    T* operator->() const { return m_p; }
    explicit operator bool() const { return m_p != nullptr; }

    void reset() {
        T* p = m_p;
        m_p = nullptr;
        if (p) p->Release();
    }
    // Takes over a reference the caller already holds.
    void Attach(T* p) {
        reset();
        m_p = p;
    }
    // Hands our reference to the caller.
    T* Detach() {
        T* p = m_p;
        m_p = nullptr;
        return p;
    }
    T* release() { return Detach(); }

    T** Receive() {
        reset();
        return &m_p;
    }
    void** ReceiveVoid() { return reinterpret_cast<void**>(Receive()); }

    template <class U>
    HRESULT QueryInterface(ComPtr<U>& out) const {
        if (!m_p) {
            out.reset();
            return E_POINTER;
        }
        return m_p->QueryInterface(__uuidof(U), out.ReceiveVoid());
    }

    HRESULT CreateInstance(REFCLSID clsid, DWORD context = CLSCTX_INPROC_SERVER) {
        return ::CoCreateInstance(clsid, nullptr, context, __uuidof(T), ReceiveVoid());
    }

  private:
    T* m_p = nullptr;
};

// COM for the calling thread, for one scope. CoUninitialize only when the call succeeded
// (S_FALSE, already initialised, counts as success and must be balanced too).
class ScopedCoInit {
  public:
    ScopedCoInit() : m_hr(::CoInitialize(nullptr)) {}
    ~ScopedCoInit() {
        if (SUCCEEDED(m_hr)) ::CoUninitialize();
    }
    ScopedCoInit(const ScopedCoInit&) = delete;
    ScopedCoInit& operator=(const ScopedCoInit&) = delete;
    HRESULT result() const { return m_hr; }
    explicit operator bool() const { return SUCCEEDED(m_hr); }

  private:
    HRESULT m_hr;
};

// OLE (COM plus clipboard, drag and drop, in-place activation) for one scope.
class ScopedOleInit {
  public:
    ScopedOleInit() : m_hr(::OleInitialize(nullptr)) {}
    ~ScopedOleInit() {
        if (SUCCEEDED(m_hr)) ::OleUninitialize();
    }
    ScopedOleInit(const ScopedOleInit&) = delete;
    ScopedOleInit& operator=(const ScopedOleInit&) = delete;
    HRESULT result() const { return m_hr; }
    explicit operator bool() const { return SUCCEEDED(m_hr); }

  private:
    HRESULT m_hr;
};

}  // namespace fw
