#include "ui/PixelFont.h"

namespace vorel {

namespace {
BOOL CALLBACK SetControlFont(HWND control, LPARAM font) {
    ::SendMessageW(control, WM_SETFONT, static_cast<WPARAM>(font), FALSE);
    return TRUE;
}
}  // namespace

HFONT ApplyPixelFont(HWND dialog, int lfHeight) {
    HFONT base = reinterpret_cast<HFONT>(::SendMessageW(dialog, WM_GETFONT, 0, 0));
    if (!base) base = static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
    LOGFONTW face = {};
    if (!::GetObjectW(base, sizeof(face), &face)) return nullptr;
    face.lfHeight = lfHeight;
    face.lfWidth = 0;
    HFONT font = ::CreateFontIndirectW(&face);
    if (!font) return nullptr;
    // The dialog's own font serves its caption title.
    ::SendMessageW(dialog, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    ::EnumChildWindows(dialog, SetControlFont, reinterpret_cast<LPARAM>(font));
    return font;
}

}  // namespace vorel
