// Shows one popup notice from the publisher server as the launcher would, so that it can be
// looked at and photographed (scripts/notice-shots.sh).
//
//   notice_preview.exe <notice address> <ready file> [seconds]
//
// The notice's state goes to a settings file of its own in the temporary folder, so every run
// shows the notice as new. Once the popup is painted the ready file is written; the program
// ends after the given seconds (default 10) or when the notice ends.
#include <windows.h>
#include <shellapi.h>

#include <string>

#include "fw/App.h"
#include "fw/Raii.h"
#include "web/PopInfoDlg.h"

namespace {

// The shell is not asked to open anything from a preview.
class PreviewPopup : public vorel::CPopInfoDlg {
protected:
    void OpenLink(const std::wstring&) override {}
};

std::wstring TempFile(const wchar_t* name) {
    wchar_t base[MAX_PATH] = L"";
    ::GetTempPathW(MAX_PATH, base);
    return std::wstring(base) + name;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int) {
    int argc = 0;
    LPWSTR* argv = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
    if (!argv || argc < 3) return 2;
    const std::wstring url = argv[1], ready = argv[2];
    const int seconds = argc > 3 ? _wtoi(argv[3]) : 10;

    // The main window stands at the top-left, small and visible, as it is before its first tab.
    HWND main = ::CreateWindowExW(WS_EX_TOOLWINDOW, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 1,
                                  1, nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr);
    PreviewPopup popup;
    popup.m_noticeUrl = url;
    popup.m_settingsFile = TempFile(L"notice-preview.ini");
    popup.m_picturePath = TempFile(L"notice-preview.jpg");
    ::DeleteFileW(popup.m_settingsFile.c_str());
    if (!popup.CreateAndShow(main) || !popup.DecidedToShow()) return 1;
    ::RedrawWindow(popup.m_hWnd, nullptr, nullptr,
                   RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);

    const DWORD start = ::GetTickCount();
    bool told = false;
    while (!popup.HasEnded() && ::GetTickCount() - start < DWORD(seconds) * 1000) {
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (!fw::App::PreTranslate(&msg)) {
                ::TranslateMessage(&msg);
                ::DispatchMessageW(&msg);
            }
        }
        // Half a second for the X server to show what was painted.
        if (!told && ::GetTickCount() - start > 500) {
            fw::ScopedHandle file(::CreateFileW(ready.c_str(), GENERIC_WRITE, 0, nullptr,
                                                CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
            told = true;
        }
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
    }
    ::DestroyWindow(main);
    ::LocalFree(argv);
    return 0;
}
