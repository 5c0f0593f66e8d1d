// The game window's frame: a borderless tool window that announces itself to the main window
// and becomes its child, follows the main window's life, forwards the window-switch key,
// handles F5 and Ctrl+D, applies mute requests and removes a page message box left open when
// the window closes.
#pragma once
#include <windows.h>

#include "fw/DocView.h"
#include "hotkey/HotkeyValue.h"
#include "web/GameFrameRules.h"

namespace vorel {

// Timers of the frame.
constexpr UINT_PTR kTimerParentWatch = 2;  // 800 ms: end when the main window is gone
constexpr UINT_PTR kTimerPageBoxes = 5;    // 130 ms once: destroy a leftover page message box
constexpr UINT_PTR kTimerRaiseParent = 6;  // 10 ms once: bring the main window up

class CMainFrame : public fw::FrameWnd {
public:
    BOOL PreCreateWindow(CREATESTRUCTW& cs) override;
    BOOL PreTranslateMessage(MSG* msg) override;
    int OnCreate(CREATESTRUCTW* cs) override;
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

    const MuteState& Mute() const { return m_mute; }

protected:
    // Ctrl+D: the favourites dialog for the current page.
    virtual void ShowFavorites();
    // A changed mute state, for the game's sound.
    virtual void ApplyMute(bool muted);

private:
    void ReadHotkeys();
    void OnTimer(UINT_PTR id);

    Hotkey m_bossKey;
    Hotkey m_switchKey;
    Hotkey m_soundKey;
    MuteState m_mute;
};

// Destroys the first top-level dialog titled "来自网页的消息", else "Windows Internet
// Explorer", else "Microsoft Internet Explorer"; true when one was found.
bool DestroyLeftoverPageBox();

}  // namespace vorel
