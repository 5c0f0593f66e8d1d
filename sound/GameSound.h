// Muting the game's sound from inside a game window process. The game frame calls
// SetGameSoundMuted when the main window's WM_USER+5 brings a new state (wParam 1 muted,
// 0 sound on), on its user-interface thread.
#pragma once

#include "sound/MuteRules.h"

namespace vorel {

// Windows 6 and later: sets the mute of the mixer's wave-output line, then of the speakers,
// and answers whether the speakers step succeeded; nothing is installed. Earlier systems: the
// first call intercepts the process's audio output (removed again at exit), every call sets
// the muted flag that the interception reads; answers true.
bool SetGameSoundMuted(bool muted);

// One complete mixer round (open, find the line's mute control, read, write, close) on mixer
// 0; true only when every step succeeded. lineKind: a MixerLineKind.
bool SetMixerLineMute(int lineKind, bool muted);

}  // namespace vorel
