#include "net/PrgsDlg.h"

#include "net/SelfUpdate.h"
#include "res/resource.h"
#include "ui/SkinImage.h"

namespace vorel {

namespace {

// Sent by the watcher when the download thread has ended; wParam 1 when the file is whole.
constexpr UINT kMsgTransferEnded = WM_APP + 1;
// The watcher ends right after the download thread; it only has its one send to make.
constexpr DWORD kWatcherWaitMs = 1000;

void CentreOnDesktopTopmost(HWND wnd) {
    RECT desktop, window;
    GetWindowRect(GetDesktopWindow(), &desktop);
    GetWindowRect(wnd, &window);
    const int width = window.right - window.left, height = window.bottom - window.top;
    SetWindowPos(wnd, nullptr, desktop.left + (desktop.right - desktop.left - width) / 2,
                 desktop.top + (desktop.bottom - desktop.top - height) / 2, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowPos(wnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

}  // namespace

CPrgsDlg::CPrgsDlg(HWND parent) : CDlgEx(IDD_UPDATE_PROGRESS, parent) {}

void CPrgsDlg::SetTransfer(const std::wstring& url, const std::wstring& target) {
    m_url = url;
    m_target = target;
}

void CPrgsDlg::DoDataExchange() {
    CDlgEx::DoDataExchange();
    AttachControl(IDC_UPDATE_PROGRESS, m_progress);
}

BOOL CPrgsDlg::OnInitDialog() {
    CDlgEx::OnInitDialog();
    // Before the skin adds the close button: Wine does not give the topmost style to a
    // window that already owns a topmost tooltip.
    CentreOnDesktopTopmost(m_hWnd);
    ApplyStandardDialogSkin(L"版本更新中...");

    const HINSTANCE skins = SkinInstance();
    m_progress.SetImages(LoadSkinBitmap(skins, IDP_PROGRESS_BACKGROUND),
                         LoadSkinBitmap(skins, IDP_PROGRESS_FILL));
    StartThreads();
    return TRUE;
}

void CPrgsDlg::StartThreads() {
    m_ending = false;
    m_transfer = std::make_shared<DialogTransfer>();
    m_transfer->dialog.store(m_hWnd);
    m_transfer->bar.store(m_progress.m_hWnd);

    std::shared_ptr<DialogTransfer> transfer = m_transfer;
    const std::wstring url = m_url, target = m_target;
    m_downloadThread.reset(StartThread([transfer, url, target] {
        DialogProgressSink sink(*transfer);
        transfer->succeeded.store(DownloadUpdate(url, target, &sink, &transfer->handles));
    }));

    // The watcher waits on a thread handle of its own: the dialog closes its handles when
    // its window goes, which may be before the download ends.
    HANDLE watched = nullptr;
    if (m_downloadThread)
        DuplicateHandle(GetCurrentProcess(), m_downloadThread.get(), GetCurrentProcess(), &watched,
                        SYNCHRONIZE, FALSE, 0);
    if (watched) {
        auto download = std::make_shared<fw::ScopedHandle>(watched);
        m_watcherThread.reset(StartThread([transfer, download] {
            WaitForSingleObject(download->get(), INFINITE);
            transfer->SendToDialog(kMsgTransferEnded, transfer->succeeded.load() ? 1 : 0);
        }));
    }
    // Without both threads nobody would end the dialog.
    if (!m_downloadThread || !m_watcherThread) OnCancel();
}

void CPrgsDlg::OnTransferEnded(bool succeeded) {
    // A cancel that came first has decided already.
    if (m_ending) return;
    m_ending = true;
    EndDialog(succeeded ? IDOK : IDCANCEL);
}

// Enter does not end the download.
void CPrgsDlg::OnOK() {}

void CPrgsDlg::OnCancel() {
    // After the watcher ended the dialog there is nothing left to stop, and nothing is
    // closed twice.
    if (m_ending) return;
    m_ending = true;
    if (m_transfer) m_transfer->handles.Cancel();
    if (WaitForThreadHandlingSends(m_downloadThread.get(), kCancelWaitMs))
        WaitForThreadHandlingSends(m_watcherThread.get(), kWatcherWaitMs);
    EndDialog(IDCANCEL);
}

void CPrgsDlg::ReleaseThreads() {
    if (m_transfer) m_transfer->ForgetWindows();
    // A thread still running keeps going on its own; its handle is not needed to end it.
    m_downloadThread.reset();
    m_watcherThread.reset();
}

LRESULT CPrgsDlg::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case kMsgTransferEnded:
            OnTransferEnded(wParam != 0);
            return 0;
        case WM_DESTROY:
            ReleaseThreads();
            break;
    }
    return CDlgEx::WindowProc(msg, wParam, lParam);
}

}  // namespace vorel
