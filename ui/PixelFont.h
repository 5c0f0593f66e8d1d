// The text of a window drawn to its picture's size: the picture keeps its pixels at every DPI,
// so its text must too, or it outgrows the places the picture leaves for it.
#pragma once
#include <windows.h>

namespace vorel {

// The dialog's font at a fixed character height in pixels (a negative LOGFONT height, as the
// dialog would have at 96 DPI), given to the dialog and to every control it has. Call it before
// the controls first paint. The caller owns the font and keeps it for the dialog's life; null
// when it could not be made, and then nothing changed.
HFONT ApplyPixelFont(HWND dialog, int lfHeight);

}  // namespace vorel
