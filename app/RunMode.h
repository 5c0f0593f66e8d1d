// Which role a process of the launcher plays, decided from its command line and location.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace vorel {

enum RunMode : int {
    ModeInstall = 0,
    ModePartnerStart = 1,
    ModeShortcutStart = 2,
    ModeInstalledStart = 3,
    ModeUninstall = 4,
    ModeUpdate = 5,
    ModeNewGameWindow = 6,
    ModeGameHall = 7,
};

struct RunModeDecision {
    RunMode mode = ModeInstall;
    // Decimal window handle of the parent main window ("/newgm", "/gmhall"), else 0.
    int32_t parentWindow = 0;
    // Tab number from "/newgm", else 0.
    int32_t tabNumber = 0;
};

// args is the whole argument vector, program name first. exePath is the running
// executable's full path, productFolder the machine-wide product folder.
RunModeDecision DecideRunMode(const std::vector<std::wstring>& args, const std::wstring& exePath,
                              const std::wstring& productFolder);

// The roles that may show the main window (2, 3 and 5), whose thread serves the system-wide
// keyboard hook: such a process runs at normal priority whatever started it, since an idle
// one misses the hook's deadline under load and the system removes the hook.
inline bool ServesMainWindow(RunMode mode) {
    return mode == ModeShortcutStart || mode == ModeInstalledStart || mode == ModeUpdate;
}

// True when the product folder's text occurs anywhere in the executable's path, compared
// without regard to case.
bool RunsFromProductFolder(const std::wstring& exePath, const std::wstring& productFolder);

// A handle argument as the "/newgm" and "/gmhall" command lines carry it: copied into a
// buffer of `capacity` characters, its first character (the slash) skipped, the rest
// converted as decimal.
int32_t ParseSlashedNumber(const std::wstring& argument, size_t capacity);

}  // namespace vorel
