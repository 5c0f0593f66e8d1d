// What the main window decides without touching a window: where its caption controls and the
// page go, its minimum size, which rule of its key filter a message meets, how a close request
// or the new-tab choice is answered, and the command line of a game-window process.
// Platform-free; the messages between the processes are those of app/Protocol.h.
#pragma once
#include <cstdint>
#include <string>

#include "app/Protocol.h"
#include "hotkey/HotkeyValue.h"
#include "ui/SkinGeometry.h"

namespace vorel {

// The system values the decisions below compare with.
constexpr unsigned kMsgKeyDown = sys::kKeyDown;
constexpr unsigned kMsgChar = sys::kChar;
constexpr unsigned kMsgSysKeyDown = sys::kSysKeyDown;
constexpr unsigned kMsgSysCommand = sys::kSysCommand;
using sys::kScClose;
using sys::kScRestore;
using sys::kVkEscape;
using sys::kVkF5;
using sys::kVkSpace;

// Timer 3: the mute state to every tab.
constexpr unsigned kMuteTimerId = 3;
constexpr unsigned kMuteTimerMs = 400;

// Timer 4: the publisher's popup notice, once, a few seconds after the window opened, when
// the login of the first account is on the screen (the notice is fetched on a worker thread
// and shown when it has arrived).
constexpr unsigned kNoticeTimerId = 4;
constexpr unsigned kNoticeTimerMs = 3000;

// The caption band's own controls, from the right: the skinned dialog's close, maximize and
// minimize buttons take the rightmost 87 pixels.
struct CaptionControls {
    BlitBox hide, sound, system, link;
};
CaptionControls LayoutCaptionControls(int cx);

// The current tab's (or the hall's) page: the client area less 4 pixels left, right and
// bottom and the 30-pixel caption band.
BlitBox PageBox(int cx, int cy);

// While tabs exist the window keeps 189 x tabs + 483 by 260 pixels at least. Raises a
// proposed size in place; false when nothing had to change (also always without tabs).
bool RaiseToMinimumSize(int tabCount, int& width, int& height);

// Whether a key with the modifier bits of the moment is the hotkey (a hotkey without a key
// never matches).
bool HotkeyMatches(const Hotkey& hotkey, int virtualKey, int modifiers);

// The main window's key filter, rules in order; the first that applies ends the filter.
enum class FilterRule {
    PassOn,         // relay to the tooltip, then the base
    SwitchTab,      // the window-switch key: consumed
    Swallow,        // Esc or Space key-down
    CloseRequest,   // SC_CLOSE: see DecideCloseRequest
    ForwardToPage,  // F5 or Ctrl+D with a tab: posted on unchanged, consumed
    Restore,        // SC_RESTORE without a tab: restore, then pass on
};
struct FilterInput {
    unsigned message = 0;
    std::uint64_t wParam = 0;
    std::int64_t lParam = 0;
    int modifiers = 0;  // Alt 1, Ctrl 2, Shift 4, of the moment
    Hotkey switchKey;
    int tabCount = 0;
};
FilterRule ClassifyMainWindowMessage(const FilterInput& in);

// Ctrl+D as the character it makes: code 4, a first press of the key with scan code 0x20.
bool IsCtrlDCharacter(unsigned message, std::uint64_t wParam, std::int64_t lParam);

enum class CloseAction {
    Normal,                  // the close question (tabs) or the default handling
    ExitAll,                 // the first login was cancelled: the program ends
    DropPending,             // a later login was cancelled: consumed, tabs untouched
    TerminatePendingAndExit  // closed before any tab: no question
};
// A cancelled login (lParam 7261) never asks the exit question: with tabs it only drops the
// pending process, whether or not one is still known.
CloseAction DecideCloseRequest(std::int64_t lParam, int tabCount);

enum class NewTabAction { Nothing, StartGame, ShowLimit, NewMainWindow };
// The answer of the new-tab choice: wParam 1 a tab here (refused at three), 0 a new window.
NewTabAction DecideNewTabChoice(std::uint64_t wParam, int tabCount);

// The image of the sound button.
constexpr int kSoundImageMuted = 148;
constexpr int kSoundImageOn = 149;
inline int SoundButtonImage(bool muted) { return muted ? kSoundImageMuted : kSoundImageOn; }

// "<exe>" /newgm /<main window> /<tab number>; the path quoted so that a folder with spaces
// survives the split. Empty when the whole would exceed 287 characters: then no process is
// started rather than one with a cut-off handle.
constexpr std::size_t kMaxGameCommandLine = 287;
std::wstring GameProcessCommandLine(const std::wstring& exePath, std::int64_t mainWindow,
                                    int tabNumber);

}  // namespace vorel
