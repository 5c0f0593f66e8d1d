#include "hotkey/HotkeySettings.h"

#include "app/SettingsStore.h"

namespace vorel {

Hotkey ReadHotkeySetting(HotkeyRow row) {
    return ParseHotkey(ReadSetting(HotkeyIniKey(row), HotkeyDefault(row), 32));
}

void WriteHotkeySetting(HotkeyRow row, const std::wstring& storedForm) {
    WriteSetting(HotkeyIniKey(row), storedForm.c_str());
}

}  // namespace vorel
