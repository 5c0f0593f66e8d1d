// Keys as the player presses them: SendInput events that go through the system's input
// path, so that low-level keyboard hooks of every process see them.
#pragma once
#include <windows.h>

#include <functional>
#include <initializer_list>

namespace testsupport {

// A window of the calling thread that takes the keyboard, standing for another application:
// keys pressed afterwards go to it, and it ignores them (a dialog given F10 would enter its
// system menu's loop instead). Created on first use; null when it could not be created.
HWND FocusKeySink();

// Presses the modifiers in order, then the key, and releases them in reverse order. True
// when the system took every event.
bool PressKeys(std::initializer_list<WORD> modifiers, WORD key);

// The same from a thread of its own, while idle runs on this one until the thread is done;
// for a hook installed by this thread, which is called only while this thread pumps.
bool PressKeysWhilePumping(std::initializer_list<WORD> modifiers, WORD key,
                           const std::function<void()>& idle);

}  // namespace testsupport
