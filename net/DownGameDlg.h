// "游戏下载中...": fetches the game hall's configuration and then its installer, starts the
// installer and shows the outcome in the caption; it stays open until the player closes it.
#pragma once
#include <windows.h>

#include <memory>
#include <string>

#include "fw/Raii.h"
#include "net/DialogTransfer.h"
#include "net/GameHallDownload.h"
#include "ui/BtnEx.h"
#include "ui/DlgEx.h"
#include "ui/ImgProgress.h"
#include "ui/StaticEx.h"

namespace vorel {

// What the game-hall page's command calls when the hall's client is not installed: shows the
// dialog modally for the hall name (a plain file stem such as "Fennik") over parent. IDOK from
// button 1, IDCANCEL from button 2 or the close button; the download's outcome is shown, not
// returned.
INT_PTR ShowGameHallDownload(const std::wstring& hallName, HWND parent);

class CDownGameDlg : public CDlgEx {
public:
    static constexpr DWORD kCancelWaitMs = 5000;

    CDownGameDlg(const std::wstring& hallName, HWND parent);

    BOOL OnInitDialog() override;
    void DoDataExchange() override;
    void OnOK() override;
    void OnCancel() override;
    BOOL PreTranslateMessage(MSG* msg) override;
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

    // For tests.
    const GameHallFiles& Files() const { return m_files; }
    std::shared_ptr<const DialogTransfer> Transfer() const { return m_transfer; }
    const CStaticEx& PercentText() const { return m_percentText; }
    const CImgProgress& Progress() const { return m_progress; }
    bool HasWorker() const { return static_cast<bool>(m_worker); }

private:
    void StartWorker();
    void StopWorker();

    std::wstring m_hallName;
    GameHallFiles m_files;
    // The open file and the internet handles live here while a fetch runs.
    std::shared_ptr<DialogTransfer> m_transfer;
    fw::ScopedHandle m_worker;
    CImgProgress m_progress;
    CBtnEx m_button1;
    CBtnEx m_button2;
    CStaticEx m_percentText;
};

}  // namespace vorel
