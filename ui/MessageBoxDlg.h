// The program's only message box: a small skinned dialog sized to its text, with one or two
// image buttons. ShowMessageBox is what callers use.
#pragma once
#include <windows.h>

#include <string>

#include "fw/Raii.h"
#include "ui/BtnEx.h"
#include "ui/DlgEx.h"

namespace vorel {

// type: 0 one "确定" button (also any value but 1 and 4); 1 "确定" and "取消"; 4 "是" and "否".
// Returns IDOK, IDCANCEL, IDYES or IDNO; the close button and WM_CLOSE answer IDCANCEL;
// Enter and Escape do nothing. -1 when the box cannot be created.
INT_PTR ShowMessageBox(int type, const std::wstring& title, const std::wstring& text, HWND parent);

class CMessageBox : public CDlgEx {
public:
    explicit CMessageBox(HWND parent);
    // The box's skin: background 131, close strip 132, and the command strip 133 per button.
    void LoadSkinImages(HINSTANCE instance);

    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

    // Filled in before DoModal. The background goes to SetSkin, which takes it over; the
    // strips stay ours.
    fw::ScopedBitmap m_backgroundImage;
    fw::ScopedBitmap m_closeImage;
    fw::ScopedBitmap m_button1Image;
    fw::ScopedBitmap m_button2Image;
    std::wstring m_text;  // "\n" separates lines
    std::wstring m_title;
    int m_type = 0;

private:
    SIZE MeasureText(HDC dc) const;
    void OnPaint();

    int m_lineCount = 1;
    HFONT m_font = nullptr;  // the dialog's; not ours to delete
    CBtnEx m_button1;
    CBtnEx m_button2;
};

}  // namespace vorel
