#include "web/LoginDlg.h"

#include <vector>

#include "app/Ambrel3App.h"
#include "app/SettingsStore.h"
#include "app/SystemSettings.h"
#include "ui/MessageBoxDlg.h"
#include "web/GameWindow.h"
#include "web/PageCommand.h"
#include "res/resource.h"

namespace vorel {

namespace {

// The main window answers a login in milliseconds; a busy machine gets ample time.
constexpr UINT kCopyDataTimeoutMs = 10000;

using fw::DhtmlMatchKind;
const fw::DhtmlBinding kLoginBindings[] = {
    {DhtmlMatchKind::Tag, L"body", fw::dhtml_event::kMouseDown, 0},
    {DhtmlMatchKind::Tag, L"td", fw::dhtml_event::kMouseDown, 0},
    {DhtmlMatchKind::Tag, L"div", fw::dhtml_event::kMouseDown, 0},
    {DhtmlMatchKind::Tag, L"body", fw::dhtml_event::kMouseUp, 0},
    {DhtmlMatchKind::Tag, L"td", fw::dhtml_event::kMouseUp, 0},
    {DhtmlMatchKind::Tag, L"div", fw::dhtml_event::kMouseUp, 0},
    {DhtmlMatchKind::Tag, L"body", fw::dhtml_event::kMouseMove, 0},
    {DhtmlMatchKind::Tag, L"td", fw::dhtml_event::kMouseMove, 0},
    {DhtmlMatchKind::Tag, L"div", fw::dhtml_event::kMouseMove, 0},
};

// The field in the thread's ANSI code page, as the unescaping expects it.
std::string ToThreadAnsi(const std::wstring& text) {
    if (text.empty()) return std::string();
    const int size = ::WideCharToMultiByte(
        CP_THREAD_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    if (size <= 0) return std::string();
    std::string out(static_cast<size_t>(size), '\0');
    ::WideCharToMultiByte(CP_THREAD_ACP, 0, text.data(), static_cast<int>(text.size()), &out[0],
                          size, nullptr, nullptr);
    return out;
}

}  // namespace

CLoginDlg::CLoginDlg(const std::wstring& loginUrl, fw::Dialog* background,
                     const LoginTarget& target)
    : CDHtmDlgEx(IDD_LOGIN, nullptr),
      m_loginUrl(loginUrl),
      m_background(background),
      m_target(target) {}

BOOL CLoginDlg::PreTranslateMessage(MSG* msg) {
    if (msg->message == WM_KEYDOWN && (msg->wParam == VK_ESCAPE || msg->wParam == VK_F5))
        return TRUE;
    return CDHtmDlgEx::PreTranslateMessage(msg);
}

BOOL CLoginDlg::OnInitDialog() {
    fw::DHtmlDialog::OnInitDialog();
    if (IWebBrowser2* browser = Browser()) browser->put_Silent(VARIANT_TRUE);
    // The template has no WS_EX_LAYERED: toggling it sets it.
    ::SetWindowLongPtrW(m_hWnd, GWL_EXSTYLE, GetExStyle() ^ WS_EX_LAYERED);
    ::SetLayeredWindowAttributes(m_hWnd, kSeeThrough, 0, LWA_COLORKEY);
    ModifyStyleEx(WS_EX_APPWINDOW, WS_EX_TOOLWINDOW);
    Navigate(m_loginUrl.c_str());
    return FALSE;
}

void CLoginDlg::OnNavigateComplete(IDispatch* disp, const wchar_t* url) {
    CDHtmDlgEx::OnNavigateComplete(disp, url);
    ShowWindow(SW_SHOW);
    if (HWND browser = ::FindWindowExW(m_hWnd, nullptr, nullptr, nullptr)) {
        RECT client;
        GetClientRect(&client);
        ::MoveWindow(browser, 0, 0, client.right - client.left, client.bottom - client.top, TRUE);
    }
}

LRESULT CLoginDlg::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    // The page's timers are the browser's own; ours would be the only ones here, and there
    // are none.
    if (msg == WM_TIMER) return 0;
    return CDHtmDlgEx::WindowProc(msg, wParam, lParam);
}

const fw::DhtmlBinding* CLoginDlg::GetDhtmlEventMap(size_t* count) {
    if (count) *count = sizeof(kLoginBindings) / sizeof(kLoginBindings[0]);
    return kLoginBindings;
}

HRESULT CLoginDlg::OnDhtmlEvent(int, const fw::HtmlElementPtr&) { return S_FALSE; }

void CLoginDlg::OnBrowserBeforeNavigate2(IDispatch*, const wchar_t* url, DWORD, const wchar_t*,
                                         VARIANT*, const wchar_t*, VARIANT_BOOL* cancel) {
    const std::wstring address = url ? url : L"";
    if (ParsePageCommand(address).kind == PageCommandKind::NotCommand) return;
    // Never loaded, whatever the command does; set first, since the command may end the
    // dialog before this handler returns.
    if (cancel) *cancel = VARIANT_TRUE;
    HandlePageCommand(address);
}

void CLoginDlg::EndLogin(INT_PTR result) {
    if (m_background) m_background->EndDialog(result);
}

void CLoginDlg::HandlePageCommand(const std::wstring& url) {
    const PageCommand command = ParsePageCommand(url);
    switch (command.kind) {
        case PageCommandKind::LoadGame:
            LoadGame(command.accountField, command.gameAddress);
            break;
        case PageCommandKind::ExitGame:
            EndLogin(IDCANCEL);
            break;
        case PageCommandKind::Minimize:
            switch (DecideMinimize(m_target.tabNumber, IsUacEnabled())) {
                case MinimizeAction::EndLogin:
                    EndLogin(IDCANCEL);
                    break;
                case MinimizeAction::MinimizeLoginWindow:
                    if (m_background && m_background->m_hWnd)
                        ::ShowWindow(m_background->m_hWnd, SW_MINIMIZE);
                    break;
                case MinimizeAction::MinimizeMainWindow:
                    if (m_target.mainWindow) ::ShowWindow(m_target.mainWindow, SW_MINIMIZE);
                    break;
            }
            break;
        case PageCommandKind::Unknown:
        case PageCommandKind::NotCommand:
            break;
    }
}

void CLoginDlg::LoadGame(const std::wstring& accountField, const std::wstring& gameAddress) {
    std::wstring field = accountField;
    if (NeedsUnescape(field)) field = UnescapeAccountField(ToThreadAnsi(field));
    const AccountCaption caption = NormaliseAccountField(field);

    // Sent from a buffer of our own: the main window reads it while we wait.
    std::vector<wchar_t> text(caption.text.begin(), caption.text.end());
    text.push_back(L'\0');
    COPYDATASTRUCT record = {};
    record.dwData = 0;
    record.cbData = static_cast<DWORD>(CopyDataBytes(caption.text));
    record.lpData = text.data();
    // A main window that is gone answers 0, which reads as a refusal; so does one that is
    // hung or does not answer in time, rather than holding this login for ever.
    DWORD_PTR accepted = 0;
    if (m_target.mainWindow &&
        !::SendMessageTimeoutW(m_target.mainWindow, WM_COPYDATA, 0,
                               reinterpret_cast<LPARAM>(&record), SMTO_ABORTIFHUNG,
                               kCopyDataTimeoutMs, &accepted)) {
        accepted = 0;
    }
    if (!accepted) {
        ShowMessageBox(0, kProductTitle, RefusalMessage(caption), nullptr);
        EndLogin(IDCANCEL);
        return;
    }
    TheGameWindow().gameAddress = gameAddress;
    EndLogin(IDOK);
}

}  // namespace vorel
