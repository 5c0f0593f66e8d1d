// "版本更新中...": downloads the self-update's new executable with a progress bar and closes
// itself when the download ends, IDOK when the whole file arrived, IDCANCEL otherwise.
#pragma once
#include <windows.h>

#include <memory>
#include <string>

#include "fw/Raii.h"
#include "net/DialogTransfer.h"
#include "ui/DlgEx.h"
#include "ui/ImgProgress.h"

namespace vorel {

class CPrgsDlg : public CDlgEx {
public:
    // How long a cancel waits for the download to end by itself after closing its handles.
    // Windows' WinINet fails the blocked call at once; Wine's only when the server goes on.
    static constexpr DWORD kCancelWaitMs = 5000;

    explicit CPrgsDlg(HWND parent = nullptr);

    // Before DoModal: the address of the new executable and the file it goes to.
    void SetTransfer(const std::wstring& url, const std::wstring& target);

    BOOL OnInitDialog() override;
    void DoDataExchange() override;
    void OnOK() override;
    void OnCancel() override;
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

    // The running (or last) transfer, for tests that watch its handles.
    std::shared_ptr<const DialogTransfer> Transfer() const { return m_transfer; }

private:
    void StartThreads();
    void OnTransferEnded(bool succeeded);
    void ReleaseThreads();

    CImgProgress m_progress;
    std::wstring m_url;
    std::wstring m_target;
    fw::ScopedHandle m_downloadThread;
    fw::ScopedHandle m_watcherThread;
    // The open file and the internet handles live here while the download runs.
    std::shared_ptr<DialogTransfer> m_transfer;
    bool m_ending = false;
};

}  // namespace vorel
