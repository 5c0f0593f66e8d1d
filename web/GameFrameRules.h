// Decisions of the game window: which keys it handles or forwards, when a mute request is
// applied, where it sits in the main window, and how it announces itself.
#pragma once
#include <cstdint>
#include <string>

#include "app/Protocol.h"
#include "hotkey/HotkeyValue.h"

namespace vorel {

struct FrameKeyInput {
    unsigned message = 0;
    uintptr_t wParam = 0;
    intptr_t lParam = 0;
    int modifiersDown = 0;  // kModAlt | kModCtrl | kModShift held now
    Hotkey bossKey;
    Hotkey switchKey;
    Hotkey soundKey;
    bool viewExists = false;
};

enum class FrameKeyAction {
    PassOn,           // the framework's pre-translation
    ForwardToParent,  // post the same message to the main window, swallow
    OpenFavorites,    // the favourites dialog, swallow
    Swallow,          // F5 that is a hotkey: nothing happens
    Reload,           // refresh the page, swallow
    CloseSeen,        // start the timer that removes a leftover page message box, pass on
};
FrameKeyAction DecideFrameKey(const FrameKeyInput& input);

// The last mute state sent to the sound code. The first request always applies.
class MuteState {
public:
    // True when the request must be applied.
    bool Request(bool muted);
    bool Muted() const { return m_last; }

private:
    bool m_known = false;
    bool m_last = false;
};

struct FrameRect {
    long left = 0, top = 0, right = 0, bottom = 0;
};
// The main window's client area below its caption band, a page margin in at the sides.
FrameRect FitIntoMainWindow(const FrameRect& client);

// The game hall keeps the browser's border and scroll bars; games show neither.
constexpr unsigned kNoBorderNoScroll = 0x4 | 0x8;
unsigned GameViewHostFlags(unsigned flags, const std::wstring& gameAddress,
                           const std::wstring& hallAddress);
// lParam of the frame's announcement: 1 for the game hall, else 0.
intptr_t FrameAnnouncementKind(const std::wstring& gameAddress, const std::wstring& hallAddress);

}  // namespace vorel
