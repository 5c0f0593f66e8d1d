// The contract between the launcher's processes and with its resource script: the window
// messages they exchange, each with its parameters; the mark of the program's own messages;
// the command-line switches with their one parser and one formatter; the caption band that
// the main window and the game frames both lay out by; the product's title and version.
// Platform-free. app/ProtocolChecks.cpp ties the numbers to the Windows headers.
#pragma once

// The version, as the resource script (which includes this header) and the program use it.
#define VOREL_VERSION_NUMBERS 3, 0, 0, 1
#define VOREL_VERSION_STRING "3.0.0.1"

#ifndef RC_INVOKED
#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

namespace vorel {

// ---- Window messages (WM_USER = 1024; every other window is found by its handle) ----------
constexpr unsigned kWmUser = 0x0400;
// Tray icon → main window. lParam: the mouse message.
constexpr unsigned kMsgTrayNotify = kWmUser + 1;
// Game frame → main window, posted. wParam: the frame's window handle; lParam: 1 for the
// game-hall page, else 0. The frame arrived as a tab or as the hall window.
constexpr unsigned kMsgFrameArrived = kWmUser + 2;
// Main window → itself, posted. Both 0: show the tray menu.
constexpr unsigned kMsgShowTrayMenu = kWmUser + 3;
// Settings dialog → every main window, posted. Both 0, result 0: the hotkeys changed.
constexpr unsigned kMsgHotkeysChanged = kWmUser + 4;
// Main window → each tab frame, posted every 400 ms. wParam: 1 muted, 0 sound on; lParam 0.
constexpr unsigned kMsgMuteState = kWmUser + 5;
// New-tab choice → main window, posted. wParam: 1 a new tab, 0 a new main window.
constexpr unsigned kMsgNewTabChoice = kWmUser + 6;
// Main window → tab frames and the hall frame, posted. Both 0: read the hotkeys again.
constexpr unsigned kMsgReloadHotkeys = kWmUser + 7;
// Besides these: WM_COPYDATA, sent by the login to the main window (dwData 0, lpData the
// account caption in UTF-16 with its NUL, cbData its size in bytes; result FALSE: that account
// is already logged in there); WM_SYSCOMMAND SC_CLOSE posted either way (lParam 7261 from a
// game-window process: the login was cancelled; lParam 0 to a tab frame: close this tab's
// process); the F5 key-down (lParam 7261 when the program makes it) and the Ctrl+D character
// posted on to the current tab frame; the window-switch key posted by a game frame to the
// main window, unchanged.

// lParam of the messages the program makes itself, so that they are not taken for the
// player's own keys or close requests.
constexpr std::intptr_t kOwnMessageMark = 7261;

// System values the platform-free rules compare with (those of the Windows headers).
namespace sys {
constexpr unsigned kKeyDown = 0x0100;
constexpr unsigned kChar = 0x0102;
constexpr unsigned kSysKeyDown = 0x0104;
constexpr unsigned kSysCommand = 0x0112;
constexpr unsigned kScClose = 0xF060;
constexpr unsigned kScRestore = 0xF120;
constexpr unsigned kVkEscape = 0x1B;
constexpr unsigned kVkSpace = 0x20;
constexpr unsigned kVkF5 = 0x74;
}  // namespace sys

// ---- Command lines --------------------------------------------------------------------
enum class Switch {
    PartnerStart,   // "/OldraD": a partner's start; opens the site, counts, ends
    ShortcutStart,  // "/VorelD": the desktop shortcut's start of the main window
    Uninstall,      // "/uninst"
    Update,         // "/update": a forced update check
    NewGame,        // "/newgm /<main window> /<tab>": the game window of one account
    GameHall,       // "/gmhall /<main window>": the game-hall page as the hall window
};
const wchar_t* SwitchText(Switch which);
// Which switch an argument is, compared without regard to ASCII case; false for none.
bool ParseSwitch(const std::wstring& argument, Switch* which);
// The one formatter of the program's command lines: the executable quoted, so that a folder
// with spaces survives the split, the switch, then each number as "/<decimal>".
std::wstring ProgramCommandLine(const std::wstring& exePath, Switch which,
                                std::initializer_list<std::int64_t> numbers = {});

// ---- The caption band ------------------------------------------------------------------
// The main window's top 30 pixels hold the tab strip and the caption controls; a page (the
// current tab's frame or the hall window) fills the client area below it, 4 pixels in at the
// left, right and bottom.
constexpr int kCaptionBandHeight = 30;
constexpr int kPageMargin = 4;

// ---- Title and version -----------------------------------------------------------------
// The caption of the main window and the title of every message box.
constexpr wchar_t kProductTitle[] = L"Vorel - Tolv";
// In the report addresses, the system menu's version entry and the update's version key.
constexpr wchar_t kVersionText[] = L"" VOREL_VERSION_STRING;

namespace detail {
constexpr bool VersionTextMatches(const wchar_t* text, std::initializer_list<int> numbers) {
    for (const int n : numbers) {
        if (n < 0 || n > 9 || *text != L'0' + n) return false;
        ++text;
        if (*text == L'.') ++text;
    }
    return *text == L'\0';
}
}  // namespace detail
static_assert(detail::VersionTextMatches(kVersionText, {VOREL_VERSION_NUMBERS}),
              "the resource's version numbers and the version text agree");

}  // namespace vorel
#endif
