#include "hotkey/HotkeyValue.h"

#include <cwchar>

#include "app/TextNumber.h"

namespace vorel {

namespace {

constexpr size_t kStoredCapacity = 32;
constexpr size_t kNameCapacity = 16;

const wchar_t* NamedKey(int32_t code) {
    switch (code) {
        case 0x08: return L"Back";
        case 0x09: return L"Tab";
        case 0x0D: return L"Enter";
        case 0x10: return L"Shift";
        case 0x11: return L"Ctrl";
        case 0x12: return L"Alt";
        case 0x13: return L"Pause Break";
        case 0x14: return L"Caps";
        case 0x1B: return L"Esc";
        case 0x21: return L"Page Up";
        case 0x22: return L"Page Down";
        case 0x23: return L"End";
        case 0x24: return L"Home";
        case 0x25: return L"Left";
        case 0x26: return L"Up";
        case 0x27: return L"Right";
        case 0x28: return L"Down";
        case 0x2D: return L"Insert";
        case 0x2E: return L"Del";
        case 0x5B: return L"LWin";
        case 0x5C: return L"RWin";
        case 0x6A: return L"Num *";
        case 0x6B: return L"Num +";
        case 0x6D: return L"Num -";
        case 0x6E: return L"Num Del";
        case 0x6F: return L"Num /";
        case 0x90: return L"Num Lock";
        case 0x91: return L"Scroll Lock";
        case 0xBA: return L";";
        case 0xBB: return L"+";
        case 0xBC: return L",";
        case 0xBD: return L"-";
        case 0xBE: return L".";
        case 0xBF: return L"/";
        case 0xC0: return L"`";
        case 0xDB: return L"[";
        case 0xDC: return L"\\";
        case 0xDD: return L"]";
        case 0xDE: return L"'";
        default: return nullptr;
    }
}

}  // namespace

Hotkey ParseHotkey(const std::wstring& stored) {
    const std::wstring text = TruncateToBuffer(stored, kStoredCapacity);
    Hotkey h;
    const size_t comma = text.find(L',');
    if (comma == std::wstring::npos) {
        h.modifier = WideToLong(text.c_str());
        return h;
    }
    h.modifier = WideToLong(text.substr(0, comma).c_str());
    h.virtualKey = WideToLong(text.c_str() + comma + 1);
    return h;
}

std::wstring FormatStoredHotkey(const Hotkey& hotkey) {
    std::wstring text = FormatInteger(hotkey.modifier) + L"," + FormatInteger(hotkey.virtualKey);
    return TruncateToBuffer(text, kStoredCapacity);
}

std::wstring KeyName(int32_t code) {
    if (const wchar_t* name = NamedKey(code)) return name;
    if (code >= 0x30 && code <= 0x39) return std::wstring(1, wchar_t(code));
    if (code >= 0x41 && code <= 0x5A) return std::wstring(1, wchar_t(code));
    if (code >= 0x60 && code <= 0x69) return L"Num " + std::wstring(1, wchar_t(L'0' + code - 0x60));
    if (code >= 0x70 && code <= 0x7B) return L"F" + FormatInteger(code - 0x70 + 1);
    return std::wstring();
}

wchar_t* KeyNameFromVk(wchar_t* buffer, int32_t code) {
    if (buffer == nullptr) return nullptr;
    const std::wstring name = TruncateToBuffer(KeyName(code), kNameCapacity);
    std::wmemcpy(buffer, name.c_str(), name.size() + 1);
    return buffer;
}

bool IsAssignableKey(int32_t code, HotkeyRow row) {
    if (code == 0x09) return row == HotkeyRow::Switch;
    return code == 0x14 || (code >= 0x21 && code <= 0x28) || code == 0x2D ||
           (code >= 0x30 && code <= 0x39) || (code >= 0x41 && code <= 0x5A) ||
           (code >= 0x60 && code <= 0x6B) || (code >= 0x6D && code <= 0x6F) ||
           (code >= 0x70 && code <= 0x7A) || code == 0x90 || (code >= 0xBA && code <= 0xC0) ||
           (code >= 0xDB && code <= 0xDE);
}

std::wstring FormatHotkeyText(int32_t virtualKey, int32_t modifier) {
    if (virtualKey == 0) return L"无";
    std::wstring text;
    if (modifier & kModCtrl) text += L"Ctrl  +  ";
    if (modifier & kModShift) text += L"Shift  +  ";
    if (modifier & kModAlt) text += L"Alt  +  ";
    return text + KeyName(virtualKey);
}

const wchar_t* HotkeyIniKey(HotkeyRow row) {
    switch (row) {
        case HotkeyRow::Switch: return L"AltWndKey";
        case HotkeyRow::Sound: return L"SndKey";
        default: return L"ShortKey";
    }
}

const wchar_t* HotkeyDefault(HotkeyRow row) {
    switch (row) {
        case HotkeyRow::Switch: return L"2,9";
        case HotkeyRow::Sound: return L"2,81";
        default: return L"0,121";
    }
}

}  // namespace vorel
