#include "net/DownGameDlg.h"

#include "DeployConfig.h"
#include "app/FolderAccess.h"
#include "app/Processes.h"
#include "app/SettingsStore.h"
#include "net/HttpFetch.h"
#include "res/resource.h"
#include "ui/SkinImage.h"

namespace vorel {

namespace {

// From the worker, all synchronous: the caption (wParam 1 "下载完成", 0 "下载失败"), the
// percentage text (wParam the percentage), and the end of the work.
constexpr UINT kMsgCaption = WM_APP + 1;
constexpr UINT kMsgPercent = WM_APP + 2;
constexpr UINT kMsgFinished = WM_APP + 3;

constexpr DWORD kChunk = 1024;
constexpr int kAddressCapacity = 512;

std::wstring TempFolder() {
    wchar_t path[MAX_PATH] = L"";
    const DWORD length = GetTempPathW(MAX_PATH, path);
    return length && length < MAX_PATH ? std::wstring(path) : std::wstring();
}

// The installer's address from the hall's configuration; the file goes either way, a
// partial one too.
bool FetchInstallerAddress(const GameHallFiles& files, TransferHandles& handles,
                           std::wstring* address) {
    // Files that are there already may be someone else's: ours are new ones.
    if (files.configFile.empty() || !RemoveBeforeWriting(files.configFile)) return false;
    const bool complete = HttpDownloadToFile(files.configUrl.c_str(), files.configFile.c_str(),
                                             kChunk, false, nullptr, &handles);
    if (complete) {
        wchar_t text[kAddressCapacity] = L"";
        GetPrivateProfileStringW(L"VerKey", L"UpdAddr", L"", text, kAddressCapacity,
                                 files.configFile.c_str());
        *address = text;
    }
    DeleteFileW(files.configFile.c_str());
    return complete;
}

void DownloadGameHall(const std::shared_ptr<DialogTransfer>& transfer, const GameHallFiles& files) {
    std::wstring installerUrl;
    const bool configured = FetchInstallerAddress(files, transfer->handles, &installerUrl);
    // After a cancel the dialog is gone or going; a partial installer stays where it is.
    if (transfer->handles.Cancelled()) return;
    if (!configured) {
        transfer->SendToDialog(kMsgCaption, 0);
        return;
    }
    DialogProgressSink sink(*transfer, kMsgPercent);
    const bool downloaded = !files.installerFile.empty() &&
                            RemoveBeforeWriting(files.installerFile) &&
                            HttpDownloadToFile(installerUrl.c_str(), files.installerFile.c_str(),
                                               kChunk, true, &sink, &transfer->handles);
    if (transfer->handles.Cancelled()) return;
    if (downloaded) RestartSelf(QuoteArgument(files.installerFile).c_str());
    transfer->SendToDialog(kMsgCaption, downloaded ? 1 : 0);
    // Fails, silently, while the installer runs from it.
    DeleteFileW(files.installerFile.c_str());
    transfer->SendToDialog(kMsgFinished);
}

}  // namespace

INT_PTR ShowGameHallDownload(const std::wstring& hallName, HWND parent) {
    CDownGameDlg dialog(hallName, parent);
    return dialog.DoModal();
}

CDownGameDlg::CDownGameDlg(const std::wstring& hallName, HWND parent)
    : CDlgEx(IDD_GAME_DOWNLOAD, parent), m_hallName(hallName) {}

void CDownGameDlg::DoDataExchange() {
    CDlgEx::DoDataExchange();
    AttachControl(IDOK, m_button1);
    AttachControl(IDCANCEL, m_button2);
    AttachControl(IDC_GAME_DOWNLOAD_TEXT, m_percentText);
    AttachControl(IDC_GAME_DOWNLOAD_PROGRESS, m_progress);
}

BOOL CDownGameDlg::OnInitDialog() {
    CDlgEx::OnInitDialog();
    ApplyStandardDialogSkin(L"游戏下载中...");
    const HINSTANCE skins = SkinInstance();

    // Without a name there is nothing to fetch: the bare dialog shows.
    if (m_hallName.empty()) return TRUE;
    m_files =
        GameHallDownloadFiles(VOREL_PUBLISHER_HOST, BesideExePath(L""), TempFolder(), m_hallName);

    ::EnableWindow(m_button1.m_hWnd, FALSE);
    fw::ScopedBitmap strip(LoadSkinBitmap(skins, IDP_BUTTON_COMMAND));  // copied by each button
    m_button1.SetStripImage(strip.get(), TRUE);
    m_button2.SetStripImage(strip.get(), TRUE);
    m_percentText.m_text.clear();
    m_percentText.Invalidate();
    m_percentText.m_textColour = RGB(72, 82, 86);
    m_percentText.m_fontHeight = 16;
    m_progress.SetImages(LoadSkinBitmap(skins, IDP_PROGRESS_BACKGROUND),
                         LoadSkinBitmap(skins, IDP_PROGRESS_FILL));
    // Last, so that the worker's first calls find the buttons in their downloading state.
    StartWorker();
    return TRUE;
}

void CDownGameDlg::StartWorker() {
    m_transfer = std::make_shared<DialogTransfer>();
    m_transfer->dialog.store(m_hWnd);
    m_transfer->bar.store(m_progress.m_hWnd);
    std::shared_ptr<DialogTransfer> transfer = m_transfer;
    const GameHallFiles files = m_files;
    m_worker.reset(StartThread([transfer, files] { DownloadGameHall(transfer, files); }));
    if (!m_worker) SetCaptionText(L"下载失败");
}

void CDownGameDlg::StopWorker() {
    if (m_transfer) m_transfer->handles.Cancel();
    // The worker ends by itself once its handles are closed; past the bound it finishes on its
    // own, reaching no window.
    WaitForThreadHandlingSends(m_worker.get(), kCancelWaitMs);
    m_worker.reset();
}

void CDownGameDlg::OnOK() {
    // Button 1 is disabled while the download runs; Enter must not get round that.
    if (::IsWindowEnabled(m_button1.m_hWnd)) EndDialog(IDOK);
}

void CDownGameDlg::OnCancel() {
    EndDialog(IDCANCEL);
    // Once button 1 is enabled the work is over and nothing is left to stop.
    if (!::IsWindowEnabled(m_button1.m_hWnd)) StopWorker();
}

BOOL CDownGameDlg::PreTranslateMessage(MSG* msg) {
    // Esc would cancel the download: swallowed.
    if (msg->message == WM_KEYDOWN && msg->wParam == VK_ESCAPE) return TRUE;
    return CDlgEx::PreTranslateMessage(msg);
}

LRESULT CDownGameDlg::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case kMsgCaption:
            SetCaptionText(wParam ? L"下载完成" : L"下载失败");
            return 0;
        case kMsgPercent:
            m_percentText.m_text = LoadedPercentText(static_cast<unsigned>(wParam));
            m_percentText.Invalidate();
            ::UpdateWindow(m_percentText.m_hWnd);
            return 0;
        case kMsgFinished:
            ::EnableWindow(m_button1.m_hWnd, TRUE);
            ::EnableWindow(m_button2.m_hWnd, FALSE);
            return 0;
        case WM_DESTROY:
            if (m_transfer) m_transfer->ForgetWindows();
            m_worker.reset();
            break;
    }
    return CDlgEx::WindowProc(msg, wParam, lParam);
}

}  // namespace vorel
