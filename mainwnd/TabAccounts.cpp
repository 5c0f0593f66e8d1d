#include "mainwnd/TabAccounts.h"

#include <algorithm>

namespace vorel {

int TabAccounts::IndexOf(WindowId window) const {
    for (size_t i = 0; i < m_tabs.size(); ++i) {
        if (m_tabs[i].window == window) return static_cast<int>(i);
    }
    return -1;
}

bool TabAccounts::HasCaption(const std::wstring& caption) const {
    for (const GameTab& tab : m_tabs) {
        if (tab.caption == caption) return true;
    }
    for (const WaitingCaption& waiting : m_waiting) {
        if (waiting.caption == caption) return true;
    }
    return false;
}

bool TabAccounts::AnnounceCaption(const std::wstring& caption, ProcessId pendingProcess) {
    if (HasCaption(caption)) return false;
    m_waiting.push_back(WaitingCaption{caption, pendingProcess});
    return true;
}

void TabAccounts::DropWaiting(const std::function<bool(ProcessId)>& processEnded) {
    m_waiting.erase(std::remove_if(m_waiting.begin(), m_waiting.end(),
                                   [&](const WaitingCaption& w) {
                                       return w.process != 0 && processEnded(w.process);
                                   }),
                    m_waiting.end());
}

int TabAccounts::AddFrame(WindowId window, ProcessId frameProcess) {
    if (window == 0 || IndexOf(window) >= 0) return -1;
    GameTab tab{window, std::wstring()};
    if (!m_waiting.empty()) {
        // Tagged with the process that was pending at the time, which is the sender unless
        // several logins were open at once; the newest such tag is the likeliest.
        auto taken = m_waiting.end();
        if (frameProcess != 0) {
            for (auto it = m_waiting.begin(); it != m_waiting.end(); ++it) {
                if (it->process == frameProcess) taken = it;
            }
        }
        if (taken == m_waiting.end()) taken = m_waiting.begin();
        tab.caption = taken->caption;
        m_waiting.erase(taken);
    }
    m_tabs.push_back(tab);
    m_current = Count() - 1;
    return m_current;
}

bool TabAccounts::Select(int i) {
    if (i < 0 || i >= Count() || i == m_current) return false;
    m_current = i;
    return true;
}

WindowId TabAccounts::Remove(int i) {
    if (i < 0 || i >= Count()) return 0;
    const WindowId window = m_tabs[size_t(i)].window;
    m_tabs.erase(m_tabs.begin() + i);
    m_current = std::max(0, std::min(i, Count() - 1));
    return window;
}

void TabAccounts::Advance() {
    if (Count() > 1) m_current = (m_current + 1) % Count();
}

}  // namespace vorel
