#include "ui/MessageBoxDlg.h"

#include "res/resource.h"
#include "ui/MessageBoxLayout.h"
#include "ui/SkinImage.h"

namespace vorel {

INT_PTR ShowMessageBox(int type, const std::wstring& title, const std::wstring& text, HWND parent) {
    CMessageBox box(parent);
    box.LoadSkinImages(SkinInstance());
    box.m_type = type;
    box.m_title = title;
    box.m_text = text;
    return box.DoModal();
}

CMessageBox::CMessageBox(HWND parent) : CDlgEx(IDD_MESSAGEBOX, parent) {}

void CMessageBox::LoadSkinImages(HINSTANCE instance) {
    // Two separate bitmaps of the same strip, one per button.
    m_button2Image.reset(LoadSkinBitmap(instance, IDP_BUTTON_COMMAND));
    m_button1Image.reset(LoadSkinBitmap(instance, IDP_BUTTON_COMMAND));
    m_closeImage.reset(LoadSkinBitmap(instance, IDP_BUTTON_CLOSE));
    m_backgroundImage.reset(LoadSkinBitmap(instance, IDP_DIALOG_BACKGROUND));
}

BOOL CMessageBox::OnInitDialog() {
    CDlgEx::OnInitDialog();
    UseStandardFrame();
    SkinSpec look;
    look.background = m_backgroundImage.release();  // the base class owns it from here on
    look.fitWindowToImage = FALSE;
    look.stretchBackground = TRUE;
    SetSkin(look, m_closeImage.get());
    SetCaptionText(m_title);

    m_lineCount = MessageLineCount(m_text);
    m_font = reinterpret_cast<HFONT>(SendMessage(WM_GETFONT));
    SIZE text;
    {
        fw::ScopedGetDC dc(m_hWnd);
        text = MeasureText(dc.get());
    }
    const SIZE frame = BitmapSize(m_button1Image.get());
    const int bw = frame.cx / CBtnEx::kStripFrames, bh = frame.cy;
    const MessageBoxGeometry g = LayoutMessageBox(m_type, text.cx, text.cy, m_lineCount, bw, bh);
    ::SetWindowPos(m_hWnd, nullptr, 0, 0, g.width, g.height, SWP_NOMOVE | SWP_NOZORDER);

    const MessageBoxButtons labels = MessageBoxButtonTexts(m_type);
    auto create = [this](CBtnEx& button, const IntRect& r, int id, HBITMAP strip,
                         const std::wstring& label) {
        if (!button.CreateEx(0, L"BUTTON", label.c_str(), WS_CHILD | WS_VISIBLE, r.left, r.top,
                             r.Width(), r.Height(), m_hWnd,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)))) {
            return;
        }
        button.SetStripImage(strip, TRUE);
        button.m_text = label;
        button.Invalidate(TRUE);
    };
    create(m_button1, g.button1, kMessageButton1, m_button1Image.get(), labels.first);
    if (labels.count == 2) {
        create(m_button2, g.button2, kMessageButton2, m_button2Image.get(), labels.second);
    }
    return TRUE;
}

SIZE CMessageBox::MeasureText(HDC dc) const {
    fw::ScopedSelectObject select(dc, m_font);
    RECT r = {0, 0, 0, 0};
    ::DrawTextW(dc, m_text.c_str(), -1, &r, DT_CALCRECT);
    return SIZE{r.right - r.left, r.bottom - r.top};
}

void CMessageBox::OnPaint() {
    // The skin is painted by the default painting (through WM_ERASEBKGND); the text goes on
    // top of it, clipped to what was invalid so that untouched text is not drawn twice.
    fw::ScopedRgn invalid(::CreateRectRgn(0, 0, 0, 0));
    const int kind = ::GetUpdateRgn(m_hWnd, invalid.get(), FALSE);
    DefWindowProc(WM_PAINT, 0, 0);
    if (kind == NULLREGION || kind == ERROR) return;

    fw::ScopedGetDC dc(m_hWnd);
    ::SelectClipRgn(dc.get(), invalid.get());
    fw::ScopedSelectObject select(dc.get(), m_font);
    ::SetBkMode(dc.get(), TRANSPARENT);
    ::SetTextColor(dc.get(), RGB(0, 0, 0));
    const SIZE text = MeasureText(dc.get());
    RECT client;
    GetClientRect(&client);
    const auto lines = MessageTextLines(m_text);
    for (size_t i = 0; i < lines.size(); ++i) {
        const IntRect r = MessageLineRect(int(i), client.right, text.cx, text.cy, m_lineCount);
        RECT line = {r.left, r.top, r.right, r.bottom};
        ::DrawTextW(dc.get(), lines[i].c_str(), int(lines[i].size()), &line, 0);
    }
}

// Enter and Escape reach these through the dialog manager; the box ignores both.
void CMessageBox::OnOK() {}
void CMessageBox::OnCancel() {}

LRESULT CMessageBox::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_PAINT:
            OnPaint();
            return 0;
        case WM_CLOSE:
            EndDialog(IDCANCEL);
            return 0;
        case WM_COMMAND:
            if (HIWORD(wParam) == BN_CLICKED &&
                (LOWORD(wParam) == kMessageButton1 || LOWORD(wParam) == kMessageButton2)) {
                EndDialog(MessageBoxResultForButton(m_type, LOWORD(wParam)));
                return 0;
            }
            break;
    }
    return CDlgEx::WindowProc(msg, wParam, lParam);
}

}  // namespace vorel
