// The update's progress dialog and the game-hall download dialog, shown modally on the test
// thread against the publisher server, driven by a script that runs inside their modal loop.
#include <gtest/gtest.h>
#include <commctrl.h>

#include <functional>
#include <vector>

#include "net/DownGameDlg.h"
#include "net/FileDigest.h"
#include "net/GameHallDownload.h"
#include "net/PrgsDlg.h"
#include "net/UpdateFlows.h"
#include "res/resource.h"
#include "support/PublisherTestSupport.h"
#include "support/ServedFiles.h"
#include "support/WinTestSupport.h"

using namespace testsupport;

namespace {

// Steps run one after the other on this thread every 25 ms while a modal loop runs (a
// thread timer: its WM_TIMER carries no window and goes to the callback). A step returns true
// when it is done. A script still running at its deadline fails the test and closes *target.
class ModalScript {
public:
    ModalScript(std::vector<std::function<bool()>> steps, DWORD deadlineMs, HWND* target)
        : m_steps(std::move(steps)), m_deadline(GetTickCount() + deadlineMs), m_target(target) {
        s_current = this;
        m_timer = SetTimer(nullptr, 0, 25, &Tick);
    }
    ~ModalScript() {
        KillTimer(nullptr, m_timer);
        s_current = nullptr;
    }
    bool Finished() const { return m_next == m_steps.size(); }
    size_t StepReached() const { return m_next; }

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
        ModalScript* self = s_current;
        if (!self || self->m_busy || self->Finished()) return;
        self->m_busy = true;
        if (self->m_steps[self->m_next]()) {
            ++self->m_next;
        } else if (static_cast<int>(GetTickCount() - self->m_deadline) > 0) {
            ADD_FAILURE() << "script timed out at step " << self->m_next;
            self->m_next = self->m_steps.size();
            HWND target =
                self->m_target && *self->m_target ? *self->m_target : VisibleDialogOfThisThread();
            if (target) PostMessageW(target, WM_CLOSE, 0, 0);
        }
        self->m_busy = false;
    }

    static ModalScript* s_current;
    std::vector<std::function<bool()>> m_steps;
    size_t m_next = 0;
    DWORD m_deadline;
    HWND* m_target;
    UINT_PTR m_timer = 0;
    bool m_busy = false;
};
ModalScript* ModalScript::s_current = nullptr;

// A top-level window of this thread with the given title.
HWND FindOwnWindow(const std::wstring& title) {
    return testsupport::FindWindowOfThisThread([&](HWND wnd) {
        wchar_t text[128] = L"";
        GetWindowTextW(wnd, text, 128);
        return title == text && IsWindowVisible(wnd);
    });
}

std::wstring TextOf(HWND wnd) {
    wchar_t text[128] = L"";
    GetWindowTextW(wnd, text, 128);
    return text;
}

unsigned BarPosition(HWND dialog, int id) {
    return static_cast<unsigned>(SendMessageW(GetDlgItem(dialog, id), PBM_GETPOS, 0, 0));
}

bool ButtonEnabled(HWND dialog, int id) { return IsWindowEnabled(GetDlgItem(dialog, id)) != 0; }

void PressButton(HWND dialog, int id) {
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

// Waits for the transfer's worker threads to let go of it (the dialog keeps one reference,
// the caller another).
bool WorkersEnded(const std::shared_ptr<const vorel::DialogTransfer>& transfer) {
    return WaitFor([&] { return transfer.use_count() <= 2; }, 20000);
}

// Handles that a cancel freed are handed out again to new handles; a worker that closed any
// of them a second time would close one of these.
class HandleReuseWatch {
public:
    HandleReuseWatch() {
        for (auto& e : m_events) e = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    }
    ~HandleReuseWatch() {
        for (HANDLE e : m_events) CloseHandle(e);
    }
    bool AllStillOpen() const {
        for (HANDLE e : m_events)
            if (WaitForSingleObject(e, 0) == WAIT_FAILED) return false;
        return true;
    }

private:
    HANDLE m_events[32];
};

const wchar_t kUpdateCaption[] = L"版本更新中...";
const wchar_t kHallCaption[] = L"游戏下载中...";

}  // namespace

TEST(UpdateProgressDialog, FollowsTheDownloadAndEndsWithIdokOnceTheWholeFileArrived) {
    TempFolder dir;
    const std::string path = TestPath("TolvVorel.exe");
    // The stall falls on a chunk's end: a read blocks until its whole chunk has arrived.
    const std::string body = Pattern(204800);
    PublisherFault fault(
        path, "{\"body\": " + JsonString(body) + ", \"stall_after\": 102400, \"stall\": 2}");
    const std::wstring target = dir.File(L"NewTolvVorel.exe");
    vorel::CPrgsDlg dialog;
    dialog.SetTransfer(PublisherUrl(Widen(path)), target);

    HWND wnd = nullptr;
    unsigned halfway = 0;
    bool topmost = false, openAfterEnter = false;
    DWORD enterAt = 0;
    ModalScript script({
                           [&] { return (wnd = FindOwnWindow(kUpdateCaption)) != nullptr; },
                           [&] {
                               topmost = (GetWindowLongPtrW(wnd, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
                               return FileSize(target) >= 102400;
                           },
                           [&] {
                               // The stall holds the transfer at half of its length.
                               halfway = BarPosition(wnd, IDC_UPDATE_PROGRESS);
                               PostMessageW(wnd, WM_KEYDOWN, VK_RETURN, 0);
                               enterAt = GetTickCount();
                               return true;
                           },
                           [&] {
                               if (GetTickCount() - enterAt < 400) return false;
                               openAfterEnter = IsWindowVisible(wnd) != 0;
                               return true;
                           },
                       },
                       20000, &wnd);

    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_TRUE(script.Finished());
    EXPECT_TRUE(topmost);
    EXPECT_EQ(halfway, 50u);
    EXPECT_TRUE(openAfterEnter) << "Enter must not end the download";
    EXPECT_EQ(ReadFileBytes(target), body);
    ASSERT_TRUE(WorkersEnded(dialog.Transfer()));
    EXPECT_TRUE(dialog.Transfer()->handles.Empty());
    EXPECT_EQ(LogEntriesFor(path).size(), 1u);
}

TEST(UpdateProgressDialog, EscOrTheCloseButtonStopsAStalledDownloadClosingEachHandleOnce) {
    TempFolder dir;
    const std::string path = TestPath("TolvVorel.exe");
    PublisherFault fault(path, "{\"body\": " + JsonString(Pattern(300000)) +
                                   ", \"stall_after\": 4096, \"stall\": 3}");
    // One dialog object serves every update of a run.
    vorel::CPrgsDlg dialog;
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round == 0 ? "Esc" : "close button");
        const std::wstring target = dir.File(round == 0 ? L"a.exe" : L"b.exe");
        dialog.SetTransfer(PublisherUrl(Widen(path)), target);
        HWND wnd = nullptr;
        DWORD cancelAt = 0;
        ModalScript script(
            {
                [&] { return (wnd = FindOwnWindow(kUpdateCaption)) != nullptr; },
                [&] { return FileSize(target) >= 4096; },
                [&] {
                    cancelAt = GetTickCount();
                    if (round == 0) {
                        PostMessageW(wnd, WM_KEYDOWN, VK_ESCAPE, 0);
                    } else {
                        PostMessageW(wnd, WM_COMMAND,
                                     MAKEWPARAM(vorel::CDlgEx::kCloseButtonId, BN_CLICKED), 0);
                    }
                    return true;
                },
            },
            20000, &wnd);

        EXPECT_EQ(dialog.DoModal(), IDCANCEL);
        const DWORD took = GetTickCount() - cancelAt;
        ASSERT_TRUE(script.Finished());
        EXPECT_LT(took, vorel::CPrgsDlg::kCancelWaitMs + 2000);

        auto transfer = dialog.Transfer();
        EXPECT_TRUE(transfer->handles.Cancelled());
        EXPECT_TRUE(transfer->handles.Empty());
        HandleReuseWatch watch;
        ASSERT_TRUE(WorkersEnded(transfer)) << "the download did not end by itself";
        EXPECT_FALSE(transfer->succeeded.load());
        EXPECT_TRUE(watch.AllStillOpen()) << "a handle was closed twice";
        // Whatever arrived after the cancel never reached the file, and nothing holds it.
        EXPECT_EQ(ReadFileBytes(target), Pattern(4096));
        EXPECT_TRUE(DeleteFileW(target.c_str()));
    }
}

TEST(UpdateProgressDialog, AnAddressOutsideThePublisherDomainsEndsWithIdcancelAsking) {
    TempFolder dir;
    const std::string path = TestPath("TolvVorel.exe");
    PublisherFault fault(path, "{\"body\": \"MZ\"}");
    vorel::CPrgsDlg dialog;
    dialog.SetTransfer(L"http://127.0.0.1:" + std::to_wstring(PublisherPort()) + Widen(path),
                       dir.File(L"NewTolvVorel.exe"));
    HWND wnd = nullptr;
    ModalScript script({[&] { return false; }}, 10000, &wnd);
    const DWORD start = GetTickCount();
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_LT(GetTickCount() - start, 5000u);
    EXPECT_TRUE(LogEntriesFor(path).empty());
    EXPECT_FALSE(FileExists(dir.File(L"NewTolvVorel.exe")));
}

namespace {

// A game-hall download of its own name: the configuration's path on the publisher, the files
// it leaves, removed at the end.
class HallDownload : public ::testing::Test {
protected:
    void Use(const std::wstring& hallName) {
        name = hallName;
        configPath = "/update/Config" + Narrow(name) + ".htm";
        installerPath = TestPath(Narrow(name) + ".exe");
        wchar_t temp[MAX_PATH] = L"";
        GetTempPathW(MAX_PATH, temp);
        installer = std::wstring(temp) + name + L".exe";
        Clean();
    }
    void TearDown() override { Clean(); }
    void Clean() {
        if (name.empty()) return;
        DeleteFileW(installer.c_str());
        DeleteFileW((installer + L".started.txt").c_str());
        DeleteFileW(InBuildDir(name + L".ini").c_str());
    }
    static std::string Narrow(const std::wstring& text) {
        return std::string(text.begin(), text.end());
    }
    void Configure(const std::wstring& installerUrl) {
        configFault.reset(new PublisherFault(
            configPath, "{\"body\": " + JsonString(UpdateConfig("", installerUrl)) + "}"));
    }
    std::wstring PublisherInstallerUrl() const { return PublisherUrl(Widen(installerPath)); }

    std::wstring name;
    std::string configPath, installerPath;
    std::wstring installer;
    std::unique_ptr<PublisherFault> configFault;
};

}  // namespace

TEST_F(HallDownload, WithoutANameTheDialogOpensBareAndStartsNoThread) {
    vorel::CDownGameDlg dialog(L"", nullptr);
    HWND wnd = nullptr;
    bool bare = false;
    std::wstring label;
    ModalScript script({
                           [&] { return (wnd = FindOwnWindow(kHallCaption)) != nullptr; },
                           [&] {
                               const RECT& bar = dialog.Progress().BackgroundRect();
                               bare = !dialog.HasWorker() && bar.right == 0 && bar.bottom == 0 &&
                                      ButtonEnabled(wnd, IDOK) && ButtonEnabled(wnd, IDCANCEL);
                               label = dialog.PercentText().m_text;
                               PostMessageW(wnd, WM_CLOSE, 0, 0);
                               return true;
                           },
                       },
                       10000, &wnd);
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_TRUE(script.Finished());
    EXPECT_TRUE(bare);
    EXPECT_EQ(label, L"已加载 %100") << "the template's text stays";
    EXPECT_TRUE(LogEntriesFor("/update/Config.htm").empty());
}

TEST_F(HallDownload, AnInstallerOutsideThePublisherDomainsFailsBeforeAnyConnection) {
    Use(L"VorelForeignHall");
    Configure(L"http://127.0.0.1:" + std::to_wstring(PublisherPort()) + Widen(installerPath));
    PublisherFault installerFault(installerPath, ServeFile(InBuildDir(L"launch_probe.exe")));
    vorel::CDownGameDlg dialog(name, nullptr);
    HWND wnd = nullptr;
    std::wstring caption;
    bool button2Enabled = true;
    ModalScript script(
        {
            // The refusal is at once: the caption may have changed before the first look.
            [&] { return (wnd = VisibleDialogOfThisThread()) != nullptr; },
            [&] { return ButtonEnabled(wnd, IDOK); },
            [&] {
                caption = TextOf(wnd);
                button2Enabled = ButtonEnabled(wnd, IDCANCEL);
                PressButton(wnd, IDOK);
                return true;
            },
        },
        15000, &wnd);
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_TRUE(script.Finished());
    EXPECT_EQ(caption, L"下载失败");
    EXPECT_FALSE(button2Enabled);
    EXPECT_EQ(LogEntriesFor(configPath).size(), 1u);
    EXPECT_TRUE(LogEntriesFor(installerPath).empty()) << "no request may leave for a foreign host";
    EXPECT_FALSE(FileExists(InBuildDir(name + L".ini"))) << "the configuration is deleted";
    EXPECT_TRUE(ProbeStartLine(installer).empty());
}

TEST_F(HallDownload, AGoodInstallerShowsItsPercentageIsStartedAndTheCaptionSaysSo) {
    Use(L"VorelGoodHall");
    Configure(PublisherInstallerUrl());
    const std::wstring probe = InBuildDir(L"launch_probe.exe");
    const ULONGLONG size = FileSize(probe);
    ASSERT_GT(size, 10000u);
    // On a chunk's end, where the reads stop while the server stalls.
    const ULONGLONG half = size / 2 / 1024 * 1024;
    PublisherFault installerFault(
        installerPath,
        ServeFile(probe, "\"stall_after\": " + std::to_string(half) + ", \"stall\": 2"));
    const unsigned halfPercent = static_cast<unsigned>(half * 100 / size);

    vorel::CDownGameDlg dialog(name, nullptr);
    HWND wnd = nullptr;
    std::wstring halfLabel, endLabel, caption, downloadingCaption;
    unsigned halfBar = 0;
    bool buttonsWhileDownloading = false, buttonsAtTheEnd = false, openAfterKeys = false;
    DWORD keysAt = 0;
    ModalScript script({
                           [&] { return (wnd = FindOwnWindow(kHallCaption)) != nullptr; },
                           [&] { return FileSize(installer) >= half; },
                           [&] {
                               halfLabel = dialog.PercentText().m_text;
                               halfBar = BarPosition(wnd, IDC_GAME_DOWNLOAD_PROGRESS);
                               downloadingCaption = TextOf(wnd);
                               buttonsWhileDownloading =
                                   !ButtonEnabled(wnd, IDOK) && ButtonEnabled(wnd, IDCANCEL);
                               // Neither key ends the dialog while it works.
                               PostMessageW(wnd, WM_KEYDOWN, VK_ESCAPE, 0);
                               PostMessageW(wnd, WM_KEYDOWN, VK_RETURN, 0);
                               keysAt = GetTickCount();
                               return true;
                           },
                           [&] {
                               if (GetTickCount() - keysAt < 400) return false;
                               openAfterKeys = IsWindowVisible(wnd) != 0;
                               return true;
                           },
                           [&] { return ButtonEnabled(wnd, IDOK); },
                           [&] {
                               caption = TextOf(wnd);
                               endLabel = dialog.PercentText().m_text;
                               buttonsAtTheEnd = !ButtonEnabled(wnd, IDCANCEL);
                               PressButton(wnd, IDOK);
                               return true;
                           },
                       },
                       30000, &wnd);
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_TRUE(script.Finished());
    EXPECT_EQ(downloadingCaption, kHallCaption);
    EXPECT_EQ(halfLabel, vorel::LoadedPercentText(halfPercent));
    EXPECT_EQ(halfBar, halfPercent);
    EXPECT_TRUE(buttonsWhileDownloading);
    EXPECT_TRUE(openAfterKeys);
    EXPECT_EQ(caption, L"下载完成");
    EXPECT_EQ(endLabel, L"已加载  100%");
    EXPECT_TRUE(buttonsAtTheEnd);
    // The installer was started from the temporary folder, its path quoted.
    ASSERT_TRUE(WaitFor([&] { return !ProbeStartLine(installer).empty(); }, 15000));
    EXPECT_NE(ProbeStartLine(installer).find("\"" + Narrow(installer) + "\""), std::string::npos)
        << ProbeStartLine(installer);
    EXPECT_FALSE(FileExists(InBuildDir(name + L".ini")));
}

TEST_F(HallDownload, AMissingConfigurationShowsTheFailureAndKeepsTheButtonsAsTheyWere) {
    Use(L"VorelMissingHall");
    vorel::CDownGameDlg dialog(name, nullptr);
    HWND wnd = nullptr;
    bool buttonsKept = false;
    ModalScript script({
                           [&] { return (wnd = VisibleDialogOfThisThread()) != nullptr; },
                           [&] { return TextOf(wnd) == L"下载失败"; },
                           [&] {
                               buttonsKept =
                                   !ButtonEnabled(wnd, IDOK) && ButtonEnabled(wnd, IDCANCEL);
                               PostMessageW(wnd, WM_CLOSE, 0, 0);
                               return true;
                           },
                       },
                       15000, &wnd);
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_TRUE(script.Finished());
    EXPECT_TRUE(buttonsKept);
    EXPECT_EQ(LogEntriesFor(configPath).size(), 1u);
    EXPECT_FALSE(FileExists(InBuildDir(name + L".ini"))) << "not even a partial configuration";
}

TEST_F(HallDownload, Button2StopsAStalledInstallerAndLeavesItsPartialFileClosed) {
    Use(L"VorelStalledHall");
    Configure(PublisherInstallerUrl());
    PublisherFault installerFault(installerPath, ServeFile(InBuildDir(L"launch_probe.exe"),
                                                           "\"stall_after\": 8192, \"stall\": 3"));
    vorel::CDownGameDlg dialog(name, nullptr);
    HWND wnd = nullptr;
    DWORD cancelAt = 0;
    ModalScript script({
                           [&] { return (wnd = FindOwnWindow(kHallCaption)) != nullptr; },
                           [&] { return FileSize(installer) >= 8192; },
                           [&] {
                               cancelAt = GetTickCount();
                               PressButton(wnd, IDCANCEL);
                               return true;
                           },
                       },
                       20000, &wnd);
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    const DWORD took = GetTickCount() - cancelAt;
    ASSERT_TRUE(script.Finished());
    EXPECT_LT(took, vorel::CDownGameDlg::kCancelWaitMs + 2000);
    auto transfer = dialog.Transfer();
    EXPECT_TRUE(transfer->handles.Empty());
    HandleReuseWatch watch;
    ASSERT_TRUE(WorkersEnded(transfer));
    EXPECT_TRUE(watch.AllStillOpen()) << "a handle was closed twice";
    EXPECT_EQ(FileSize(installer), 8192u) << "the partial installer stays";
    EXPECT_TRUE(DeleteFileW(installer.c_str())) << "and nothing holds it open";
    EXPECT_TRUE(ProbeStartLine(installer).empty()) << "a partial installer is never started";
}

namespace {

// The menu's "更新" with its own configuration and executable; the executable is a probe
// that records its start.
class MenuUpdate : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(CopyFileW(InBuildDir(L"launch_probe.exe").c_str(), exe.c_str(), FALSE));
        setup.configUrl = PublisherUrl(Widen(configPath));
        setup.configFile = dir.File(L"ConfigTolvVorel.htm");
        setup.exePath = exe;
        setup.dailyGateOpen = [] { return false; };  // a forced check never asks
        main = CreateWindowExW(0, L"STATIC", L"main", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                               nullptr, nullptr);
    }
    void TearDown() override { DestroyWindow(main); }
    void Announce(const std::string& key) {
        fault.reset(new PublisherFault(
            configPath,
            "{\"body\": " + JsonString(UpdateConfig(key, L"http://localhost/x.exe")) + "}"));
    }
    // Runs the menu command; any message box it shows is recorded and closed.
    vorel::MenuUpdateOutcome Run() {
        HWND box = nullptr;
        ModalScript script({
                               [&] { return (box = FindOwnWindow(L"Vorel - Tolv")) != nullptr; },
                               [&] {
                                   boxOwner = GetWindow(box, GW_OWNER);
                                   PostMessageW(box, WM_CLOSE, 0, 0);
                                   return true;
                               },
                           },
                           60000, &box);
        const vorel::MenuUpdateOutcome outcome = vorel::RunMenuUpdate(setup, main);
        boxShown = script.StepReached() > 0;
        return outcome;
    }

    TempFolder dir;
    const std::wstring exe = dir.File(L"TolvVorel.exe");
    const std::string configPath = TestPath("update/ConfigTolvVorel.htm");
    vorel::UpdateCheckSetup setup;
    std::unique_ptr<PublisherFault> fault;
    HWND main = nullptr;
    bool boxShown = false;
    HWND boxOwner = nullptr;
};

std::string Upper(std::string s) {
    for (auto& c : s) c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
    return s;
}

}  // namespace

TEST_F(MenuUpdate, TheSameBuildOnTheServerIsReportedUpToDateOverTheMainWindow) {
    Announce(Upper(vorel::FileVersionKey(exe.c_str())));
    EXPECT_EQ(Run(), vorel::MenuUpdateOutcome::UpToDate);
    EXPECT_TRUE(boxShown);
    EXPECT_EQ(boxOwner, main);
    EXPECT_EQ(LogEntriesFor(configPath).size(), 1u);
    Sleep(300);
    EXPECT_TRUE(ProbeStartLine(exe).empty());

    // No configuration at all reads the same.
    fault.reset();
    boxShown = false;
    EXPECT_EQ(Run(), vorel::MenuUpdateOutcome::UpToDate);
    EXPECT_TRUE(boxShown);
}

TEST_F(MenuUpdate, AnotherBuildStartsTheUpdateRunAndTellsTheCallerToExit) {
    Announce("00000000000000000000000000003001");
    EXPECT_EQ(Run(), vorel::MenuUpdateOutcome::UpdateStarted);
    EXPECT_FALSE(boxShown);
    ASSERT_TRUE(WaitFor([&] { return !ProbeStartLine(exe).empty(); }, 15000));
    const std::string line = ProbeStartLine(exe);
    EXPECT_EQ(line, "\"" + std::string(exe.begin(), exe.end()) + "\" /update");
}

TEST_F(MenuUpdate, WhenTheUpdateRunCannotStartNothingCloses) {
    // Readable, so that its key differs from the announced one, but no program.
    ASSERT_TRUE(WriteFileBytes(exe, "not a program"));
    Announce("00000000000000000000000000003001");
    EXPECT_EQ(Run(), vorel::MenuUpdateOutcome::StartFailed);
    EXPECT_FALSE(boxShown) << "neither 'up to date' nor anything else is claimed";
}
