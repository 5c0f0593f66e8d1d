// The web login: the login page in a see-through, taskbar-less window over the login picture,
// and the page's "app:" commands that load the game, close the login or minimise.
#pragma once
#include <windows.h>

#include <string>

#include "web/DHtmDlgEx.h"

namespace vorel {

// Where a login reports to: the main window that started this process, and its tab.
struct LoginTarget {
    HWND mainWindow = nullptr;
    int tabNumber = 0;
};

class CLoginDlg : public CDHtmDlgEx {
public:
    // background: the dialog that the page commands end (the login window's parent).
    CLoginDlg(const std::wstring& loginUrl, fw::Dialog* background, const LoginTarget& target);

    // Escape and F5 never cancel or reload the login.
    BOOL PreTranslateMessage(MSG* msg) override;
    // The browser, the colour-keyed layered window, no taskbar button, the login page.
    BOOL OnInitDialog() override;
    // Shown at the first completed navigation, with the browser fitted to the window.
    void OnNavigateComplete(IDispatch* disp, const wchar_t* url) override;
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

    // The page commands, in place of the command-scheme filter.
    void OnBrowserBeforeNavigate2(IDispatch* disp, const wchar_t* url, DWORD flags,
                                  const wchar_t* targetFrame, VARIANT* postData,
                                  const wchar_t* headers, VARIANT_BOOL* cancel) override;

    // Page-background mouse events lose their default action, nothing more.
    const fw::DhtmlBinding* GetDhtmlEventMap(size_t* count) override;
    HRESULT OnDhtmlEvent(int handler, const fw::HtmlElementPtr& source) override;

    const std::wstring& LoginUrl() const { return m_loginUrl; }

    // The colour of page areas that show the picture behind.
    static constexpr COLORREF kSeeThrough = RGB(254, 254, 254);

private:
    void HandlePageCommand(const std::wstring& url);
    void LoadGame(const std::wstring& accountField, const std::wstring& gameAddress);
    void EndLogin(INT_PTR result);

    std::wstring m_loginUrl;
    fw::Dialog* m_background;
    LoginTarget m_target;
};

}  // namespace vorel
