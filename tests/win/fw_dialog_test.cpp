// Dialogs of the framework from in-memory templates: the modal loop, owner disabling, the
// pre-translation chain inside the loop, the message-result convention, data exchange and
// modeless dialogs.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "fw/App.h"
#include "fw/Dialog.h"
#include "fw/Raii.h"
#include "support/FwTestSupport.h"

using fwtest::PumpPending;

namespace {

const wchar_t kOwnerClass[] = L"fwtest.Owner";
const int kEditId = 100;
const int kStaticId = 101;
const UINT_PTR kSafetyTimer = 99;
const INT_PTR kSafetyResult = 999;
const UINT kEndWith = WM_APP + 1;  // wParam: the result

// A dialog template in memory: an edit, a static, an OK (default) and a Cancel button.
class TestTemplate {
public:
    TestTemplate() {
        DLGTEMPLATE dialog = {};
        dialog.style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
        dialog.cx = 160;
        dialog.cy = 80;
        Append(&dialog, sizeof(dialog));
        m_words.push_back(0);  // no menu
        m_words.push_back(0);  // the dialog class
        AppendText(L"test");
        AddItem(0x0081, WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL, L"",
                kEditId, 4, 4, 100, 12);
        AddItem(0x0082, WS_CHILD | WS_VISIBLE, L"label", kStaticId, 4, 20, 100, 10);
        AddItem(0x0080, WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, L"OK", IDOK, 4, 60,
                40, 14);
        AddItem(0x0080, WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, L"Cancel", IDCANCEL, 50,
                60, 40, 14);
    }
    const DLGTEMPLATE* get() const { return reinterpret_cast<const DLGTEMPLATE*>(m_words.data()); }

private:
    void Append(const void* data, size_t bytes) {
        const size_t at = m_words.size();
        m_words.resize(at + bytes / sizeof(WORD));
        std::memcpy(&m_words[at], data, bytes);
    }
    void AppendText(const wchar_t* text) {
        for (; *text; ++text) m_words.push_back(static_cast<WORD>(*text));
        m_words.push_back(0);
    }
    void AddItem(WORD classAtom, DWORD style, const wchar_t* text, WORD id, short x, short y,
                 short cx, short cy) {
        if (m_words.size() % 2) m_words.push_back(0);  // items start on a DWORD boundary
        DLGITEMTEMPLATE item = {};
        item.style = style;
        item.x = x;
        item.y = y;
        item.cx = cx;
        item.cy = cy;
        item.id = id;
        Append(&item, sizeof(item));
        m_words.push_back(0xFFFF);
        m_words.push_back(classAtom);
        AppendText(text);
        m_words.push_back(0);  // no creation data
        ++reinterpret_cast<DLGTEMPLATE*>(m_words.data())->cdit;
    }
    std::vector<WORD> m_words;
};

class BoundControl : public fw::Wnd {
public:
    explicit BoundControl(std::vector<std::wstring>* log) : m_log(log) {}
    void PreSubclassWindow() override { m_log->push_back(L"control presubclass"); }
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg == WM_SETTEXT) m_log->push_back(L"control settext");
        return fw::Wnd::WindowProc(msg, wParam, lParam);
    }
    std::vector<std::wstring>* m_log;
};

class TestDialog : public fw::Dialog {
public:
    explicit TestDialog(const TestTemplate& t, HWND parent = nullptr)
        : fw::Dialog(t.get(), parent), control(&log) {}

    BOOL OnInitDialog() override {
        const BOOL focusDefault = fw::Dialog::OnInitDialog();
        log.push_back(L"init");
        if (modal) SetTimer(kSafetyTimer, 5000);
        if (onInit) onInit(*this);
        return focusDefault;
    }
    void DoDataExchange() override {
        if (bindEdit) boundAtInit = AttachControl(kEditId, control);
    }
    BOOL PreTranslateMessage(MSG* msg) override {
        if (msg->message == WM_KEYDOWN) {
            log.push_back(L"pre " + std::to_wstring(msg->wParam) +
                          (msg->hwnd == GetDlgItem(kEditId) ? L" edit" : L" other"));
            return msg->wParam == swallowKey;
        }
        return FALSE;
    }
    void OnCancel() override {
        log.push_back(L"cancel");
        fw::Dialog::OnCancel();
    }
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override {
        switch (msg) {
            case WM_TIMER:
                if (wParam == kSafetyTimer) EndDialog(kSafetyResult);
                if (onTimer) onTimer(*this, wParam);
                return 0;
            case kEndWith:
                EndDialog(static_cast<INT_PTR>(wParam));
                return 0;
            case WM_CTLCOLORSTATIC:
                return reinterpret_cast<LRESULT>(GetStockObject(BLACK_BRUSH));
            case WM_SETTEXT: {
                // Default processing runs now, not after we return.
                const LRESULT result = DefWindowProc(msg, wParam, lParam);
                textAfterDefault = GetWindowText();
                return result;
            }
        }
        return fw::Dialog::WindowProc(msg, wParam, lParam);
    }
    void PostNcDestroy() override {
        if (deleteSelf) {
            *deletedFlag = true;
            delete this;
        }
    }

    std::vector<std::wstring> log;
    std::function<void(TestDialog&)> onInit;
    std::function<void(TestDialog&, WPARAM)> onTimer;
    BoundControl control;
    bool modal = true;
    bool bindEdit = false;
    BOOL boundAtInit = FALSE;
    WPARAM swallowKey = 0;
    std::wstring textAfterDefault;
    bool deleteSelf = false;
    bool* deletedFlag = nullptr;
};

class FwDialog : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(fw::Wnd::RegisterClassOnce(kOwnerClass));
        ASSERT_TRUE(owner.CreateEx(0, kOwnerClass, L"owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                                   400, 300, nullptr, nullptr));
    }
    void TearDown() override { PumpPending(); }
    TestTemplate tmpl;
    fw::Wnd owner;
};

}  // namespace

TEST_F(FwDialog, ModalLoopDisablesTheOwnerUntilEndDialogAndReturnsItsValue) {
    TestDialog dialog(tmpl, owner.m_hWnd);
    HWND dialogWnd = nullptr;
    BOOL ownerEnabledDuring = TRUE;
    BOOL visibleDuring = FALSE;
    dialog.onInit = [&](TestDialog& d) {
        dialogWnd = d.m_hWnd;
        d.SetTimer(1, 10);
    };
    dialog.onTimer = [&](TestDialog& d, WPARAM id) {
        if (id != 1) return;
        ownerEnabledDuring = IsWindowEnabled(owner.m_hWnd);
        visibleDuring = IsWindowVisible(d.m_hWnd);
        d.EndDialog(42);
    };
    EXPECT_EQ(dialog.DoModal(), 42);
    EXPECT_FALSE(ownerEnabledDuring);
    EXPECT_TRUE(visibleDuring);
    EXPECT_TRUE(IsWindowEnabled(owner.m_hWnd));
    EXPECT_FALSE(IsWindow(dialogWnd));
    EXPECT_EQ(dialog.m_hWnd, nullptr);
    EXPECT_EQ(dialog.Result(), 42);

    // The same object runs again.
    dialog.onTimer = [](TestDialog& d, WPARAM id) {
        if (id == 1) d.EndDialog(43);
    };
    EXPECT_EQ(dialog.DoModal(), 43);
}

TEST_F(FwDialog, AnOwnerDisabledBeforeStaysDisabledAndAMissingTemplateGivesMinusOne) {
    EnableWindow(owner.m_hWnd, FALSE);
    TestDialog dialog(tmpl, owner.m_hWnd);
    dialog.onInit = [](TestDialog& d) { d.EndDialog(5); };  // ending inside OnInitDialog
    EXPECT_EQ(dialog.DoModal(), 5);
    EXPECT_FALSE(IsWindowEnabled(owner.m_hWnd));
    EnableWindow(owner.m_hWnd, TRUE);

    fw::Dialog missing(54321u, &owner);
    EXPECT_EQ(missing.DoModal(), -1);
    EXPECT_TRUE(IsWindowEnabled(owner.m_hWnd));
    EXPECT_EQ(missing.m_hWnd, nullptr);
}

namespace {
DWORD WINAPI SendEndFromWorker(void* param) {
    Sleep(300);  // until the loop has drained its start-up messages and waits in GetMessage
    SendMessageW(static_cast<HWND>(param), kEndWith, 7, 0);
    return 0;
}
}  // namespace

TEST_F(FwDialog, EndDialogInsideAMessageSentByAWorkerThreadEndsTheLoop) {
    TestDialog dialog(tmpl, owner.m_hWnd);
    HANDLE worker = nullptr;
    dialog.onInit = [&](TestDialog& d) {
        // The edit's caret blinks on a timer, which would wake the loop by chance.
        ::DestroyWindow(d.GetDlgItem(kEditId));
        worker = CreateThread(nullptr, 0, SendEndFromWorker, d.m_hWnd, 0, nullptr);
    };
    // Without a wake-up the loop would sit in GetMessage until the safety timer (999).
    EXPECT_EQ(dialog.DoModal(), 7);
    ASSERT_NE(worker, nullptr);
    EXPECT_EQ(WaitForSingleObject(worker, 5000), WAIT_OBJECT_0);
    CloseHandle(worker);
}

TEST_F(FwDialog, QuitEndsTheModalLoopAndIsPostedAgainForTheOuterLoop) {
    TestDialog dialog(tmpl, owner.m_hWnd);
    dialog.onInit = [](TestDialog&) { PostQuitMessage(5); };
    EXPECT_EQ(dialog.DoModal(), -1);
    EXPECT_TRUE(IsWindowEnabled(owner.m_hWnd));
    MSG msg;
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 5u);
}

TEST_F(FwDialog, KeysMeetPreTranslateMessageBeforeTheDialogManager) {
    {
        // Not swallowed: the dialog manager turns Enter into the default button, IDOK.
        TestDialog dialog(tmpl, owner.m_hWnd);
        dialog.onInit = [](TestDialog& d) {
            PostMessageW(d.GetDlgItem(kEditId), WM_KEYDOWN, VK_RETURN, 1);
        };
        EXPECT_EQ(dialog.DoModal(), IDOK);
        ASSERT_FALSE(dialog.log.empty());
        EXPECT_EQ(dialog.log[1], L"pre 13 edit");
    }
    {
        TestDialog dialog(tmpl, owner.m_hWnd);
        dialog.swallowKey = VK_RETURN;
        dialog.onInit = [](TestDialog& d) {
            PostMessageW(d.GetDlgItem(kEditId), WM_KEYDOWN, VK_RETURN, 1);
            PostMessageW(d.GetDlgItem(kEditId), WM_KEYDOWN, VK_ESCAPE, 1);
        };
        EXPECT_EQ(dialog.DoModal(), IDCANCEL);
        const std::vector<std::wstring> expected = {L"init", L"pre 13 edit", L"pre 27 edit",
                                                    L"cancel"};
        EXPECT_EQ(dialog.log, expected);
    }
}

TEST_F(FwDialog, CloseAndTheOkButtonReachOnCancelAndOnOk) {
    TestDialog closing(tmpl, owner.m_hWnd);
    closing.onInit = [](TestDialog& d) { d.PostMessage(WM_CLOSE); };
    EXPECT_EQ(closing.DoModal(), IDCANCEL);
    EXPECT_EQ(closing.log.back(), L"cancel");

    TestDialog clicking(tmpl, owner.m_hWnd);
    clicking.onInit = [](TestDialog& d) { PostMessageW(d.GetDlgItem(IDOK), BM_CLICK, 0, 0); };
    EXPECT_EQ(clicking.DoModal(), IDOK);
}

TEST_F(FwDialog, WindowProcAnswersReachTheSenderAndDefaultProcessingRunsAtOnce) {
    TestDialog dialog(tmpl, owner.m_hWnd);
    LRESULT brush = 0;
    LRESULT defId = 0;
    dialog.onInit = [&](TestDialog& d) {
        fw::ScopedGetDC dc(d.m_hWnd);
        brush = d.SendMessage(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc.get()),
                              reinterpret_cast<LPARAM>(d.GetDlgItem(kStaticId)));
        defId = d.SendMessage(DM_GETDEFID);  // only the dialog manager answers this
        d.SetWindowText(L"renamed");
        d.EndDialog(IDOK);
    };
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(brush, reinterpret_cast<LRESULT>(GetStockObject(BLACK_BRUSH)));
    EXPECT_EQ(HIWORD(defId), DC_HASDEFID);
    EXPECT_EQ(LOWORD(defId), IDOK);
    EXPECT_EQ(dialog.textAfterDefault, L"renamed");
}

TEST_F(FwDialog, DataExchangeBindsTemplateControlsUntilTheyAreDestroyed) {
    TestDialog dialog(tmpl, owner.m_hWnd);
    dialog.bindEdit = true;
    HWND boundTo = nullptr;
    dialog.onInit = [&](TestDialog& d) {
        boundTo = d.control.m_hWnd;
        SetWindowTextW(d.GetDlgItem(kEditId), L"typed");
        d.EndDialog(IDOK);
    };
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_TRUE(dialog.boundAtInit);
    EXPECT_NE(boundTo, nullptr);
    // Bound in DoDataExchange, before the rest of OnInitDialog; its messages pass through it.
    const std::vector<std::wstring> expected = {L"control presubclass", L"init",
                                                L"control settext"};
    EXPECT_EQ(dialog.log, expected);
    EXPECT_EQ(dialog.control.m_hWnd, nullptr);  // detached when the edit went with the dialog
}

TEST_F(FwDialog, ModelessDialogKeepsTheOwnerEnabledAndEndsByDestroyingItsWindow) {
    TestDialog dialog(tmpl);
    dialog.modal = false;
    ASSERT_TRUE(dialog.Create(&owner));
    EXPECT_FALSE(dialog.IsModal());
    EXPECT_TRUE(IsWindowEnabled(owner.m_hWnd));
    EXPECT_EQ(fw::Wnd::FromHandlePermanent(dialog.m_hWnd), &dialog);
    EXPECT_EQ(GetWindow(dialog.m_hWnd, GW_OWNER), owner.m_hWnd);
    EXPECT_FALSE(dialog.Create(&owner));  // one window per object

    HWND wnd = dialog.m_hWnd;
    PostMessageW(dialog.GetDlgItem(kEditId), WM_KEYDOWN, VK_ESCAPE, 1);
    PumpPending();  // the dialog manager's Esc reaches a modeless dialog too
    EXPECT_EQ(dialog.log.back(), L"cancel");
    EXPECT_FALSE(IsWindow(wnd));
    EXPECT_EQ(dialog.m_hWnd, nullptr);
    EXPECT_EQ(dialog.Result(), IDCANCEL);
}

TEST_F(FwDialog, AModelessDialogOwnedByAModalOneGetsItsOwnKeys) {
    TestDialog outer(tmpl, owner.m_hWnd);
    TestDialog inner(tmpl);
    inner.modal = false;
    outer.onInit = [&](TestDialog& d) {
        ASSERT_TRUE(inner.Create(&d));
        PostMessageW(inner.GetDlgItem(kEditId), WM_KEYDOWN, VK_ESCAPE, 1);
        d.SetTimer(1, 50);
    };
    outer.onTimer = [](TestDialog& d, WPARAM id) {
        if (id == 1) d.EndDialog(IDOK);
    };
    EXPECT_EQ(outer.DoModal(), IDOK);
    EXPECT_EQ(inner.log.back(), L"cancel");
    EXPECT_EQ(outer.log.back(), L"init");  // the Esc was not the outer dialog's
    EXPECT_EQ(inner.m_hWnd, nullptr);
}

TEST_F(FwDialog, ModelessWindowsEndWithTheirObjectOrEndTheirObject) {
    HWND wnd = nullptr;
    {
        TestDialog dialog(tmpl, owner.m_hWnd);
        dialog.modal = false;
        ASSERT_TRUE(dialog.Create());
        wnd = dialog.m_hWnd;
    }
    EXPECT_FALSE(IsWindow(wnd));

    bool deleted = false;
    auto* selfOwned = new TestDialog(tmpl, owner.m_hWnd);
    selfOwned->modal = false;
    selfOwned->deleteSelf = true;
    selfOwned->deletedFlag = &deleted;
    ASSERT_TRUE(selfOwned->Create());
    wnd = selfOwned->m_hWnd;
    PostMessageW(wnd, WM_CLOSE, 0, 0);
    PumpPending();
    EXPECT_TRUE(deleted);
    EXPECT_FALSE(IsWindow(wnd));
}
