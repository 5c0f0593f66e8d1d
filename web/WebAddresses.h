// The web addresses of the game-window processes, from the deployment values.
#pragma once
#include "DeployConfig.h"

namespace vorel {

// The game's web login page.
inline constexpr const wchar_t kLoginPageUrl[] = L"http://" VOREL_GAME_HOST L"/wd/index.php";
// The game-hall page on the client web host: the game address of a "/gmhall" process, and of
// a "/newgm" process until a login names the game.
inline constexpr const wchar_t kGameHallPageUrl[] = L"http://" VOREL_PUBLISHER_HOST L"/webgame.htm";
// The home page of the game-hall web site.
inline constexpr const wchar_t kHallSiteHome[] = VOREL_HALL_SITE;

}  // namespace vorel
