#include "net/UpdateRules.h"

#include "net/VersionKey.h"

namespace vorel {

UpdateCheckStart DecideUpdateCheckStart(bool forced, RunMode mode,
                                        const std::function<bool()>& dailyGateOpen) {
    if (forced) return UpdateCheckStart::Run;
    switch (mode) {
        case ModeInstall:
        case ModePartnerStart:
        case ModeUninstall:
        case ModeNewGameWindow:
            return UpdateCheckStart::RefusedByMode;
        default:
            break;
    }
    return dailyGateOpen() ? UpdateCheckStart::Run : UpdateCheckStart::NotDue;
}

std::wstring ConfigUrl(const std::wstring& publisherHost, const std::wstring& name) {
    return L"http://" + publisherHost + L"/update/Config" + name + L".htm";
}

bool IsUpdateOffered(const std::string& announcedKey, const std::string& localKey) {
    if (announcedKey.empty() || localKey.empty()) return false;
    return !SameVersionKey(announcedKey, localKey);
}

}  // namespace vorel
