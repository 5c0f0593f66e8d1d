#include "fw/Dialog.h"

#include "fw/App.h"

namespace fw {

Dialog::Dialog(UINT templateId, Wnd* parent) : m_parentWnd(parent), m_templateId(templateId) {}

Dialog::Dialog(UINT templateId, HWND parent) : m_parentHandle(parent), m_templateId(templateId) {}

Dialog::Dialog(const DLGTEMPLATE* dialogTemplate, Wnd* parent)
    : m_parentWnd(parent), m_template(dialogTemplate) {}

Dialog::Dialog(const DLGTEMPLATE* dialogTemplate, HWND parent)
    : m_parentHandle(parent), m_template(dialogTemplate) {}

HWND Dialog::CreateFromTemplate(HWND owner) {
    App* app = App::Current();
    HINSTANCE instance = app ? app->Instance() : ::GetModuleHandleW(nullptr);
    const LPARAM self = reinterpret_cast<LPARAM>(this);
    HWND wnd = m_template ? ::CreateDialogIndirectParamW(instance, m_template, owner,
                                                         &StaticDialogProc, self)
                          : ::CreateDialogParamW(instance, MAKEINTRESOURCEW(m_templateId), owner,
                                                 &StaticDialogProc, self);
    if (wnd && m_hWnd == wnd) m_ownsWindow = true;
    return wnd;
}

INT_PTR CALLBACK Dialog::StaticDialogProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    // Everything after WM_INITDIALOG arrives through our subclass procedure first; the dialog
    // manager calls us only for default processing, which it then does itself.
    if (msg != WM_INITDIALOG) return FALSE;
    auto* self = reinterpret_cast<Dialog*>(lParam);
    // A WM_INITDIALOG that WindowProc passed on to DefWindowProc comes back here: answer it
    // as default processing.
    if (!self || self->m_hWnd || FromHandlePermanent(wnd)) return FALSE;
    if (!self->SubclassWindow(wnd)) return FALSE;
    return static_cast<INT_PTR>(self->WindowProc(WM_INITDIALOG, wParam, lParam));
}

INT_PTR Dialog::DoModal() {
    if (m_hWnd) return -1;
    HWND owner = ParentHandle();
    // The system makes the top-level ancestor of a child the owner; that is what to disable.
    if (owner && (::GetWindowLongPtrW(owner, GWL_STYLE) & WS_CHILD)) {
        owner = ::GetAncestor(owner, GA_ROOT);
    }
    // Like DialogBox: an owner that was already disabled (by an outer modal dialog) stays so.
    const bool ownerDisabled = owner && ::IsWindowEnabled(owner);
    if (ownerDisabled) ::EnableWindow(owner, FALSE);

    m_modal = true;
    m_endRequested = false;
    m_result = -1;
    HWND wnd = CreateFromTemplate(owner);
    if (!wnd || m_hWnd != wnd) {
        if (ownerDisabled) ::EnableWindow(owner, TRUE);
        m_modal = false;
        if (wnd && ::IsWindow(wnd)) ::DestroyWindow(wnd);
        return -1;
    }
    if (!m_endRequested && !::IsWindowVisible(wnd)) ::ShowWindow(wnd, SW_SHOWNORMAL);

    bool quit = false;
    WPARAM quitCode = 0;
    while (!m_endRequested && m_hWnd == wnd) {
        MSG msg;
        const BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
        if (got == -1) break;
        if (!got) {
            quit = true;
            quitCode = msg.wParam;
            break;
        }
        if (!App::PreTranslate(&msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }

    const INT_PTR result = m_endRequested ? m_result : -1;
    m_result = result;
    m_modal = false;
    // Enable the owner before the dialog goes, so that the system activates the owner and
    // not some other application's window.
    if (ownerDisabled) ::EnableWindow(owner, TRUE);
    if (m_hWnd == wnd) {
        if (owner && ::GetActiveWindow() == wnd) ::SetActiveWindow(owner);
        ::SetWindowPos(wnd, nullptr, 0, 0, 0, 0,
                       SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        ::DestroyWindow(wnd);
    }
    if (quit) ::PostQuitMessage(static_cast<int>(quitCode));
    return result;
}

BOOL Dialog::Create() { return Create(ParentHandle()); }

BOOL Dialog::Create(Wnd* parent) {
    m_parentWnd = parent;
    m_parentHandle = nullptr;
    return Create(ParentHandle());
}

BOOL Dialog::Create(HWND parent) {
    if (m_hWnd) return FALSE;
    if (parent != ParentHandle()) {
        m_parentWnd = nullptr;
        m_parentHandle = parent;
    }
    m_modal = false;
    m_endRequested = false;
    m_result = -1;
    HWND wnd = CreateFromTemplate(parent);
    // A dialog that ended itself in OnInitDialog is gone already.
    return wnd && m_hWnd == wnd;
}

void Dialog::EndDialog(INT_PTR result) {
    m_result = result;
    if (m_modal) {
        m_endRequested = true;
        // When we were called from a message sent by another thread, GetMessage handled it
        // internally and would go on waiting: a posted message makes the loop look again.
        if (m_hWnd) ::PostMessageW(m_hWnd, WM_NULL, 0, 0);
        return;
    }
    if (m_hWnd) {
        ::ShowWindow(m_hWnd, SW_HIDE);
        ::DestroyWindow(m_hWnd);
    }
}

BOOL Dialog::OnInitDialog() {
    DoDataExchange();
    return TRUE;
}

void Dialog::DoDataExchange() {}

void Dialog::OnOK() { EndDialog(IDOK); }

void Dialog::OnCancel() { EndDialog(IDCANCEL); }

BOOL Dialog::AttachControl(int id, Wnd& control) {
    HWND item = ::GetDlgItem(m_hWnd, id);
    if (!item) return FALSE;
    if (control.m_hWnd == item) return TRUE;
    return control.SubclassWindow(item);
}

LRESULT Dialog::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_INITDIALOG:
            return OnInitDialog();
        case WM_COMMAND:
            // Buttons, the Enter/Esc keys of the dialog manager and accelerators all say 0.
            if (HIWORD(wParam) == BN_CLICKED) {
                if (LOWORD(wParam) == IDOK) {
                    OnOK();
                    return 0;
                }
                if (LOWORD(wParam) == IDCANCEL) {
                    OnCancel();
                    return 0;
                }
            }
            break;
        case WM_CLOSE:
            OnCancel();
            return 0;
    }
    return Wnd::WindowProc(msg, wParam, lParam);
}

}  // namespace fw
