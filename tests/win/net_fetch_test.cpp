// HttpDownloadToFile and HttpPing against the session's publisher server over loopback.
#include <gtest/gtest.h>
#include <commctrl.h>

#include <atomic>
#include <vector>

#include "net/HttpFetch.h"
#include "support/PublisherTestSupport.h"
#include "support/ServedFiles.h"
#include "support/WinTestSupport.h"

using namespace testsupport;

namespace {

bool Download(const std::wstring& url, const std::wstring& file, bool domainRule = false,
              vorel::DownloadProgressSink* progress = nullptr,
              vorel::TransferHandles* holder = nullptr, DWORD chunk = 512) {
    return vorel::HttpDownloadToFile(url.c_str(), file.c_str(), chunk, domainRule, progress,
                                     holder);
}

bool Has(const std::string& entry, const std::string& text) {
    return entry.find(text) != std::string::npos;
}

}  // namespace

TEST(HttpDownload, StoresTheWholeResourceAndSendsTheExactRequestForm) {
    TempFolder dir;
    const std::string path = TestPath("resource.bin");
    const std::string body = Pattern(3000);
    PublisherFault fault(path, "{\"body\": " + JsonString(body) + "}");
    vorel::TransferHandles holder;

    ASSERT_TRUE(Download(PublisherUrl(Widen(path)), dir.File(L"out.bin"), true, nullptr, &holder));
    EXPECT_EQ(ReadFileBytes(dir.File(L"out.bin")), body);
    EXPECT_TRUE(holder.Empty()) << "every handle is closed and forgotten after the fetch";

    const auto entries = LogEntriesFor(path);
    ASSERT_EQ(entries.size(), 1u);
    const std::string& e = entries[0];
    EXPECT_TRUE(Has(e, "\"method\": \"GET\"")) << e;
    EXPECT_TRUE(Has(e, "\"User-Agent\": \"RKW\"")) << e;
    // We hand WinINet "zh-cn " with its blank; Wine's WinINet trims header values before it
    // sends them, so under Wine the server sees "zh-cn".
    EXPECT_TRUE(Has(e, "\"Accept-Language\": \"zh-cn \"") ||
                Has(e, "\"Accept-Language\": \"zh-cn\""))
        << e;
    EXPECT_TRUE(Has(e, "\"Content-Type\": \"application/x-www-form-urlencoded\"")) << e;
}

TEST(HttpDownload, StatusDecidesOnlyAt404AndAnyOtherStatusIsStored) {
    TempFolder dir;
    // Nothing at this path: the server answers 404.
    const std::string missing = TestPath("missing.htm");
    EXPECT_FALSE(Download(PublisherUrl(Widen(missing)), dir.File(L"404.htm")));
    ASSERT_EQ(LogEntriesFor(missing).size(), 1u);
    EXPECT_TRUE(Has(LogEntriesFor(missing)[0], "\"status\": 404"));
    EXPECT_FALSE(FileExists(dir.File(L"404.htm")));

    // A 500 page with its length arrives like any resource.
    const std::string broken = TestPath("broken.htm");
    PublisherFault fault(broken, "{\"status\": 500}");
    ASSERT_TRUE(Download(PublisherUrl(Widen(broken)), dir.File(L"500.htm")));
    EXPECT_NE(ReadFileBytes(dir.File(L"500.htm")).find("500 Internal Server Error"),
              std::string::npos);
}

TEST(HttpDownload, AResponseWithoutContentLengthFailsBeforeTheFileIsOpened) {
    TempFolder dir;
    const std::string path = TestPath("nolength.bin");
    PublisherFault fault(path, "{\"body\": \"complete but unmeasured\", \"no_length\": true}");
    EXPECT_FALSE(Download(PublisherUrl(Widen(path)), dir.File(L"out.bin")));
    EXPECT_EQ(LogEntriesFor(path).size(), 1u) << "the request was made";
    EXPECT_FALSE(FileExists(dir.File(L"out.bin")));
}

TEST(HttpDownload, AConnectionCutMidBodyFailsAndLeavesThePartialFile) {
    TempFolder dir;
    const std::string path = TestPath("cut.bin");
    PublisherFault fault(path,
                         "{\"body\": " + JsonString(Pattern(5000)) + ", \"cut_after\": 1000}");
    vorel::TransferHandles holder;
    EXPECT_FALSE(
        Download(PublisherUrl(Widen(path)), dir.File(L"out.bin"), false, nullptr, &holder));
    EXPECT_EQ(ReadFileBytes(dir.File(L"out.bin")), Pattern(1000));
    EXPECT_TRUE(holder.Empty());
}

TEST(HttpDownload, DomainRuleRefusesBeforeAnyRequestAndLooksAtTheWholeAddress) {
    TempFolder dir;
    const std::string path = TestPath("byaddress.bin");
    PublisherFault fault(path, "{\"body\": \"MZ\"}");
    const std::wstring byAddress =
        L"http://127.0.0.1:" + std::to_wstring(PublisherPort()) + Widen(path);

    EXPECT_FALSE(Download(byAddress, dir.File(L"a.bin"), true));
    EXPECT_TRUE(LogEntriesFor(path).empty()) << "no request may leave for a foreign host";
    EXPECT_FALSE(FileExists(dir.File(L"a.bin")));

    // The same address passes when a publisher domain appears in its query.
    ASSERT_TRUE(Download(byAddress + L"?from=vorel.test", dir.File(L"b.bin"), true));
    EXPECT_EQ(LogEntriesFor(path, "from=vorel.test").size(), 1u);
    // And with the rule off nothing is asked of the address.
    ASSERT_TRUE(Download(byAddress, dir.File(L"c.bin"), false));
    EXPECT_EQ(ReadFileBytes(dir.File(L"c.bin")), "MZ");
}

TEST(HttpDownload, ThePortAfterTheColonIsUsedCutTo16Bits) {
    TempFolder dir;
    const std::string path = TestPath("port.txt");
    PublisherFault fault(path, "{\"body\": \"port\"}");
    // The server listens on a port other than 80, so arriving proves the port was used;
    // 65536 more is the same port once cut to 16 bits.
    const std::wstring url =
        L"HTTP://localhost:" + std::to_wstring(PublisherPort() + 65536) + Widen(path);
    ASSERT_TRUE(Download(url, dir.File(L"out.txt")));
    EXPECT_EQ(ReadFileBytes(dir.File(L"out.txt")), "port");
    // Nothing listens on port 1.
    EXPECT_FALSE(Download(L"http://localhost:1" + Widen(path), dir.File(L"none.txt")));
}

TEST(HttpDownload, UnwritableTargetAndOverlongAddressesFail) {
    TempFolder dir;
    const std::string path = TestPath("target.txt");
    PublisherFault fault(path, "{\"body\": \"x\"}");
    EXPECT_FALSE(Download(PublisherUrl(Widen(path)), dir.File(L"no-such-folder\\out.txt")));
    // An object name over 511 characters is refused rather than cut to another resource.
    const std::string longPath = TestPath(std::string(520, 'o'));
    EXPECT_FALSE(Download(PublisherUrl(Widen(longPath)), dir.File(L"long.txt")));
    EXPECT_TRUE(LogEntriesFor(longPath).empty());
}

namespace {

// A window on the test thread that records every PBM_SETPOS it is sent.
struct RecordingBar {
    static LRESULT CALLBACK Proc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
        if (msg == PBM_SETPOS) {
            auto* self = reinterpret_cast<RecordingBar*>(GetWindowLongPtrW(wnd, GWLP_USERDATA));
            self->positions.push_back(static_cast<unsigned>(wp));
            self->lparams.push_back(lp);
            return 0;
        }
        return DefWindowProcW(wnd, msg, wp, lp);
    }
    RecordingBar() {
        WNDCLASSW wc = {};
        wc.lpfnWndProc = Proc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"VorelRecordingBar";
        RegisterClassW(&wc);
        wnd = CreateWindowW(L"VorelRecordingBar", L"", 0, 0, 0, 10, 10, HWND_MESSAGE, nullptr,
                            wc.hInstance, nullptr);
        SetWindowLongPtrW(wnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    ~RecordingBar() { DestroyWindow(wnd); }
    HWND wnd = nullptr;
    std::vector<unsigned> positions;
    std::vector<LPARAM> lparams;
};

// A download of the server's path into a file on a worker thread, as the dialogs run theirs.
struct FetchJob {
    FetchJob(const std::string& path, const std::wstring& file,
             vorel::DownloadProgressSink* progress, vorel::TransferHandles* holder)
        : url(PublisherUrl(Widen(path))), file(file), progress(progress), holder(holder) {}
    // The worker thread's handle; null when it could not start.
    HANDLE Start() { return CreateThread(nullptr, 0, &FetchJob::Run, this, 0, nullptr); }

    const std::wstring url, file;
    vorel::DownloadProgressSink* const progress;
    vorel::TransferHandles* const holder;
    std::atomic<bool> result{false};

private:
    static DWORD WINAPI Run(void* p) {
        auto* job = static_cast<FetchJob*>(p);
        job->result = vorel::HttpDownloadToFile(job->url.c_str(), job->file.c_str(), 512, false,
                                                job->progress, job->holder);
        return 0;
    }
};

// Waits for a thread while handling the messages it sends us, as a dialog would.
bool PumpUntilEnded(HANDLE thread, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    for (;;) {
        const DWORD elapsed = GetTickCount() - start;
        if (elapsed >= timeoutMs) return false;
        DWORD r = MsgWaitForMultipleObjects(1, &thread, FALSE, timeoutMs - elapsed, QS_ALLINPUT);
        if (r == WAIT_OBJECT_0) return true;
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    }
}

}  // namespace

TEST(HttpDownload, ProgressIsSentToTheBarFromTheWorkerRisingTo100) {
    TempFolder dir;
    const std::string path = TestPath("progress.bin");
    PublisherFault fault(path, "{\"body\": " + JsonString(Pattern(5000)) + "}");
    RecordingBar bar;
    ASSERT_NE(bar.wnd, nullptr);
    vorel::ProgressBarSink sink(bar.wnd);
    FetchJob job(path, dir.File(L"out.bin"), &sink, nullptr);
    HANDLE thread = job.Start();
    ASSERT_NE(thread, nullptr);
    ASSERT_TRUE(PumpUntilEnded(thread, 30000));
    CloseHandle(thread);

    EXPECT_TRUE(job.result);
    // 5000 bytes in chunks of at most 512: ten chunks or more, and the final empty read.
    ASSERT_GE(bar.positions.size(), 11u);
    for (size_t i = 1; i < bar.positions.size(); ++i)
        EXPECT_GE(bar.positions[i], bar.positions[i - 1]) << "at " << i;
    EXPECT_LE(bar.positions.front(), 11u);
    EXPECT_EQ(bar.positions.back(), 100u);
    for (LPARAM lp : bar.lparams) EXPECT_EQ(lp, 0);
}

namespace {
// Cancelling leaves nothing held and every later step refused; the worker ends by itself as
// failed. Windows' WinINet ends a blocked call at once, Wine's when the server goes on, so
// the wait for the worker allows for the server's pause.
void CancelAndExpectTheWorkerToEnd(vorel::TransferHandles& holder, HANDLE thread, FetchJob& job) {
    EXPECT_FALSE(holder.Empty()) << "the running fetch keeps its handles in the holder";
    holder.Cancel();
    EXPECT_TRUE(holder.Empty());
    holder.Cancel();  // a second cancel finds nothing left to close
    EXPECT_EQ(WaitForSingleObject(thread, 20000), WAIT_OBJECT_0) << "the worker did not end";
    EXPECT_FALSE(job.result);
    EXPECT_TRUE(holder.Empty());
    EXPECT_TRUE(holder.Cancelled());
}
}  // namespace

TEST(HttpDownload, CancelWhileWaitingForTheAnswerFailsWithoutOpeningTheFile) {
    TempFolder dir;
    const std::string path = TestPath("late.bin");
    PublisherFault fault(path, "{\"body\": \"late\", \"delay\": 4}");
    vorel::TransferHandles holder;
    FetchJob job(path, dir.File(L"out.bin"), nullptr, &holder);
    HANDLE thread = job.Start();
    ASSERT_NE(thread, nullptr);
    // Let the request go out and block on the answer (the server logs it after its delay).
    Sleep(700);
    CancelAndExpectTheWorkerToEnd(holder, thread, job);
    CloseHandle(thread);
    EXPECT_FALSE(FileExists(job.file));
    // Adopting after a cancel closes the new handle at once.
    EXPECT_FALSE(holder.HoldFile(CreateFileW(dir.File(L"after.bin").c_str(), GENERIC_WRITE, 0,
                                             nullptr, CREATE_ALWAYS, 0, nullptr)));
    EXPECT_TRUE(DeleteFileW(dir.File(L"after.bin").c_str())) << "the handle was closed";
}

TEST(HttpDownload, CancelMidBodyClosesTheFileAndNothingMoreIsWritten) {
    TempFolder dir;
    const std::string path = TestPath("stalled.bin");
    PublisherFault fault(
        path, "{\"body\": " + JsonString(Pattern(5000)) + ", \"stall_after\": 1024, \"stall\": 4}");
    vorel::TransferHandles holder;
    FetchJob job(path, dir.File(L"out.bin"), nullptr, &holder);
    HANDLE thread = job.Start();
    ASSERT_NE(thread, nullptr);
    const DWORD start = GetTickCount();
    while (ReadFileBytes(job.file).size() < 1024 && GetTickCount() - start < 10000) Sleep(20);
    ASSERT_EQ(ReadFileBytes(job.file).size(), 1024u) << "the transfer did not reach its stall";
    CancelAndExpectTheWorkerToEnd(holder, thread, job);
    CloseHandle(thread);
    // The rest of the body may have arrived after the cancel; none of it reached the file.
    EXPECT_EQ(ReadFileBytes(job.file), Pattern(1024));
}

TEST(HttpPing, SendsOneGetToHttpAddressesInAnyCase) {
    const std::string path = TestPath("ping.htm");
    const std::wstring url =
        L"HTTP://" + std::wstring(PublisherUrl(Widen(path)).substr(7)) + L"?tag=x&count=3";
    ASSERT_TRUE(vorel::HttpPing(url.c_str()));
    const auto entries = LogEntriesFor(path, "tag=x&count=3");
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_TRUE(Has(entries[0], "\"User-Agent\": \"RKW\""));
    EXPECT_TRUE(Has(entries[0], "\"Accept-Language\": \"zh-cn")) << entries[0];
    EXPECT_TRUE(Has(entries[0], "\"Content-Type\": \"application/x-www-form-urlencoded\""));
    // 404 or not, the answer is not looked at.
    EXPECT_TRUE(Has(entries[0], "\"status\": 404"));
}

TEST(HttpPing, RefusesOtherSchemesAndKeepsTheErrorOfAFailedConnection) {
    const std::string path = TestPath("ping.htm");
    const std::wstring https = L"https://" + std::wstring(PublisherUrl(Widen(path)).substr(7));
    SetLastError(0);
    EXPECT_FALSE(vorel::HttpPing(https.c_str()));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INTERNET_UNRECOGNIZED_SCHEME));
    EXPECT_FALSE(vorel::HttpPing(L"http:/"));
    EXPECT_TRUE(LogEntriesFor(path).empty());

    SetLastError(0);
    EXPECT_FALSE(vorel::HttpPing(L"http://localhost:1/ping.htm"));
    EXPECT_NE(GetLastError(), 0u);
}
