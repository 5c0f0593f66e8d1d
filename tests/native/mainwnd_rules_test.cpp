#include <gtest/gtest.h>

#include "mainwnd/MainWindowRules.h"

using namespace vorel;

TEST(MainWindowLayout, CaptionControlsFollowTheRightEdge) {
    const CaptionControls c = LayoutCaptionControls(1280);
    EXPECT_EQ(c.hide, (BlitBox{1166, 0, 27, 27}));
    EXPECT_EQ(c.sound, (BlitBox{1139, 0, 27, 27}));
    EXPECT_EQ(c.system, (BlitBox{1095, 0, 44, 28}));
    EXPECT_EQ(c.link, (BlitBox{995, 7, 92, 16}));
    // The hide button ends where the base's three caption buttons (87 pixels) begin.
    EXPECT_EQ(c.hide.x + c.hide.width, 1280 - 87);
    EXPECT_EQ(PageBox(1280, 1024), (BlitBox{4, 30, 1272, 990}));
}

TEST(MainWindowLayout, MinimumSizeHoldsOnlyWhileTabsExist) {
    int w = 300, h = 100;
    EXPECT_FALSE(RaiseToMinimumSize(0, w, h));
    EXPECT_EQ(w, 300);
    EXPECT_EQ(h, 100);
    EXPECT_TRUE(RaiseToMinimumSize(2, w, h));
    EXPECT_EQ(w, 861);
    EXPECT_EQ(h, 260);
    w = 861;
    h = 260;
    EXPECT_FALSE(RaiseToMinimumSize(2, w, h));
    w = 900;
    h = 259;
    EXPECT_TRUE(RaiseToMinimumSize(3, w, h));
    EXPECT_EQ(w, 1050);
    EXPECT_EQ(h, 260);
    w = 1;
    h = 1;
    EXPECT_TRUE(RaiseToMinimumSize(1, w, h));
    EXPECT_EQ(w, 672);
}

TEST(MainWindowKeyFilter, RulesApplyInOrder) {
    FilterInput in;
    in.switchKey = Hotkey{2, 9};  // Ctrl+Tab
    in.tabCount = 1;

    in.message = kMsgKeyDown;
    in.wParam = 9;
    in.modifiers = 2;
    EXPECT_EQ(ClassifyMainWindowMessage(in), FilterRule::SwitchTab);
    in.message = kMsgSysKeyDown;
    EXPECT_EQ(ClassifyMainWindowMessage(in), FilterRule::SwitchTab);
    // A key the program posted itself is never the switch key; exact modifiers only.
    in.lParam = kOwnMessageMark;
    EXPECT_EQ(ClassifyMainWindowMessage(in), FilterRule::PassOn);
    in.lParam = 0;
    in.modifiers = 2 | 4;
    EXPECT_EQ(ClassifyMainWindowMessage(in), FilterRule::PassOn);
    in.modifiers = 0;

    // Esc and Space key-down are swallowed even without tabs; their key-up is not.
    in.message = kMsgKeyDown;
    in.tabCount = 0;
    for (unsigned vk : {kVkEscape, kVkSpace}) {
        in.wParam = vk;
        EXPECT_EQ(ClassifyMainWindowMessage(in), FilterRule::Swallow);
    }
    in.message = 0x0101;  // WM_KEYUP
    EXPECT_EQ(ClassifyMainWindowMessage(in), FilterRule::PassOn);

    // An Esc that is also the switch key switches.
    in.message = kMsgKeyDown;
    in.wParam = kVkEscape;
    in.switchKey = Hotkey{0, int(kVkEscape)};
    EXPECT_EQ(ClassifyMainWindowMessage(in), FilterRule::SwitchTab);
    in.switchKey = Hotkey{0, 0};  // no switch key: nothing matches it
    EXPECT_EQ(ClassifyMainWindowMessage(in), FilterRule::Swallow);
}

TEST(MainWindowKeyFilter, CloseRestoreAndPageKeys) {
    FilterInput in;
    in.message = kMsgSysCommand;
    in.wParam = kScClose;
    EXPECT_EQ(ClassifyMainWindowMessage(in), FilterRule::CloseRequest);
    in.wParam = kScClose | 2;  // the system's low bits do not change the command
    EXPECT_EQ(ClassifyMainWindowMessage(in), FilterRule::CloseRequest);
    in.wParam = kScRestore;
    EXPECT_EQ(ClassifyMainWindowMessage(in), FilterRule::Restore);
    in.tabCount = 1;
    EXPECT_EQ(ClassifyMainWindowMessage(in), FilterRule::PassOn);

    in.message = kMsgKeyDown;
    in.wParam = kVkF5;
    in.lParam = kOwnMessageMark;
    EXPECT_EQ(ClassifyMainWindowMessage(in), FilterRule::ForwardToPage);
    in.tabCount = 0;
    EXPECT_EQ(ClassifyMainWindowMessage(in), FilterRule::PassOn);

    in.tabCount = 2;
    in.message = kMsgChar;
    in.wParam = 4;
    in.lParam = 0x00200001;
    EXPECT_EQ(ClassifyMainWindowMessage(in), FilterRule::ForwardToPage);
    // A repeated key (bit 30) or another scan code is not Ctrl+D.
    in.lParam = 0x40200001;
    EXPECT_EQ(ClassifyMainWindowMessage(in), FilterRule::PassOn);
    in.lParam = 0x00210001;
    EXPECT_EQ(ClassifyMainWindowMessage(in), FilterRule::PassOn);
    // On 64-bit Windows lParam is wider; only its key data counts.
    EXPECT_TRUE(IsCtrlDCharacter(kMsgChar, 4, 0x00200001));
    EXPECT_FALSE(IsCtrlDCharacter(kMsgChar, 'd', 0x00200001));
    EXPECT_FALSE(IsCtrlDCharacter(kMsgKeyDown, 4, 0x00200001));
}

TEST(MainWindowDecisions, CloseRequests) {
    EXPECT_EQ(DecideCloseRequest(kOwnMessageMark, 0), CloseAction::ExitAll);
    EXPECT_EQ(DecideCloseRequest(kOwnMessageMark, 2), CloseAction::DropPending);
    EXPECT_EQ(DecideCloseRequest(0, 0), CloseAction::TerminatePendingAndExit);
    EXPECT_EQ(DecideCloseRequest(0, 1), CloseAction::Normal);
    // A close from the system menu carries the cursor position: the default handling.
    EXPECT_EQ(DecideCloseRequest(0x00200030, 0), CloseAction::Normal);
}

TEST(MainWindowDecisions, NewTabChoice) {
    EXPECT_EQ(DecideNewTabChoice(1, 0), NewTabAction::StartGame);
    EXPECT_EQ(DecideNewTabChoice(1, 2), NewTabAction::StartGame);
    EXPECT_EQ(DecideNewTabChoice(1, 3), NewTabAction::ShowLimit);
    EXPECT_EQ(DecideNewTabChoice(0, 0), NewTabAction::NewMainWindow);
    EXPECT_EQ(DecideNewTabChoice(0, 3), NewTabAction::NewMainWindow);
    EXPECT_EQ(DecideNewTabChoice(2, 1), NewTabAction::Nothing);
    EXPECT_EQ(SoundButtonImage(true), 148);
    EXPECT_EQ(SoundButtonImage(false), 149);
}

TEST(MainWindowDecisions, GameProcessCommandLine) {
    EXPECT_EQ(
        GameProcessCommandLine(L"C:\\ProgramData\\Vorel\\GameLogin\\TolvVorel.exe", 655432, 2),
        L"\"C:\\ProgramData\\Vorel\\GameLogin\\TolvVorel.exe\" /newgm /655432 /2");
    // A 64-bit handle value keeps all its digits.
    EXPECT_EQ(GameProcessCommandLine(L"a b.exe", 4294967298LL, 0),
              L"\"a b.exe\" /newgm /4294967298 /0");
    // 287 characters fit; one more does not.
    const std::wstring tail = L"\" /newgm /1 /0";
    const std::wstring path(287 - 1 - tail.size(), L'x');
    EXPECT_EQ(GameProcessCommandLine(path, 1, 0).size(), 287u);
    EXPECT_EQ(GameProcessCommandLine(path + L"x", 1, 0), L"");
}
