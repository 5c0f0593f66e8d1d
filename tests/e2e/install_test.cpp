// Install and uninstall of the real TolvVorel.exe: the copy in the product folder, the
// shortcuts as the shell reads them, the reports the publisher server received, the dialogs
// of "/uninst" driven from outside, and the batch file that deletes the executable after the
// process has ended.
#include <gtest/gtest.h>

#include <algorithm>

#include "app/SelfDeleteScript.h"
#include "support/InstallScenario.h"
#include "support/LauncherScenario.h"
#include "support/MainWindowProbe.h"

using namespace testsupport;

namespace {

const std::wstring kDownloads = L"C:\\vorel-e2e\\Downloads";
const std::wstring kAlone = L"C:\\vorel-e2e\\Alone";
const wchar_t kQuestion[] = L"确定要移除 VorelTolv登录器吗？";
constexpr int kFirstButton = 5000;
constexpr int kSecondButton = 5001;
constexpr DWORD kWindowWaitMs = 30000;
// An installed start ends this long after its main window was closed, or is ended.
constexpr DWORD kInstalledCopyGraceMs = 5000;
// The batch retries once per ping; Wine's cmd deletes the executable well within this.
constexpr DWORD kSelfDeleteWaitMs = 30000;

std::wstring InstalledExe() { return ProductFolder() + L"\\TolvVorel.exe"; }

std::wstring Quoted(const std::wstring& path) { return L"\"" + path + L"\""; }

bool WriteText(const std::wstring& path, const char* text) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const BOOL ok = WriteFile(file, text, lstrlenA(text), &written, nullptr);
    CloseHandle(file);
    return ok != FALSE;
}

std::wstring WindowText(HWND wnd) {
    wchar_t text[256] = L"";
    GetWindowTextW(wnd, text, 256);
    return text;
}

int HeightOf(HWND wnd) {
    RECT r = {};
    GetWindowRect(wnd, &r);
    return r.bottom - r.top;
}

// The publisher log from a given line on, as the scenario left it.
class ReportWatch {
public:
    ReportWatch() : m_start(PublisherLogLines().size()) {}
    size_t Count(const std::string& path, const std::string& query) const {
        const std::vector<std::string> lines = PublisherLogLines();
        size_t n = 0;
        for (size_t i = m_start; i < lines.size(); ++i) {
            if (lines[i].find("\"path\": \"" + path + "\"") != std::string::npos &&
                lines[i].find("\"query\": \"" + query + "\"") != std::string::npos)
                ++n;
        }
        return n;
    }
    bool WaitFor(const std::string& path, const std::string& query) const {
        return testsupport::WaitFor([&] { return Count(path, query) > 0; }, 20000);
    }

private:
    size_t m_start;
};

// Every running launcher process runs this file (the main window starts game-window
// processes of its own executable), and there is at least one.
bool AllLaunchersRun(const std::wstring& exe) {
    const std::vector<DWORD> running = LauncherProcessIds();
    for (DWORD id : running) {
        if (lstrcmpiW(ProcessImagePath(id).c_str(), exe.c_str()) != 0) return false;
    }
    return !running.empty();
}

HWND WaitForAnyMainWindow() {
    HWND found = nullptr;
    WaitFor(
        [&] {
            for (DWORD id : LauncherProcessIds()) {
                if ((found = FindMainWindow(id)) != nullptr) return true;
            }
            return false;
        },
        kWindowWaitMs);
    return found;
}

class InstallScenario : public ::testing::Test {
protected:
    void SetUp() override {
        Reset();
        // Nothing of an earlier scenario is left that this one could mistake for its own.
        ASSERT_TRUE(LauncherProcessIds().empty());
        ASSERT_FALSE(FileExists(ProductFolder()));
        ASSERT_FALSE(FileExists(DesktopShortcut()));
        ASSERT_FALSE(FileExists(StartMenuFolder()));
        ASSERT_TRUE(SelfDeleteBatches().empty());
        ASSERT_FALSE(RegValueExists(HKEY_LOCAL_MACHINE, kProductKey, L"DisableDays"));
    }
    void TearDown() override { Reset(); }
    static void Reset() {
        ResetLauncherState();
        DeleteTree(L"C:\\vorel-e2e");
    }

    // A real install from a download folder, until the installed copy has counted its start.
    void Install() {
        ASSERT_TRUE(RunLauncher(PlaceLauncher(kDownloads), L"").finished);
        ASSERT_TRUE(FileExists(InstalledExe()));
        ASSERT_TRUE(WaitFor([] { return Counter(L"Game") == L"1"; }, kWindowWaitMs));
        ASSERT_NE(WaitForAnyMainWindow(), nullptr);
        StopLauncherProcesses(kInstalledCopyGraceMs);
        ASSERT_TRUE(LauncherProcessIds().empty());
    }

    static void ExpectShortcut(const std::wstring& link, const wchar_t* arguments,
                               const wchar_t* description) {
        SCOPED_TRACE(Narrow(link));
        const ShortcutInfo info = ReadShortcut(link);
        ASSERT_TRUE(info.loaded);
        EXPECT_EQ(info.target, InstalledExe());
        EXPECT_EQ(info.arguments, arguments);
        EXPECT_EQ(info.description, description);
        EXPECT_EQ(info.iconPath, InstalledExe());
        EXPECT_EQ(info.iconIndex, 0);
        EXPECT_EQ(info.workingDirectory, L"");
        EXPECT_EQ(info.hotKey, 0);
    }
};

}  // namespace

TEST_F(InstallScenario, FromADownloadFolderItInstallsLinksReportsAndStartsTheInstalledCopy) {
    // An older copy and a per-user desktop shortcut of an earlier install.
    ASSERT_TRUE(EnsureDir(ProductFolder()));
    ASSERT_TRUE(WriteText(InstalledExe(), "an older copy"));
    EnsureDir(UserDesktopShortcut().substr(0, UserDesktopShortcut().rfind(L'\\')));
    ASSERT_TRUE(WriteText(UserDesktopShortcut(), "an older shortcut"));
    const ReportWatch reports;

    const std::wstring exe = PlaceLauncher(kDownloads);
    const ProcessResult installer = RunLauncher(exe, L"");
    ASSERT_TRUE(installer.finished);
    EXPECT_EQ(installer.exitCode, 0u);

    EXPECT_EQ(ReadFileBytes(InstalledExe()), ReadFileBytes(exe));
    ExpectShortcut(DesktopShortcut(), L"/VorelD", L"VorelTolv登录器");
    ExpectShortcut(StartMenuShortcut(), L"/VorelD", L"");
    ExpectShortcut(UninstallShortcut(), L"/uninst", L"");
    EXPECT_FALSE(FileExists(UserDesktopShortcut()));
    EXPECT_EQ(Counter(L"Inst"), L"1");
    EXPECT_EQ(ReadRegBinary(HKEY_LOCAL_MACHINE, kProductKey, L"DisableDays").size(), 4u);
    // The installer waited for its report before it ended.
    EXPECT_EQ(reports.Count("/install.htm", "tag=tolvvorel&ver=3.0.0.1&count=1"), 1u);

    // The installer has ended; the copy it started runs from the product folder and shows the
    // main window of an installed start, counted once, while the installer counts no start.
    EXPECT_TRUE(AllLaunchersRun(InstalledExe()));
    EXPECT_NE(WaitForAnyMainWindow(), nullptr);
    EXPECT_TRUE(reports.WaitFor("/active.htm", "tag=tolvvorel&ver=3.0.0.1&count=1"));
    StopLauncherProcesses(kInstalledCopyGraceMs);
    EXPECT_EQ(Counter(L"Game"), L"1");
    EXPECT_EQ(reports.Count("/active.htm", "tag=tolvvorel&ver=3.0.0.1&count=1"), 1u);
    // The installer does not delete itself.
    EXPECT_TRUE(FileExists(exe));
}

TEST_F(InstallScenario, InsideTheProductFolderUnderAnotherCaseNothingIsCopiedOrLinked) {
    std::wstring folder = ProductFolder();
    for (auto& c : folder) c = towupper(c);
    const std::wstring exe = PlaceLauncher(folder, L"tolvvorel.EXE");
    StartedProcess launcher(Quoted(exe));
    ASSERT_TRUE(launcher.started());
    // The main window of an installed start; whatever it starts runs the same file.
    HWND main = WaitForMainWindow(launcher.id(), kWindowWaitMs);
    ASSERT_NE(main, nullptr);
    EXPECT_TRUE(AllLaunchersRun(exe));
    PostMessageW(main, WM_SYSCOMMAND, SC_CLOSE, 0);
    ASSERT_TRUE(launcher.WaitForExit(kWindowWaitMs));

    WIN32_FIND_DATAW data;
    std::vector<std::wstring> files;
    HANDLE find = FindFirstFileW((ProductFolder() + L"\\*").c_str(), &data);
    ASSERT_NE(find, INVALID_HANDLE_VALUE);
    do {
        if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) files.push_back(data.cFileName);
    } while (FindNextFileW(find, &data));
    FindClose(find);
    std::sort(files.begin(), files.end());
    EXPECT_EQ(files, (std::vector<std::wstring>{L"Statistic.ini", L"tolvvorel.EXE"}));
    EXPECT_FALSE(FileExists(DesktopShortcut()));
    EXPECT_FALSE(FileExists(StartMenuFolder()));
    EXPECT_EQ(Counter(L"Inst"), L"<missing>");
    EXPECT_EQ(Counter(L"Game"), L"1");
}

TEST_F(InstallScenario, UninstallAnsweredNoChangesNothing) {
    Install();
    const std::string installedBytes = ReadFileBytes(InstalledExe());
    const ReportWatch reports;

    StartedProcess uninstaller(Quoted(InstalledExe()) + L" /uninst");
    ASSERT_TRUE(uninstaller.started());
    HWND question = WaitForDialogOf(uninstaller.id(), kWindowWaitMs);
    ASSERT_NE(question, nullptr);
    EXPECT_EQ(WindowText(question), L"Vorel - Tolv");
    EXPECT_EQ(WindowText(GetDlgItem(question, kFirstButton)), L"是");
    EXPECT_EQ(WindowText(GetDlgItem(question, kSecondButton)), L"否");
    SaveWindowPicture(question, L"uninstall-question");
    ASSERT_TRUE(ClickDialogButton(question, kSecondButton));
    ASSERT_TRUE(uninstaller.WaitForExit(kWindowWaitMs));

    EXPECT_TRUE(RegValueExists(HKEY_LOCAL_MACHINE, kProductKey, L"DisableDays"));
    EXPECT_TRUE(ReadShortcut(DesktopShortcut()).loaded);
    EXPECT_TRUE(ReadShortcut(StartMenuShortcut()).loaded);
    EXPECT_TRUE(ReadShortcut(UninstallShortcut()).loaded);
    EXPECT_EQ(ReadFileBytes(InstalledExe()), installedBytes);
    EXPECT_TRUE(SelfDeleteBatches().empty());
    EXPECT_EQ(Counter(L"UnInst"), L"<missing>");
    EXPECT_EQ(reports.Count("/uninstall.htm", "tag=tolvvorel&ver=3.0.0.1&count=1"), 0u);
}

TEST_F(InstallScenario, UninstallAnsweredYesRemovesAllAndTheExecutableOnceItHasEnded) {
    Install();
    // The maker's group shortcut goes too.
    const std::wstring group = CommonDesktopFolder() + L"\\七二六一网页游戏.lnk";
    ASSERT_TRUE(CopyFileW(DesktopShortcut().c_str(), group.c_str(), FALSE));
    const ReportWatch reports;

    StartedProcess uninstaller(Quoted(InstalledExe()) + L" /uninst");
    HWND question = WaitForDialogOf(uninstaller.id(), kWindowWaitMs);
    ASSERT_NE(question, nullptr);
    const int questionHeight = HeightOf(question);
    ASSERT_TRUE(ClickDialogButton(question, kFirstButton));
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(question); }, kWindowWaitMs));
    HWND message = WaitForDialogOf(uninstaller.id(), kWindowWaitMs);
    ASSERT_NE(message, nullptr);

    // All of this is done before the message shows.
    EXPECT_FALSE(RegValueExists(HKEY_LOCAL_MACHINE, kProductKey, L"DisableDays"));
    HKEY key = nullptr;
    EXPECT_NE(RegOpenKeyExW(HKEY_LOCAL_MACHINE, kProductKey, 0, KEY_READ, &key), ERROR_SUCCESS);
    if (key) RegCloseKey(key);
    EXPECT_FALSE(FileExists(DesktopShortcut()));
    EXPECT_FALSE(FileExists(group));
    EXPECT_FALSE(FileExists(StartMenuFolder()));
    EXPECT_EQ(Counter(L"UnInst"), L"1");
    EXPECT_TRUE(reports.WaitFor("/uninstall.htm", "tag=tolvvorel&ver=3.0.0.1&count=1"));

    // One OK button, and a box as tall as two lines of the question's one (each line 3
    // pixels apart).
    EXPECT_EQ(WindowText(message), L"Vorel - Tolv");
    EXPECT_EQ(WindowText(GetDlgItem(message, kFirstButton)), L"确定");
    EXPECT_EQ(GetDlgItem(message, kSecondButton), nullptr);
    const int lineHeight = questionHeight - (3 + 90 + 23);
    EXPECT_EQ(HeightOf(message), 2 * lineHeight + 6 + 90 + 23);
    SaveWindowPicture(message, L"uninstall-done");

    // The batch is waiting for the executable, which the running process still holds; it is
    // the program's own text, and nobody else can change it meanwhile. The product folder
    // holds the executable and the counter file: only the executable goes.
    const std::vector<std::wstring> batches = SelfDeleteBatches();
    ASSERT_EQ(batches.size(), 1u);
    const std::string batchPath = Narrow(batches[0]);
    EXPECT_EQ(ReadFileBytes(batches[0]),
              vorel::SelfDeleteScript(vorel::SelfDeleteForm::KeepFolder, Narrow(InstalledExe()),
                                      batchPath));
    EXPECT_TRUE(FileExists(batches[0].substr(0, batches[0].size() - 4)));  // the ".tmp" stays
    HANDLE writer = CreateFileW(batches[0].c_str(), GENERIC_WRITE,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    EXPECT_EQ(writer, INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
    if (writer != INVALID_HANDLE_VALUE) CloseHandle(writer);
    EXPECT_FALSE(DeleteFileW(batches[0].c_str()));
    EXPECT_TRUE(FileExists(InstalledExe()));

    ASSERT_TRUE(ClickDialogButton(message, kFirstButton));
    ASSERT_TRUE(uninstaller.WaitForExit(kWindowWaitMs));
    EXPECT_TRUE(WaitFor([] { return !FileExists(InstalledExe()); }, kSelfDeleteWaitMs));
    EXPECT_TRUE(WaitFor([&] { return !FileExists(batches[0]); }, kSelfDeleteWaitMs));
    EXPECT_TRUE(FileExists(CounterFile()));
    EXPECT_EQ(Counter(L"UnInst"), L"1");
}

TEST_F(InstallScenario, AnExecutableAloneInItsFolderTakesTheFolderWithItAndAFullMenuFolderStays) {
    Install();
    // A file of someone else's, one level down, keeps the Start-menu folder.
    const std::wstring foreign = StartMenuFolder() + L"\\more\\readme.txt";
    ASSERT_TRUE(EnsureDir(StartMenuFolder() + L"\\more"));
    ASSERT_TRUE(WriteText(foreign, "not ours"));
    const std::wstring lone = PlaceLauncher(kAlone);

    StartedProcess uninstaller(Quoted(lone) + L" /uninst");
    HWND question = WaitForDialogOf(uninstaller.id(), kWindowWaitMs);
    ASSERT_NE(question, nullptr);
    ASSERT_TRUE(ClickDialogButton(question, kFirstButton));
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(question); }, kWindowWaitMs));
    HWND message = WaitForDialogOf(uninstaller.id(), kWindowWaitMs);
    ASSERT_NE(message, nullptr);

    EXPECT_FALSE(FileExists(StartMenuShortcut()));
    EXPECT_FALSE(FileExists(UninstallShortcut()));
    EXPECT_TRUE(FileExists(foreign));
    const std::vector<std::wstring> batches = SelfDeleteBatches();
    ASSERT_EQ(batches.size(), 1u);
    EXPECT_EQ(ReadFileBytes(batches[0]),
              vorel::SelfDeleteScript(vorel::SelfDeleteForm::RemoveFolder, Narrow(lone),
                                      Narrow(batches[0])));

    ASSERT_TRUE(ClickDialogButton(message, kFirstButton));
    ASSERT_TRUE(uninstaller.WaitForExit(kWindowWaitMs));
    EXPECT_TRUE(WaitFor([] { return !FileExists(kAlone); }, kSelfDeleteWaitMs));
    EXPECT_TRUE(WaitFor([&] { return !FileExists(batches[0]); }, kSelfDeleteWaitMs));
    // Only the running copy deletes itself; the installed one is another file.
    EXPECT_TRUE(FileExists(InstalledExe()));
    EXPECT_TRUE(FileExists(foreign));
}
