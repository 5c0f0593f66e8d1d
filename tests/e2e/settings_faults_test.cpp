// The real TolvVorel.exe with its stored state damaged from outside: "Statistic.ini" read-only,
// holding garbage in every key, garbage as a whole or a folder in its place; the registry key
// readable but not writable, closed altogether, or holding values of the wrong type. The
// program must start, install and update as far as the damage allows, report what it counted
// and never crash or stop.
#include <gtest/gtest.h>

#include "net/FileDigest.h"
#include "support/FaultScenario.h"
#include "support/LauncherScenario.h"
#include "support/MainWindowProbe.h"
#include "support/PublisherTestSupport.h"
#include "support/ServedFiles.h"

using namespace testsupport;

namespace {

const std::wstring kDownloads = L"C:\\vorel-e2e\\Downloads";
const char kConfigPath[] = "/update/ConfigTolvVorel.htm";
// Everyone may read the key, nobody may change it.
const wchar_t kReadOnlyKey[] = L"D:P(A;;KR;;;WD)";
// Nobody may open it at all.
const wchar_t kClosedKey[] = L"D:P";

std::string StartQuery(unsigned count) {
    return "tag=tolvvorel&ver=3.0.0.1&count=" + std::to_string(count);
}

class SettingsFaults : public ::testing::Test {
protected:
    void SetUp() override {
        ResetLauncherState();
        DeleteTree(L"C:\\vorel-e2e");
        PrepareStandInDir();
        EnsureDir(ProductFolder());
    }
    void TearDown() override {
        EndAllStandIns();
        StopLauncherProcesses(5000);
        SetFileAttributesW(CounterFile().c_str(), FILE_ATTRIBUTE_NORMAL);
        ResetLauncherState();
        DeleteTree(L"C:\\vorel-e2e");
    }

    // An installed start (mode 3): its main window takes a login, the start is reported with
    // `count`, and the notice is decided without the window stopping.
    void ExpectInstalledStartWorks(unsigned count) {
        const size_t before = LogEntriesFor("/active.htm", StartQuery(count)).size();
        StartedProcess launcher(L"\"" + PlaceLauncher(ProductFolder()) + L"\"");
        ASSERT_TRUE(launcher.started());
        HWND main = WaitForMainWindow(launcher.id(), 30000);
        ASSERT_TRUE(main) << "no main window";
        EXPECT_TRUE(TakesALogin(main, L"1服-龙城-alice"));
        EXPECT_TRUE(WaitForLogEntries("/active.htm", StartQuery(count), before + 1, 15000))
            << "no start report with count " << count;
        EXPECT_TRUE(WaitFor([&] { return NoticePopup(launcher.id(), main) != nullptr; }, 30000));
        EXPECT_TRUE(Responds(main));
        EXPECT_TRUE(launcher.Running());
        EndAllStandIns();
        StopLauncherProcesses(10000);
    }
};

}  // namespace

TEST_F(SettingsFaults, AReadOnlyStatisticIniStopsNeitherAStartNorAnInstall) {
    const std::wstring file = CounterFile();
    WriteIniValue(file, L"TolvVorel", L"Game", L"41");
    WriteIniValue(file, L"TolvVorel", L"Inst", L"6");
    WriteIniValue(file, L"TolvVorel", L"ShortKey", L"2,120");
    const std::string before = ReadFileBytes(file);
    ReadOnlyFile readOnly(file);
    ASSERT_FALSE(WritePrivateProfileStringW(L"TolvVorel", L"Game", L"0", file.c_str()))
        << "the file can still be written: this scenario cannot run here";

    // The start counts 42 and reports it, although the file keeps 41.
    ExpectInstalledStartWorks(42);
    EXPECT_EQ(ReadFileBytes(file), before);

    // An install from a download folder still puts the program in place and starts it.
    const std::string query = "tag=tolvvorel&ver=3.0.0.1&count=7";
    const size_t installs = LogEntriesFor("/install.htm", query).size();
    DeleteFileW((ProductFolder() + L"\\TolvVorel.exe").c_str());
    ProcessResult r = RunLauncher(PlaceLauncher(kDownloads), L"");
    ASSERT_TRUE(r.finished);
    EXPECT_EQ(LogEntriesFor("/install.htm", query).size(), installs + 1);
    EXPECT_EQ(ReadFileBytes(ProductFolder() + L"\\TolvVorel.exe"),
              ReadFileBytes(InBuildDir(L"TolvVorel.exe")));
    EXPECT_TRUE(WaitFor(
        [] {
            for (DWORD id : LauncherProcessIds())
                if (FindMainWindow(id)) return true;
            return false;
        },
        30000))
        << "the installed copy did not open its main window";
    EXPECT_EQ(ReadFileBytes(file), before);
}

TEST_F(SettingsFaults, GarbageInEveryKeyCountsFromZeroAndTheWindowWorks) {
    const std::wstring file = CounterFile();
    const std::wstring lines[] = {
        L"Game=abc",
        L"Inst=-7",
        L"UnInst=99999999999999999999999999",
        L"Vorel=龙城",
        L"ShortKey=garbage",
        L"AltWndKey=,,,",
        L"SndKey=2,99999999999",
        L"PopInfo=" + std::wstring(5000, L'|'),
        L"PopEnable=" + std::wstring(300, L'x'),
    };
    std::wstring text = L"[TolvVorel]\r\n";
    for (const auto& line : lines) text += line + L"\r\n";
    ASSERT_TRUE(WriteUtf16File(file, text));
    ExpectInstalledStartWorks(1);
    EXPECT_EQ(Counter(L"Game"), L"1");
}

TEST_F(SettingsFaults, AStatisticIniThatIsNoTextOrAFolderStopsNothing) {
    std::string noise(4096, '\0');
    for (size_t i = 0; i < noise.size(); ++i) noise[i] = static_cast<char>((i * 7919 + 13) % 256);
    ASSERT_TRUE(WriteFileBytes(CounterFile(), noise));
    ExpectInstalledStartWorks(1);

    // A folder of that name: nothing can be read or written, and the start still counts 1.
    DeleteFileW(CounterFile().c_str());
    ASSERT_TRUE(CreateDirectoryW(CounterFile().c_str(), nullptr));
    ExpectInstalledStartWorks(1);
    RemoveDirectoryW(CounterFile().c_str());
}

TEST_F(SettingsFaults, AReadOnlyRegistryKeyStopsNeitherAnInstallNorAnUpdate) {
    GuardedRegKey key(kProductKey, kReadOnlyKey);
    ASSERT_TRUE(key.applied());
    HKEY probe = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, kProductKey, 0, nullptr, 0, KEY_WRITE, nullptr,
                              &probe, nullptr),
              ERROR_ACCESS_DENIED)
        << "the key is writable: this scenario cannot run here";

    // The install goes on without its disabled weekdays.
    ProcessResult r = RunLauncher(PlaceLauncher(kDownloads), L"");
    ASSERT_TRUE(r.finished);
    EXPECT_EQ(Counter(L"Inst"), L"1");
    EXPECT_FALSE(RegValueExists(HKEY_LOCAL_MACHINE, kProductKey, L"DisableDays"));
    EXPECT_TRUE(FileExists(ProductFolder() + L"\\TolvVorel.exe"));
    StopLauncherProcesses(10000);

    // An update is applied and the new build started; only its time cannot be kept.
    const std::wstring build = InBuildDir(L"launch_probe.exe");
    const std::string buildPath = TestPath("up/TolvVorel.exe");
    PublisherFault config(kConfigPath,
                          UpdateConfigBody(vorel::FileVersionKey(build.c_str()), buildPath));
    PublisherFault served(buildPath, ServeFile(build));
    const std::wstring exe = PlaceLauncher(kDownloads);
    r = RunLauncher(exe, L"/update");
    ASSERT_TRUE(r.finished);
    EXPECT_EQ(ReadFileBytes(exe), ReadFileBytes(build));
    EXPECT_TRUE(WaitFor([&] { return !ProbeStartLine(exe).empty(); }, 15000));
    EXPECT_FALSE(RegValueExists(HKEY_LOCAL_MACHINE, kProductKey, L"UpdTime"));
}

TEST_F(SettingsFaults, AClosedRegistryKeySkipsTheDailyCheckAndTheWindowOpens) {
    GuardedRegKey key(kProductKey, kClosedKey);
    ASSERT_TRUE(key.applied());
    HKEY probe = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, kProductKey, 0, KEY_READ, &probe),
              ERROR_ACCESS_DENIED)
        << "the key can be read: this scenario cannot run here";
    const size_t configs = LogEntriesFor(kConfigPath).size();
    StartedProcess launcher(L"\"" + PlaceLauncher(kDownloads) + L"\" /VorelD");
    HWND main = WaitForMainWindow(launcher.id(), 30000);
    ASSERT_TRUE(main);
    EXPECT_TRUE(TakesALogin(main, L"1服-龙城-alice"));
    EXPECT_EQ(LogEntriesFor(kConfigPath).size(), configs) << "the daily gate stays closed";
    EXPECT_EQ(Counter(L"Game"), L"1");
}

TEST_F(SettingsFaults, RegistryValuesOfTheWrongTypeCountAsMissing) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, kProductKey, 0, nullptr, 0, KEY_ALL_ACCESS,
                              nullptr, &key, nullptr),
              ERROR_SUCCESS);
    // A text where today's date belongs, and a number where the weekdays belong: were they
    // taken at face value, today would be both "already checked" and "disabled".
    SYSTEMTIME now;
    GetSystemTime(&now);
    const std::wstring today = std::to_wstring(now.wYear) + L"-" + std::to_wstring(now.wMonth);
    RegSetValueExW(key, L"UpdTime", 0, REG_SZ, reinterpret_cast<const BYTE*>(today.c_str()),
                   static_cast<DWORD>((today.size() + 1) * sizeof(wchar_t)));
    const DWORD days = 0x00010101u * now.wDayOfWeek;
    RegSetValueExW(key, L"DisableDays", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&days),
                   sizeof(days));
    RegCloseKey(key);
    const size_t configs = LogEntriesFor(kConfigPath).size();
    StartedProcess launcher(L"\"" + PlaceLauncher(kDownloads) + L"\" /VorelD");
    HWND main = WaitForMainWindow(launcher.id(), 30000);
    ASSERT_TRUE(main);
    EXPECT_EQ(LogEntriesFor(kConfigPath).size(), configs + 1) << "the daily check ran";
    EXPECT_TRUE(TakesALogin(main, L"1服-龙城-alice"));
}
