#include <shlwapi.h>

#include "app/Ambrel3App.h"
#include "app/Install.h"
#include "app/SelfDelete.h"
#include "app/SettingsStore.h"
#include "app/Shortcuts.h"
#include "app/StatisticsReport.h"
#include "app/UpdateGate.h"
#include "ui/MessageBoxDlg.h"

namespace vorel {

void UninstallProduct(CAmbrel3App& app) {
    ::SHDeleteKeyW(HKEY_LOCAL_MACHINE, kProductRegKey);
    RemoveShortcuts();
    ScheduleSelfDelete();
    CountAndReport(ReportKind::Uninstall, app.ReportCopiedEvent(), app.ReportDoneEvent());
    ShowMessageBox(0, kProductTitle,
                   L"Vorel - Tolv已成功移除，部分文件将在程序退出\r\n或计算机重启后自行删除",
                   nullptr);
}

}  // namespace vorel
