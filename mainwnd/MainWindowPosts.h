// Messages that reach the main window from its own process only: from its keyboard hook, which
// decides and posts so that it returns at once, and from the worker threads that wait on the
// network for it. WM_APP = 0x8000. Platform-free.
#pragma once

namespace vorel {

// wParam: the HookAction to carry out (hide or restore all, switch the mute flag).
constexpr unsigned kMsgHotkeyAction = 0x8000 + 1;
// The popup notice's text (and picture) have been fetched; lParam unused.
constexpr unsigned kMsgNoticeFetched = 0x8000 + 2;
// The menu's update check has answered; wParam 1: an update is offered.
constexpr unsigned kMsgUpdateChecked = 0x8000 + 3;

}  // namespace vorel
