// "添加收藏": stores the current game page as an Internet Shortcut in the Favorites folder,
// under a name proposed from the page title. A name that is not a plain file name, or an
// address too long for the shortcut, is refused in the dialog and nothing is written.
#pragma once
#include <windows.h>

#include <string>

#include "fw/Dialog.h"

namespace vorel {

class CFavDlg : public fw::Dialog {
public:
    CFavDlg(const std::wstring& pageTitle, const std::wstring& pageAddress, HWND parent);

    BOOL OnInitDialog() override;
    // Writes the shortcut and ends with IDOK; on a refusal or a failed write the dialog stays
    // open with the reason shown.
    void OnOK() override;

    // The folder the shortcut goes into; the user's Favorites folder unless set.
    void SetFolder(const std::wstring& folder) { m_folder = folder; }

private:
    void ShowRefusal(const wchar_t* text);

    std::wstring m_pageTitle;
    std::wstring m_pageAddress;
    std::wstring m_folder;
};

// Writes the shortcut bytes for `address` into folder\name.url, replacing a file of that name.
// Nothing is left behind when the file cannot be written whole. The text to show on failure,
// or nullptr when the shortcut was written.
const wchar_t* WriteFavoriteShortcut(const std::wstring& folder, const std::wstring& name,
                                     const std::wstring& address);

}  // namespace vorel
