#include "web/GameWindow.h"

#include "web/WebAddresses.h"

namespace vorel {

GameWindowState& TheGameWindow() {
    static GameWindowState state = [] {
        GameWindowState s;
        s.gameAddress = kGameHallPageUrl;
        return s;
    }();
    return state;
}

}  // namespace vorel
