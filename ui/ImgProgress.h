// A progress bar painted from two images: a background and a fill that is drawn from both of
// its ends, so that rounded ends show at every position.
#pragma once
#include <windows.h>

#include "fw/Raii.h"
#include "fw/Wnd.h"

namespace vorel {

class CImgProgress : public fw::Wnd {
public:
    // Takes ownership of both bitmaps and sizes the control to the background. Once per
    // control.
    BOOL SetImages(HBITMAP background, HBITMAP fill);

    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

    const RECT& BackgroundRect() const { return m_backgroundRect; }
    const RECT& FillRect() const { return m_fillRect; }

private:
    void OnPaint();

    fw::ScopedBitmap m_background;
    fw::ScopedBitmap m_fill;
    RECT m_backgroundRect = {};
    RECT m_fillRect = {};
};

}  // namespace vorel
