// Counter and hotkey texts as "Statistic.ini" holds them, and what the hotkey dialog saves.
// Numbers: a counter value, a hotkey's modifier and key, then per row a key and the held
// modifiers. Texts: a stored counter, a stored hotkey, a tail appended to both.
#include <array>
#include <cwchar>
#include <memory>

#include "app/CounterValue.h"
#include "app/TextNumber.h"
#include "hotkey/HotkeyEditing.h"
#include "hotkey/HotkeyValue.h"
#include "tests/fuzz/FuzzInput.h"

using namespace vorel;

namespace {

void CheckCounter(const std::wstring& stored, const std::wstring& tail, uint32_t value) {
    const uint32_t next = NextCounterValue(stored);
    // Only the first 31 characters reach the conversion.
    if (stored.size() >= 31) FUZZ_CHECK(NextCounterValue(stored.substr(0, 31) + tail) == next);
    // A counter that the program wrote comes back one higher, up to where the signed
    // conversion saturates.
    const uint32_t expected = value < 0x80000000u ? value + 1 : 0x80000000u;
    FUZZ_CHECK(NextCounterValue(FormatUnsigned(value)) == expected);
    FUZZ_CHECK(FormatUnsigned(value) == std::to_wstring(value));
}

void CheckStoredHotkey(const std::wstring& stored, const std::wstring& tail, Hotkey h) {
    const Hotkey parsed = ParseHotkey(stored);
    const std::wstring formatted = FormatStoredHotkey(parsed);
    FUZZ_CHECK(formatted.size() <= 31);
    const Hotkey again = ParseHotkey(formatted);
    FUZZ_CHECK(again.modifier == parsed.modifier && again.virtualKey == parsed.virtualKey);
    if (stored.size() >= 31) {
        const Hotkey cut = ParseHotkey(stored.substr(0, 31) + tail);
        FUZZ_CHECK(cut.modifier == parsed.modifier && cut.virtualKey == parsed.virtualKey);
    }
    // Any pair of 32-bit values survives the stored form.
    const Hotkey back = ParseHotkey(FormatStoredHotkey(h));
    FUZZ_CHECK(back.modifier == h.modifier && back.virtualKey == h.virtualKey);
}

void CheckKeyNames(int32_t code, int32_t modifier) {
    const std::wstring name = KeyName(code);
    FUZZ_CHECK(name.size() <= 15);
    // Exactly the 16 characters the callers give it, on the heap so that ASan sees the end.
    std::unique_ptr<wchar_t[]> buffer(new wchar_t[16]);
    FUZZ_CHECK(KeyNameFromVk(buffer.get(), code) == buffer.get());
    FUZZ_CHECK(name == buffer.get());
    // Every key that may be assigned can be shown.
    if (IsAssignableKey(code, HotkeyRow::Boss) || IsAssignableKey(code, HotkeyRow::Switch))
        FUZZ_CHECK(!name.empty());
    const std::wstring text = FormatHotkeyText(code, modifier);
    if (code == 0) {
        FUZZ_CHECK(text == L"无");
    } else {
        FUZZ_CHECK(fuzz::EndsWith(text, name));
        FUZZ_CHECK((text.find(L"Ctrl  +  ") == 0) == ((modifier & kModCtrl) != 0));
    }
}

// What the dialog shows after a key press is what it saves.
void CheckDialogRoundTrip(const int32_t keys[3], const HeldModifiers held[3]) {
    const HotkeyRow rows[3] = {HotkeyRow::Boss, HotkeyRow::Switch, HotkeyRow::Sound};
    std::array<HotkeyRowState, 3> states;
    Hotkey expected[3];
    bool written[3] = {};
    for (int i = 0; i < 3; ++i) {
        const CaptureDecision d =
            DecideKeyCapture(KeyMessage::KeyDown, keys[i], &rows[i], 0, held[i]);
        states[i].text = d.setText ? d.text : std::wstring();
        states[i].rowKey = d.rowKey;
        if (!d.setText || d.text.empty() || d.text.back() == L' ') continue;
        written[i] = true;
        if (d.text == L"无") continue;  // cleared: "0,0"
        FUZZ_CHECK(d.rowKey == keys[i] && IsAssignableKey(keys[i], rows[i]));
        expected[i].virtualKey = keys[i];
        expected[i].modifier = (held[i].alt ? kModAlt : 0) | (held[i].ctrl ? kModCtrl : 0) |
                               (held[i].shift ? kModShift : 0);
        FUZZ_CHECK(d.text == FormatHotkeyText(expected[i].virtualKey, expected[i].modifier));
    }
    const HotkeySavePlan plan = PlanHotkeySave(states);
    const bool same = states[0].text == states[1].text || states[0].text == states[2].text ||
                      states[1].text == states[2].text;
    FUZZ_CHECK(plan.conflict == same);
    if (plan.conflict) {
        FUZZ_CHECK(plan.writes.empty());
        return;
    }
    size_t w = 0;
    for (int i = 0; i < 3; ++i) {
        if (!written[i]) continue;
        FUZZ_CHECK(w < plan.writes.size() && plan.writes[w].first == rows[i]);
        const Hotkey saved = ParseHotkey(plan.writes[w].second);
        FUZZ_CHECK(saved.modifier == expected[i].modifier &&
                   saved.virtualKey == expected[i].virtualKey);
        ++w;
    }
    FUZZ_CHECK(w == plan.writes.size());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::FuzzInput input(data, size);
    const uint32_t value = input.Number();
    Hotkey h;
    h.modifier = int32_t(input.Number());
    h.virtualKey = int32_t(input.Number());
    int32_t keys[3];
    HeldModifiers held[3];
    for (int i = 0; i < 3; ++i) {
        const uint32_t n = input.Number();
        keys[i] = int32_t(n & 0xFF);
        held[i].ctrl = (n >> 8) & 1;
        held[i].shift = (n >> 9) & 1;
        held[i].alt = (n >> 10) & 1;
    }
    const std::wstring counter = input.Text();
    const std::wstring hotkey = input.Text();
    const std::wstring tail = input.Text();

    CheckCounter(counter, tail, value);
    CheckStoredHotkey(hotkey, tail, h);
    CheckKeyNames(h.virtualKey, h.modifier);
    CheckKeyNames(h.virtualKey & 0xFF, h.modifier & 7);
    CheckDialogRoundTrip(keys, held);
    return 0;
}
