#include "hotkey/HotkeyEditing.h"

#include "app/TextNumber.h"

namespace vorel {

namespace {
constexpr int32_t kVkBack = 0x08, kVkEnter = 0x0D, kVkAlt = 0x12, kVkEsc = 0x1B, kVkDel = 0x2E,
                  kVkLWin = 0x5B, kVkRWin = 0x5C, kVkF10 = 0x79, kVkF12 = 0x7B;
}

CaptureDecision DecideKeyCapture(KeyMessage message, int32_t virtualKey, const HotkeyRow* focusedRow,
                                 int32_t rowKey, HeldModifiers held) {
    CaptureDecision d;
    d.rowKey = rowKey;
    // Alt combinations arrive as system keys; of those only F10 and Alt itself are looked at.
    const bool lookedAt = message == KeyMessage::KeyDown ||
                          (message == KeyMessage::SysKeyDown &&
                           (virtualKey == kVkF10 || virtualKey == kVkAlt));
    if (!lookedAt) return d;
    if (virtualKey == kVkEsc || virtualKey == kVkEnter) {
        d.swallow = true;
        return d;
    }
    if (focusedRow == nullptr) return d;

    d.swallow = true;
    d.setText = true;
    const bool clears = virtualKey == kVkBack || virtualKey == kVkDel || virtualKey == kVkLWin ||
                        virtualKey == kVkRWin ||
                        (virtualKey == kVkF12 && *focusedRow != HotkeyRow::Switch);
    if (clears) {
        d.text = L"无";
        return d;
    }
    std::wstring name;
    if (IsAssignableKey(virtualKey, *focusedRow)) {
        d.rowKey = virtualKey;
        name = KeyName(virtualKey);
    }
    if (held.ctrl) d.text += L"Ctrl  +  ";
    if (held.shift) d.text += L"Shift  +  ";
    if (held.alt) d.text += L"Alt  +  ";
    d.text += name;
    return d;
}

HotkeySavePlan PlanHotkeySave(const std::array<HotkeyRowState, 3>& rows) {
    HotkeySavePlan plan;
    if (rows[0].text == rows[1].text || rows[0].text == rows[2].text ||
        rows[1].text == rows[2].text) {
        plan.conflict = true;
        return plan;
    }
    const HotkeyRow order[3] = {HotkeyRow::Boss, HotkeyRow::Switch, HotkeyRow::Sound};
    for (int i = 0; i < 3; ++i) {
        const std::wstring& text = rows[i].text;
        // Only modifiers pressed: the row keeps its stored value.
        if (text.empty() || text.back() == L' ') continue;
        Hotkey h;
        h.virtualKey = text.find(L"无") != std::wstring::npos ? 0 : rows[i].rowKey;
        if (text.find(L"Ctrl") != std::wstring::npos) h.modifier |= kModCtrl;
        if (text.find(L"Shift") != std::wstring::npos) h.modifier |= kModShift;
        if (text.find(L"Alt") != std::wstring::npos) h.modifier |= kModAlt;
        plan.writes.emplace_back(order[i], FormatStoredHotkey(h));
    }
    return plan;
}

}  // namespace vorel
