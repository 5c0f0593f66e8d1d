// The stored hotkeys, read from "Statistic.ini" beside the executable.
#pragma once
#include "hotkey/HotkeyValue.h"

namespace vorel {

Hotkey ReadHotkeySetting(HotkeyRow row);
inline Hotkey ReadBossKeySetting() { return ReadHotkeySetting(HotkeyRow::Boss); }
inline Hotkey ReadSwitchKeySetting() { return ReadHotkeySetting(HotkeyRow::Switch); }
inline Hotkey ReadSoundKeySetting() { return ReadHotkeySetting(HotkeyRow::Sound); }

void WriteHotkeySetting(HotkeyRow row, const std::wstring& storedForm);

}  // namespace vorel
