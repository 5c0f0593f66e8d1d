// The hotkey settings dialog: the player presses the combination he wants in each row.
#pragma once
#include <windows.h>

#include "fw/Raii.h"
#include "hotkey/HotkeyValue.h"
#include "ui/BtnEx.h"
#include "ui/DlgEx.h"
#include "ui/StaticEx.h"

namespace vorel {

class CSettingDlg : public CDlgEx {
public:
    explicit CSettingDlg(HWND parent);

    BOOL OnInitDialog() override;
    void DoDataExchange() override;
    BOOL PreTranslateMessage(MSG* msg) override;
    void OnOK() override;
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

    // The last accepted virtual key of each row: boss, switch, sound.
    int m_bossKey = 0;
    int m_switchKey = 0;
    int m_soundKey = 0;

private:
    int* RowKey(HotkeyRow row);
    bool FocusedRow(HotkeyRow* row) const;

    CStaticEx m_labels[6];
    CBtnEx m_okButton;
    CBtnEx m_cancelButton;
    fw::ScopedBrush m_groupBrush;
};

// Posts "hotkeys changed" to at most ten running main windows; returns how many.
int NotifyMainWindowsOfHotkeyChange();

}  // namespace vorel
