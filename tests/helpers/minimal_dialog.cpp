// The yardstick of the start-up and memory figures in docs/PERFORMANCE.md: the least a Win32
// program does to put one window on the screen. One modal dialog from an in-memory template
// (a line of text and an OK button), no resources, no common controls, no skin; it ends when
// the dialog is closed.
// With a period in milliseconds and window handles as arguments it is the idle yardstick: it
// posts to each of them on the launcher's mute tick, the one thing the idle main window must
// keep doing. It includes none of the program's headers, so that it stays minimal.
#include <windows.h>

#include <cstring>
#include <cwchar>

namespace {

// A fixed array: a standard container would bring the C++ runtime's exceptions along.
UINT g_postPeriodMs = 0;
HWND g_postTargets[8] = {};
int g_postCount = 0;

// Appends a UTF-16 string to a dialog template and returns the position after it.
WORD* PutText(WORD* at, const wchar_t* text) {
    const size_t n = std::wcslen(text) + 1;
    std::memcpy(at, text, n * sizeof(wchar_t));
    return at + n;
}

// Items start on a DWORD boundary.
WORD* AlignDword(WORD* at) {
    return reinterpret_cast<WORD*>((reinterpret_cast<ULONG_PTR>(at) + 3) & ~ULONG_PTR(3));
}

WORD* PutItem(WORD* at, DWORD style, short x, short y, short cx, short cy, WORD id, WORD classAtom,
              const wchar_t* text) {
    at = AlignDword(at);
    auto* item = reinterpret_cast<DLGITEMTEMPLATE*>(at);
    item->style = style | WS_CHILD | WS_VISIBLE;
    item->dwExtendedStyle = 0;
    item->x = x;
    item->y = y;
    item->cx = cx;
    item->cy = cy;
    item->id = id;
    at = reinterpret_cast<WORD*>(item + 1);
    *at++ = 0xFFFF;  // a predefined class by atom
    *at++ = classAtom;
    at = PutText(at, text);
    *at++ = 0;  // no creation data
    return at;
}

INT_PTR CALLBACK DialogProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM) {
    if (msg == WM_INITDIALOG) {
        if (g_postCount > 0) SetTimer(dialog, 1, g_postPeriodMs, nullptr);
        return TRUE;
    }
    if (msg == WM_TIMER) {
        for (int i = 0; i < g_postCount; ++i) PostMessageW(g_postTargets[i], WM_NULL, 0, 0);
        return TRUE;
    }
    if (msg == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
        EndDialog(dialog, LOWORD(wParam));
        return TRUE;
    }
    return FALSE;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc > 1) g_postPeriodMs = UINT(_wtoi(argv[1]));
    for (int i = 2; i < argc && g_postCount < 8; ++i)
        g_postTargets[g_postCount++] =
            reinterpret_cast<HWND>(static_cast<INT_PTR>(_wtoi64(argv[i])));
    alignas(DWORD) WORD buffer[512] = {};
    auto* dialog = reinterpret_cast<DLGTEMPLATE*>(buffer);
    dialog->style = DS_MODALFRAME | DS_CENTER | DS_SETFONT | WS_POPUP | WS_CAPTION | WS_SYSMENU;
    dialog->cdit = 2;
    dialog->cx = 160;
    dialog->cy = 60;
    WORD* at = reinterpret_cast<WORD*>(dialog + 1);
    *at++ = 0;  // no menu
    *at++ = 0;  // the dialog class
    at = PutText(at, L"Minimal dialog");
    *at++ = 8;  // font size
    at = PutText(at, L"MS Shell Dlg");
    at = PutItem(at, SS_LEFT, 10, 10, 140, 10, 0xFFFF, 0x0082, L"One dialog, nothing else.");
    PutItem(at, BS_DEFPUSHBUTTON | WS_TABSTOP, 55, 36, 50, 14, IDOK, 0x0080, L"OK");
    return int(DialogBoxIndirectParamW(GetModuleHandleW(nullptr), dialog, nullptr, &DialogProc, 0));
}
