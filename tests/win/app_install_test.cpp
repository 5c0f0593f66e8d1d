// The pieces of install and uninstall on their own: shell links read back through the
// shell, the Start-menu folder's removal, file counting, and the self-delete batch written,
// guarded and run by Wine's cmd against a stand-in executable.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app/Files.h"
#include "app/FolderAccess.h"
#include "app/Install.h"
#include "app/SelfDelete.h"
#include "app/Shortcuts.h"
#include "fw/Raii.h"
#include "support/InstallScenario.h"
#include "support/WinTestSupport.h"

using namespace testsupport;

namespace {
// The desktop of Wine's virtual desktop shows the shortcuts it finds there and may still hold
// one that was deleted: the file goes when it lets go.
bool Gone(const std::wstring& path) {
    return WaitFor([&] { return !FileExists(path); }, 5000);
}
}  // namespace

namespace {

const std::wstring kRoot = L"C:\\vorel-win-install";

bool WriteText(const std::wstring& path, const std::string& text) {
    fw::ScopedHandle file(
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    DWORD written = 0;
    return file &&
           WriteFile(file.get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

// Opens for writing the way an editor or a copy would; the error when that is refused.
DWORD OpenForWritingError(const std::wstring& path) {
    fw::ScopedHandle file(CreateFileW(path.c_str(), GENERIC_WRITE,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, 0, nullptr));
    return file ? ERROR_SUCCESS : GetLastError();
}

std::vector<std::wstring> FilesIn(const std::wstring& folder) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return names;
    do {
        if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(data.cFileName);
    } while (FindNextFileW(find, &data));
    FindClose(find);
    return names;
}

class Install : public ::testing::Test {
protected:
    void SetUp() override {
        DeleteTree(kRoot);
        ASSERT_TRUE(EnsureDir(kRoot));
        RemoveLauncherShortcuts();
    }
    void TearDown() override {
        RemoveLauncherShortcuts();
        DeleteTree(kRoot);
    }
    fw::ScopedCoInit m_com;
};

}  // namespace

TEST_F(Install, ALinkCarriesTargetIconArgumentsAndOnlyADescriptionThatIsGiven) {
    const std::wstring target = kRoot + L"\\Game Login.exe";
    ASSERT_TRUE(WriteText(target, "MZ"));
    const std::wstring described = kRoot + L"\\described.lnk";
    const std::wstring bare = kRoot + L"\\bare.lnk";
    const std::wstring empty = kRoot + L"\\empty.lnk";
    EXPECT_TRUE(vorel::CreateShortcutFile(described.c_str(), target.c_str(), L"VorelTolv登录器",
                                          L"/VorelD"));
    EXPECT_TRUE(vorel::CreateShortcutFile(bare.c_str(), target.c_str(), nullptr, L"/uninst"));
    EXPECT_TRUE(vorel::CreateShortcutFile(empty.c_str(), target.c_str(), L"", L""));
    EXPECT_FALSE(vorel::CreateShortcutFile(nullptr, target.c_str(), nullptr, L"/VorelD"));

    ShortcutInfo info = ReadShortcut(described);
    ASSERT_TRUE(info.loaded);
    EXPECT_EQ(info.target, target);
    EXPECT_EQ(info.iconPath, target);
    EXPECT_EQ(info.iconIndex, 0);
    EXPECT_EQ(info.arguments, L"/VorelD");
    EXPECT_EQ(info.description, L"VorelTolv登录器");
    EXPECT_EQ(info.workingDirectory, L"");
    info = ReadShortcut(bare);
    ASSERT_TRUE(info.loaded);
    EXPECT_EQ(info.arguments, L"/uninst");
    EXPECT_EQ(info.description, L"");
    info = ReadShortcut(empty);
    ASSERT_TRUE(info.loaded);
    EXPECT_EQ(info.arguments, L"");
    EXPECT_EQ(info.description, L"");
}

TEST_F(Install, TheDesktopShortcutNeedsAnExistingTargetAndReplacesTheUsersOwn) {
    const std::wstring target = kRoot + L"\\TolvVorel.exe";
    EXPECT_FALSE(vorel::CreateDesktopShortcut(target.c_str()));  // not there yet
    EXPECT_FALSE(vorel::CreateDesktopShortcut(L""));
    EXPECT_FALSE(vorel::CreateDesktopShortcut(nullptr));
    EXPECT_FALSE(FileExists(DesktopShortcut()));

    ASSERT_TRUE(WriteText(target, "MZ"));
    EnsureDir(UserDesktopShortcut().substr(0, UserDesktopShortcut().rfind(L'\\')));
    ASSERT_TRUE(WriteText(UserDesktopShortcut(), "an earlier install's"));
    EXPECT_TRUE(vorel::CreateDesktopShortcut(target.c_str()));
    EXPECT_TRUE(Gone(UserDesktopShortcut()));
    const ShortcutInfo info = ReadShortcut(DesktopShortcut());
    ASSERT_TRUE(info.loaded);
    EXPECT_EQ(info.target, target);
    EXPECT_EQ(info.arguments, L"/VorelD");
    EXPECT_EQ(info.description, L"VorelTolv登录器");
}

TEST_F(Install, StartMenuShortcutsGoAndTheirFolderOnlyWhenNothingElseIsInIt) {
    const std::wstring target = kRoot + L"\\TolvVorel.exe";
    EXPECT_FALSE(vorel::CreateStartMenuShortcut(L"x", target.c_str(), L"/VorelD"));
    EXPECT_FALSE(FileExists(StartMenuFolder()));
    ASSERT_TRUE(WriteText(target, "MZ"));
    EXPECT_FALSE(vorel::CreateStartMenuShortcut(L"", target.c_str(), L"/VorelD"));

    // Twice: the second round finds a file of someone else's one folder down.
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        vorel::CreateProductShortcuts(target);
        const ShortcutInfo info = ReadShortcut(UninstallShortcut());
        ASSERT_TRUE(info.loaded);
        EXPECT_EQ(info.target, target);
        EXPECT_EQ(info.arguments, L"/uninst");
        EXPECT_EQ(ReadShortcut(StartMenuShortcut()).arguments, L"/VorelD");
        EXPECT_TRUE(ReadShortcut(DesktopShortcut()).loaded);
        const std::wstring group = CommonDesktopFolder() + L"\\七二六一网页游戏.lnk";
        ASSERT_TRUE(WriteText(group, "the maker's"));
        const std::wstring foreign = StartMenuFolder() + L"\\more\\readme.txt";
        if (round == 1) {
            ASSERT_TRUE(EnsureDir(StartMenuFolder() + L"\\more"));
            ASSERT_TRUE(WriteText(foreign, "not ours"));
        }

        EXPECT_TRUE(vorel::RemoveShortcuts());
        EXPECT_TRUE(Gone(DesktopShortcut()));
        EXPECT_TRUE(Gone(group));
        EXPECT_TRUE(Gone(StartMenuShortcut()));
        EXPECT_TRUE(Gone(UninstallShortcut()));
        EXPECT_EQ(FileExists(StartMenuFolder()), round == 1);
        EXPECT_EQ(FileExists(foreign), round == 1);
    }
    // Deleting reports whether there was a file.
    EXPECT_FALSE(vorel::DeleteDesktopShortcut(L"VorelTolv登录器"));
    EXPECT_FALSE(vorel::DeleteStartMenuShortcut(L""));
    ASSERT_TRUE(vorel::CreateStartMenuShortcut(L"VorelTolv登录器", target.c_str(), L"/VorelD"));
    EXPECT_TRUE(vorel::DeleteStartMenuShortcut(L"VorelTolv登录器"));
}

TEST_F(Install, AShortcutTheShellHoldsForAMomentIsStillDeleted) {
    ASSERT_TRUE(EnsureDir(DesktopShortcut().substr(0, DesktopShortcut().rfind(L'\\'))));
    ASSERT_TRUE(WriteText(DesktopShortcut(), "a shortcut being read"));
    // Opened without delete sharing, as the desktop does while it reads a new icon.
    HANDLE held = CreateFileW(DesktopShortcut().c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    fw::ScopedHandle closer = testsupport::StartThread([held] {
        Sleep(300);
        CloseHandle(held);
    });
    ASSERT_TRUE(closer);
    EXPECT_TRUE(vorel::DeleteDesktopShortcut(L"VorelTolv登录器"));
    EXPECT_FALSE(FileExists(DesktopShortcut()));
    WaitForSingleObject(closer.get(), 5000);
}

TEST_F(Install, TheCopyReplacesAnOlderOneButNeverItself) {
    const std::wstring source = kRoot + L"\\dl\\Vorel Setup.exe";
    ASSERT_TRUE(EnsureDir(kRoot + L"\\dl"));
    ASSERT_TRUE(WriteText(source, "the new copy"));
    const std::wstring installed = ProductFolder() + L"\\Vorel Setup.exe";
    ASSERT_TRUE(EnsureDir(ProductFolder()));
    ASSERT_TRUE(WriteText(installed, "an older copy"));

    EXPECT_EQ(vorel::CopyIntoProductFolder(source), installed);
    EXPECT_EQ(ReadFileBytes(installed), "the new copy");

    std::wstring sameFile = installed;
    for (auto& c : sameFile) c = towlower(c);
    ASSERT_TRUE(WriteText(installed, "kept"));
    EXPECT_EQ(vorel::CopyIntoProductFolder(sameFile), ProductFolder() + L"\\vorel setup.exe");
    EXPECT_EQ(ReadFileBytes(installed), "kept");
    DeleteFileW(installed.c_str());
}

TEST_F(Install, FilesAreCountedThroughTheWholeTreeAndAnUnlistableFolderCountsOne) {
    EXPECT_EQ(vorel::CountFilesInTree(kRoot), 0u);
    ASSERT_TRUE(EnsureDir(kRoot + L"\\a\\b\\c"));
    EXPECT_EQ(vorel::CountFilesInTree(kRoot), 0u);
    ASSERT_TRUE(WriteText(kRoot + L"\\one", "1"));
    ASSERT_TRUE(WriteText(kRoot + L"\\a\\two", "2"));
    ASSERT_TRUE(WriteText(kRoot + L"\\a\\b\\c\\three", "3"));
    ASSERT_TRUE(WriteText(kRoot + L"\\a\\b\\c\\四", "4"));
    EXPECT_EQ(vorel::CountFilesInTree(kRoot), 4u);
    EXPECT_EQ(vorel::CountFilesInTree(kRoot + L"\\"), 4u);
    EXPECT_EQ(vorel::CountFilesInTree(kRoot + L"\\a\\b"), 2u);
    EXPECT_EQ(vorel::CountFilesInTree(kRoot + L"\\missing"), 1u);
    EXPECT_EQ(vorel::CountFilesInTree(kRoot + L"\\one"), 1u);  // a file is no folder
}

TEST_F(Install, TextIsAppendedOrOnlyWrittenIntoANewFile) {
    const std::string path = "C:\\vorel-win-install\\text.bat";
    EXPECT_EQ(vorel::AppendTextToFile(path.c_str(), "cd\\\r\n"), 5);
    EXPECT_EQ(vorel::AppendTextToFile(path.c_str(), "del x\r\n"), 7);
    EXPECT_EQ(vorel::AppendTextToFile(path.c_str(), ""), 0);
    EXPECT_EQ(ReadFileBytes(kRoot + L"\\text.bat"), "cd\\\r\ndel x\r\n");

    EXPECT_EQ(vorel::AppendTextToFile(path.c_str(), "evil\r\n", CREATE_NEW), -1);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_EXISTS));
    EXPECT_EQ(ReadFileBytes(kRoot + L"\\text.bat"), "cd\\\r\ndel x\r\n");
    EXPECT_EQ(vorel::AppendTextToFile("C:\\vorel-win-install\\no\\such.bat", "x"), -1);
}

TEST_F(Install, TheBatchIsWrittenUnderAFreshNameAndGuardedAgainstEveryOtherWriter) {
    const std::wstring temp = L"C:\\vorel-win-install";
    const std::wstring exe = L"C:\\Program Files\\Vorel\\TolvVorel.exe";
    vorel::GuardedBatch batch;
    ASSERT_TRUE(vorel::WriteSelfDeleteBatch(temp, vorel::SelfDeleteForm::KeepFolder, exe, &batch));
    ASSERT_TRUE(batch.guard);
    ASSERT_EQ(batch.path.rfind(temp + L"\\Del", 0), 0u) << Narrow(batch.path);
    ASSERT_EQ(batch.path.substr(batch.path.size() - 8), L".tmp.bat");
    const std::wstring path = batch.path;
    EXPECT_TRUE(FileExists(path.substr(0, path.size() - 4)));  // GetTempFileNameW's own file
    EXPECT_EQ(ReadFileBytes(path), vorel::SelfDeleteScript(vorel::SelfDeleteForm::KeepFolder,
                                                           Narrow(exe), Narrow(batch.path)));

    EXPECT_EQ(OpenForWritingError(path), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
    EXPECT_FALSE(DeleteFileW(path.c_str()));
    EXPECT_FALSE(MoveFileW(path.c_str(), (kRoot + L"\\moved.bat").c_str()));
    batch.guard.reset();
    EXPECT_EQ(OpenForWritingError(path), static_cast<DWORD>(ERROR_SUCCESS));
}

TEST_F(Install, ABatchNameThatIsTakenIsNeverWrittenInto) {
    // GetTempFileNameA numbers its names from the tick count. Someone preparing commands of
    // their own takes the names of a stretch of time ahead; the batch is asked for when that
    // stretch has come. Planting is slow under Wine, so a stretch that was reached before
    // the planting had ended is tried again further ahead.
    constexpr DWORD kTaken = 60;
    DWORD lead = 2000;
    bool planted = false;
    for (int round = 0; round < 3 && !planted; ++round, lead *= 3) {
        DeleteTree(kRoot);
        ASSERT_TRUE(EnsureDir(kRoot));
        const DWORD opens = GetTickCount() + lead;
        for (DWORD i = 0; i < kTaken; ++i) {
            wchar_t name[64];
            swprintf(name, 64, L"\\Del%x.tmp.bat", (opens + i) & 0xFFFF);
            ASSERT_TRUE(WriteText(kRoot + name, "planted\r\n"));
        }
        if (static_cast<LONG>(GetTickCount() - opens) >= 0) continue;
        WaitFor([&] { return static_cast<LONG>(GetTickCount() - opens) >= 0; }, lead);
        planted = true;
    }
    ASSERT_TRUE(planted);
    vorel::GuardedBatch batch;
    EXPECT_FALSE(vorel::WriteSelfDeleteBatch(
        L"C:\\vorel-win-install", vorel::SelfDeleteForm::KeepFolder, L"C:\\a.exe", &batch));
    EXPECT_FALSE(batch.guard);
    // Every planted file as it was, and no temporary names left behind.
    const std::vector<std::wstring> names = FilesIn(kRoot);
    EXPECT_EQ(names.size(), kTaken);
    for (const auto& name : names) {
        ASSERT_EQ(name.substr(name.size() - 8), L".tmp.bat");
        ASSERT_EQ(ReadFileBytes(kRoot + L"\\" + name), "planted\r\n");
    }
}

TEST_F(Install, OnlyTheExactTextPassesTheCheckBeforeRunning) {
    const std::wstring file = kRoot + L"\\check.bat";
    const std::wstring path = file;
    const std::string text = "cd\\\r\ndel \"C:\\a.exe\"\r\n";
    ASSERT_TRUE(WriteText(file, text));
    fw::ScopedHandle guard = vorel::OpenAndVerify(path, text);
    EXPECT_TRUE(guard);
    guard.reset();
    for (const std::string& other : {text + "x", text.substr(0, text.size() - 1),
                                     std::string("cd\\\r\ndel \"C:\\b.exe\"\r\n"), std::string()}) {
        ASSERT_TRUE(WriteText(file, other));
        EXPECT_FALSE(vorel::OpenAndVerify(path, text)) << other;
    }
    EXPECT_FALSE(vorel::OpenAndVerify(L"C:\\vorel-win-install\\missing.bat", text));
}

TEST_F(Install, CmdDeletesTheFileOnceItIsFreeThenItselfAndInTheSecondFormTheFolder) {
    // Stand-ins for running executables: held open without delete sharing, as the system
    // holds a running image.
    struct Case {
        vorel::SelfDeleteForm form;
        std::wstring folder;
        std::wstring exe;
        fw::ScopedHandle held;
        vorel::GuardedBatch batch;
    } cases[2] = {{vorel::SelfDeleteForm::KeepFolder, kRoot + L"\\keep"},
                  {vorel::SelfDeleteForm::RemoveFolder, kRoot + L"\\alone"}};
    ASSERT_TRUE(EnsureDir(kRoot + L"\\temp"));
    for (auto& c : cases) {
        ASSERT_TRUE(EnsureDir(c.folder));
        c.exe = c.folder + L"\\TolvVorel.exe";
        ASSERT_TRUE(WriteText(c.exe, "MZ"));
        if (c.form == vorel::SelfDeleteForm::KeepFolder) {
            ASSERT_TRUE(WriteText(c.folder + L"\\Statistic.ini", "[TolvVorel]\r\n"));
        }
        ASSERT_EQ(vorel::ChooseSelfDeleteForm(vorel::CountFilesInTree(c.folder)), c.form);
        c.held.reset(CreateFileW(c.exe.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                 OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(c.held);
        ASSERT_TRUE(vorel::WriteSelfDeleteBatch(kRoot + L"\\temp", c.form, c.exe, &c.batch));
        ASSERT_TRUE(vorel::StartHiddenBatch(c.batch.path));
    }
    // While the image is held the batch keeps trying, and its file stays closed to writers
    // although cmd is reading it.
    EXPECT_FALSE(
        WaitFor([&] { return !FileExists(cases[0].exe) || !FileExists(cases[1].exe); }, 1500));
    for (auto& c : cases) {
        const std::wstring& batch = c.batch.path;
        EXPECT_EQ(OpenForWritingError(batch), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
        c.held.reset();
        c.batch.guard.reset();
    }
    for (auto& c : cases) {
        const std::wstring& batch = c.batch.path;
        EXPECT_TRUE(WaitFor([&] { return !FileExists(c.exe); }, 30000));
        EXPECT_TRUE(WaitFor([&] { return !FileExists(batch); }, 30000));
    }
    EXPECT_TRUE(FileExists(cases[0].folder + L"\\Statistic.ini"));
    EXPECT_TRUE(WaitFor([&] { return !FileExists(cases[1].folder); }, 30000));
}

namespace {
std::string InConsoleCodePage(const std::wstring& text) {
    const int n = WideCharToMultiByte(CP_OEMCP, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string out(n > 0 ? n : 1, '\0');
    WideCharToMultiByte(CP_OEMCP, 0, text.c_str(), -1, &out[0], n, nullptr, nullptr);
    out.resize(out.size() - 1);
    return out;
}
}  // namespace

TEST_F(Install, TheBatchSpellsPathsAsCmdReadsThemOrByTheirShortNames) {
    std::printf("ANSI code page %u, console code page %u\n", GetACP(), GetOEMCP());
    // "é" is in both code pages under different bytes; "中" in neither of the Western ones.
    const std::wstring western = kRoot + L"\\caf\u00e9", eastern = kRoot + L"\\\u4e2d";
    const std::wstring temp = kRoot + L"\\temp";
    ASSERT_TRUE(EnsureDir(temp));
    ASSERT_TRUE(EnsureDir(western));
    ASSERT_TRUE(EnsureDir(eastern));
    const std::wstring westernExe = western + L"\\TolvVorel.exe";
    const std::wstring easternExe = eastern + L"\\TolvVorel.exe";
    ASSERT_TRUE(WriteText(westernExe, "MZ"));
    ASSERT_TRUE(WriteText(easternExe, "MZ"));
    ASSERT_NE(InConsoleCodePage(westernExe), Narrow(westernExe)) << "the code pages differ";

    vorel::GuardedBatch batch;
    ASSERT_TRUE(
        vorel::WriteSelfDeleteBatch(temp, vorel::SelfDeleteForm::KeepFolder, westernExe, &batch));
    EXPECT_EQ(ReadFileBytes(batch.path), vorel::SelfDeleteScript(vorel::SelfDeleteForm::KeepFolder,
                                                                 InConsoleCodePage(westernExe),
                                                                 InConsoleCodePage(batch.path)));

    wchar_t shortName[MAX_PATH] = L"";
    ASSERT_GT(GetShortPathNameW(easternExe.c_str(), shortName, MAX_PATH), 0u);
    const std::string shortText = InConsoleCodePage(shortName);
    ASSERT_EQ(shortText.find('?'), std::string::npos) << shortText;
    vorel::GuardedBatch eastBatch;
    ASSERT_TRUE(vorel::WriteSelfDeleteBatch(temp, vorel::SelfDeleteForm::KeepFolder, easternExe,
                                            &eastBatch));
    const std::string text = ReadFileBytes(eastBatch.path);
    EXPECT_EQ(text, vorel::SelfDeleteScript(vorel::SelfDeleteForm::KeepFolder, shortText,
                                            InConsoleCodePage(eastBatch.path)));
    EXPECT_EQ(text.find('?'), std::string::npos) << "a wildcard in place of the name";
}

namespace {
bool IsWellKnown(PSID sid, WELL_KNOWN_SID_TYPE type) {
    BYTE buffer[SECURITY_MAX_SID_SIZE];
    DWORD size = sizeof buffer;
    return CreateWellKnownSid(type, nullptr, buffer, &size) && EqualSid(sid, buffer);
}
}  // namespace

// Wine keeps no access lists on files, so the list is checked as it is built.
TEST(ProductFolderAccess, AdministratorsAndSystemControlItUsersMayOnlyReadAndRun) {
    vorel::ScopedSecurityDescriptor security = vorel::BuildProductFolderSecurity();
    ASSERT_TRUE(security);
    ASSERT_TRUE(IsValidSecurityDescriptor(security.get()));
    SECURITY_DESCRIPTOR_CONTROL control = 0;
    DWORD revision = 0;
    ASSERT_TRUE(GetSecurityDescriptorControl(security.get(), &control, &revision));
    EXPECT_TRUE(control & SE_DACL_PROTECTED) << "nothing inherited from the open folder above";
    PSID owner = nullptr;
    BOOL defaulted = FALSE;
    ASSERT_TRUE(GetSecurityDescriptorOwner(security.get(), &owner, &defaulted));
    ASSERT_NE(owner, nullptr);
    EXPECT_TRUE(IsWellKnown(owner, WinBuiltinAdministratorsSid));
    BOOL present = FALSE;
    PACL dacl = nullptr;
    ASSERT_TRUE(GetSecurityDescriptorDacl(security.get(), &present, &dacl, &defaulted));
    ASSERT_TRUE(present);
    ASSERT_NE(dacl, nullptr);
    ASSERT_EQ(dacl->AceCount, 3);
    const struct {
        WELL_KNOWN_SID_TYPE who;
        ACCESS_MASK rights;
    } expected[3] = {
        {WinBuiltinAdministratorsSid, FILE_ALL_ACCESS},
        {WinLocalSystemSid, FILE_ALL_ACCESS},
        // Users may list, read and run, but neither create, write nor delete.
        {WinBuiltinUsersSid, FILE_GENERIC_READ | FILE_GENERIC_EXECUTE},
    };
    for (DWORD i = 0; i < 3; ++i) {
        void* ace = nullptr;
        ASSERT_TRUE(GetAce(dacl, i, &ace));
        const ACE_HEADER* header = static_cast<const ACE_HEADER*>(ace);
        ASSERT_EQ(header->AceType, ACCESS_ALLOWED_ACE_TYPE) << i;
        EXPECT_EQ(header->AceFlags, OBJECT_INHERIT_ACE | CONTAINER_INHERIT_ACE) << i;
        const ACCESS_ALLOWED_ACE* allowed = static_cast<const ACCESS_ALLOWED_ACE*>(ace);
        EXPECT_EQ(allowed->Mask, expected[i].rights) << i;
        EXPECT_TRUE(IsWellKnown(const_cast<DWORD*>(&allowed->SidStart), expected[i].who)) << i;
    }
}
