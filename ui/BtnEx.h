// The toolkit's owner-drawn push button: one frame of a 4-frame strip by state, the text
// centred over it, the parent's skin showing through the key colour, an optional tooltip.
#pragma once
#include <windows.h>

#include <string>

#include "fw/Wnd.h"
#include "ui/MouseHover.h"
#include "ui/SkinImage.h"

namespace vorel {

class CBtnEx : public fw::Wnd {
public:
    enum Frame { kFrameNormal = 0, kFrameHover = 1, kFramePressed = 2, kFrameDisabled = 3 };
    static constexpr int kStripFrames = 4;

    CBtnEx() = default;
    ~CBtnEx() override;

    // Copies the strip's frames; the caller keeps the bitmap. resizeToFrame sizes the button
    // to one frame.
    BOOL SetStripImage(HBITMAP strip, BOOL resizeToFrame);
    // Takes effect from the next hover on.
    void SetToolTipText(const std::wstring& text);
    // A visible child button whose right edge is at `right`, one strip frame in size.
    static BOOL CreateCaptionButton(CBtnEx& button, int right, int top, HBITMAP strip, int id,
                                    HWND parent);

    // Forgets hover and mouse tracking: the button moved away from under the cursor.
    void ClearHover();
    // Takes the window's current rectangle as the drawing size.
    void RememberWindowRect();

    virtual void DrawItem(const DRAWITEMSTRUCT& item);

    void PreSubclassWindow() override;
    BOOL PreTranslateMessage(MSG* msg) override;
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

    // Set by the owner; after changing m_text the owner invalidates the button.
    std::wstring m_text;
    COLORREF m_textColour = RGB(0, 0, 0);

private:
    void DestroyTooltip();

    MouseHover m_mouse;
    RECT m_windowRect = {};
    StripImageList m_images;
    BOOL m_pressedLatch = FALSE;
    BOOL m_tooltipEnabled = FALSE;
    HWND m_tooltip = nullptr;  // owned; destroyed with the button
    std::wstring m_tooltipText;
};

// For the parent of CBtnEx buttons: hands a WM_DRAWITEM to the button it is for. TRUE when a
// CBtnEx drew itself.
BOOL ReflectDrawItem(LPARAM drawItem);

}  // namespace vorel
