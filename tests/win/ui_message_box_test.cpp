#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <string>
#include <vector>

#include "fw/Raii.h"
#include "support/WinTestSupport.h"
#include "ui/MessageBoxDlg.h"
#include "support/UiTestSupport.h"

namespace {
const wchar_t kTitle[] = L"Vorel - Tolv";

// Runs `steps` one after another on a timer of this thread while ShowMessageBox is modal; each
// step gets the box's window. The last step must end the box.
class Driver {
public:
    explicit Driver(std::vector<std::function<void(HWND)>> steps) : m_steps(std::move(steps)) {
        s_current = this;
        m_timer = ::SetTimer(nullptr, 0, 30, &Driver::Tick);
    }
    ~Driver() {
        ::KillTimer(nullptr, m_timer);
        s_current = nullptr;
    }
    size_t StepsRun() const { return m_next; }
    HWND Box() const { return m_box; }

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
        Driver* self = s_current;
        if (!self || self->m_next >= self->m_steps.size()) return;
        HWND box = testsupport::VisibleDialogOfThisThread();
        if (!box) return;
        self->m_box = box;
        self->m_steps[self->m_next++](box);
    }

    static Driver* s_current;
    std::vector<std::function<void(HWND)>> m_steps;
    size_t m_next = 0;
    UINT_PTR m_timer = 0;
    HWND m_box = nullptr;
};
Driver* Driver::s_current = nullptr;

void Click(HWND box, int id) { ::SendMessageW(::GetDlgItem(box, id), BM_CLICK, 0, 0); }

void PressKey(HWND box, UINT key) {
    ::PostMessageW(box, WM_KEYDOWN, key, 1);
    ::PostMessageW(box, WM_KEYUP, key, 0xC0000001);
}

std::wstring TextOf(HWND wnd) {
    wchar_t text[64] = L"";
    ::GetWindowTextW(wnd, text, 64);
    return text;
}

RECT RectOf(HWND wnd) {
    RECT r = {};
    ::GetWindowRect(wnd, &r);
    return r;
}
}  // namespace

TEST(SkinMessageBox, YesNoAnswersYesNoAndCancelOnClose) {
    {
        std::wstring yes, no;
        Driver driver({[&](HWND box) {
            yes = TextOf(::GetDlgItem(box, 5000));
            no = TextOf(::GetDlgItem(box, 5001));
            Click(box, 5000);
        }});
        EXPECT_EQ(vorel::ShowMessageBox(4, kTitle, L"窗口即将关闭，确定要退出游戏？", nullptr),
                  IDYES);
        EXPECT_EQ(yes, L"是");
        EXPECT_EQ(no, L"否");
    }
    {
        Driver driver({[](HWND box) { Click(box, 5001); }});
        EXPECT_EQ(vorel::ShowMessageBox(4, kTitle, L"确定要移除 VorelTolv登录器吗？", nullptr),
                  IDNO);
    }
    {
        Driver driver({[](HWND box) { ::PostMessageW(box, WM_CLOSE, 0, 0); }});
        EXPECT_EQ(vorel::ShowMessageBox(4, kTitle, L"确定要退出账号：1服-x-y ?", nullptr),
                  IDCANCEL);
    }
    {
        // The skin's close button goes through SC_CLOSE; so does Alt+F4.
        Driver driver({[](HWND box) { Click(box, 50000); }});
        EXPECT_EQ(vorel::ShowMessageBox(4, kTitle, L"确定？", nullptr), IDCANCEL);
    }
    {
        Driver driver({[](HWND box) { ::PostMessageW(box, WM_SYSCOMMAND, SC_CLOSE, 0); }});
        EXPECT_EQ(vorel::ShowMessageBox(4, kTitle, L"确定？", nullptr), IDCANCEL);
    }
}

TEST(SkinMessageBox, OkCancelAnswersOkOrCancel) {
    {
        std::wstring ok, cancel;
        Driver driver({[&](HWND box) {
            ok = TextOf(::GetDlgItem(box, 5000));
            cancel = TextOf(::GetDlgItem(box, 5001));
            Click(box, 5000);
        }});
        EXPECT_EQ(vorel::ShowMessageBox(1, L"VorelFennik游戏大厅",
                                        L"下载Fennik登录器，玩游戏更加方便快捷，现在就去下载吧？",
                                        nullptr),
                  IDOK);
        EXPECT_EQ(ok, L"确定");
        EXPECT_EQ(cancel, L"取消");
    }
    {
        Driver driver({[](HWND box) { Click(box, 5001); }});
        EXPECT_EQ(vorel::ShowMessageBox(1, kTitle, L"继续？", nullptr), IDCANCEL);
    }
}

TEST(SkinMessageBox, EnterAndEscapeDoNothing) {
    bool stillOpen = false;
    Driver driver({
        [](HWND box) {
            PressKey(box, VK_RETURN);
            PressKey(box, VK_ESCAPE);
            ::SetFocus(::GetDlgItem(box, 5000));
            PressKey(::GetDlgItem(box, 5000), VK_RETURN);
        },
        [&](HWND box) {
            stillOpen = ::IsWindowVisible(box) != FALSE;
            Click(box, 5001);
        },
    });
    EXPECT_EQ(vorel::ShowMessageBox(4, kTitle, L"确定要退出？", nullptr), IDNO);
    EXPECT_EQ(driver.StepsRun(), 2u);
    EXPECT_TRUE(stillOpen);
}

TEST(SkinMessageBox, F10AloneLeavesTheBoxTakingClicks) {
    // Were the box in the mode of its system menu, the click would wait behind it: a watchdog
    // then ends that mode with Esc and closes the box, so that the test ends either way.
    std::atomic<HWND> watched{nullptr};
    fw::ScopedHandle done(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    struct Watch {
        HANDLE done;
        std::atomic<HWND>* box;
        bool fired;
    } watch = {done.get(), &watched, false};
    fw::ScopedHandle watchdog = testsupport::StartThread([w = &watch] {
        if (::WaitForSingleObject(w->done, 5000) == WAIT_OBJECT_0) return;
        w->fired = true;
        ::PostMessageW(*w->box, WM_KEYDOWN, VK_ESCAPE, 1);
        ::Sleep(200);
        ::PostMessageW(*w->box, WM_CLOSE, 0, 0);
    });
    Driver driver({[&](HWND box) {
        watched = box;
        ::PostMessageW(box, WM_SYSKEYDOWN, VK_F10, 0x00440001);
        ::PostMessageW(box, WM_SYSKEYUP, VK_F10, 0xC0440001);
        ::PostMessageW(box, WM_COMMAND, MAKEWPARAM(5001, BN_CLICKED),
                       reinterpret_cast<LPARAM>(::GetDlgItem(box, 5001)));
    }});
    EXPECT_EQ(vorel::ShowMessageBox(4, kTitle, L"确定要退出？", nullptr), IDNO);
    ::SetEvent(done.get());
    ::WaitForSingleObject(watchdog.get(), 10000);
    EXPECT_FALSE(watch.fired) << "the click waited behind the system menu's mode";
}

TEST(SkinMessageBox, OtherTypesShowOneOkButtonOnAWindowSizedFromTheText) {
    for (int type : {0, 2, 3}) {
        RECT box = {}, button = {};
        bool hasSecond = true;
        std::wstring title, label;
        Driver driver({[&](HWND wnd) {
            box = RectOf(wnd);
            button = RectOf(::GetDlgItem(wnd, 5000));
            hasSecond = ::GetDlgItem(wnd, 5001) != nullptr;
            title = TextOf(wnd);
            label = TextOf(::GetDlgItem(wnd, 5000));
            Click(wnd, 5000);
        }});
        EXPECT_EQ(vorel::ShowMessageBox(type, kTitle, L"缓存清除完毕！", nullptr), IDOK) << type;
        EXPECT_FALSE(hasSecond);
        EXPECT_EQ(title, kTitle);
        EXPECT_EQ(label, L"确定");
        // A short text: two button frames of 57 plus 60.
        const int W = box.right - box.left, H = box.bottom - box.top;
        EXPECT_EQ(W, 174);
        EXPECT_EQ(button.right - button.left, 57);
        EXPECT_EQ(button.bottom - button.top, 23);
        EXPECT_EQ(button.left - box.left, (174 - 57) / 2);
        EXPECT_EQ(box.bottom - button.bottom, 30);
        EXPECT_GT(H, 3 + 90 + 23);
    }
}

TEST(SkinMessageBox, HeightFollowsTheLineCountAndAPairIsCentred) {
    RECT one = {}, three = {}, yes = {}, no = {};
    {
        Driver driver({[&](HWND box) {
            one = RectOf(box);
            Click(box, 5000);
        }});
        vorel::ShowMessageBox(0, kTitle, L"第一行", nullptr);
    }
    {
        Driver driver({[&](HWND box) {
            three = RectOf(box);
            yes = RectOf(::GetDlgItem(box, 5000));
            no = RectOf(::GetDlgItem(box, 5001));
            Click(box, 5000);
        }});
        vorel::ShowMessageBox(4, kTitle, L"第一行\n第二行\n第三行", nullptr);
    }
    const int lineHeight = (one.bottom - one.top) - (3 + 90 + 23);
    EXPECT_GT(lineHeight, 8);
    // Three lines: three line heights plus 3 pixels per line.
    EXPECT_EQ(three.bottom - three.top, 3 * lineHeight + 9 + 90 + 23);
    const int middle = (three.left + three.right) / 2;
    EXPECT_EQ(middle - yes.right, 10);
    EXPECT_EQ(no.left - middle, 10);
    EXPECT_EQ(yes.top, no.top);
}

TEST(SkinMessageBox, ABoxWithAParentDisablesItWhileOpenAndCentresOnIt) {
    uitest::HostDialog parent;
    ASSERT_TRUE(parent.Open(300, 200, 600, 400));
    bool parentEnabled = true;
    RECT box = {};
    Driver driver({[&](HWND wnd) {
        parentEnabled = ::IsWindowEnabled(parent.m_hWnd) != FALSE;
        box = RectOf(wnd);
        EXPECT_EQ(::GetWindow(wnd, GW_OWNER), parent.m_hWnd);
        Click(wnd, 5000);
    }});
    EXPECT_EQ(vorel::ShowMessageBox(0, kTitle, L"热键冲突，请重新设置不同热键值", parent.m_hWnd),
              IDOK);
    EXPECT_FALSE(parentEnabled);
    EXPECT_TRUE(::IsWindowEnabled(parent.m_hWnd));
    EXPECT_NEAR((box.left + box.right) / 2, 300 + 300, 1);
    EXPECT_NEAR((box.top + box.bottom) / 2, 200 + 200, 1);
}
