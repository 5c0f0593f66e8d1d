// Acting inside a modal loop that the test itself is blocked in: steps run one per tick of a
// thread timer, whatever loop dispatches it; a step that answers false runs again at the next
// tick. One driver at a time per thread.
#pragma once
#include <windows.h>

#include <functional>
#include <utility>
#include <vector>

namespace testsupport {

class TimerSteps {
public:
    explicit TimerSteps(std::vector<std::function<bool()>> steps, UINT period = 30)
        : m_steps(std::move(steps)) {
        s_current = this;
        m_timer = ::SetTimer(nullptr, 0, period, &TimerSteps::Tick);
    }
    // One step, repeated until it answers true.
    explicit TimerSteps(std::function<bool()> step, UINT period = 30)
        : TimerSteps(std::vector<std::function<bool()>>{std::move(step)}, period) {}
    ~TimerSteps() {
        ::KillTimer(nullptr, m_timer);
        s_current = nullptr;
    }
    TimerSteps(const TimerSteps&) = delete;
    TimerSteps& operator=(const TimerSteps&) = delete;

    bool Finished() const { return m_next == m_steps.size(); }

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
        TimerSteps* self = s_current;
        // A step may run a modal loop itself: no other step meanwhile.
        if (!self || self->m_running || self->Finished()) return;
        self->m_running = true;
        if (self->m_steps[self->m_next]()) ++self->m_next;
        self->m_running = false;
    }
    static inline TimerSteps* s_current = nullptr;
    std::vector<std::function<bool()>> m_steps;
    size_t m_next = 0;
    UINT_PTR m_timer = 0;
    bool m_running = false;
};

}  // namespace testsupport
