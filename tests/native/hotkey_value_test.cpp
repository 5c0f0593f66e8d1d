#include "hotkey/HotkeyEditing.h"
#include "hotkey/HotkeyValue.h"

#include <gtest/gtest.h>

#include <cwchar>

using namespace vorel;

TEST(HotkeyValue, ParsesTheStoredForm) {
    Hotkey h = ParseHotkey(L"2,81");
    EXPECT_EQ(h.modifier, 2);
    EXPECT_EQ(h.virtualKey, 81);
    h = ParseHotkey(L"121");  // no comma: the modifier alone
    EXPECT_EQ(h.modifier, 121);
    EXPECT_EQ(h.virtualKey, 0);
    h = ParseHotkey(L"abc");
    EXPECT_EQ(h.modifier, 0);
    EXPECT_EQ(h.virtualKey, 0);
    h = ParseHotkey(L" 6 , 65x,7");
    EXPECT_EQ(h.modifier, 6);
    EXPECT_EQ(h.virtualKey, 65);
    h = ParseHotkey(L",");
    EXPECT_EQ(h.modifier, 0);
    EXPECT_EQ(h.virtualKey, 0);
    // Only 31 characters are read: a key pushed past them is lost.
    h = ParseHotkey(std::wstring(30, L'0') + L"2,81");
    EXPECT_EQ(h.modifier, 2);
    EXPECT_EQ(h.virtualKey, 0);
    EXPECT_EQ(FormatStoredHotkey({6, 81}), L"6,81");
}

TEST(HotkeyValue, DisplayTextUsesTwoSpaceSeparatorsInFixedOrder) {
    EXPECT_EQ(FormatHotkeyText(0x79, 0), L"F10");
    EXPECT_EQ(FormatHotkeyText(0x09, 2), L"Ctrl  +  Tab");
    EXPECT_EQ(FormatHotkeyText(0x51, 7), L"Ctrl  +  Shift  +  Alt  +  Q");
    EXPECT_EQ(FormatHotkeyText(0x51, 6), L"Ctrl  +  Shift  +  Q");
    EXPECT_EQ(FormatHotkeyText(0, 4), L"无");
    EXPECT_EQ(FormatHotkeyText(0x6C, 2), L"Ctrl  +  ");
    EXPECT_EQ(FormatHotkeyText(0x6C, 0), L"");
}

TEST(HotkeyValue, KeyNamesFollowTheTable) {
    EXPECT_EQ(KeyName(0x13), L"Pause Break");
    EXPECT_EQ(KeyName(0x30), L"0");
    EXPECT_EQ(KeyName(0x5A), L"Z");
    EXPECT_EQ(KeyName(0x60), L"Num 0");
    EXPECT_EQ(KeyName(0x69), L"Num 9");
    EXPECT_EQ(KeyName(0x6C), L"");
    EXPECT_EQ(KeyName(0x6E), L"Num Del");
    EXPECT_EQ(KeyName(0x7B), L"F12");
    EXPECT_EQ(KeyName(0x7C), L"");
    EXPECT_EQ(KeyName(0xBB), L"+");
    EXPECT_EQ(KeyName(0xDC), L"\\");
    EXPECT_EQ(KeyName(0xDE), L"'");
    EXPECT_EQ(KeyName(-1), L"");
    EXPECT_EQ(KeyName(0x10000 + 0x41), L"");
    for (int code = 0; code < 256; ++code) EXPECT_LE(KeyName(code).size(), 15u) << code;

    wchar_t buffer[16];
    std::wmemset(buffer, L'#', 16);
    EXPECT_EQ(KeyNameFromVk(buffer, 0x91), buffer);
    EXPECT_STREQ(buffer, L"Scroll Lock");
    EXPECT_EQ(KeyNameFromVk(buffer, 0x07), buffer);
    EXPECT_STREQ(buffer, L"");
    EXPECT_EQ(KeyNameFromVk(nullptr, 0x41), nullptr);
}

TEST(HotkeyValue, AssignableKeys) {
    for (int code : {0x14, 0x21, 0x28, 0x2D, 0x30, 0x41, 0x5A, 0x60, 0x6B, 0x6D, 0x6F, 0x70, 0x7A,
                     0x90, 0xBA, 0xC0, 0xDB, 0xDE})
        EXPECT_TRUE(IsAssignableKey(code)) << code;
    for (int code : {0x08, 0x0D, 0x10, 0x11, 0x12, 0x13, 0x1B, 0x2E, 0x5B, 0x5C, 0x6C, 0x7B, 0x91,
                     0xC1, 0xDF, 0})
        EXPECT_FALSE(IsAssignableKey(code)) << code;
    EXPECT_FALSE(IsAssignableKey(0x09, HotkeyRow::Boss));
    EXPECT_FALSE(IsAssignableKey(0x09, HotkeyRow::Sound));
    EXPECT_TRUE(IsAssignableKey(0x09, HotkeyRow::Switch));
    EXPECT_FALSE(IsAssignableKey(0x7B, HotkeyRow::Switch));
}

TEST(HotkeyCapture, EscAndEnterAreSwallowedAnywhere) {
    for (int vk : {0x1B, 0x0D}) {
        CaptureDecision d = DecideKeyCapture(KeyMessage::KeyDown, vk, nullptr, 0, {});
        EXPECT_TRUE(d.swallow);
        EXPECT_FALSE(d.setText);
    }
    // Without a focused row other keys pass on.
    EXPECT_FALSE(DecideKeyCapture(KeyMessage::KeyDown, 0x41, nullptr, 0, {}).swallow);
}

TEST(HotkeyCapture, OnlyF10AndAltOfTheSystemKeysAreLookedAt) {
    const HotkeyRow boss = HotkeyRow::Boss;
    EXPECT_FALSE(DecideKeyCapture(KeyMessage::SysKeyDown, 0x41, &boss, 0, {false, false, true}).swallow);
    CaptureDecision d = DecideKeyCapture(KeyMessage::SysKeyDown, 0x79, &boss, 0, {false, false, true});
    EXPECT_TRUE(d.swallow);
    EXPECT_EQ(d.text, L"Alt  +  F10");
    EXPECT_EQ(d.rowKey, 0x79);
    d = DecideKeyCapture(KeyMessage::SysKeyDown, 0x12, &boss, 5, {false, false, true});
    EXPECT_EQ(d.text, L"Alt  +  ");
    EXPECT_EQ(d.rowKey, 5);
    EXPECT_FALSE(DecideKeyCapture(KeyMessage::Other, 0x41, &boss, 0, {}).swallow);
}

TEST(HotkeyCapture, RowsClearAcceptOrKeepTheirKey) {
    const HotkeyRow boss = HotkeyRow::Boss, sw = HotkeyRow::Switch, sound = HotkeyRow::Sound;
    CaptureDecision d = DecideKeyCapture(KeyMessage::KeyDown, 0x08, &boss, 0x79, {});
    EXPECT_EQ(d.text, L"无");
    EXPECT_EQ(d.rowKey, 0x79);  // the integer is not changed
    EXPECT_EQ(DecideKeyCapture(KeyMessage::KeyDown, 0x7B, &sound, 81, {}).text, L"无");
    // F12 in the switch row: only the held modifiers, previous key kept.
    d = DecideKeyCapture(KeyMessage::KeyDown, 0x7B, &sw, 9, {true, false, false});
    EXPECT_EQ(d.text, L"Ctrl  +  ");
    EXPECT_EQ(d.rowKey, 9);
    d = DecideKeyCapture(KeyMessage::KeyDown, 0x7B, &sw, 9, {});
    EXPECT_EQ(d.text, L"");
    d = DecideKeyCapture(KeyMessage::KeyDown, 0x51, &sound, 0, {true, true, false});
    EXPECT_EQ(d.text, L"Ctrl  +  Shift  +  Q");
    EXPECT_EQ(d.rowKey, 0x51);
    EXPECT_EQ(DecideKeyCapture(KeyMessage::KeyDown, 0x09, &sw, 0, {true, false, false}).text,
              L"Ctrl  +  Tab");
    EXPECT_EQ(DecideKeyCapture(KeyMessage::KeyDown, 0x09, &boss, 0, {true, false, false}).text,
              L"Ctrl  +  ");
    EXPECT_EQ(DecideKeyCapture(KeyMessage::KeyDown, 0x10, &boss, 0, {false, true, false}).text,
              L"Shift  +  ");
}

TEST(HotkeySave, ConflictsSaveNothing) {
    HotkeySavePlan p = PlanHotkeySave({{{L"Ctrl  +  Q", 0x51}, {L"Ctrl  +  Tab", 9}, {L"Ctrl  +  Q", 0x51}}});
    EXPECT_TRUE(p.conflict);
    EXPECT_TRUE(p.writes.empty());
    EXPECT_TRUE(PlanHotkeySave({{{L"无", 0}, {L"无", 0}, {L"F1", 0x70}}}).conflict);
}

TEST(HotkeySave, RowsAreWrittenUnlessOnlyModifiersWerePressed) {
    HotkeySavePlan p =
        PlanHotkeySave({{{L"无", 0x79}, {L"Shift  +  ", 9}, {L"Ctrl  +  Shift  +  Alt  +  Q", 0x51}}});
    ASSERT_FALSE(p.conflict);
    ASSERT_EQ(p.writes.size(), 2u);
    EXPECT_EQ(p.writes[0].first, HotkeyRow::Boss);
    EXPECT_EQ(p.writes[0].second, L"0,0");
    EXPECT_EQ(p.writes[1].first, HotkeyRow::Sound);
    EXPECT_EQ(p.writes[1].second, L"7,81");
    p = PlanHotkeySave({{{L"", 0}, {L"Ctrl  +  Tab", 9}, {L"F10", 0x79}}});
    ASSERT_EQ(p.writes.size(), 2u);
    EXPECT_EQ(p.writes[0].second, L"2,9");
    EXPECT_EQ(p.writes[1].second, L"0,121");
}
