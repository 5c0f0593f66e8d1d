#include "fw/App.h"

#include <shellapi.h>

#include "fw/Dialog.h"

namespace fw {

namespace {
App* g_current = nullptr;
}

// A second object (a test's) stands in for the first while it lives.
App::App() : m_instance(::GetModuleHandleW(nullptr)), m_previous(g_current) { g_current = this; }

App::~App() {
    if (g_current == this) g_current = m_previous;
}

App* App::Current() { return g_current; }

const std::vector<std::wstring>& App::Args() const {
    if (!m_argsLoaded) {
        m_argsLoaded = true;
        int count = 0;
        LPWSTR* argv = ::CommandLineToArgvW(::GetCommandLineW(), &count);
        if (argv) {
            m_args.assign(argv, argv + count);
            ::LocalFree(argv);
        }
    }
    return m_args;
}

BOOL App::InitInstance() { return TRUE; }

int App::ExitInstance() { return m_exitCode; }

int App::Run() {
    MSG msg;
    for (;;) {
        const BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
        if (got == -1) break;
        if (!got) {
            m_exitCode = static_cast<int>(msg.wParam);
            break;
        }
        if (!PreTranslate(&msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
    return ExitInstance();
}

BOOL App::PreTranslate(MSG* msg) {
    if (!msg || !msg->hwnd) return FALSE;  // thread messages have no window to ask
    // No window of ours filters its ticks or paints: the idle program's commonest messages
    // skip the walk and its property lookups.
    if (msg->message == WM_TIMER || msg->message == WM_PAINT) return FALSE;
    const DWORD thread = ::GetCurrentThreadId();
    HWND topLevel = nullptr;
    Wnd* topObject = nullptr;  // each window's object is looked up once per message
    for (HWND wnd = msg->hwnd; wnd; wnd = ::GetParent(wnd)) {
        // A parent in another thread or process (a frame re-parented into a foreign main
        // window) ends the walk: its objects, if any, are not ours to call.
        if (::GetWindowThreadProcessId(wnd, nullptr) != thread) break;
        Wnd* object = Wnd::FromHandlePermanent(wnd);
        if (object && object->PreTranslateMessage(msg)) return TRUE;
        // GetParent of a top-level popup is its owner: a dialog's keys stop at the dialog.
        if (!(::GetWindowLongPtrW(wnd, GWL_STYLE) & WS_CHILD)) {
            topLevel = wnd;
            // Still bound unless PreTranslateMessage destroyed the window (no window object
            // deletes itself).
            topObject = object && object->m_hWnd == wnd ? object : nullptr;
            break;
        }
    }
    // Tab, arrows, Enter and Esc of our dialogs, modal or modeless.
    if (topLevel && dynamic_cast<Dialog*>(topObject)) {
        if (::IsDialogMessageW(topLevel, msg)) return TRUE;
    }
    return FALSE;
}

int RunApplication(App& app, HINSTANCE instance, LPWSTR, int showCommand) {
    if (instance) app.m_instance = instance;
    app.m_showCommand = showCommand;
    if (!app.InitInstance()) return app.ExitInstance();
    return app.Run();
}

}  // namespace fw
