// The base of every skinned window: a borderless dialog that paints frame, caption, icon and
// title from one background image, carries up to three caption buttons, cuts its corners
// with a window region, and drags, resizes and maximizes itself.
#pragma once
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "fw/Dialog.h"
#include "fw/Raii.h"
#include "ui/BtnEx.h"
#include "ui/SkinGeometry.h"
#include "ui/SkinImage.h"

namespace vorel {

// What SetSkin takes. The dialog owns background, maximizeImage and restoreImage from then
// on; minimizeImage (like the close strip) is only copied and stays the caller's.
struct SkinSpec {
    HBITMAP background = nullptr;
    BOOL fitWindowToImage = FALSE;
    BOOL stretchBackground = FALSE;
    HBITMAP minimizeImage = nullptr;
    HBITMAP maximizeImage = nullptr;
    HBITMAP restoreImage = nullptr;
};

class CDlgEx : public fw::Dialog {
public:
    static constexpr int kCloseButtonId = 50000;
    static constexpr int kMinimizeButtonId = 50001;
    static constexpr int kMaximizeButtonId = 50002;

    explicit CDlgEx(UINT templateId, HWND parent = nullptr);
    CDlgEx(UINT templateId, fw::Wnd* parent);
    ~CDlgEx() override;

    BOOL SetSkin(SkinSpec look, HBITMAP close);
    // The frame every small dialog and the main window share: a 30-pixel caption band, a
    // 4-pixel border and the caption buttons flush in the top right corner.
    void UseStandardFrame();
    // The standard frame with the common dialog background stretched to the window and a
    // close button: the whole skin of a plain dialog.
    BOOL ApplyStandardDialogSkin(const std::wstring& caption);
    void SetCaptionText(const std::wstring& text);
    void BuildWindowRegion();
    void RepaintCaptionButtons();

    BOOL OnInitDialog() override;
    void DoDataExchange() override;
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

    virtual void OnSkinClose();
    virtual void OnSkinMinimize();
    virtual int ToggleMaximize();
    virtual void UpdateMaximizeButton(BOOL maximized);

    // Layout and look, set by the derived class before or after SetSkin.
    BOOL m_showTitle = TRUE;
    BOOL m_showIcon = TRUE;
    int m_captionHeight = -1;  // -1: no caption band, the whole window drags
    int m_buttonRightMargin = 5;
    int m_buttonTopMargin = 1;
    int m_buttonGap = 0;
    int m_borderWidth = 3;
    COLORREF m_titleColour = RGB(255, 255, 255);
    int m_titleWeight = 400;
    BOOL m_resizable = FALSE;  // edges resize, a caption double-click maximizes

    // The own maximize. The limits are the work area of the window's monitor, taken when the
    // dialog opens and again at each maximize and display or work-area change, unless a
    // derived class set limits of its own.
    int m_maxWidth = 1440;
    int m_maxHeight = 900;
    RECT m_restoreRect = {};  // screen rectangle to go back to
    BOOL m_maximized = FALSE;

protected:
    // Paints the whole skin into dc; FALSE (nothing painted) without a background.
    BOOL PaintSkin(HDC dc);
    // The skin as painted for the window's current size, title, icon, font and look, kept
    // until one of them changes; null without a background. A DC of the screen's format,
    // addressed in window coordinates.
    HDC SkinCacheDC();
    void DropSkinCache();
    // Copies the piece of the cached skin that lies under dc's clip box, so that an erase
    // costs what the area to repaint costs; FALSE without a background.
    BOOL EraseFromSkinCache(HDC dc);
    LRESULT OnNcHitTest(LPARAM screenPoint);
    void OnNcLButtonDown(WPARAM hit, LPARAM screenPoint);
    void OnSize(int cx);
    void CentreIfNotPlaced(const RECT& before);
    // The display or the work area changed: new limits, and a maximized window refitted.
    void OnWorkAreaChanged();
    void TakeLimitsFrom(const IntRect& work);
    void FollowWorkArea(const IntRect& work);
    // The dialog's font with the title's weight.
    HFONT CreateTitleFont() const;
    int TitleFontLfHeight() const;

    fw::ScopedBitmap m_background;
    BOOL m_stretchBackground = FALSE;
    CBtnEx m_closeButton;
    CBtnEx m_minimizeButton;
    CBtnEx m_maximizeButton;
    fw::ScopedBitmap m_maximizeImage;
    fw::ScopedBitmap m_restoreImage;
    // The limits as last taken from a work area, to tell them from a derived class's.
    int m_workLimitWidth = 0;
    int m_workLimitHeight = 0;

private:
    // What the cached skin was painted for; any difference paints it again.
    struct SkinCacheKey {
        int width, height, border, caption;
        BOOL stretch, showIcon, showTitle;
        COLORREF titleColour;
        int titleWeight;
        bool operator==(const SkinCacheKey& o) const {
            return width == o.width && height == o.height && border == o.border &&
                   caption == o.caption && stretch == o.stretch && showIcon == o.showIcon &&
                   showTitle == o.showTitle && titleColour == o.titleColour &&
                   titleWeight == o.titleWeight;
        }
    };
    SkinCacheKey CurrentSkinCacheKey() const;

    // May be larger than the window; only the key's size of it is painted.
    std::unique_ptr<OffscreenBitmap> m_skinCache;
    bool m_skinCacheValid = false;
    SkinCacheKey m_skinCacheKey = {};
    // Key-coloured pixels of the background where the corner scan looks, read once per
    // background, so that a resize cuts the corners without reading the bitmap again.
    std::vector<IntPoint> m_cornerKeys;
    SIZE m_regionSize = {0, 0};
};

}  // namespace vorel
