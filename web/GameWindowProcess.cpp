#include "web/GameWindowProcess.h"

#include <memory>

#include "app/Ambrel3App.h"
#include "fw/DocView.h"
#include "res/resource.h"
#include "web/GameFrameRules.h"
#include "web/GameWindow.h"
#include "web/GmWndView.h"
#include "web/LoginBkDlg.h"
#include "web/MainFrame.h"
#include "web/WebAddresses.h"

namespace vorel {

namespace {
fw::SingleDocWindow g_window;
}

BOOL StartGameWindowProcess(fw::App& app, bool withLogin, HWND parentMainWindow, int tabNumber) {
    GameWindowState& state = TheGameWindow();
    state.parentMainWindow = parentMainWindow;
    state.tabNumber = tabNumber;

    if (withLogin) {
        // Nobody could take the login: the process ends as if it had been cancelled.
        if (!::IsWindow(parentMainWindow)) return FALSE;
        CLoginBkDlg login(parentMainWindow, tabNumber, kLoginPageUrl);
        if (login.DoModal() == IDCANCEL) {
            ::PostMessageW(parentMainWindow, WM_SYSCOMMAND, SC_CLOSE, kOwnMessageMark);
            return FALSE;
        }
    }

    if (!g_window.Open(IDR_MAINFRAME, std::make_unique<CGmWndDoc>(), std::make_unique<CMainFrame>(),
                       std::make_unique<CGmWndView>(), FALSE)) {
        return FALSE;
    }
    fw::FrameWnd* frame = g_window.Frame();
    app.m_pMainWnd = frame;
    frame->SetWindowText(kProductTitle);
    frame->ShowWindow(SW_HIDE);
    ::UpdateWindow(frame->m_hWnd);
    return TRUE;
}

void EndGameWindowProcess() {
    if (!g_window.Frame()) return;
    if (fw::App* app = fw::App::Current()) {
        // Its end no longer needs to end the loop: the loop is over.
        if (app->m_pMainWnd == g_window.Frame()) app->m_pMainWnd = nullptr;
    }
    g_window.Close();
}

}  // namespace vorel
