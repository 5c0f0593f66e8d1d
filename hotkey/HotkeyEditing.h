// What the hotkey settings dialog does with a key press and with OK, as pure decisions.
#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "hotkey/HotkeyValue.h"

namespace vorel {

enum class KeyMessage { KeyDown, SysKeyDown, Other };

struct HeldModifiers {
    bool ctrl = false;
    bool shift = false;
    bool alt = false;
};

struct CaptureDecision {
    bool swallow = false;       // false: the message goes on to the dialog
    bool setText = false;       // the focused row's edit shows `text`
    std::wstring text;
    int32_t rowKey = 0;         // the row's last accepted key afterwards
};

// focusedRow is null when no hotkey edit has the focus.
CaptureDecision DecideKeyCapture(KeyMessage message, int32_t virtualKey, const HotkeyRow* focusedRow,
                                 int32_t rowKey, HeldModifiers held);

struct HotkeyRowState {
    std::wstring text;  // the edit's text
    int32_t rowKey = 0; // the row's last accepted key
};

struct HotkeySavePlan {
    bool conflict = false;  // two rows show the same text: nothing is saved
    std::vector<std::pair<HotkeyRow, std::wstring>> writes;  // stored forms, in row order
};

// Rows in the order boss, switch, sound.
HotkeySavePlan PlanHotkeySave(const std::array<HotkeyRowState, 3>& rows);

}  // namespace vorel
