// Driving the stand-in game-window program (tests/helpers/standin_game.cpp) from a test: find
// the stand-ins that a main window started, tell them what to do, read what they received.
#pragma once
#include <windows.h>

#include <functional>
#include <set>
#include <string>
#include <vector>

#include "support/WinTestSupport.h"

namespace testsupport {

// A fresh folder for the stand-ins' logs, named to them (and to every process this one
// starts) through VOREL_STANDIN_DIR.
std::wstring PrepareStandInDir();
std::wstring StandInDir();
std::wstring StandInProgram();

struct StandIn {
    DWORD pid = 0;
    HWND control = nullptr;

    explicit operator bool() const { return pid != 0; }
    std::wstring LogPath() const;
    std::vector<std::wstring> Log() const;
    bool HasLine(const std::wstring& line) const;
    // The first logged line that starts with prefix (empty when there is none).
    std::wstring LineStartingWith(const std::wstring& prefix) const;
    bool WaitForLine(const std::wstring& line, DWORD timeoutMs,
                     const Idle& idle = SleepBriefly) const;
    // The frame it created ("arrived <handle>"), or null.
    HWND Frame() const;
    // Sends one command ("login <caption>", "cancel", "frame", "show", "quit"...).
    bool Command(const std::wstring& command) const;
    bool Running() const;
    bool WaitForExit(DWORD timeoutMs, const Idle& idle = SleepBriefly) const;
};

std::vector<StandIn> RunningStandIns();
std::set<DWORD> StandInIds();
// A stand-in not among `known` that shows up within timeoutMs (empty when none does).
StandIn WaitForNewStandIn(const std::set<DWORD>& known, DWORD timeoutMs,
                          const Idle& idle = SleepBriefly);
// Starts one with the given arguments ("/newgm /<hwnd> /0", "/gmhall /<hwnd>").
StandIn StartStandIn(const std::wstring& arguments, const Idle& idle = SleepBriefly);
// Log files in the stand-in folder that contain the line.
std::vector<std::wstring> StandInLogsWithLine(const std::wstring& line);
// Ends every stand-in still running.
void EndAllStandIns();

// The window handle as a main window writes it on a command line.
std::wstring HandleText(HWND wnd);

}  // namespace testsupport
