#include "web/PopInfoDlg.h"

#include <shellapi.h>

#include <atomic>
#include <vector>

#include "app/SettingsStore.h"
#include "app/ShellOpen.h"
#include "fw/Raii.h"
#include "net/DialogTransfer.h"
#include "res/resource.h"
#include "ui/PixelFont.h"
#include "ui/SkinImage.h"
#include "web/NoticeFetch.h"

namespace vorel {

namespace {

const wchar_t kPopInfoKey[] = L"PopInfo";
const wchar_t kPopEnableKey[] = L"PopEnable";
constexpr size_t kPopEnableCapacity = 8;

constexpr COLORREF kTitleColour = RGB(19, 43, 67);
constexpr COLORREF kTextColour = RGB(30, 39, 46);
constexpr COLORREF kHoverColour = RGB(22, 122, 235);

void Place(CStaticEx& control, const NoticeControlPlace& place) {
    if (!control.m_hWnd) return;
    if (!place.visible) {
        control.ShowWindow(SW_HIDE);
        return;
    }
    control.MoveWindow(place.rect.left, place.rect.top, place.rect.Width(), place.rect.Height());
}

// A text control that is a link: hand cursor, no underline, hover colour, and clicks reach
// the dialog as STN_CLICKED.
void MakeLink(CStaticEx& control, const std::wstring& text, COLORREF colour) {
    control.m_text = text;
    control.m_textColour = colour;
    control.m_handCursor = TRUE;
    control.m_underline = FALSE;
    control.m_hoverColour = kHoverColour;
    control.m_hoverColourEnabled = TRUE;
    control.ModifyStyle(0, SS_NOTIFY);
}

bool IsNoticeControl(int id) {
    return id == IDC_POP_TITLE || id == IDC_POP_CONTENT || id == IDC_POP_DETAILS;
}

// The notice as the settings stand: whether it is to be shown, with its fields.
NoticeVerdict DecideFetchedNotice(const std::wstring& fetched, const std::wstring& settingsFile,
                                  NoticeRecord* record) {
    SYSTEMTIME now;
    ::GetLocalTime(&now);
    const NoticeDate today{now.wYear, now.wMonth, now.wDay};
    const std::wstring storedInfo =
        fetched.empty() ? std::wstring()
                        : ReadIniValue(settingsFile, kPopInfoKey, L"", kNoticeInfoCapacity);
    const std::wstring storedEnable =
        storedInfo.empty() ? std::wstring()
                           : ReadIniValue(settingsFile, kPopEnableKey, L"", kPopEnableCapacity);
    return DecideNotice(fetched, storedInfo, storedEnable, today, record);
}

}  // namespace

struct NoticeFetchJob {
    // Given before the worker starts.
    std::wstring url, settingsFile, picturePath;
    // The worker's answer, read only after `done`.
    std::wstring text;
    std::atomic<bool> done{false};
};

namespace {
// The worker's part: the text, and the picture only for a notice that the settings let show
// (the window's thread decides again from the same text, and stores the decision).
void RunNoticeFetch(NoticeFetchJob& job) {
    FetchNoticeText(job.url.c_str(), &job.text);
    NoticeRecord record;
    if (DecideFetchedNotice(job.text, job.settingsFile, &record) == NoticeVerdict::Show &&
        !record.picture.empty()) {
        // A failed download leaves the previous picture, which is shown instead.
        DownloadNoticePicture(record.picture, job.picturePath);
    }
    job.done.store(true);
}
}  // namespace

// Its procedure reads the record and the controls until the window has gone.
CPopInfoDlg::~CPopInfoDlg() { ReleaseWindow(); }

bool CPopInfoDlg::StartFetch(HWND notify, UINT message) {
    if (m_fetch || m_hWnd) return false;
    auto job = std::make_shared<NoticeFetchJob>();
    job->url = m_noticeUrl;
    job->settingsFile = m_settingsFile;
    job->picturePath = m_picturePath;
    fw::ScopedHandle thread(StartThread([job, notify, message] {
        RunNoticeFetch(*job);
        // A window that has gone meanwhile takes nothing.
        ::PostMessageW(notify, message, 0, 0);
    }));
    if (!thread) return false;
    m_fetch = std::move(job);
    return true;
}

std::wstring CPopInfoDlg::FetchedText() {
    if (m_fetch && m_fetch->done.load()) return m_fetch->text;
    std::wstring fetched;
    if (!m_fetch) FetchNoticeText(m_noticeUrl.c_str(), &fetched);
    return fetched;
}

CPopInfoDlg::CPopInfoDlg()
    : CDlgEx(IDD_POPINFO, static_cast<HWND>(nullptr)),
      m_noticeUrl(kNoticeUrl),
      m_settingsFile(BesideExePath(kIniFileName)),
      m_picturePath(BesideExePath(kNoticePictureName)) {}

BOOL CPopInfoDlg::CreateAndShow(HWND mainWindow) {
    if (!Create(mainWindow)) return FALSE;
    if (m_show && IsParentVisible()) ::ShowWindow(m_hWnd, SW_SHOWNOACTIVATE);
    return TRUE;
}

void CPopInfoDlg::DoDataExchange() {
    AttachControl(IDC_POP_PICTURE, m_picture);
    AttachControl(IDC_POP_TITLE, m_title);
    AttachControl(IDC_POP_CONTENT, m_content);
    AttachControl(IDC_POP_DETAILS, m_details);
}

BOOL CPopInfoDlg::OnInitDialog() {
    CDlgEx::OnInitDialog();
    // No taskbar button.
    ModifyStyleEx(WS_EX_APPWINDOW, WS_EX_TOOLWINDOW);
    Decide();
    if (m_show) {
        // Topmost before the close button's tooltip exists: Wine does not move a hidden window
        // into the topmost band once it owns a popup of its own.
        ::SetWindowPos(m_hWnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        BuildLayout();
        PlaceAtWorkAreaCorner();
    } else {
        ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                       SWP_HIDEWINDOW | SWP_NOZORDER | SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        // Ends the popup once the creation is over (a window cannot end inside its own
        // WM_INITDIALOG).
        PostMessage(WM_SYSCOMMAND, SC_MINIMIZE, 0);
    }
    Apply(m_showings.Start());
    // FALSE: the dialog manager would otherwise give the focus to a control, and with it
    // activate the popup, taking the keyboard from the game.
    return FALSE;
}

void CPopInfoDlg::Decide() {
    const std::wstring fetched = FetchedText();
    m_verdict = DecideFetchedNotice(fetched, m_settingsFile, &m_record);
    m_show = m_verdict == NoticeVerdict::Show;
    if (!m_show) return;
    WriteIniValue(m_settingsFile, kPopInfoKey, fetched.c_str());
    WriteIniValue(m_settingsFile, kPopEnableKey, L"1");
    m_showings = NoticeShowings(m_record.showings);
}

void CPopInfoDlg::BuildLayout() {
    m_layout = ChooseNoticeLayout(m_record.picture, m_record.text);
    const NoticeGeometry skinOnly = LayoutNotice(m_layout, 0, 0);
    m_captionHeight = skinOnly.captionHeight;
    m_buttonRightMargin = skinOnly.buttonRightMargin;
    m_buttonTopMargin = skinOnly.buttonTopMargin;
    m_buttonGap = skinOnly.buttonGap;
    m_borderWidth = skinOnly.borderWidth;
    SkinSpec look;
    look.background = LoadSkinBitmap(SkinInstance(), skinOnly.backgroundId);
    // The window takes the background's size. It is sized here rather than by SetSkin, whose
    // fitting activates the window: the notice must not take the keyboard from the game.
    const SIZE image = BitmapSize(look.background);
    ::SetWindowPos(m_hWnd, nullptr, 0, 0, image.cx, image.cy,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    look.fitWindowToImage = FALSE;
    fw::ScopedBitmap close(LoadSkinBitmap(SkinInstance(), skinOnly.closeId));
    SetSkin(look, close.get());
    if (skinOnly.layeredColourKey) {
        ModifyStyleEx(0, WS_EX_LAYERED);
        ::SetLayeredWindowAttributes(m_hWnd, kSkinKeyColour, 0, LWA_COLORKEY);
    }

    // The window is its picture, whose pixels do not scale with the DPI; its text keeps the
    // picture's scale too, or it outgrows the places the picture leaves for it.
    m_font.reset(ApplyPixelFont(m_hWnd, kNoticeFontHeight));
    RECT client;
    GetClientRect(&client);
    const NoticeGeometry g = LayoutNotice(m_layout, client.right, client.bottom);
    Place(m_picture, g.picture);
    Place(m_title, g.title);
    Place(m_content, g.content);
    Place(m_details, g.details);

    fw::ScopedBitmap picture;
    if (!m_record.picture.empty()) {
        // A failed download leaves the previous picture, which is shown instead. The worker
        // has fetched it already when there was one.
        if (!m_fetch) DownloadNoticePicture(m_record.picture, m_picturePath);
        int width = 0, height = 0;
        picture.reset(LoadImageFileBitmap(m_picturePath.c_str(), &width, &height));
    }

    if (g.pictureInContent) {
        m_content.m_text.clear();
        m_content.m_handCursor = TRUE;
        m_content.m_underline = FALSE;
        m_content.ModifyStyle(0, SS_NOTIFY);
        if (picture) m_content.SetImage(picture.get());
        return;
    }
    if (g.picture.visible) {
        m_picture.m_text.clear();
        if (picture) m_picture.SetImage(picture.get());
    }
    MakeLink(m_title, m_record.title, kTitleColour);
    m_title.m_fontWeight = FW_BOLD;
    MakeLink(m_content, NoticeDisplayText(m_record.text, m_layout), kTextColour);
    MakeLink(m_details, m_details.m_text, kTextColour);
}

void CPopInfoDlg::PlaceAtWorkAreaCorner() {
    // The corner of the monitor the main window is on.
    RECT work = {};
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof(monitor);
    HWND owner = ::GetWindow(m_hWnd, GW_OWNER);
    if (::GetMonitorInfoW(::MonitorFromWindow(owner ? owner : m_hWnd, MONITOR_DEFAULTTONEAREST),
                          &monitor)) {
        work = monitor.rcWork;
    } else {
        ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    }
    RECT window;
    GetWindowRect(&window);
    // Topmost without activation: the notice must not take the keyboard from the game.
    ::SetWindowPos(m_hWnd, HWND_TOPMOST, work.right - (window.right - window.left),
                   work.bottom - (window.bottom - window.top), 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
}

bool CPopInfoDlg::IsParentVisible() const {
    HWND owner = ::GetWindow(m_hWnd, GW_OWNER);
    return owner && ::IsWindowVisible(owner);
}

void CPopInfoDlg::OpenLink(const std::wstring& link) { OpenAddress(link, SW_SHOWMAXIMIZED); }

void CPopInfoDlg::Apply(const NoticeStep& step) {
    if (step.end) {
        KillTimer(kNoticeShowingTimer);
        KillTimer(kNoticeWaitTimer);
        ShowWindow(SW_HIDE);
    }
    if (step.popEnable) WriteIniValue(m_settingsFile, kPopEnableKey, step.popEnable);
    if (step.openLink) OpenLink(m_record.link);
    if (step.hide) ShowWindow(SW_HIDE);
    if (step.startWaitTimer) SetTimer(kNoticeWaitTimer, kNoticeWaitMs);
    if (step.startShowingTimer) SetTimer(kNoticeShowingTimer, kNoticeShowingMs);
    if (step.show) ::ShowWindow(m_hWnd, SW_SHOWNOACTIVATE);
    // An ended popup stays a hidden window without timers until its owner goes; destroying
    // it here would pull it away under the control whose click is being handled.
    if (step.end && IsModal()) EndDialog(IDCANCEL);
}

bool CPopInfoDlg::OnSysCommand(WPARAM command) {
    switch (command & 0xFFF0) {
        case SC_CLOSE:
            Apply(m_showings.Closed());
            return true;
        case SC_MINIMIZE:
            Apply(m_showings.Minimised());
            return true;
    }
    return false;
}

void CPopInfoDlg::OnOK() {}
void CPopInfoDlg::OnCancel() {}

BOOL CPopInfoDlg::PreTranslateMessage(MSG* msg) {
    // The skin's close button and the popup itself post their system commands.
    if (msg->hwnd == m_hWnd && msg->message == WM_SYSCOMMAND && OnSysCommand(msg->wParam)) {
        return TRUE;
    }
    return CDlgEx::PreTranslateMessage(msg);
}

LRESULT CPopInfoDlg::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_TIMER:
            if (wParam == kNoticeShowingTimer) {
                KillTimer(kNoticeShowingTimer);
                Apply(m_showings.ShowingOver());
                return 0;
            }
            if (wParam == kNoticeWaitTimer) {
                KillTimer(kNoticeWaitTimer);
                Apply(m_showings.WaitOver(IsParentVisible()));
                return 0;
            }
            break;
        case WM_COMMAND:
            if (HIWORD(wParam) == STN_CLICKED && IsNoticeControl(LOWORD(wParam))) {
                Apply(m_showings.Clicked(IsOpenableNoticeLink(m_record.link)));
                return 0;
            }
            break;
        case WM_SYSCOMMAND:
            // Reached when no loop of ours dispatched the command (a system loop, or a
            // command sent rather than posted): the same handling.
            if (OnSysCommand(wParam)) return 0;
            break;
    }
    return CDlgEx::WindowProc(msg, wParam, lParam);
}

}  // namespace vorel
