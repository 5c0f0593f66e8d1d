// The accounts of one main window: its tabs (each a game frame of another process and the
// caption of the account logged in there), the current tab, and the captions that have been
// announced but whose frame has not arrived yet. Platform-free.
//
// A caption arrives (WM_COPYDATA) before its frame (WM_USER+2), from the same process, but two
// logins may overlap and a process may die between the two messages. So a tab is one record
// holding both its window and its caption, and an announced caption waits in a queue until a
// frame takes it:
//  - a frame takes the newest waiting caption announced while its own process was the pending
//    one, else the oldest waiting caption, else none (its tab then has an empty caption: it is
//    drawn without text and its close question names no account);
//  - a waiting caption whose process has ended is dropped (the shell asks before each use), so
//    it neither blocks that account's next login nor lands on another account's frame.
// Windows and captions therefore cannot drift apart: there is only one list.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace vorel {

// A window handle's value; 0 is no window.
using WindowId = std::uint64_t;
// A process id; 0 is unknown.
using ProcessId = std::uint32_t;

struct GameTab {
    WindowId window = 0;
    std::wstring caption;
};

struct WaitingCaption {
    std::wstring caption;
    ProcessId process = 0;  // the pending process when it was announced
};

class TabAccounts {
public:
    int Count() const { return static_cast<int>(m_tabs.size()); }
    bool Empty() const { return m_tabs.empty(); }
    const GameTab& At(int i) const { return m_tabs[static_cast<size_t>(i)]; }
    // Always an index into the list while it is not empty; 0 when it is.
    int Current() const { return m_current; }
    WindowId CurrentWindow() const { return Empty() ? 0 : m_tabs[size_t(m_current)].window; }
    int IndexOf(WindowId window) const;
    const std::vector<WaitingCaption>& Waiting() const { return m_waiting; }

    // True when the caption equals (exactly, case-sensitive) a tab's or a waiting one.
    bool HasCaption(const std::wstring& caption) const;
    // A login: false when the caption is already present, else it waits for its frame.
    bool AnnounceCaption(const std::wstring& caption, ProcessId pendingProcess);
    // Drops the waiting captions whose process has ended.
    void DropWaiting(const std::function<bool(ProcessId)>& processEnded);

    // A game frame arrived: appended as the current tab with the caption that belongs to it.
    // Returns its index, or -1 when the window already is a tab (nothing changes).
    int AddFrame(WindowId window, ProcessId frameProcess);

    // Makes tab i current; false when it already was (or i is out of range).
    bool Select(int i);
    // Removes tab i and returns its window. The tab that moves into its place becomes current,
    // or the new last one when i was the last. 0 for an index out of range.
    WindowId Remove(int i);
    // The window-switch key: the next tab, round.
    void Advance();

private:
    std::vector<GameTab> m_tabs;
    std::vector<WaitingCaption> m_waiting;
    int m_current = 0;
};

}  // namespace vorel
