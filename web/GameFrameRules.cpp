#include "web/GameFrameRules.h"

namespace vorel {

namespace {
bool IsPlainF5(const Hotkey& key) {
    return key.virtualKey == static_cast<int32_t>(sys::kVkF5) && key.modifier == 0;
}
}  // namespace

FrameKeyAction DecideFrameKey(const FrameKeyInput& in) {
    using namespace sys;
    const bool keyDown = in.message == kKeyDown || in.message == kSysKeyDown;
    if (keyDown && in.lParam != kOwnMessageMark && in.switchKey.virtualKey != 0 &&
        in.wParam == static_cast<uintptr_t>(in.switchKey.virtualKey) &&
        in.modifiersDown == in.switchKey.modifier) {
        return FrameKeyAction::ForwardToParent;
    }
    // Ctrl+D: character 4 from the D key's scan code without any flag bits (a repeat or an
    // Alt combination has some).
    if (in.message == kChar && (in.wParam & 0xFFFF) == 4 &&
        ((static_cast<uintptr_t>(in.lParam) >> 16) & 0xFFFF) == 0x20) {
        return FrameKeyAction::OpenFavorites;
    }
    if (in.message == kKeyDown && in.wParam == kVkF5) {
        if ((IsPlainF5(in.bossKey) || IsPlainF5(in.soundKey)) && in.lParam != kOwnMessageMark) {
            return FrameKeyAction::Swallow;
        }
        if (in.viewExists) return FrameKeyAction::Reload;
    }
    if (in.message == kSysCommand && in.wParam == kScClose) return FrameKeyAction::CloseSeen;
    return FrameKeyAction::PassOn;
}

bool MuteState::Request(bool muted) {
    if (!m_known) {
        m_known = true;
        m_last = !muted;
    }
    if (muted == m_last) return false;
    m_last = muted;
    return true;
}

FrameRect FitIntoMainWindow(const FrameRect& client) {
    return {client.left + kPageMargin, client.top + kCaptionBandHeight, client.right - kPageMargin,
            client.bottom - kPageMargin};
}

unsigned GameViewHostFlags(unsigned flags, const std::wstring& gameAddress,
                           const std::wstring& hallAddress) {
    return gameAddress == hallAddress ? flags : flags | kNoBorderNoScroll;
}

intptr_t FrameAnnouncementKind(const std::wstring& gameAddress, const std::wstring& hallAddress) {
    return gameAddress == hallAddress ? 1 : 0;
}

}  // namespace vorel
