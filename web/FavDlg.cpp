#include "web/FavDlg.h"

#include <shlobj.h>

#include <string>

#include "fw/Raii.h"
#include "res/resource.h"
#include "web/FavoriteShortcut.h"
#include "web/FileNameRules.h"

namespace vorel {

namespace {

const wchar_t kNameTooLongText[] = L"收藏名称太长，请改短一些。";

std::wstring FavoritesFolder() {
    wchar_t path[MAX_PATH] = L"";
    if (FAILED(::SHGetFolderPathW(nullptr, CSIDL_FAVORITES, nullptr, SHGFP_TYPE_CURRENT, path)))
        return std::wstring();
    return path;
}

}  // namespace

const wchar_t* WriteFavoriteShortcut(const std::wstring& folder, const std::wstring& name,
                                     const std::wstring& address) {
    const FavoriteCheck check = CheckFavorite(name, address);
    if (check != FavoriteCheck::Ok) return FavoriteRefusalText(check);
    const std::wstring path = JoinFilePath(folder, name, L".url");
    if (folder.empty() || path.empty()) return kNameTooLongText;

    const std::wstring text = ShortcutText(address);
    char bytes[kShortcutBytesMax];
    const int size =
        ::WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), bytes,
                              static_cast<int>(sizeof(bytes)), nullptr, nullptr);
    // More than 512 bytes in the ANSI code page: cutting would leave a broken shortcut.
    if (size <= 0) return FavoriteRefusalText(FavoriteCheck::AddressTooLong);

    fw::ScopedHandle file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return kFavoriteWriteFailedText;
    DWORD written = 0;
    const BOOL ok = ::WriteFile(file.get(), bytes, static_cast<DWORD>(size), &written, nullptr);
    file.reset();
    if (!ok || written != static_cast<DWORD>(size)) {
        ::DeleteFileW(path.c_str());
        return kFavoriteWriteFailedText;
    }
    return nullptr;
}

CFavDlg::CFavDlg(const std::wstring& pageTitle, const std::wstring& pageAddress, HWND parent)
    : fw::Dialog(IDD_FAVORITE, parent), m_pageTitle(pageTitle), m_pageAddress(pageAddress) {}

BOOL CFavDlg::OnInitDialog() {
    fw::Dialog::OnInitDialog();
    ::SetDlgItemTextW(m_hWnd, IDC_FAV_NAME, m_pageTitle.c_str());
    return TRUE;
}

void CFavDlg::ShowRefusal(const wchar_t* text) {
    ::SetDlgItemTextW(m_hWnd, IDC_FAV_MESSAGE, text);
    HWND edit = GetDlgItem(IDC_FAV_NAME);
    ::SetFocus(edit);
    ::SendMessageW(edit, EM_SETSEL, 0, -1);
}

void CFavDlg::OnOK() {
    wchar_t name[kFavoriteNameMax + 1] = L"";
    ::GetDlgItemTextW(m_hWnd, IDC_FAV_NAME, name, static_cast<int>(kFavoriteNameMax + 1));
    const std::wstring folder = m_folder.empty() ? FavoritesFolder() : m_folder;
    if (const wchar_t* refusal =
            WriteFavoriteShortcut(folder, FavoriteNameFromEdit(name), m_pageAddress)) {
        ShowRefusal(refusal);
        return;
    }
    fw::Dialog::OnOK();
}

}  // namespace vorel
