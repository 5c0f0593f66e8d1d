#include "hotkey/SettingDlg.h"

#include <imm.h>

#include <array>

#include "app/Ambrel3App.h"
#include "fw/SystemLibrary.h"
#include "hotkey/HotkeyEditing.h"
#include "hotkey/HotkeySettings.h"
#include "res/resource.h"
#include "ui/MessageBoxDlg.h"
#include "ui/SkinImage.h"
#include "ui/WindowPlacement.h"

namespace vorel {

namespace {

constexpr COLORREF kGroupColour = RGB(231, 241, 247);
constexpr int kMaxNotifiedWindows = 10;

const int kEditIds[3] = {IDC_BOSS_EDIT, IDC_SWITCH_EDIT, IDC_SOUND_EDIT};
const HotkeyRow kRows[3] = {HotkeyRow::Boss, HotkeyRow::Switch, HotkeyRow::Sound};
const int kLabelIds[6] = {IDC_BOSS_STATIC,    IDC_BOSS_EXAMPLE, IDC_SWITCH_STATIC,
                          IDC_SWITCH_EXAMPLE, IDC_SOUND_STATIC, IDC_SOUND_EXAMPLE};

bool KeyIsDown(int vk) { return (GetKeyState(vk) & 0xFF00) != 0; }

// The template's button, one strip frame in size about the same centre: at a DPI above 96 the
// template's rectangle outgrows the strip, which would be stretched.
void KeepStripSize(CBtnEx& button, HWND dialog, HBITMAP strip) {
    const SIZE size = BitmapSize(strip);
    RECT r;
    button.GetWindowRect(&r);
    ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
    const IntRect frame = CentredRect(IntRect{r.left, r.top, r.right, r.bottom},
                                      size.cx / CBtnEx::kStripFrames, size.cy);
    button.MoveWindow(frame.left, frame.top, frame.Width(), frame.Height(), FALSE);
    button.RememberWindowRect();
}

using SetWindowThemeFn = HRESULT(WINAPI*)(HWND, LPCWSTR, LPCWSTR);

// With visual styles a themed group box draws its title in the theme's colour and ignores
// WM_CTLCOLORSTATIC; unthemed, it takes the dialog's. uxtheme is loaded at run time, from the
// system folder only: a system without it draws unthemed anyway.
void DrawUnthemed(HWND control) {
    if (auto setTheme = fw::SystemFunction<SetWindowThemeFn>(L"uxtheme.dll", "SetWindowTheme")) {
        setTheme(control, L"", L"");
    }
}

struct NotifyState {
    int posted = 0;
};

BOOL CALLBACK NotifyIfMainWindow(HWND window, LPARAM param) {
    auto* state = reinterpret_cast<NotifyState*>(param);
    wchar_t className[64] = L"";
    wchar_t title[128] = L"";
    GetClassNameW(window, className, 64);
    GetWindowTextW(window, title, 128);
    if (lstrcmpW(title, kProductTitle) == 0 && lstrcmpW(className, L"#32770") == 0) {
        PostMessageW(window, kMsgHotkeysChanged, 0, 0);
        ++state->posted;
    }
    return state->posted < kMaxNotifiedWindows;
}

}  // namespace

int NotifyMainWindowsOfHotkeyChange() {
    NotifyState state;
    // Top-level windows in Z order, as the desktop's children.
    EnumWindows(NotifyIfMainWindow, reinterpret_cast<LPARAM>(&state));
    return state.posted;
}

CSettingDlg::CSettingDlg(HWND parent) : CDlgEx(IDD_SETTINGS, parent) {}

int* CSettingDlg::RowKey(HotkeyRow row) {
    switch (row) {
        case HotkeyRow::Switch:
            return &m_switchKey;
        case HotkeyRow::Sound:
            return &m_soundKey;
        default:
            return &m_bossKey;
    }
}

void CSettingDlg::DoDataExchange() {
    CDlgEx::DoDataExchange();
    for (int i = 0; i < 6; ++i) AttachControl(kLabelIds[i], m_labels[i]);
    AttachControl(IDOK, m_okButton);
    AttachControl(IDCANCEL, m_cancelButton);
}

BOOL CSettingDlg::OnInitDialog() {
    CDlgEx::OnInitDialog();
    ApplyStandardDialogSkin(L"设置");
    fw::ScopedBitmap buttons(LoadSkinBitmap(SkinInstance(), IDP_BUTTON_COMMAND));  // copied
    m_okButton.SetStripImage(buttons.get(), FALSE);
    m_cancelButton.SetStripImage(buttons.get(), FALSE);
    KeepStripSize(m_okButton, m_hWnd, buttons.get());
    KeepStripSize(m_cancelButton, m_hWnd, buttons.get());
    m_groupBrush.reset(CreateSolidBrush(kGroupColour));
    for (int id : {IDC_BOSS_GROUP, IDC_SWITCH_GROUP, IDC_SOUND_GROUP}) {
        DrawUnthemed(::GetDlgItem(m_hWnd, id));
    }
    // With an input method on (a Chinese one in particular) the edits would receive
    // VK_PROCESSKEY for bare keys instead of the key itself: they take keys, not text.
    for (int id : kEditIds) ::ImmAssociateContext(::GetDlgItem(m_hWnd, id), nullptr);

    for (int i = 0; i < 3; ++i) {
        const Hotkey h = ReadHotkeySetting(kRows[i]);
        *RowKey(kRows[i]) = h.virtualKey;
        ::SetDlgItemTextW(m_hWnd, kEditIds[i], FormatHotkeyText(h.virtualKey, h.modifier).c_str());
    }
    return TRUE;
}

bool CSettingDlg::FocusedRow(HotkeyRow* row) const {
    HWND focus = ::GetFocus();
    for (int i = 0; i < 3; ++i) {
        if (focus != nullptr && focus == ::GetDlgItem(m_hWnd, kEditIds[i])) {
            *row = kRows[i];
            return true;
        }
    }
    return false;
}

BOOL CSettingDlg::PreTranslateMessage(MSG* msg) {
    KeyMessage kind = KeyMessage::Other;
    if (msg->message == WM_KEYDOWN) kind = KeyMessage::KeyDown;
    if (msg->message == WM_SYSKEYDOWN) kind = KeyMessage::SysKeyDown;
    HotkeyRow row = HotkeyRow::Boss;
    const bool focused = FocusedRow(&row);
    const int vk = static_cast<int>(msg->wParam);
    const CaptureDecision d =
        DecideKeyCapture(kind, vk, focused ? &row : nullptr, focused ? *RowKey(row) : 0,
                         {KeyIsDown(VK_CONTROL), KeyIsDown(VK_SHIFT), KeyIsDown(VK_MENU)});
    if (!d.swallow) return CDlgEx::PreTranslateMessage(msg);
    if (d.setText) {
        *RowKey(row) = d.rowKey;
        HWND edit = ::GetDlgItem(m_hWnd, kEditIds[static_cast<int>(row)]);
        ::SetWindowTextW(edit, d.text.c_str());
        const int length = ::GetWindowTextLengthW(edit);
        ::SendMessageW(edit, EM_SETSEL, length, -1);
        ::SendMessageW(edit, EM_SCROLLCARET, 0, 0);
    }
    return TRUE;
}

void CSettingDlg::OnOK() {
    std::array<HotkeyRowState, 3> rows;
    for (int i = 0; i < 3; ++i) {
        wchar_t text[64] = L"";
        ::GetDlgItemTextW(m_hWnd, kEditIds[i], text, 64);
        rows[i] = {text, *RowKey(kRows[i])};
    }
    const HotkeySavePlan plan = PlanHotkeySave(rows);
    if (plan.conflict) {
        ShowMessageBox(0, kProductTitle, L"热键冲突，请重新设置不同热键值", m_hWnd);
        return;
    }
    for (const auto& write : plan.writes) WriteHotkeySetting(write.first, write.second);
    NotifyMainWindowsOfHotkeyChange();
    EndDialog(IDOK);
}

LRESULT CSettingDlg::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_CTLCOLORSTATIC) {
        const int id = ::GetDlgCtrlID(reinterpret_cast<HWND>(lParam));
        if (id == IDC_BOSS_GROUP || id == IDC_SWITCH_GROUP || id == IDC_SOUND_GROUP) {
            HDC dc = reinterpret_cast<HDC>(wParam);
            ::SetBkMode(dc, TRANSPARENT);
            ::SetTextColor(dc, RGB(0, 0, 0));
            return reinterpret_cast<LRESULT>(m_groupBrush.get());
        }
    }
    return CDlgEx::WindowProc(msg, wParam, lParam);
}

}  // namespace vorel
