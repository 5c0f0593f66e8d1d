// Prints download throughput over loopback: HttpDownloadToFile with the chunk sizes the
// program uses (512 bytes for the update and the notice picture, 1024 for the game hall)
// next to a plain WinINet loop with 64 KiB reads, and the MD5 throughput of the version key.
// With a second, smaller file it also times the 512-byte download reporting to a progress bar
// on this thread, as the update dialog's worker does: a send per chunk, and a send only when
// the percentage changes. scripts/download-bench.sh serves the files and adds curl's figure.
//
//   download_bench.exe <url> <scratch file> [runs] [url of a small file]
// Lines starting with "result" are for the script: result <name> <MiB/s>.
#include <windows.h>
#include <wininet.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include <commctrl.h>

#include "net/DialogTransfer.h"
#include "net/FileDigest.h"
#include "net/HttpFetch.h"
#include "net/InternetHandle.h"
#include "net/Url.h"
#include "tests/support/BenchClock.h"

namespace {

using testsupport::Now;

ULONGLONG FileSize(const wchar_t* path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(path, GetFileExInfoStandard, &data)) return 0;
    return (ULONGLONG(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

// The same request as the program's (agent, headers, reload flag), read readSize bytes at a
// time and written to file, or only read when file is null (WinINet's own share).
bool PlainWinInetDownload(const wchar_t* url, const wchar_t* file, DWORD readSize = 64 * 1024) {
    vorel::UrlParts parts;
    if (vorel::SplitUrl(url, &parts) != vorel::UrlSplit::Ok) return false;
    vorel::ScopedInternetHandle internet(
        InternetOpenW(L"RKW", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
    if (!internet) return false;
    vorel::ScopedInternetHandle connection(InternetConnectW(internet.get(), parts.host.c_str(),
                                                            parts.port, nullptr, nullptr,
                                                            INTERNET_SERVICE_HTTP, 0, 0));
    if (!connection) return false;
    vorel::ScopedInternetHandle request(HttpOpenRequestW(connection.get(), L"GET",
                                                         parts.object.c_str(), L"HTTP/1.1", nullptr,
                                                         nullptr, INTERNET_FLAG_RELOAD, 0));
    const wchar_t headers[] =
        L"Accept-Language: zh-cn \r\nContent-Type: application/x-www-form-urlencoded\r\n";
    if (!request || !HttpSendRequestW(request.get(), headers, DWORD(wcslen(headers)), nullptr, 0))
        return false;
    fw::ScopedHandle out(file ? CreateFileW(file, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                            FILE_ATTRIBUTE_NORMAL, nullptr)
                              : nullptr);
    if (file && !out) return false;
    std::vector<char> buffer(readSize);
    for (;;) {
        DWORD got = 0;
        if (!InternetReadFile(request.get(), buffer.data(), DWORD(buffer.size()), &got))
            return false;
        if (got == 0) return true;
        if (!file) continue;
        DWORD written = 0;
        if (!WriteFile(out.get(), buffer.data(), got, &written, nullptr) || written != got)
            return false;
    }
}

// The best of `runs` timings of work, in MiB/s of `bytes`; 0 when any run failed.
double BestMibPerSecond(int runs, ULONGLONG bytes, const std::function<bool()>& work) {
    double best = 0;
    for (int i = 0; i < runs; ++i) {
        const double start = Now();
        if (!work()) return 0;
        const double seconds = Now() - start;
        best = std::max(best, double(bytes) / (1024.0 * 1024.0) / seconds);
    }
    return best;
}

// Downloads on a worker while this thread runs a progress bar's messages, as a dialog does.
bool DownloadReportingToBar(const wchar_t* url, const wchar_t* file, bool everyChunk) {
    HWND bar = CreateWindowExW(0, PROGRESS_CLASSW, L"", WS_POPUP, 0, 0, 258, 18, nullptr, nullptr,
                               nullptr, nullptr);
    if (!bar) return false;
    vorel::ProgressBarSink perChunk(bar);
    vorel::DialogTransfer transfer;
    transfer.bar.store(bar);
    vorel::DialogProgressSink onChange(transfer);
    vorel::DownloadProgressSink* sink =
        everyChunk ? static_cast<vorel::DownloadProgressSink*>(&perChunk) : &onChange;
    bool ok = false;
    HANDLE worker = vorel::StartThread(
        [&] { ok = vorel::HttpDownloadToFile(url, file, 512, false, sink, nullptr); });
    while (worker &&
           MsgWaitForMultipleObjects(1, &worker, FALSE, INFINITE, QS_ALLINPUT) != WAIT_OBJECT_0) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    }
    if (worker) CloseHandle(worker);
    DestroyWindow(bar);
    return ok;
}

// The progress bar's cost: a send after every chunk against one when the percentage changes.
void PrintProgressReportingCost(const wchar_t* smallUrl, const wchar_t* scratch, int runs) {
    if (!vorel::HttpDownloadToFile(smallUrl, scratch, 64 * 1024, false, nullptr, nullptr)) return;
    const ULONGLONG smallBytes = FileSize(scratch);
    const double perChunk = BestMibPerSecond(
        1, smallBytes, [&] { return DownloadReportingToBar(smallUrl, scratch, true); });
    const double onChange = BestMibPerSecond(
        runs, smallBytes, [&] { return DownloadReportingToBar(smallUrl, scratch, false); });
    std::printf("  %.1f MiB, 512-byte reads, reporting to a bar on another thread:\n",
                double(smallBytes) / (1024.0 * 1024.0));
    std::printf("    a send after every chunk            %8.2f MiB/s\n", perChunk);
    std::printf("    a send when the percentage changes  %8.2f MiB/s\n", onChange);
    std::printf("result bar_every_chunk %.3f\nresult bar_on_change %.3f\n", perChunk, onChange);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: download_bench <url> <scratch file> [runs]\n");
        return 2;
    }
    const wchar_t* url = argv[1];
    const wchar_t* scratch = argv[2];
    const int runs = argc > 3 ? std::max(1, _wtoi(argv[3])) : 3;
    const wchar_t* smallUrl = argc > 4 ? argv[4] : nullptr;
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&controls);

    // One warm-up fetch also tells the size.
    if (!vorel::HttpDownloadToFile(url, scratch, 64 * 1024, false, nullptr, nullptr)) {
        std::fprintf(stderr, "download_bench: the file could not be fetched\n");
        return 1;
    }
    const ULONGLONG bytes = FileSize(scratch);
    std::printf("download of %.1f MiB over loopback, best of %d runs\n",
                double(bytes) / (1024.0 * 1024.0), runs);

    struct Case {
        const char* name;
        const char* label;
        std::function<bool()> work;
    } cases[] = {
        {"chunk512", "HttpDownloadToFile, 512-byte reads ",
         [&] { return vorel::HttpDownloadToFile(url, scratch, 512, false, nullptr, nullptr); }},
        {"chunk1024", "HttpDownloadToFile, 1024-byte reads",
         [&] { return vorel::HttpDownloadToFile(url, scratch, 1024, false, nullptr, nullptr); }},
        {"wininet64k", "plain WinINet loop, 64 KiB reads  ",
         [&] { return PlainWinInetDownload(url, scratch); }},
        {"wininet512", "WinINet alone, 512-byte reads     ",
         [&] { return PlainWinInetDownload(url, nullptr, 512); }},
        {"wininet512write", "WinINet, 512 bytes read, written  ",
         [&] { return PlainWinInetDownload(url, scratch, 512); }},
    };
    double plain = 0;
    std::vector<double> figures;
    for (const Case& c : cases) {
        const double mib = BestMibPerSecond(runs, bytes, c.work);
        figures.push_back(mib);
        if (std::string(c.name) == "wininet64k") plain = mib;
    }
    for (size_t i = 0; i < figures.size(); ++i) {
        std::printf("  %s %8.1f MiB/s", cases[i].label, figures[i]);
        if (plain > 0) std::printf("  (%.2f x the 64 KiB loop)", figures[i] / plain);
        std::printf("\n");
    }

    if (smallUrl) PrintProgressReportingCost(smallUrl, scratch, runs);

    // The version key reads its file in 1024-byte blocks through CryptoAPI's MD5.
    uint8_t digest[16];
    const double md5 =
        BestMibPerSecond(runs, bytes, [&] { return vorel::FileMd5(scratch, digest); });
    std::printf("  MD5 (CryptoAPI, 1024-byte reads) %8.1f MiB/s\n", md5);
    wchar_t exe[MAX_PATH] = L"";
    GetModuleFileNameW(nullptr, exe, MAX_PATH);
    const double start = Now();
    const std::string key = vorel::FileVersionKey(exe);
    std::printf("  version key of this %.0f KiB program: %.2f ms (%s)\n",
                double(FileSize(exe)) / 1024.0, (Now() - start) * 1000.0, key.c_str());

    for (size_t i = 0; i < figures.size(); ++i)
        std::printf("result %s %.3f\n", cases[i].name, figures[i]);
    std::printf("result md5 %.3f\n", md5);
    DeleteFileW(scratch);
    return 0;
}
