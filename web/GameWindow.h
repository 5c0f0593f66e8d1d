// The process-wide values of a game-window process ("/newgm", "/gmhall"): the main window it
// belongs to, its tab, the address it shows, and the current page's title and address.
#pragma once
#include <windows.h>

#include <string>

namespace vorel {

class CGmWndView;

struct GameWindowState {
    HWND parentMainWindow = nullptr;
    int tabNumber = 0;
    // What the view navigates to: the game-hall page until a login names the game.
    std::wstring gameAddress;
    // The last completed navigation and the last title the page reported.
    std::wstring pageAddress;
    std::wstring pageTitle;
    // The process's one view, from its initial update on.
    CGmWndView* view = nullptr;
};

GameWindowState& TheGameWindow();

}  // namespace vorel
