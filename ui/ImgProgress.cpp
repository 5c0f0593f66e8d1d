#include "ui/ImgProgress.h"

#include <commctrl.h>

#include "fw/SystemLibrary.h"
#include "ui/ProgressFill.h"
#include "ui/SkinImage.h"

namespace vorel {

BOOL CImgProgress::SetImages(HBITMAP background, HBITMAP fill) {
    m_background.reset(background);
    m_fill.reset(fill);
    const SIZE bg = BitmapSize(background), fl = BitmapSize(fill);
    if (m_hWnd) ::SetWindowPos(m_hWnd, nullptr, 0, 0, bg.cx, bg.cy, SWP_NOMOVE | SWP_NOZORDER);
    m_backgroundRect = RECT{0, 0, bg.cx, bg.cy};
    const IntRect f = CentredFillRect(bg.cx, bg.cy, fl.cx, fl.cy);
    m_fillRect = RECT{f.left, f.top, f.right, f.bottom};
    return TRUE;
}

void CImgProgress::OnPaint() {
    fw::ScopedPaint paint(m_hWnd);
    const int W = m_backgroundRect.right - m_backgroundRect.left;
    const int H = m_backgroundRect.bottom - m_backgroundRect.top;
    if (W <= 0 || H <= 0) {
        // No images: only the parent's skin, over the control's own size.
        RECT client;
        GetClientRect(&client);
        OffscreenBitmap canvas(paint.get(), client.right, client.bottom);
        if (!canvas) return;
        PaintParentBackground(m_hWnd, canvas.dc());
        canvas.CopyTo(paint.get());
        return;
    }
    OffscreenBitmap canvas(paint.get(), W, H);
    if (!canvas) return;
    PaintParentBackground(m_hWnd, canvas.dc());

    fw::ScopedMemDC source(paint.get());
    if (m_background) {
        const SIZE bg = BitmapSize(m_background.get());
        fw::ScopedSelectObject select(source.get(), m_background.get());
        fw::SystemTransparentBlt(canvas.dc(), 0, 0, W, H, source.get(), 0, 0, bg.cx, bg.cy,
                                 kSkinKeyColour);
    }
    if (m_fill) {
        PBRANGE range = {};
        SendMessage(PBM_GETRANGE, FALSE, reinterpret_cast<LPARAM>(&range));
        const int pos = int(SendMessage(PBM_GETPOS));
        const int fillW = m_fillRect.right - m_fillRect.left;
        const int fillH = m_fillRect.bottom - m_fillRect.top;
        const ProgressFillPieces pieces = ProgressFill(fillW, range.iLow, range.iHigh, pos);
        fw::ScopedSelectObject select(source.get(), m_fill.get());
        if (pieces.leftWidth > 0) {
            fw::SystemTransparentBlt(canvas.dc(), m_fillRect.left, m_fillRect.top, pieces.leftWidth,
                                     fillH, source.get(), 0, 0, pieces.leftWidth, fillH,
                                     kSkinKeyColour);
        }
        if (pieces.rightWidth > 0) {
            fw::SystemTransparentBlt(canvas.dc(), m_fillRect.left + pieces.leftWidth,
                                     m_fillRect.top, pieces.rightWidth, fillH, source.get(),
                                     pieces.rightSourceX, 0, pieces.rightWidth, fillH,
                                     kSkinKeyColour);
        }
    }
    canvas.CopyTo(paint.get());
}

LRESULT CImgProgress::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_ERASEBKGND:
            return TRUE;
        case WM_PAINT:
            OnPaint();
            return 0;
    }
    return fw::Wnd::WindowProc(msg, wParam, lParam);
}

}  // namespace vorel
