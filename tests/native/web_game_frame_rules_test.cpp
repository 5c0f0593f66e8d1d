#include "web/GameFrameRules.h"

#include <gtest/gtest.h>

using namespace vorel;
using namespace vorel::sys;

namespace {

// The default hotkeys: boss F10, window switch Ctrl+Tab, sound Ctrl+Q.
FrameKeyInput Key(unsigned message, uintptr_t wParam, intptr_t lParam = 1, int mods = 0) {
    FrameKeyInput in;
    in.message = message;
    in.wParam = wParam;
    in.lParam = lParam;
    in.modifiersDown = mods;
    in.bossKey = {0, 121};
    in.switchKey = {kModCtrl, 9};
    in.soundKey = {kModCtrl, 81};
    in.viewExists = true;
    return in;
}

constexpr intptr_t kDScanCode = 0x20 << 16;

}  // namespace

TEST(FrameKeys, TheWindowSwitchKeyGoesToTheMainWindow) {
    EXPECT_EQ(DecideFrameKey(Key(kKeyDown, 9, 1, kModCtrl)), FrameKeyAction::ForwardToParent);
    EXPECT_EQ(DecideFrameKey(Key(kSysKeyDown, 9, 1, kModCtrl)), FrameKeyAction::ForwardToParent);
    // The modifiers must be exactly those of the hotkey.
    EXPECT_EQ(DecideFrameKey(Key(kKeyDown, 9, 1, kModCtrl | kModShift)), FrameKeyAction::PassOn);
    EXPECT_EQ(DecideFrameKey(Key(kKeyDown, 9, 1, 0)), FrameKeyAction::PassOn);
    // Our own messages are not the player's keys.
    EXPECT_EQ(DecideFrameKey(Key(kKeyDown, 9, kOwnMessageMark, kModCtrl)), FrameKeyAction::PassOn);
    // Without a window-switch key nothing is forwarded, not even virtual key 0.
    FrameKeyInput none = Key(kKeyDown, 0, 1, 0);
    none.switchKey = {0, 0};
    EXPECT_EQ(DecideFrameKey(none), FrameKeyAction::PassOn);
    // A switch key of F5 wins over the reload.
    FrameKeyInput f5 = Key(kKeyDown, kVkF5);
    f5.switchKey = {0, static_cast<int32_t>(kVkF5)};
    EXPECT_EQ(DecideFrameKey(f5), FrameKeyAction::ForwardToParent);
}

TEST(FrameKeys, CtrlDOpensTheFavouritesOnlyFromTheDKeyWithoutFlags) {
    EXPECT_EQ(DecideFrameKey(Key(kChar, 4, kDScanCode | 1)), FrameKeyAction::OpenFavorites);
    // A repeat (bit 30), another scan code, or another character: not the favourite.
    EXPECT_EQ(DecideFrameKey(Key(kChar, 4, kDScanCode | (1 << 30) | 1)), FrameKeyAction::PassOn);
    EXPECT_EQ(DecideFrameKey(Key(kChar, 4, (0x21 << 16) | 1)), FrameKeyAction::PassOn);
    EXPECT_EQ(DecideFrameKey(Key(kChar, 'd', kDScanCode | 1)), FrameKeyAction::PassOn);
    EXPECT_EQ(DecideFrameKey(Key(kKeyDown, 4, kDScanCode | 1)), FrameKeyAction::PassOn);
}

TEST(FrameKeys, F5ReloadsUnlessItIsTheBossOrSoundKey) {
    EXPECT_EQ(DecideFrameKey(Key(kKeyDown, kVkF5)), FrameKeyAction::Reload);
    EXPECT_EQ(DecideFrameKey(Key(kKeyDown, kVkF5, kOwnMessageMark)), FrameKeyAction::Reload);
    // Not before the view exists.
    FrameKeyInput noView = Key(kKeyDown, kVkF5);
    noView.viewExists = false;
    EXPECT_EQ(DecideFrameKey(noView), FrameKeyAction::PassOn);
    // A system key-down of F5 is not a reload.
    EXPECT_EQ(DecideFrameKey(Key(kSysKeyDown, kVkF5)), FrameKeyAction::PassOn);

    for (bool boss : {true, false}) {
        FrameKeyInput in = Key(kKeyDown, kVkF5);
        (boss ? in.bossKey : in.soundKey) = {0, static_cast<int32_t>(kVkF5)};
        EXPECT_EQ(DecideFrameKey(in), FrameKeyAction::Swallow) << boss;
        // The main window's own F5 reloads even then.
        in.lParam = kOwnMessageMark;
        EXPECT_EQ(DecideFrameKey(in), FrameKeyAction::Reload) << boss;
    }
    // Ctrl+F5 as the boss key does not make plain F5 a hotkey.
    FrameKeyInput ctrlBoss = Key(kKeyDown, kVkF5);
    ctrlBoss.bossKey = {kModCtrl, static_cast<int32_t>(kVkF5)};
    EXPECT_EQ(DecideFrameKey(ctrlBoss), FrameKeyAction::Reload);
}

TEST(FrameKeys, CloseRequestsStartTheMessageBoxTimerAndPassOn) {
    EXPECT_EQ(DecideFrameKey(Key(kSysCommand, kScClose, 0)), FrameKeyAction::CloseSeen);
    EXPECT_EQ(DecideFrameKey(Key(kSysCommand, kScClose, kOwnMessageMark)),
              FrameKeyAction::CloseSeen);
    EXPECT_EQ(DecideFrameKey(Key(kSysCommand, 0xF020, 0)), FrameKeyAction::PassOn);
    EXPECT_EQ(DecideFrameKey(Key(0x0200, 0, 0)), FrameKeyAction::PassOn);
}

TEST(MuteRequests, TheFirstAlwaysAppliesRepeatsDoNot) {
    for (bool first : {true, false}) {
        MuteState state;
        EXPECT_TRUE(state.Request(first));
        EXPECT_EQ(state.Muted(), first);
        EXPECT_FALSE(state.Request(first));
        EXPECT_TRUE(state.Request(!first));
        EXPECT_FALSE(state.Request(!first));
        EXPECT_EQ(state.Muted(), !first);
    }
}

TEST(GameFrame, FitsBelowTheTabStripWithAMargin) {
    FrameRect r = FitIntoMainWindow({0, 0, 1000, 700});
    EXPECT_EQ(r.left, 4);
    EXPECT_EQ(r.top, 30);
    EXPECT_EQ(r.right, 996);
    EXPECT_EQ(r.bottom, 696);
}

TEST(GameFrame, OnlyTheHallKeepsBorderAndScrollBarsAndAnnouncesItselfWithOne) {
    const std::wstring hall = L"http://h/webgame.htm";
    EXPECT_EQ(GameViewHostFlags(0x10, hall, hall), 0x10u);
    EXPECT_EQ(GameViewHostFlags(0x10, L"http://g/play", hall), 0x1Cu);
    // Exact comparison: another spelling of the hall is a game.
    EXPECT_EQ(GameViewHostFlags(0, L"HTTP://h/webgame.htm", hall), 0xCu);
    EXPECT_EQ(FrameAnnouncementKind(hall, hall), 1);
    EXPECT_EQ(FrameAnnouncementKind(L"http://g/play", hall), 0);
}
