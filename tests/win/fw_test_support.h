// Shared by the framework's tests.
#pragma once
#include <windows.h>

#include "fw/App.h"

namespace fwtest {

// Processes what is queued, through the same pre-translation as our loops; a quit message is
// left in the queue for the test to find.
inline void PumpPending() {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE) && msg.message != WM_QUIT) {
        ::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE);
        if (!fw::App::PreTranslate(&msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
}

}  // namespace fwtest
