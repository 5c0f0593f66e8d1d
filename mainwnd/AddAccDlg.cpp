#include "mainwnd/AddAccDlg.h"

#include "mainwnd/MainWindowRules.h"
#include "mainwnd/NewTabChoiceLayout.h"
#include "res/resource.h"
#include "ui/PixelFont.h"
#include "ui/SkinImage.h"

namespace vorel {

namespace {
constexpr WPARAM kAnswerNewTab = 1;
constexpr WPARAM kAnswerNewWindow = 0;
}  // namespace

CAddAccDlg::CAddAccDlg() : CDlgEx(IDD_ADDACCOUNT, static_cast<HWND>(nullptr)) {}

void CAddAccDlg::DoDataExchange() {
    AttachControl(IDOK, m_yesButton);
    AttachControl(IDCANCEL, m_noButton);
    AttachControl(IDC_ADDACCOUNT_QUESTION, m_question);
}

BOOL CAddAccDlg::OnInitDialog() {
    CDlgEx::OnInitDialog();
    SetCaptionText(L"登录其他账号");
    m_captionHeight = 30;
    m_borderWidth = 3;
    m_buttonRightMargin = 5;
    m_buttonTopMargin = 1;
    m_buttonGap = 0;
    const HINSTANCE skins = SkinInstance();
    SkinSpec look;
    look.background = LoadSkinBitmap(skins, IDP_ADDACCOUNT_BACKGROUND);
    look.fitWindowToImage = TRUE;
    look.stretchBackground = FALSE;
    SetSkin(look, nullptr);
    fw::ScopedBitmap strip(LoadSkinBitmap(skins, IDP_BUTTON_COMMAND));
    m_yesButton.SetStripImage(strip.get(), TRUE);
    m_noButton.SetStripImage(strip.get(), TRUE);
    m_question.m_lineSpacing = 5;

    // The window is its picture, whose pixels do not scale with the DPI: the controls go to
    // pixels of the picture, not to the template's dialog units, and keep the picture's
    // text size.
    m_font.reset(ApplyPixelFont(m_hWnd, kNewTabChoiceFontHeight));
    RECT client;
    GetClientRect(&client);
    const SIZE frame = BitmapSize(strip.get());
    const NewTabChoiceGeometry g =
        LayoutNewTabChoice(client.right, client.bottom, frame.cx / CBtnEx::kStripFrames, frame.cy);
    auto place = [](fw::Wnd& control, const IntRect& r) {
        control.MoveWindow(r.left, r.top, r.Width(), r.Height(), FALSE);
    };
    place(m_question, g.question);
    place(m_yesButton, g.yes);
    place(m_noButton, g.no);
    m_yesButton.RememberWindowRect();
    m_noButton.RememberWindowRect();
    return TRUE;
}

void CAddAccDlg::Answer(WPARAM choice) {
    ::PostMessageW(GetParent(), kMsgNewTabChoice, choice, 0);
    ShowWindow(SW_HIDE);
}

BOOL CAddAccDlg::PreTranslateMessage(MSG* msg) {
    // Esc would reach the "否" button through the dialog manager (its id is IDCANCEL) and
    // open a new main window; it only dismisses the choice.
    if (msg->message == WM_KEYDOWN && msg->wParam == VK_ESCAPE) {
        ShowWindow(SW_HIDE);
        return TRUE;
    }
    return CDlgEx::PreTranslateMessage(msg);
}

LRESULT CAddAccDlg::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_COMMAND:
            if (HIWORD(wParam) == BN_CLICKED && LOWORD(wParam) == IDOK) {
                Answer(kAnswerNewTab);
                return 0;
            }
            if (HIWORD(wParam) == BN_CLICKED && LOWORD(wParam) == IDCANCEL) {
                Answer(kAnswerNewWindow);
                return 0;
            }
            break;
        case WM_CLOSE:
            ShowWindow(SW_HIDE);  // dismissed, no answer
            return 0;
        case WM_ACTIVATE: {
            const LRESULT result = CDlgEx::WindowProc(msg, wParam, lParam);
            if (LOWORD(wParam) == WA_INACTIVE) ShowWindow(SW_HIDE);
            return result;
        }
        case WM_NCHITTEST:
            return HTCLIENT;  // neither dragged nor resized
    }
    return CDlgEx::WindowProc(msg, wParam, lParam);
}

}  // namespace vorel
