// Calls on the windows of other processes (the game frames inside the main window, the
// foreground window of another program) that never wait on them: a game that is hung or
// starved of the processor must not freeze the main window, its keyboard hook or its exit.
#pragma once
#include <windows.h>

#include "ui/SkinGeometry.h"

namespace vorel {

// Shows or hides without waiting for the window's thread (ShowWindowAsync).
void ShowAsync(HWND wnd, int command);
// Moves and sizes the window without waiting, keeping its Z order and activation; a window
// the system reports hung is left where it is, since a request to a window on an attached
// input queue would still be carried out synchronously.
void PlaceAsync(HWND wnd, const BlitBox& box);
// The window's thread takes messages: not reported hung, and it answers a WM_NULL within
// timeoutMs. Only then may a call that waits for it (SetParent) be made.
bool Answers(HWND wnd, DWORD timeoutMs);
// Not reported hung by the system (no wait; Windows counts a thread hung after 5 seconds
// without taking a message).
bool NotHung(HWND wnd);
// The foreground window is this thread's, or none, or its thread answers within a short
// time. Only then may the foreground move: taking it from a hung window waits for that
// window's thread (Wine does so even where Windows would not).
bool ForegroundAnswers();

// Ends the process of a window that does not answer, which could otherwise never take its
// close request and would hold the main window's end; waits up to kProcessEndMs for it.
void EndProcessOf(HWND wnd);
constexpr DWORD kProcessEndMs = 2000;

// How long an exit or a closed tab gives a frame to answer before it counts as hung.
constexpr DWORD kFrameAnswerMs = 500;
// How long a switch of the foreground waits to learn that the foreground window answers.
constexpr DWORD kForegroundAnswerMs = 200;

}  // namespace vorel
