// The decisions of the self-update that need no system: whether a check runs, where its
// configuration lives, and whether the announced build differs from this one. Platform-free.
#pragma once
#include <functional>
#include <string>

#include "app/RunMode.h"

namespace vorel {

enum class UpdateCheckStart {
    Run,
    RefusedByMode,  // automatic checks skip the one-shot and game-window roles
    NotDue          // the daily gate is closed (checked today, a disabled weekday, no key)
};

// A forced check always runs; an automatic one only outside run modes 0, 1, 4 and 6 and
// when the daily gate is open. The gate reads (and may create) the registry key, so it is
// asked only when its answer decides.
UpdateCheckStart DecideUpdateCheckStart(bool forced, RunMode mode,
                                        const std::function<bool()>& dailyGateOpen);

// "http://" + host + "/update/Config" + name + ".htm"; the update's own name is "TolvVorel",
// a game hall's configuration uses the hall's name instead.
std::wstring ConfigUrl(const std::wstring& publisherHost, const std::wstring& name);

// An update is offered when the server announces a key that differs, in any way but letter
// case, from the running build's key. An empty announcement is no offer, and neither is
// one we cannot compare with: an unreadable own file gives an empty local key, and
// offering on that would update on every start.
bool IsUpdateOffered(const std::string& announcedKey, const std::string& localKey);

}  // namespace vorel
