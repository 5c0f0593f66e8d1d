#include "web/GmWndView.h"

#include <shellapi.h>

#include "app/Processes.h"
#include "app/SettingsStore.h"
#include "app/ShellOpen.h"
#include "net/DownGameDlg.h"
#include "ui/MessageBoxDlg.h"
#include "web/FileNameRules.h"
#include "web/GameFrameRules.h"
#include "web/GameHallCommand.h"
#include "web/GameWindow.h"
#include "web/WebAddresses.h"

namespace vorel {

CGmWndView::~CGmWndView() {
    if (TheGameWindow().view == this) TheGameWindow().view = nullptr;
}

int CGmWndView::OnCreate(CREATESTRUCTW* cs) {
    ModifyStyleEx(WS_EX_CLIENTEDGE, 0);
    return fw::HtmlView::OnCreate(cs) == -1 ? -1 : 0;
}

void CGmWndView::OnInitialUpdate() {
    fw::HtmlView::OnInitialUpdate();
    if (IWebBrowser2* browser = GetBrowser()) browser->put_Silent(VARIANT_TRUE);
    TheGameWindow().view = this;
    Navigate2(TheGameWindow().gameAddress.c_str());
}

HRESULT CGmWndView::OnGetHostInfo(DOCHOSTUIINFO* info) {
    if (info)
        info->dwFlags =
            GameViewHostFlags(info->dwFlags, TheGameWindow().gameAddress, kGameHallPageUrl);
    return S_OK;
}

void CGmWndView::OnNavigateComplete2(const wchar_t* url) {
    GameWindowState& state = TheGameWindow();
    state.pageAddress = url ? url : L"";
    RECT client;
    if (!state.parentMainWindow || !::GetClientRect(state.parentMainWindow, &client)) return;
    const FrameRect fit = FitIntoMainWindow({client.left, client.top, client.right, client.bottom});
    HWND frame = GetParent();
    ::MoveWindow(frame, fit.left, fit.top, fit.right - fit.left, fit.bottom - fit.top, TRUE);
    ::ShowWindow(frame, SW_SHOW);
}

void CGmWndView::OnTitleChange(const wchar_t* text) {
    TheGameWindow().pageTitle = text ? text : L"";
}

void CGmWndView::OnBeforeNavigate2(const wchar_t* url, DWORD, const wchar_t*, VARIANT*,
                                   const wchar_t*, BOOL* cancel) {
    const EnterGameCommand command = ParseEnterGame(url ? url : L"", kHallSiteHome);
    if (!command.isCommand) return;
    if (cancel) *cancel = TRUE;
    if (command.refused) return;
    const std::wstring path = JoinFilePath(ProductFolderPath(), command.exeStem, L".exe");
    if (path.empty()) return;
    if (::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES) {
        StartClient(path);
        return;
    }
    if (AskToDownload() == IDOK) {
        OfferDownload(command.exeStem);
    } else {
        OpenSite(command.siteAddress);
    }
}

INT_PTR CGmWndView::AskToDownload() {
    return ShowMessageBox(1, L"VorelFennik游戏大厅",
                          L"下载Fennik登录器，玩游戏更加方便快捷，现在就去下载吧？",
                          TheGameWindow().parentMainWindow);
}

void CGmWndView::StartClient(const std::wstring& path) { RestartSelf(QuoteArgument(path).c_str()); }

void CGmWndView::OfferDownload(const std::wstring& exeStem) {
    ShowGameHallDownload(exeStem, TheGameWindow().parentMainWindow);
}

void CGmWndView::OpenSite(const std::wstring& address) { OpenAddress(address, SW_SHOW); }

}  // namespace vorel
