#include "app/Install.h"

#include <direct.h>
#include <shlobj.h>

#include "app/FolderAccess.h"
#include "app/InstallPaths.h"
#include "app/Protocol.h"
#include "app/Processes.h"
#include "app/SettingsStore.h"
#include "app/Shortcuts.h"
#include "fw/Raii.h"

namespace vorel {

std::wstring CopyIntoProductFolder(const std::wstring& exePath) {
    const std::wstring appData = SpecialFolderPath(CSIDL_COMMON_APPDATA);
    // Without it the folders would be made at the root of the current drive.
    if (appData.empty()) return std::wstring();
    std::wstring folder = appData + L"\\Vorel";
    _wmkdir(folder.c_str());
    // Both levels: whoever may change the upper one can rename the lower one away and put
    // a folder of their own in its place. A folder that is there already gets it too.
    ProtectProductFolder(folder);
    folder += L"\\GameLogin";
    _wmkdir(folder.c_str());
    ProtectProductFolder(folder);
    const std::wstring destination = InstallDestination(folder, exePath);
    // The file system ignores case in every script, not only in ASCII. A copy that is there
    // goes first: overwritten, it would keep its owner, who could change it afterwards.
    if (::CompareStringW(LOCALE_INVARIANT, NORM_IGNORECASE, destination.c_str(), -1,
                         exePath.c_str(), -1) != CSTR_EQUAL &&
        RemoveBeforeWriting(destination))
        ::CopyFileW(exePath.c_str(), destination.c_str(), FALSE);
    return destination;
}

void CreateProductShortcuts(const std::wstring& installedExe) {
    CreateDesktopShortcut(installedExe.c_str());
    CreateStartMenuShortcut(kShortcutName, installedExe.c_str(), SwitchText(Switch::ShortcutStart));
    CreateStartMenuShortcut(kUninstallShortcutName, installedExe.c_str(),
                            SwitchText(Switch::Uninstall));
}

BOOL InstallProduct() {
    fw::ScopedCoInit com;
    const std::wstring installed = CopyIntoProductFolder(RunningExePath());
    if (installed.empty()) return TRUE;
    CreateProductShortcuts(installed);
    // Quoted: the application-data folder of older systems has blanks in its path.
    RestartSelf(QuoteArgument(installed).c_str());
    return TRUE;
}

}  // namespace vorel
