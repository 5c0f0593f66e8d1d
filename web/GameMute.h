// The mute state of the game window, handed to the sound code.
#pragma once

namespace vorel {

// Called on the user-interface thread when the main window's mute request changes the state.
void ApplyGameMute(bool muted);

// The state last applied (false before any request).
bool GameMuteApplied();

}  // namespace vorel
