#include "web/GameMute.h"

#include <atomic>

namespace vorel {

namespace {
std::atomic<bool> g_muted{false};
}

// The sound code's SetGameSoundMuted is not part of the program yet; until it is, the state
// is kept here for it.
void ApplyGameMute(bool muted) { g_muted.store(muted); }

bool GameMuteApplied() { return g_muted.load(); }

}  // namespace vorel
