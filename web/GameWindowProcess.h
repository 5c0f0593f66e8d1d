// The steps of a game-window process once OLE is up: the web login ("/newgm" only), then the
// single-document game window. And its end, before OLE goes.
#pragma once
#include <windows.h>

#include "fw/App.h"

namespace vorel {

// TRUE when the game window exists and the message loop is to run. A cancelled login posts
// WM_SYSCOMMAND/SC_CLOSE with lParam 7261 to the main window and answers FALSE; so does a
// login whose main window does not exist (then without the post).
BOOL StartGameWindowProcess(fw::App& app, bool withLogin, HWND parentMainWindow, int tabNumber);

// Destroys the game window and its browser; the process's COM objects are gone after it.
void EndGameWindowProcess();

}  // namespace vorel
