// Where the install puts the executable and its shortcuts: names and path forms.
// Platform-free.
#pragma once
#include <string>

namespace vorel {

extern const wchar_t kShortcutName[];           // "VorelTolv登录器"
extern const wchar_t kUninstallShortcutName[];  // "卸载 VorelTolv登录器"
extern const wchar_t kStartMenuFolderName[];    // "Vorel登录器"
// The maker's web-game group shortcut; only ever removed.
extern const wchar_t kGroupShortcutName[];  // "七二六一网页游戏"

// Paths are held in 260 characters, as the shell's buffers are.
constexpr size_t kPathCapacity = 260;

// The product folder joined with the executable's own file name (its path from the last
// backslash on; the whole path when it has none).
std::wstring InstallDestination(const std::wstring& productFolder, const std::wstring& exePath);

// "%s\%s.lnk".
std::wstring ShortcutFilePath(const std::wstring& folder, const std::wstring& name);

// The programs folder joined with "Vorel登录器".
std::wstring StartMenuFolderPath(const std::wstring& programsFolder);

// A per-user desktop shortcut of an earlier install: the user's profile folder (the
// documents folder cut at its last backslash), the common desktop's last component with its
// backslash, then "\" name ".lnk". Empty when either folder holds no backslash.
std::wstring PerUserDesktopShortcutPath(const std::wstring& documentsFolder,
                                        const std::wstring& commonDesktopFolder,
                                        const std::wstring& name);

}  // namespace vorel
