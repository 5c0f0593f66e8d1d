// A label drawn over the dialog's skin: its own font and colours, character-wise line
// breaking with growth downwards, an optional image before the text, and a link look (hand
// cursor, hover colour).
#pragma once
#include <windows.h>

#include <string>

#include "fw/Raii.h"
#include "fw/Wnd.h"
#include "ui/MouseHover.h"
#include "ui/SkinImage.h"

namespace vorel {

class CStaticEx : public fw::Wnd {
public:
    // One image drawn 3 pixels from the left, vertically centred; the text moves right of
    // it. The bitmap is copied; FALSE for null.
    BOOL SetImage(HBITMAP image);

    // Paints the text into dc (the control's off-screen bitmap) and grows the window when the
    // lines need more height.
    virtual void DrawTextLines(HDC dc);

    void PreSubclassWindow() override;
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

    // Set by the owner before the first paint (the font is built then, once). After changing
    // m_text the owner invalidates the control. A link also needs the SS_NOTIFY style.
    std::wstring m_text;
    int m_fontWidth = 0;    // 0 keeps the base font's
    int m_fontWeight = -1;  // -1 keeps the base font's
    int m_fontHeight = 0;   // 0 keeps the base font's
    BOOL m_handCursor = FALSE;
    BOOL m_underline = FALSE;
    COLORREF m_textColour = RGB(0, 0, 0);
    COLORREF m_hoverColour = RGB(0, 0, 0);
    int m_lineSpacing = 3;
    BOOL m_hoverColourEnabled = FALSE;

private:
    void OnPaint();
    HFONT Font();

    fw::ScopedFont m_font;
    MouseHover m_mouse;
    StripImageList m_image;
    int m_imageWidth = 0;
    int m_imageHeight = 0;
};

}  // namespace vorel
