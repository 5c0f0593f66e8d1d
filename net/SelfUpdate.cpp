#include "net/SelfUpdate.h"

#include "DeployConfig.h"
#include "app/FolderAccess.h"
#include "app/SettingsStore.h"
#include "app/TextNumber.h"
#include "app/UpdateGate.h"
#include "fw/Raii.h"
#include "net/FileDigest.h"
#include "net/UpdateRules.h"
#include "net/VersionKey.h"

namespace vorel {

namespace {

const wchar_t kUpdateName[] = L"TolvVorel";
const wchar_t kConfigSection[] = L"VerKey";
const wchar_t kNewExeName[] = L"NewTolvVorel.exe";
const wchar_t kOldExeName[] = L"OldTolvVorel.exe";
constexpr DWORD kConfigChunk = 512;
constexpr DWORD kUpdateChunk = 512;
constexpr int kKeyCapacity = 64;
constexpr int kAddressCapacity = 512;

std::wstring FolderOf(const std::wstring& path) {
    const size_t slash = path.rfind(L'\\');
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash + 1);
}

// Deletes now when possible; a file still open somewhere goes at the next restart.
void Discard(const std::wstring& path) {
    if (!DeleteFileW(path.c_str()) && GetLastError() != ERROR_FILE_NOT_FOUND)
        MoveFileExW(path.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
}

// Size and first bytes of a file, for the check before the swap.
bool ReadHead(const std::wstring& path, uint64_t* size, std::string* head) {
    fw::ScopedHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    LARGE_INTEGER length;
    if (!GetFileSizeEx(file.get(), &length)) return false;
    *size = static_cast<uint64_t>(length.QuadPart);
    char bytes[2] = {};
    DWORD got = 0;
    if (!ReadFile(file.get(), bytes, sizeof(bytes), &got, nullptr)) return false;
    head->assign(bytes, got);
    return true;
}

bool IsAnnouncedBuild(const std::wstring& path, const UpdateOffer& offer) {
    uint64_t size = 0;
    std::string head;
    if (!ReadHead(path, &size, &head)) return false;
    return CheckDownloadedBuild(size, head, FileVersionKey(path.c_str()), offer.key) ==
           DownloadCheck::Ok;
}

}  // namespace

UpdateCheckSetup DefaultUpdateCheckSetup() {
    UpdateCheckSetup setup;
    setup.configUrl = ConfigUrl(VOREL_PUBLISHER_HOST, kUpdateName);
    setup.configFile = BesideExePath(L"ConfigTolvVorel.htm");
    setup.exePath = RunningExePath();
    setup.dailyGateOpen = IsDailyUpdateCheckDue;
    return setup;
}

UpdateOffer FetchUpdateOffer(const std::wstring& configUrl, const std::wstring& configFile) {
    UpdateOffer offer;
    // A file that is there already may be someone else's, who could then change what we read.
    if (!RemoveBeforeWriting(configFile)) return offer;
    if (HttpDownloadToFile(configUrl.c_str(), configFile.c_str(), kConfigChunk, false, nullptr,
                           nullptr)) {
        wchar_t key[kKeyCapacity] = L"";
        GetPrivateProfileStringW(kConfigSection, kUpdateName, L"", key, kKeyCapacity,
                                 configFile.c_str());
        char ansiKey[kKeyCapacity] = "";
        WideCharToMultiByte(CP_ACP, 0, key, -1, ansiKey, kKeyCapacity, nullptr, nullptr);
        ansiKey[kKeyCapacity - 1] = '\0';
        offer.key = AnnouncedKeyFromConfig(ansiKey);
        wchar_t address[kAddressCapacity] = L"";
        GetPrivateProfileStringW(kConfigSection, L"UpdAddr", L"", address, kAddressCapacity,
                                 configFile.c_str());
        offer.address = address;
    }
    // An incomplete configuration is not read, and not left behind either.
    DeleteFileW(configFile.c_str());
    return offer;
}

bool CheckForUpdate(const UpdateCheckSetup& setup, bool forced, RunMode mode, UpdateOffer* offer) {
    *offer = UpdateOffer();
    if (DecideUpdateCheckStart(forced, mode, setup.dailyGateOpen) != UpdateCheckStart::Run)
        return false;
    *offer = FetchUpdateOffer(setup.configUrl, setup.configFile);
    if (offer->key.empty()) return false;
    return IsUpdateOffered(offer->key, FileVersionKey(setup.exePath.c_str()));
}

bool CheckForUpdate(bool forced, RunMode mode, UpdateOffer* offer) {
    return CheckForUpdate(DefaultUpdateCheckSetup(), forced, mode, offer);
}

bool DownloadUpdate(const std::wstring& url, const std::wstring& target,
                    DownloadProgressSink* progress, TransferHandles* holder) {
    // Written into a file that was there already, the new build would keep that file's owner,
    // who could replace its code after the check and before the start.
    if (!RemoveBeforeWriting(target)) return false;
    return HttpDownloadToFile(url.c_str(), target.c_str(), kUpdateChunk, true, progress, holder);
}

UpdateResult ApplyUpdate(const std::wstring& exePath, const UpdateOffer& offer,
                         const UpdateDownloadStep& download) {
    const std::wstring folder = FolderOf(exePath);
    if (folder.empty()) return UpdateResult::DownloadFailed;
    const std::wstring newExe = TruncateToBuffer(folder + kNewExeName, MAX_PATH);
    const std::wstring oldExe = TruncateToBuffer(folder + kOldExeName, MAX_PATH);

    if (!download || !download(offer.address, newExe)) {
        Discard(newExe);
        return UpdateResult::DownloadFailed;
    }
    if (!IsAnnouncedBuild(newExe, offer)) {
        Discard(newExe);
        return UpdateResult::Rejected;
    }
    if (!MoveFileExW(exePath.c_str(), oldExe.c_str(), MOVEFILE_REPLACE_EXISTING)) {
        Discard(newExe);
        return UpdateResult::SwapFailed;
    }
    if (!MoveFileExW(newExe.c_str(), exePath.c_str(), MOVEFILE_REPLACE_EXISTING)) {
        // Never leave the launcher without an executable at its path.
        MoveFileExW(oldExe.c_str(), exePath.c_str(), MOVEFILE_REPLACE_EXISTING);
        Discard(newExe);
        return UpdateResult::SwapFailed;
    }
    // The old executable may still be running (it is this process): it goes at the restart.
    MoveFileExW(oldExe.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
    return UpdateResult::Applied;
}

bool ApplyUpdate(const UpdateOffer& offer, const UpdateDownloadStep& download) {
    return ApplyUpdate(RunningExePath(), offer, download) == UpdateResult::Applied;
}

}  // namespace vorel
