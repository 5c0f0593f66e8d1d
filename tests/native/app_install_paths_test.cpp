#include <gtest/gtest.h>

#include "app/InstallPaths.h"
#include "app/Protocol.h"

using namespace vorel;

TEST(InstallPaths, TheCopyKeepsTheExecutablesOwnName) {
    const std::wstring product = L"C:\\ProgramData\\Vorel\\GameLogin";
    EXPECT_EQ(InstallDestination(product, L"C:\\Users\\p\\Downloads\\TolvVorel.exe"),
              product + L"\\TolvVorel.exe");
    EXPECT_EQ(InstallDestination(product, L"D:\\下载\\VorelTolv登录器(1).EXE"),
              product + L"\\VorelTolv登录器(1).EXE");
    EXPECT_EQ(InstallDestination(product, L"bare.exe"), product + L"\\bare.exe");
    // Held in 260 characters like every path of the install.
    EXPECT_EQ(InstallDestination(product, L"C:\\d\\" + std::wstring(300, L'x')).size(), 259u);
}

TEST(InstallPaths, ShortcutAndStartMenuFolderForms) {
    EXPECT_EQ(ShortcutFilePath(L"C:\\users\\Public\\Desktop", kShortcutName),
              L"C:\\users\\Public\\Desktop\\VorelTolv登录器.lnk");
    const std::wstring programs = L"C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs";
    EXPECT_EQ(StartMenuFolderPath(programs), programs + L"\\Vorel登录器");
    EXPECT_EQ(ShortcutFilePath(StartMenuFolderPath(programs), kUninstallShortcutName),
              programs + L"\\Vorel登录器\\卸载 VorelTolv登录器.lnk");
    EXPECT_STREQ(kGroupShortcutName, L"七二六一网页游戏");
    EXPECT_STREQ(SwitchText(Switch::ShortcutStart), L"/VorelD");
    EXPECT_STREQ(SwitchText(Switch::Uninstall), L"/uninst");
}

TEST(InstallPaths, PerUserDesktopShortcutIsInTheProfileOfTheDocumentsFolder) {
    // Newer systems: the profile holds Documents and Desktop side by side.
    EXPECT_EQ(PerUserDesktopShortcutPath(L"C:\\Users\\p\\Documents", L"C:\\Users\\Public\\Desktop",
                                         kShortcutName),
              L"C:\\Users\\p\\Desktop\\VorelTolv登录器.lnk");
    // Older systems: localised folder names are taken from the common desktop.
    EXPECT_EQ(PerUserDesktopShortcutPath(L"C:\\Documents and Settings\\玩家\\My Documents",
                                         L"C:\\Documents and Settings\\All Users\\桌面", L"x"),
              L"C:\\Documents and Settings\\玩家\\桌面\\x.lnk");
    // Either folder without a backslash: nothing to delete.
    EXPECT_EQ(PerUserDesktopShortcutPath(L"Documents", L"C:\\Users\\Public\\Desktop", L"x"), L"");
    EXPECT_EQ(PerUserDesktopShortcutPath(L"C:\\Users\\p\\Documents", L"", L"x"), L"");
}
