#include "mainwnd/MainWindowRules.h"

#include "mainwnd/TabStrip.h"

namespace vorel {

namespace {
constexpr int kMinimumWidthBase = 483;
constexpr int kMinimumHeight = 260;
constexpr unsigned kSysCommandMask = 0xFFF0;  // the low four bits are the system's own
constexpr unsigned kCtrlDCode = 4;
constexpr std::uint64_t kCtrlDKeyData = 0x0020;  // scan code 0x20, no flag bits
}  // namespace

CaptionControls LayoutCaptionControls(int cx) {
    CaptionControls c;
    c.hide = BlitBox{cx - 114, 0, 27, 27};
    c.sound = BlitBox{cx - 141, 0, 27, 27};
    c.system = BlitBox{cx - 185, 0, 44, 28};
    c.link = BlitBox{cx - 285, 7, 92, 16};
    return c;
}

BlitBox PageBox(int cx, int cy) {
    return BlitBox{kPageMargin, kCaptionBandHeight, cx - 2 * kPageMargin,
                   cy - kCaptionBandHeight - kPageMargin};
}

bool RaiseToMinimumSize(int tabCount, int& width, int& height) {
    if (tabCount <= 0) return false;
    const int minWidth = kTabWidth * tabCount + kMinimumWidthBase;
    bool changed = false;
    if (width < minWidth) {
        width = minWidth;
        changed = true;
    }
    if (height < kMinimumHeight) {
        height = kMinimumHeight;
        changed = true;
    }
    return changed;
}

bool HotkeyMatches(const Hotkey& hotkey, int virtualKey, int modifiers) {
    return hotkey.virtualKey != 0 && virtualKey == hotkey.virtualKey &&
           modifiers == hotkey.modifier;
}

bool IsCtrlDCharacter(unsigned message, std::uint64_t wParam, std::int64_t lParam) {
    const std::uint64_t keyData = (static_cast<std::uint64_t>(lParam) >> 16) & 0xFFFF;
    return message == kMsgChar && (wParam & 0xFFFF) == kCtrlDCode && keyData == kCtrlDKeyData;
}

FilterRule ClassifyMainWindowMessage(const FilterInput& in) {
    const bool keyDown = in.message == kMsgKeyDown || in.message == kMsgSysKeyDown;
    if (keyDown && in.lParam != kOwnMessageMark &&
        HotkeyMatches(in.switchKey, static_cast<int>(in.wParam), in.modifiers)) {
        return FilterRule::SwitchTab;
    }
    if (in.message == kMsgKeyDown && (in.wParam == kVkEscape || in.wParam == kVkSpace)) {
        return FilterRule::Swallow;
    }
    const unsigned command = static_cast<unsigned>(in.wParam) & kSysCommandMask;
    if (in.message == kMsgSysCommand && command == kScClose) return FilterRule::CloseRequest;
    if (in.tabCount > 0 && ((in.message == kMsgKeyDown && in.wParam == kVkF5) ||
                            IsCtrlDCharacter(in.message, in.wParam, in.lParam))) {
        return FilterRule::ForwardToPage;
    }
    if (in.message == kMsgSysCommand && command == kScRestore && in.tabCount == 0) {
        return FilterRule::Restore;
    }
    return FilterRule::PassOn;
}

CloseAction DecideCloseRequest(std::int64_t lParam, int tabCount) {
    if (lParam == kOwnMessageMark) {
        return tabCount == 0 ? CloseAction::ExitAll : CloseAction::DropPending;
    }
    if (lParam == 0 && tabCount == 0) return CloseAction::TerminatePendingAndExit;
    return CloseAction::Normal;
}

NewTabAction DecideNewTabChoice(std::uint64_t wParam, int tabCount) {
    if (wParam == 1) return tabCount < kMaxTabs ? NewTabAction::StartGame : NewTabAction::ShowLimit;
    if (wParam == 0) return NewTabAction::NewMainWindow;
    return NewTabAction::Nothing;
}

std::wstring GameProcessCommandLine(const std::wstring& exePath, std::int64_t mainWindow,
                                    int tabNumber) {
    std::wstring line = ProgramCommandLine(exePath, Switch::NewGame, {mainWindow, tabNumber});
    if (line.size() > kMaxGameCommandLine) return std::wstring();
    return line;
}

}  // namespace vorel
