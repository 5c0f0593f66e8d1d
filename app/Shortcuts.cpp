#include "app/Shortcuts.h"

#include <shlobj.h>

#include <direct.h>

#include "app/Files.h"
#include "app/InstallPaths.h"
#include "app/Protocol.h"
#include "fw/Raii.h"

namespace vorel {

namespace {

bool IsEmpty(const wchar_t* text) { return !text || !*text; }

bool Exists(const wchar_t* path) { return ::GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES; }

// The shell opens a shortcut that has just appeared on the desktop to show its icon, and a
// virus scanner may hold it for a moment too: a deletion then fails with a sharing violation
// and would leave the shortcut behind, so it is tried again for up to a second.
BOOL DeleteShortcutFile(const std::wstring& path) {
    for (int attempt = 0;; ++attempt) {
        if (::DeleteFileW(path.c_str())) return TRUE;
        if (::GetLastError() != ERROR_SHARING_VIOLATION || attempt >= 20) return FALSE;
        ::Sleep(50);
    }
}

}  // namespace

std::wstring SpecialFolderPath(int csidl) {
    wchar_t path[MAX_PATH] = L"";
    if (FAILED(::SHGetFolderPathW(nullptr, csidl, nullptr, 0, path))) return std::wstring();
    return path;
}

BOOL CreateShortcutFile(const wchar_t* link, const wchar_t* target, const wchar_t* description,
                        const wchar_t* arguments) {
    if (!link) return FALSE;
    fw::ComPtr<IShellLinkW> shellLink;
    if (FAILED(shellLink.CreateInstance(CLSID_ShellLink))) return FALSE;
    shellLink->SetPath(target);
    shellLink->SetIconLocation(target, 0);
    fw::ComPtr<IPersistFile> file;
    if (FAILED(shellLink.QueryInterface(file))) return FALSE;
    shellLink->SetArguments(arguments);
    if (!IsEmpty(description)) shellLink->SetDescription(description);
    file->Save(link, TRUE);
    return TRUE;
}

BOOL CreateDesktopShortcut(const wchar_t* target) {
    if (IsEmpty(target) || !Exists(target)) return FALSE;
    const std::wstring desktop = SpecialFolderPath(CSIDL_COMMON_DESKTOPDIRECTORY);
    if (desktop.empty()) return FALSE;
    const std::wstring documents = SpecialFolderPath(CSIDL_PERSONAL);
    const std::wstring own = PerUserDesktopShortcutPath(documents, desktop, kShortcutName);
    if (!own.empty()) DeleteShortcutFile(own);
    return CreateShortcutFile(ShortcutFilePath(desktop, kShortcutName).c_str(), target,
                              kShortcutName, SwitchText(Switch::ShortcutStart));
}

BOOL CreateStartMenuShortcut(const wchar_t* name, const wchar_t* target, const wchar_t* arguments) {
    if (IsEmpty(target) || IsEmpty(name) || !Exists(target)) return FALSE;
    const std::wstring programs = SpecialFolderPath(CSIDL_COMMON_PROGRAMS);
    if (programs.empty()) return FALSE;
    const std::wstring folder = StartMenuFolderPath(programs);
    _wmkdir(folder.c_str());
    return CreateShortcutFile(ShortcutFilePath(folder, name).c_str(), target, nullptr, arguments);
}

BOOL DeleteDesktopShortcut(const wchar_t* name) {
    if (IsEmpty(name)) return FALSE;
    const std::wstring desktop = SpecialFolderPath(CSIDL_COMMON_DESKTOPDIRECTORY);
    if (desktop.empty()) return FALSE;
    return DeleteShortcutFile(ShortcutFilePath(desktop, name));
}

BOOL DeleteStartMenuShortcut(const wchar_t* name) {
    if (IsEmpty(name)) return FALSE;
    const std::wstring programs = SpecialFolderPath(CSIDL_COMMON_PROGRAMS);
    if (programs.empty()) return FALSE;
    return DeleteShortcutFile(ShortcutFilePath(StartMenuFolderPath(programs), name));
}

BOOL RemoveShortcuts() {
    fw::ScopedCoInit com;
    DeleteDesktopShortcut(kGroupShortcutName);
    DeleteDesktopShortcut(kShortcutName);
    DeleteStartMenuShortcut(kShortcutName);
    DeleteStartMenuShortcut(kUninstallShortcutName);
    const std::wstring programs = SpecialFolderPath(CSIDL_COMMON_PROGRAMS);
    if (!programs.empty()) {
        const std::wstring folder = StartMenuFolderPath(programs);
        if (CountFilesInTree(folder) == 0) ::RemoveDirectoryW(folder.c_str());
    }
    return TRUE;
}

}  // namespace vorel
