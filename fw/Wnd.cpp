#include "fw/Wnd.h"

#include <vector>

#include "fw/App.h"

namespace fw {

namespace {

// The object pointer lives in a window property. An atom of our own keeps the lookup cheap;
// it is never deleted (it lives as long as the process).
ATOM ObjectPropAtom() {
    static const ATOM atom = ::GlobalAddAtomW(L"fw.Wnd.Object.TolvVorel");
    return atom;
}

const wchar_t* ObjectProp() { return MAKEINTATOM(ObjectPropAtom()); }

// The object whose CreateEx is running on this thread; its window binds at WM_NCCREATE.
thread_local Wnd* t_creating = nullptr;

Wnd* ObjectOf(HWND wnd) { return static_cast<Wnd*>(::GetPropW(wnd, ObjectProp())); }

}  // namespace

Wnd::~Wnd() { ReleaseWindow(); }

void Wnd::ReleaseWindow() {
    if (!m_hWnd) return;
    HWND wnd = m_hWnd;
    const bool owned = m_ownsWindow;
    Detach();
    if (owned && ::IsWindow(wnd)) ::DestroyWindow(wnd);
}

Wnd* Wnd::FromHandlePermanent(HWND wnd) {
    if (!wnd) return nullptr;
    // Another process may run this same program and put the same property on its windows
    // (a game frame re-parented into our main window): its pointer is meaningless here.
    if (::GetWindowThreadProcessId(wnd, nullptr) != ::GetCurrentThreadId()) return nullptr;
    return ObjectOf(wnd);
}

BOOL Wnd::RegisterClassOnce(const wchar_t* className, UINT classStyle, HBRUSH background,
                            HICON icon, HICON smallIcon, HCURSOR cursor) {
    HINSTANCE instance = ::GetModuleHandleW(nullptr);
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof(wc);
    if (::GetClassInfoExW(instance, className, &wc)) return wc.lpfnWndProc == &StaticWindowProc;
    wc.cbSize = sizeof(wc);
    wc.style = classStyle;
    wc.lpfnWndProc = &StaticWindowProc;
    wc.hInstance = instance;
    wc.hIcon = icon;
    wc.hIconSm = smallIcon;
    wc.hCursor = cursor ? cursor : ::LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = background;
    wc.lpszClassName = className;
    return ::RegisterClassExW(&wc) != 0;
}

BOOL Wnd::CreateEx(DWORD exStyle, const wchar_t* className, const wchar_t* windowName, DWORD style,
                   int x, int y, int cx, int cy, HWND parent, HMENU menuOrId, HINSTANCE instance) {
    if (m_hWnd) return FALSE;
    if (!instance) instance = ::GetModuleHandleW(nullptr);
    Wnd* const outer = t_creating;  // creation may nest (a child created in WM_CREATE)
    t_creating = this;
    HWND wnd = ::CreateWindowExW(exStyle, className, windowName, style, x, y, cx, cy, parent,
                                 menuOrId, instance, this);
    t_creating = outer;
    if (!wnd) {
        // Creation failed after WM_NCCREATE (a WM_CREATE answer of -1): the window is gone.
        if (m_hWnd) Detach();
        return FALSE;
    }
    if (m_hWnd != wnd) {
        // Not one of our classes: its own procedure runs, we hook in front of it.
        if (!SubclassWindow(wnd)) {
            ::DestroyWindow(wnd);
            return FALSE;
        }
    }
    m_ownsWindow = true;
    return TRUE;
}

void Wnd::AttachOwnClassWindow(HWND wnd) {
    ::SetPropW(wnd, ObjectProp(), this);
    m_hWnd = wnd;
    m_originalProc = nullptr;
}

BOOL Wnd::SubclassWindow(HWND wnd) {
    if (m_hWnd || !wnd || !::IsWindow(wnd)) return FALSE;
    if (::GetWindowThreadProcessId(wnd, nullptr) != ::GetCurrentThreadId()) return FALSE;
    if (ObjectOf(wnd)) return FALSE;  // already bound to another object
    // The property goes first: from the moment the procedure is replaced, messages look for it.
    if (!::SetPropW(wnd, ObjectProp(), this)) return FALSE;
    m_hWnd = wnd;
    WNDPROC original = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrW(wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&StaticWindowProc)));
    if (!original) {
        ::RemovePropW(wnd, ObjectProp());
        m_hWnd = nullptr;
        return FALSE;
    }
    m_originalProc = original;
    m_ownsWindow = false;
    PreSubclassWindow();
    return TRUE;
}

HWND Wnd::UnsubclassWindow() {
    if (!m_hWnd || !m_originalProc) return nullptr;
    const LONG_PTR current = ::GetWindowLongPtrW(m_hWnd, GWLP_WNDPROC);
    if (current != reinterpret_cast<LONG_PTR>(&StaticWindowProc)) return nullptr;
    HWND wnd = m_hWnd;
    Detach();
    return wnd;
}

void Wnd::Detach() {
    HWND wnd = m_hWnd;
    if (!wnd) return;
    // Procedure back first, property second: a message arriving in between goes straight to
    // the original procedure instead of looking for an object that is leaving.
    if (m_originalProc && ::IsWindow(wnd)) {
        ::SetWindowLongPtrW(wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_originalProc));
    }
    if (ObjectOf(wnd) == this) ::RemovePropW(wnd, ObjectProp());
    m_hWnd = nullptr;
    m_originalProc = nullptr;
    m_ownsWindow = false;
}

BOOL Wnd::DestroyWindow() { return m_hWnd ? ::DestroyWindow(m_hWnd) : FALSE; }

LRESULT CALLBACK Wnd::StaticWindowProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    Wnd* self = ObjectOf(wnd);
    if (!self) {
        if (msg == WM_NCCREATE && t_creating) {
            const auto* cs = reinterpret_cast<const CREATESTRUCTW*>(lParam);
            if (cs->lpCreateParams == t_creating && !t_creating->m_hWnd) {
                self = t_creating;
                self->AttachOwnClassWindow(wnd);
                self->PreSubclassWindow();
            }
        }
        // Messages before WM_NCCREATE (WM_GETMINMAXINFO) and windows whose object has gone.
        if (!self) return ::DefWindowProcW(wnd, msg, wParam, lParam);
    }

    if (msg == WM_NCDESTROY) {
        // Unbind before anything else runs: the original procedure frees its data now, and
        // PostNcDestroy may delete the object.
        WNDPROC original = self->m_originalProc;
        self->Detach();
        LRESULT result = original ? ::CallWindowProcW(original, wnd, msg, wParam, lParam)
                                  : ::DefWindowProcW(wnd, msg, wParam, lParam);
        if (App* app = App::Current()) {
            // The end of the main window ends the thread's message loop.
            if (app->m_pMainWnd == self) {
                app->m_pMainWnd = nullptr;
                ::PostQuitMessage(0);
            }
        }
        self->PostNcDestroy();
        return result;
    }
    return self->WindowProc(msg, wParam, lParam);
}

LRESULT Wnd::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    return DefWindowProc(msg, wParam, lParam);
}

LRESULT Wnd::DefWindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (!m_hWnd) return 0;  // destroyed while a handler was still running
    if (m_originalProc) return ::CallWindowProcW(m_originalProc, m_hWnd, msg, wParam, lParam);
    return ::DefWindowProcW(m_hWnd, msg, wParam, lParam);
}

BOOL Wnd::PreTranslateMessage(MSG*) { return FALSE; }

void Wnd::PreSubclassWindow() {}

void Wnd::PostNcDestroy() {}

std::wstring Wnd::GetWindowText() const {
    const int length = ::GetWindowTextLengthW(m_hWnd);
    if (length <= 0) return std::wstring();
    std::vector<wchar_t> buffer(static_cast<size_t>(length) + 1);
    const int copied = ::GetWindowTextW(m_hWnd, buffer.data(), length + 1);
    return std::wstring(buffer.data(), copied > 0 ? static_cast<size_t>(copied) : 0);
}

BOOL Wnd::ModifyStyle(DWORD remove, DWORD add, UINT swpFlags) {
    if (!m_hWnd) return FALSE;
    const LONG_PTR style = ::GetWindowLongPtrW(m_hWnd, GWL_STYLE);
    const LONG_PTR changed = (style & ~static_cast<LONG_PTR>(remove)) | add;
    if (changed == style) return FALSE;
    ::SetWindowLongPtrW(m_hWnd, GWL_STYLE, changed);
    if (swpFlags) {
        ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                       SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | swpFlags);
    }
    return TRUE;
}

BOOL Wnd::ModifyStyleEx(DWORD remove, DWORD add, UINT swpFlags) {
    if (!m_hWnd) return FALSE;
    const LONG_PTR style = ::GetWindowLongPtrW(m_hWnd, GWL_EXSTYLE);
    const LONG_PTR changed = (style & ~static_cast<LONG_PTR>(remove)) | add;
    if (changed == style) return FALSE;
    ::SetWindowLongPtrW(m_hWnd, GWL_EXSTYLE, changed);
    if (swpFlags) {
        ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                       SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | swpFlags);
    }
    return TRUE;
}

}  // namespace fw
