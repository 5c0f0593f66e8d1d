#include "app/InstallPaths.h"

#include "app/TextNumber.h"

namespace vorel {

const wchar_t kShortcutName[] = L"VorelTolv登录器";
const wchar_t kUninstallShortcutName[] = L"卸载 VorelTolv登录器";
const wchar_t kStartMenuFolderName[] = L"Vorel登录器";
const wchar_t kGroupShortcutName[] = L"七二六一网页游戏";

std::wstring InstallDestination(const std::wstring& productFolder, const std::wstring& exePath) {
    const size_t slash = exePath.rfind(L'\\');
    const std::wstring fileName =
        slash == std::wstring::npos ? L"\\" + exePath : exePath.substr(slash);
    return TruncateToBuffer(productFolder + fileName, kPathCapacity);
}

std::wstring ShortcutFilePath(const std::wstring& folder, const std::wstring& name) {
    return TruncateToBuffer(folder + L"\\" + name + L".lnk", kPathCapacity);
}

std::wstring StartMenuFolderPath(const std::wstring& programsFolder) {
    return TruncateToBuffer(programsFolder + L"\\" + kStartMenuFolderName, kPathCapacity);
}

std::wstring PerUserDesktopShortcutPath(const std::wstring& documentsFolder,
                                        const std::wstring& commonDesktopFolder,
                                        const std::wstring& name) {
    const size_t profileEnd = documentsFolder.rfind(L'\\');
    const size_t desktopName = commonDesktopFolder.rfind(L'\\');
    if (profileEnd == std::wstring::npos || desktopName == std::wstring::npos)
        return std::wstring();
    return TruncateToBuffer(documentsFolder.substr(0, profileEnd) +
                                commonDesktopFolder.substr(desktopName) + L"\\" + name + L".lnk",
                            kPathCapacity);
}

}  // namespace vorel
