#include "web/NoticeShowings.h"

namespace vorel {

NoticeStep NoticeShowings::Start() {
    NoticeStep step;
    if (m_state != State::Showing) return step;
    step.startShowingTimer = true;
    return step;
}

NoticeStep NoticeShowings::ShowingOver() {
    NoticeStep step;
    if (m_state != State::Showing) return step;
    if (m_showing < m_showings) {
        m_state = State::Waiting;
        step.startWaitTimer = true;
        step.hide = true;
        return step;
    }
    // Run through without being closed: the notice comes back at the next start.
    return End(L"1");
}

NoticeStep NoticeShowings::WaitOver(bool parentVisible) {
    NoticeStep step;
    if (m_state != State::Waiting) return step;
    ++m_showing;
    m_state = State::Showing;
    step.startShowingTimer = true;
    step.show = parentVisible;
    return step;
}

NoticeStep NoticeShowings::Closed() { return End(L"0"); }

NoticeStep NoticeShowings::Clicked(bool linkOpenable) {
    const bool ending = m_state != State::Ended;
    NoticeStep step = End(L"0");
    step.openLink = ending && linkOpenable;
    return step;
}

NoticeStep NoticeShowings::Minimised() { return End(nullptr); }

NoticeStep NoticeShowings::End(const wchar_t* popEnable) {
    NoticeStep step;
    if (m_state == State::Ended) return step;
    m_state = State::Ended;
    step.end = true;
    step.popEnable = popEnable;
    return step;
}

}  // namespace vorel
