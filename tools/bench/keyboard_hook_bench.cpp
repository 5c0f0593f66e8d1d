// Benchmark of the keyboard hook procedure, run by `make bench`:
// every key press of the desktop passes through it, so this prints its cost per event for a
// key that is no hotkey, with and without tabs, and for the sound and boss keys.
#include <cstdio>

#include "mainwnd/HookDecision.h"
#include "mainwnd/KeyboardHook.h"
#include "support/BenchClock.h"
#include "support/MainWindowTestSupport.h"

using namespace mwtest;
using testsupport::Now;

namespace {

// Nanoseconds per call of the hook procedure with one key-down event.
double CostPerEvent(DWORD vk, int calls) {
    KBDLLHOOKSTRUCT event = {};
    event.vkCode = vk;
    event.scanCode = MapVirtualKeyW(vk, MAPVK_VK_TO_VSC);
    const UINT message = vk == VK_F10 ? WM_SYSKEYDOWN : WM_KEYDOWN;
    const double start = Now();
    for (int i = 0; i < calls; ++i) {
        vorel::KeyboardHookProc(HC_ACTION, message, reinterpret_cast<LPARAM>(&event));
    }
    return (Now() - start) * 1e9 / calls;
}

// The decision alone, without passing the event on: what is ours of the cost above.
double DecisionCost(const vorel::CAmbrel3Dlg& main, int vk, int calls) {
    int toggles = 0;
    const double start = Now();
    for (int i = 0; i < calls; ++i) {
        toggles += vorel::DecideHookAction(WM_KEYDOWN, vk, main.TabCount(), main.m_bossKey,
                                           main.m_soundKey,
                                           &vorel::HookModifierBits) != vorel::HookAction::None;
    }
    const double ns = (Now() - start) * 1e9 / calls;
    return toggles >= 0 ? ns : 0;
}

class KeyboardHookBench : public MainWindowTest {};

}  // namespace

TEST_F(KeyboardHookBench, HookProcedureCostPerEvent) {
    constexpr int kCalls = 20000;  // even: the sound key leaves the flag as it was
    const double noTab = CostPerEvent('A', kCalls);
    LogIn(m_first, L"1服-龙城-alice");
    const double other = CostPerEvent('A', kCalls);
    const double otherDecision = DecisionCost(*m_dlg, 'A', 1000000);
    const double letterOfSoundKey = CostPerEvent('Q', kCalls);  // Q without Ctrl
    const double letterDecision = DecisionCost(*m_dlg, 'Q', kCalls);
    // Ctrl as the hook sees it go down. Each sound or boss key posts its action, which the
    // window carries out afterwards: fewer calls, so that the posts fit the queue.
    constexpr int kPostingCalls = 2000;  // even: the flag ends as it was
    KBDLLHOOKSTRUCT ctrl = {};
    ctrl.vkCode = VK_LCONTROL;
    vorel::KeyboardHookProc(HC_ACTION, WM_KEYDOWN, reinterpret_cast<LPARAM>(&ctrl));
    const double sound = CostPerEvent('Q', kPostingCalls);
    vorel::KeyboardHookProc(HC_ACTION, WM_KEYUP, reinterpret_cast<LPARAM>(&ctrl));
    Pump();
    EXPECT_FALSE(m_dlg->m_muted);
    const double boss = CostPerEvent(VK_F10, 20);
    Pump(300);
    EXPECT_TRUE(IsWindowVisible(Main()));
    std::printf("keyboard hook, per key-down event:\n");
    std::printf("  no tab yet                       %8.0f ns\n", noTab);
    std::printf("  a key of no hotkey               %8.0f ns\n", other);
    std::printf("  the sound key's letter alone     %8.0f ns\n", letterOfSoundKey);
    std::printf("  the sound key (action posted)    %8.0f ns\n", sound);
    std::printf("  the boss key (action posted)     %8.0f ns\n", boss);
    std::printf("of which the decision alone (without CallNextHookEx):\n");
    std::printf("  a key of no hotkey               %8.1f ns\n", otherDecision);
    std::printf("  the sound key's letter alone     %8.0f ns  (held modifiers)\n", letterDecision);
}
