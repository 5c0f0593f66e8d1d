// The three global hotkeys: stored form, key names and display text.
#pragma once
#include <cstdint>
#include <string>

namespace vorel {

// Modifier bits as stored.
constexpr int kModAlt = 1;
constexpr int kModCtrl = 2;
constexpr int kModShift = 4;

struct Hotkey {
    int32_t modifier = 0;
    int32_t virtualKey = 0;  // 0: no hotkey
};

enum class HotkeyRow { Boss, Switch, Sound };

// "modifier,key" in decimal; a text without a comma is the modifier alone.
Hotkey ParseHotkey(const std::wstring& stored);
std::wstring FormatStoredHotkey(const Hotkey& hotkey);

// "无" for key 0; otherwise "Ctrl  +  ", "Shift  +  ", "Alt  +  " as set, then the key name.
std::wstring FormatHotkeyText(int32_t virtualKey, int32_t modifier);

// Writes the key's name (at most 15 characters, NUL-terminated) into a buffer of 16;
// an empty text for codes without a name. Does nothing and returns null without a buffer.
wchar_t* KeyNameFromVk(wchar_t* buffer, int32_t code);
std::wstring KeyName(int32_t code);

// Whether a key may be the key part of a hotkey; Tab only for the window-switch key.
bool IsAssignableKey(int32_t code, HotkeyRow row = HotkeyRow::Boss);

// The stored key, its default and the ini key of each row.
const wchar_t* HotkeyIniKey(HotkeyRow row);
const wchar_t* HotkeyDefault(HotkeyRow row);

}  // namespace vorel
