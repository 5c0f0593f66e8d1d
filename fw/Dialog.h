// Dialogs from templates (resource id or in memory), modal with a message loop of our own
// (so PreTranslateMessage sees every message) or modeless.
//
// Message convention: the dialog window is subclassed at WM_INITDIALOG, so WindowProc returns
// each message's own result (a brush for WM_CTLCOLOR*; no DWLP_MSGRESULT), and DefWindowProc
// runs the dialog manager's default at once: "default processing, then more" works.
#pragma once
#include <windows.h>

#include <cstddef>

#include "fw/Wnd.h"

namespace fw {

class Dialog : public Wnd {
  public:
    // A Wnd parent is looked up when the window is created, so the parent object may get
    // its own window later than this constructor runs. The parent's top-level window owns
    // the dialog.
    explicit Dialog(UINT templateId, Wnd* parent = nullptr);
    Dialog(UINT templateId, HWND parent);
    Dialog(UINT templateId, std::nullptr_t) : Dialog(templateId, static_cast<Wnd*>(nullptr)) {}
    // In-memory template; it must outlive every DoModal/Create of this object.
    explicit Dialog(const DLGTEMPLATE* dialogTemplate, Wnd* parent = nullptr);
    Dialog(const DLGTEMPLATE* dialogTemplate, HWND parent);
    Dialog(const DLGTEMPLATE* dialogTemplate, std::nullptr_t)
        : Dialog(dialogTemplate, static_cast<Wnd*>(nullptr)) {}

    // Runs the dialog until EndDialog; its owner is disabled meanwhile. Returns the
    // EndDialog value, or -1 when the template could not be created, when WM_QUIT ended the
    // loop (the quit message is posted again for the outer loop) or when the window was
    // destroyed without EndDialog.
    INT_PTR DoModal();

    // Modeless: creates the window (shown if the template says WS_VISIBLE). Without an
    // argument the constructor's parent is used.
    BOOL Create();
    BOOL Create(Wnd* parent);
    BOOL Create(HWND parent);

    // Modal: ends the loop with result. Modeless: destroys the window.
    void EndDialog(INT_PTR result);
    INT_PTR Result() const { return m_result; }
    bool IsModal() const { return m_modal; }

    // Calls DoDataExchange; TRUE lets the dialog manager put the focus on the first control.
    virtual BOOL OnInitDialog();
    // Binds template controls to member objects (AttachControl); runs once, in OnInitDialog.
    virtual void DoDataExchange();
    virtual void OnOK();      // EndDialog(IDOK)
    virtual void OnCancel();  // EndDialog(IDCANCEL); also reached from WM_CLOSE

    // Subclasses the template control `id` into `control` (its PreSubclassWindow runs as soon
    // as the hook is in place). TRUE also when that control is already bound to it.
    BOOL AttachControl(int id, Wnd& control);

    // IDOK/IDCANCEL commands and WM_CLOSE go to OnOK/OnCancel; the rest to DefWindowProc.
    // (PreTranslateMessage keeps the base answer FALSE: the message loop itself hands the
    // dialog's keys to IsDialogMessage after the PreTranslateMessage walk.)
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

    UINT TemplateId() const { return m_templateId; }

    // The parent as a window handle, resolved now.
    HWND ParentHandle() const { return m_parentWnd ? m_parentWnd->m_hWnd : m_parentHandle; }

  private:
    static INT_PTR CALLBACK StaticDialogProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);
    HWND CreateFromTemplate(HWND owner);

    Wnd* m_parentWnd = nullptr;
    HWND m_parentHandle = nullptr;

    UINT m_templateId = 0;
    const DLGTEMPLATE* m_template = nullptr;
    INT_PTR m_result = -1;
    bool m_modal = false;
    bool m_endRequested = false;
};

}  // namespace fw
