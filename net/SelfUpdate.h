// The self-update: whether the update server announces another build, and putting a
// downloaded build in place of the running executable.
#pragma once
#include <windows.h>

#include <functional>
#include <string>

#include "app/RunMode.h"
#include "net/HttpFetch.h"

namespace vorel {

// What the update configuration (section "VerKey") announced; empty when nothing arrived.
struct UpdateOffer {
    std::string key;       // "TolvVorel", in the system's ANSI code page, at most 63 bytes
    std::wstring address;  // "UpdAddr", at most 511 characters
};

// Where a check looks. The defaults: this build's update server, "ConfigTolvVorel.htm" and
// the executable in the program folder, and the daily gate of the settings store.
struct UpdateCheckSetup {
    std::wstring configUrl;
    std::wstring configFile;
    std::wstring exePath;
    std::function<bool()> dailyGateOpen;
};
UpdateCheckSetup DefaultUpdateCheckSetup();

// Fetches the configuration into file (no domain rule, 512-byte chunks); only when the whole
// of it arrived are the two keys read. The file is deleted either way.
UpdateOffer FetchUpdateOffer(const std::wstring& configUrl, const std::wstring& configFile);

// True when an update is available: the announced key differs (not only in letter case)
// from the executable's own. Forced checks always ask the server; automatic ones only in
// the run modes that allow them and when the daily gate is open. *offer gets what was
// announced, also when it is no update (the "/update" run uses the address regardless).
bool CheckForUpdate(bool forced, RunMode mode, UpdateOffer* offer);
bool CheckForUpdate(const UpdateCheckSetup& setup, bool forced, RunMode mode, UpdateOffer* offer);

// The update's download step: the progress dialog runs it on its worker thread.
bool DownloadUpdate(const std::wstring& url, const std::wstring& target,
                    DownloadProgressSink* progress, TransferHandles* holder);

// Brings the announced build to the target file; true when it arrived whole. The progress
// dialog, shown modally, is this step in the program.
using UpdateDownloadStep = std::function<bool(const std::wstring& url, const std::wstring& target)>;

enum class UpdateResult {
    Applied,         // the new build is at the executable's path, the old one beside it
    DownloadFailed,  // failed or cancelled
    Rejected,        // arrived, but is not the announced executable
    SwapFailed       // could not be moved into place; the old executable is back at its path
};

// Downloads to "NewTolvVorel.exe" beside exePath, checks what arrived, moves the executable
// to "OldTolvVorel.exe" and the new build to its path, and marks "OldTolvVorel.exe" for
// deletion at the next restart of Windows. Whatever fails, a working executable stays at
// exePath and the downloaded file is discarded.
UpdateResult ApplyUpdate(const std::wstring& exePath, const UpdateOffer& offer,
                         const UpdateDownloadStep& download);
// For the running executable.
bool ApplyUpdate(const UpdateOffer& offer, const UpdateDownloadStep& download);

}  // namespace vorel
