// A C++ object bound to one window: every message of the window reaches the virtual
// WindowProc of the object, whether the window was created from one of our registered classes
// or is an existing window (a dialog control, a dialog) that we subclassed.
#pragma once
#include <windows.h>

#include <string>

namespace fw {

class Wnd {
  public:
    Wnd() = default;
    // Releases a window still attached (ReleaseWindow).
    virtual ~Wnd();
    Wnd(const Wnd&) = delete;
    Wnd& operator=(const Wnd&) = delete;

    HWND m_hWnd = nullptr;
    HWND GetSafeHwnd() const { return m_hWnd; }

    // Our object for a window of this thread, or nullptr. Windows of other threads and other
    // processes never map to an object, even when they carry our property.
    static Wnd* FromHandlePermanent(HWND wnd);

    // Registers a window class whose procedure is ours; TRUE also when it already exists.
    static BOOL RegisterClassOnce(const wchar_t* className, UINT classStyle = CS_DBLCLKS,
                                  HBRUSH background = nullptr, HICON icon = nullptr,
                                  HICON smallIcon = nullptr, HCURSOR cursor = nullptr);

    // Creates a window and binds it to this object. For classes registered by
    // RegisterClassOnce the object sees the window's first message; for any other class
    // (BUTTON, STATIC...) the new window is subclassed right after creation. The destructor
    // destroys windows created here.
    BOOL CreateEx(DWORD exStyle, const wchar_t* className, const wchar_t* windowName, DWORD style,
                  int x, int y, int cx, int cy, HWND parent, HMENU menuOrId,
                  HINSTANCE instance = nullptr);

    // Takes over an existing window of this thread: its original procedure gets what
    // WindowProc passes to DefWindowProc. PreSubclassWindow runs once the hook is in place.
    BOOL SubclassWindow(HWND wnd);
    // Gives the window back to its original procedure; nullptr when another procedure was
    // installed on top of ours since (unhooking would cut it out).
    HWND UnsubclassWindow();

    BOOL DestroyWindow();

    virtual LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam);
    // Default processing: the original procedure of a subclassed window (for a dialog, the
    // dialog manager's), ::DefWindowProcW for windows of our own classes.
    virtual LRESULT DefWindowProc(UINT msg, WPARAM wParam, LPARAM lParam);
    // TRUE swallows the message before TranslateMessage/DispatchMessage (see App::PreTranslate).
    virtual BOOL PreTranslateMessage(MSG* msg);
    // The window is bound (created or subclassed); messages already arrive at WindowProc.
    virtual void PreSubclassWindow();
    // After WM_NCDESTROY, with the object detached: m_hWnd is null here. Self-owning objects
    // may delete themselves.
    virtual void PostNcDestroy();

    // Thin helpers; each is the Win32 call of the same name on m_hWnd.
    HWND GetDlgItem(int id) const { return ::GetDlgItem(m_hWnd, id); }
    BOOL SetWindowText(const wchar_t* text) { return ::SetWindowTextW(m_hWnd, text); }
    BOOL SetWindowText(const std::wstring& text) { return ::SetWindowTextW(m_hWnd, text.c_str()); }
    std::wstring GetWindowText() const;
    BOOL ShowWindow(int cmd) { return ::ShowWindow(m_hWnd, cmd); }
    BOOL MoveWindow(int x, int y, int cx, int cy, BOOL repaint = TRUE) {
        return ::MoveWindow(m_hWnd, x, y, cx, cy, repaint);
    }
    BOOL Invalidate(BOOL erase = TRUE) { return ::InvalidateRect(m_hWnd, nullptr, erase); }
    UINT_PTR SetTimer(UINT_PTR id, UINT elapseMs) {
        return ::SetTimer(m_hWnd, id, elapseMs, nullptr);
    }
    BOOL KillTimer(UINT_PTR id) { return ::KillTimer(m_hWnd, id); }
    BOOL PostMessage(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) const {
        return ::PostMessageW(m_hWnd, msg, wParam, lParam);
    }
    LRESULT SendMessage(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) const {
        return ::SendMessageW(m_hWnd, msg, wParam, lParam);
    }
    BOOL GetClientRect(RECT* rc) const { return ::GetClientRect(m_hWnd, rc); }
    BOOL GetWindowRect(RECT* rc) const { return ::GetWindowRect(m_hWnd, rc); }
    HWND GetParent() const { return ::GetParent(m_hWnd); }
    BOOL IsWindow() const { return m_hWnd && ::IsWindow(m_hWnd); }
    LONG_PTR GetStyle() const { return ::GetWindowLongPtrW(m_hWnd, GWL_STYLE); }
    LONG_PTR GetExStyle() const { return ::GetWindowLongPtrW(m_hWnd, GWL_EXSTYLE); }
    // Style changes without frame recalculation unless flags (SWP_FRAMECHANGED...) are given.
    BOOL ModifyStyle(DWORD remove, DWORD add, UINT swpFlags = 0);
    BOOL ModifyStyleEx(DWORD remove, DWORD add, UINT swpFlags = 0);

  protected:
    static LRESULT CALLBACK StaticWindowProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);
    // Binds without subclassing: for windows whose class procedure is ours.
    void AttachOwnClassWindow(HWND wnd);
    // Unbinds: restores the original procedure, removes the property, clears m_hWnd.
    void Detach();
    // Detaches, then destroys a window that this object created. A class whose procedure
    // uses its own members calls it first in its destructor: ~Wnd runs only after those
    // members have gone, and destroying a window sends messages (a child's erase asks its
    // parent to paint) that must not reach a half-destroyed object.
    void ReleaseWindow();

    WNDPROC m_originalProc = nullptr;  // set while subclassed
    bool m_ownsWindow = false;         // created by us: destroyed with the object
};

}  // namespace fw
