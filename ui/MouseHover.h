// The lit-under-the-mouse state of a skinned control: on after the mouse has rested on it
// for a moment, off when it leaves.
#pragma once
#include <windows.h>

namespace vorel {

class MouseHover {
public:
    // For WM_MOUSEMOVE, WM_MOUSEHOVER and WM_MOUSELEAVE of `wnd`: true when the message
    // changed the state, which the control then repaints; the move itself changes nothing.
    bool Track(HWND wnd, UINT msg) {
        switch (msg) {
            case WM_MOUSEMOVE:
                if (!m_tracking) {
                    TRACKMOUSEEVENT track = {sizeof(track), TME_HOVER | TME_LEAVE, wnd,
                                             kRestMs};
                    m_tracking = ::TrackMouseEvent(&track) != FALSE;
                }
                return false;
            case WM_MOUSEHOVER:
                m_on = true;
                return true;
            case WM_MOUSELEAVE:
                Clear();
                return true;
        }
        return false;
    }
    bool IsOn() const { return m_on; }
    // Forgets the state and the tracking: the control moved away from under the mouse.
    void Clear() {
        m_on = false;
        m_tracking = false;
    }

private:
    static constexpr DWORD kRestMs = 10;
    bool m_tracking = false;
    bool m_on = false;
};

}  // namespace vorel
