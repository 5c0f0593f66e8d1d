// The real main window started from the desktop shortcut, with stand-in game processes for
// its accounts: the fixture of the session's end-to-end tests and of its pictures.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "support/MainWindowProbe.h"
#include "support/ShortcutStart.h"
#include "support/StandIn.h"

namespace testsupport {

class MainWindowSession : public ShortcutStartTest {
protected:
    StandIn LogIn(int tab, const std::wstring& caption) {
        return LogInStandIn(m_mainWnd, tab, caption);
    }

    // Children of the main window that belong to process pid.
    std::vector<HWND> ChildrenOf(DWORD pid) const {
        return DescendantsOf(m_mainWnd, [pid](HWND wnd) {
            return ProcessOf(wnd) == pid && GetAncestor(wnd, GA_PARENT) != nullptr;
        });
    }
};

}  // namespace testsupport
