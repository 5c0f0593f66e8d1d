// The keyboard hook's decision and the two menus' items.
#include <gtest/gtest.h>

#include "mainwnd/HeldModifiers.h"
#include "mainwnd/HookDecision.h"
#include "mainwnd/MenuItems.h"

using namespace vorel;

namespace {

constexpr unsigned kKeyUp = 0x0101;
constexpr unsigned kSysKeyUp = 0x0105;
constexpr int kF10 = 0x79;
constexpr int kQ = 'Q';
const Hotkey kBossF10{0, kF10};
const Hotkey kSoundCtrlQ{kModCtrl, kQ};

// The modifiers of the moment, counting how often the hook would ask the key state.
struct Modifiers {
    int bits = 0;
    int asked = 0;
    int operator()() {
        ++asked;
        return bits;
    }
};

HookAction Decide(unsigned message, int vk, int tabs, const Hotkey& boss, const Hotkey& sound,
                  Modifiers& mods) {
    return DecideHookAction(message, vk, tabs, boss, sound, [&mods] { return mods(); });
}

}  // namespace

TEST(KeyboardHookDecision, NothingBeforeTheFirstTabAndOnlyOnKeyDowns) {
    Modifiers none, ctrl{kModCtrl};
    EXPECT_EQ(Decide(kMsgKeyDown, kF10, 0, kBossF10, kSoundCtrlQ, none), HookAction::None);
    EXPECT_EQ(Decide(kMsgKeyDown, kQ, 0, kBossF10, kSoundCtrlQ, ctrl), HookAction::None);
    EXPECT_EQ(Decide(kKeyUp, kF10, 1, kBossF10, kSoundCtrlQ, none), HookAction::None);
    EXPECT_EQ(Decide(kSysKeyUp, kF10, 1, kBossF10, kSoundCtrlQ, none), HookAction::None);
    EXPECT_EQ(Decide(kMsgChar, kF10, 1, kBossF10, kSoundCtrlQ, none), HookAction::None);
    EXPECT_EQ(none.asked + ctrl.asked, 0);
    // F10 alone comes as a system key-down; Alt+F10 too.
    EXPECT_EQ(Decide(kMsgSysKeyDown, kF10, 1, kBossF10, kSoundCtrlQ, none),
              HookAction::ToggleHideAll);
    Modifiers alt{kModAlt};
    EXPECT_EQ(Decide(kMsgSysKeyDown, kF10, 3, Hotkey{kModAlt, kF10}, kSoundCtrlQ, alt),
              HookAction::ToggleHideAll);
}

TEST(KeyboardHookDecision, ModifiersMustMatchExactly) {
    const Hotkey ctrlF10{kModCtrl, kF10};
    Modifiers ctrlShift{kModCtrl | kModShift}, ctrl{kModCtrl}, none;
    EXPECT_EQ(Decide(kMsgKeyDown, kF10, 1, ctrlF10, kSoundCtrlQ, ctrlShift), HookAction::None);
    EXPECT_EQ(Decide(kMsgKeyDown, kF10, 1, ctrlF10, kSoundCtrlQ, none), HookAction::None);
    EXPECT_EQ(Decide(kMsgKeyDown, kF10, 1, ctrlF10, kSoundCtrlQ, ctrl), HookAction::ToggleHideAll);
    // Ctrl+Q is the sound key; Q alone or Ctrl+Alt+Q is not.
    Modifiers ctrlAlt{kModCtrl | kModAlt};
    EXPECT_EQ(Decide(kMsgKeyDown, kQ, 2, kBossF10, kSoundCtrlQ, ctrl), HookAction::ToggleMute);
    EXPECT_EQ(Decide(kMsgKeyDown, kQ, 2, kBossF10, kSoundCtrlQ, none), HookAction::None);
    EXPECT_EQ(Decide(kMsgKeyDown, kQ, 2, kBossF10, kSoundCtrlQ, ctrlAlt), HookAction::None);
}

TEST(KeyboardHookDecision, OtherKeysNeverAskTheKeyStateAndAHotkeyAsksItOnce) {
    Modifiers mods{kModCtrl};
    for (int vk = 1; vk < 256; ++vk) {
        if (vk == kF10 || vk == kQ) continue;
        ASSERT_EQ(Decide(kMsgKeyDown, vk, 3, kBossF10, kSoundCtrlQ, mods), HookAction::None) << vk;
    }
    EXPECT_EQ(mods.asked, 0);
    // One hotkey's key with the other's modifiers: asked once, and nothing happens.
    Modifiers shift{kModShift};
    EXPECT_EQ(Decide(kMsgKeyDown, kQ, 1, kBossF10, kSoundCtrlQ, shift), HookAction::None);
    EXPECT_EQ(shift.asked, 1);
}

TEST(KeyboardHookDecision, AHotkeyWithoutAKeyIsOffAndTheBossKeyWinsATie) {
    const Hotkey off = ParseHotkey(L"4,0");
    Modifiers shift{kModShift}, none;
    // Stored "4,0": Shift held, and a key event carrying code 0, still do nothing.
    EXPECT_EQ(Decide(kMsgKeyDown, 0, 1, off, off, shift), HookAction::None);
    EXPECT_EQ(Decide(kMsgKeyDown, kF10, 1, off, kSoundCtrlQ, none), HookAction::None);
    // Both hotkeys on one combination (the settings dialog refuses it; the file may not).
    EXPECT_EQ(Decide(kMsgKeyDown, kF10, 1, kBossF10, kBossF10, none), HookAction::ToggleHideAll);
    // One key with different modifiers for each.
    const Hotkey soundCtrlF10{kModCtrl, kF10};
    Modifiers ctrl{kModCtrl};
    EXPECT_EQ(Decide(kMsgKeyDown, kF10, 1, kBossF10, soundCtrlF10, none),
              HookAction::ToggleHideAll);
    EXPECT_EQ(Decide(kMsgKeyDown, kF10, 1, kBossF10, soundCtrlF10, ctrl), HookAction::ToggleMute);
}

TEST(KeyboardHookModifiers, HeldAsTheHooksOwnEventsHaveThemWhicheverProgramHadTheKeyboard) {
    constexpr int kLCtrl = 0xA2, kRCtrl = 0xA3, kCtrl = 0x11, kLAlt = 0xA4, kTab = 0x09;
    HeldModifiers held;
    held.OnKey(kLCtrl, true);
    held.OnKey(kRCtrl, true);
    held.OnKey(kLCtrl, false);
    EXPECT_EQ(held.Bits(), kModCtrl) << "the right Ctrl is still down";
    held.OnKey(kRCtrl, false);
    EXPECT_EQ(held.Bits(), 0);
    // Alt+Tab: the key-up goes to the program switched to, and the hook sees it all the same.
    held.OnKey(kLAlt, true);
    held.OnKey(kTab, true);
    EXPECT_EQ(held.Bits(), kModAlt);
    held.OnKey(kTab, false);
    held.OnKey(kLAlt, false);
    EXPECT_EQ(held.Bits(), 0) << "Alt stayed down after Alt+Tab";
    // A program's keys may carry the common code; either side's key-up ends that press, and
    // the common code's key-up ends both sides.
    held.OnKey(kCtrl, true);
    held.OnKey(0xA0, true);  // left Shift
    EXPECT_EQ(held.Bits(), kModCtrl | kModShift);
    held.OnKey(kLCtrl, false);
    EXPECT_EQ(held.Bits(), kModShift);
    held.OnKey(kRCtrl, true);
    held.OnKey(0x10, false);  // Shift, common code
    held.OnKey(kCtrl, false);
    EXPECT_EQ(held.Bits(), 0);
}

TEST(MainWindowMenus, BothMenusCarryTheSameCommandsAndDifferOnlyInTheLastItem) {
    const std::vector<MenuEntry> system = MenuEntries(MenuKind::System, kBossF10);
    const std::vector<MenuEntry> tray = MenuEntries(MenuKind::Tray, kBossF10);
    const struct {
        int id;
        const wchar_t* text;
    } common[] = {{1, L"刷新 (F5)"}, {2, L"隐藏/恢复(F10)"}, {3, L"清除缓存"},
                  {0, L""},          {4, L"更新"},           {5, L"设置..."}};
    ASSERT_EQ(system.size(), 7u);
    ASSERT_EQ(tray.size(), 7u);
    for (size_t i = 0; i < 6; ++i) {
        for (const auto* menu : {&system, &tray}) {
            const MenuEntry& e = (*menu)[i];
            EXPECT_EQ(e.id, common[i].id) << i;
            EXPECT_EQ(e.text, common[i].text) << i;
            EXPECT_EQ(e.separator, i == 3) << i;
        }
    }
    EXPECT_EQ(system[6].id, -1);
    EXPECT_EQ(system[6].text, L"版本号: 3.0.0.1");
    EXPECT_EQ(tray[6].id, 6);
    EXPECT_EQ(tray[6].text, L"退出");
    for (const MenuEntry& e : system) EXPECT_NE(e.id, kMenuExit);
}

TEST(MainWindowMenus, TheHideItemShowsTheBossKeyAsStored) {
    EXPECT_EQ(HideAllMenuText(ParseHotkey(L"0,121")), L"隐藏/恢复(F10)");
    EXPECT_EQ(HideAllMenuText(ParseHotkey(L"6,81")), L"隐藏/恢复(Ctrl  +  Shift  +  Q)");
    EXPECT_EQ(HideAllMenuText(ParseHotkey(L"1,121")), L"隐藏/恢复(Alt  +  F10)");
    // Off in every stored form: key 0, no comma, not a number.
    for (const wchar_t* stored : {L"0,0", L"4,0", L"121", L"abc"}) {
        EXPECT_EQ(HideAllMenuText(ParseHotkey(stored)), L"隐藏/恢复(无)") << stored;
    }
    // A key without a name shows its prefixes alone.
    EXPECT_EQ(HideAllMenuText(Hotkey{kModCtrl, 0x6C}), L"隐藏/恢复(Ctrl  +  )");
    EXPECT_EQ(MenuEntries(MenuKind::Tray, Hotkey{})[1].text, L"隐藏/恢复(无)");
}
