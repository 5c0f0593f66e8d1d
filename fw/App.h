// The application object: start-up and exit hooks, the thread's message loop, and the
// pre-translation step that every message loop of ours (this one, modal dialogs) shares.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "fw/Wnd.h"

namespace fw {

class App {
  public:
    // The one application object of the process; Current() returns it from construction on.
    App();
    virtual ~App();
    App(const App&) = delete;
    App& operator=(const App&) = delete;

    static App* Current();

    HINSTANCE Instance() const { return m_instance; }
    int ShowCommand() const { return m_showCommand; }
    // The program's arguments as the shell splits them, argv[0] (the program) included.
    const std::vector<std::wstring>& Args() const;

    // The window whose end (WM_NCDESTROY) posts the quit message.
    Wnd* m_pMainWnd = nullptr;

    // FALSE: no message loop; RunApplication goes straight to ExitInstance.
    virtual BOOL InitInstance();
    // The process exit code; the default is the WM_QUIT code that ended Run (0 otherwise).
    virtual int ExitInstance();
    // The thread's message loop until WM_QUIT, then ExitInstance; returns its exit code.
    int Run();

    // Offers a message, before translation and dispatch, to PreTranslateMessage of our
    // objects from msg->hwnd up through its parents to the first top-level window (owners are
    // not asked), then to the dialog manager's keyboard interface if that top-level window is
    // one of our dialogs (modal or modeless). TRUE: the message is handled, do not dispatch.
    static BOOL PreTranslate(MSG* msg);

  protected:
    int m_exitCode = 0;

  private:
    friend int RunApplication(App&, HINSTANCE, LPWSTR, int);

    HINSTANCE m_instance = nullptr;
    App* m_previous = nullptr;
    int m_showCommand = SW_SHOWDEFAULT;
    mutable std::vector<std::wstring> m_args;
    mutable bool m_argsLoaded = false;
};

// For wWinMain: InitInstance; when it answers TRUE, Run(), else ExitInstance(). Returns the
// exit code.
int RunApplication(App& app, HINSTANCE instance, LPWSTR cmdLine, int showCommand);

}  // namespace fw
