// The framework's window binding, pre-translation walk, application loop and resource owners,
// exercised with real windows.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fw/App.h"
#include "fw/Raii.h"
#include "fw/Strings.h"
#include "fw/Wnd.h"
#include "support/FwTestSupport.h"

using fwtest::PumpPending;

namespace {

const wchar_t kTestClass[] = L"fwtest.Window";

// Removes a quit message a test left behind, returning its code (-1: none).
int TakeQuitMessage() {
    MSG msg;
    if (PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE))
        return static_cast<int>(msg.wParam);
    return -1;
}

// Writes what happens to one window into a shared log, so that the order across objects and
// calls after the object's end can be checked.
class Recorder : public fw::Wnd {
public:
    Recorder(std::vector<std::wstring>* log, std::wstring name)
        : m_log(log), m_name(std::move(name)) {}
    ~Recorder() override { Note(L"~"); }

    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg == WM_KEYDOWN) Note(L"key " + std::to_wstring(wParam));
        if (msg == WM_CREATE) Note(L"create");
        if (msg == WM_DESTROY) Note(L"destroy");
        if (msg == WM_SETTEXT) Note(L"settext");
        if (msg == WM_APP) return 1234;
        return fw::Wnd::WindowProc(msg, wParam, lParam);
    }
    BOOL PreTranslateMessage(MSG* msg) override {
        if (msg->message != WM_KEYDOWN) return FALSE;
        Note(L"pre " + std::to_wstring(msg->wParam));
        return msg->wParam == m_swallowKey;
    }
    void PreSubclassWindow() override {
        // The hook is already in place: a message sent now must come back through WindowProc.
        Note(SendMessage(WM_APP) == 1234 ? L"presubclass hooked" : L"presubclass unhooked");
        m_textAtPreSubclass = GetWindowText();
    }
    void PostNcDestroy() override {
        Note(m_hWnd == nullptr ? L"postncdestroy detached" : L"postncdestroy attached");
        if (m_deleteSelf) delete this;
    }

    void Note(const std::wstring& what) { m_log->push_back(m_name + L": " + what); }

    std::vector<std::wstring>* m_log;
    std::wstring m_name;
    WPARAM m_swallowKey = 0;
    bool m_deleteSelf = false;
    std::wstring m_textAtPreSubclass;
};

class FwWindow : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(fw::Wnd::RegisterClassOnce(kTestClass)); }
    void TearDown() override {
        PumpPending();
        TakeQuitMessage();
    }
    bool Logged(const std::wstring& entry) const {
        for (const auto& e : log)
            if (e == entry) return true;
        return false;
    }
    std::vector<std::wstring> log;
};

// A window procedure of a class not ours, standing in for a system control.
std::vector<UINT> g_innerMessages;
LRESULT CALLBACK InnerProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    g_innerMessages.push_back(msg);
    return DefWindowProcW(wnd, msg, wParam, lParam);
}
LRESULT CALLBACK OtherHook(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(wnd, msg, wParam, lParam);
}

HWND CreateInnerWindow() {
    WNDCLASSW wc = {};
    wc.lpfnWndProc = InnerProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"fwtest.Inner";
    RegisterClassW(&wc);
    return CreateWindowExW(0, L"fwtest.Inner", L"inner", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr,
                           wc.hInstance, nullptr);
}

}  // namespace

TEST_F(FwWindow, OwnClassWindowIsBoundBeforeCreationAndDestroyedWithItsObject) {
    EXPECT_TRUE(fw::Wnd::RegisterClassOnce(kTestClass));  // a second time is fine
    HWND wnd = nullptr;
    {
        Recorder window(&log, L"w");
        ASSERT_TRUE(window.CreateEx(0, kTestClass, L"title", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100,
                                    nullptr, nullptr));
        wnd = window.m_hWnd;
        EXPECT_EQ(fw::Wnd::FromHandlePermanent(wnd), &window);
        EXPECT_EQ(window.SendMessage(WM_APP), 1234);
        EXPECT_FALSE(
            window.CreateEx(0, kTestClass, L"again", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr));
    }
    EXPECT_FALSE(IsWindow(wnd));
    const std::vector<std::wstring> expected = {L"w: presubclass hooked", L"w: create", L"w: ~"};
    EXPECT_EQ(log, expected);
}

TEST_F(FwWindow, CreatingASystemClassSubclassesTheNewControl) {
    Recorder parent(&log, L"parent");
    ASSERT_TRUE(
        parent.CreateEx(0, kTestClass, L"", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr));
    Recorder button(&log, L"button");
    ASSERT_TRUE(button.CreateEx(0, L"BUTTON", L"OK", WS_CHILD | BS_PUSHBUTTON, 0, 0, 50, 20,
                                parent.m_hWnd, reinterpret_cast<HMENU>(7)));
    EXPECT_EQ(button.m_textAtPreSubclass, L"OK");
    button.SetWindowText(L"Go");
    EXPECT_EQ(button.GetWindowText(), L"Go");  // the button's own procedure stored it
    EXPECT_TRUE(Logged(L"button: settext"));
    EXPECT_EQ(parent.GetDlgItem(7), button.m_hWnd);
}

TEST_F(FwWindow, SubclassingRoutesMessagesThroughWindowProcAndBackToTheOriginal) {
    HWND inner = CreateInnerWindow();
    ASSERT_TRUE(inner);
    const LONG_PTR originalProc = GetWindowLongPtrW(inner, GWLP_WNDPROC);
    {
        Recorder object(&log, L"o");
        ASSERT_TRUE(object.SubclassWindow(inner));
        EXPECT_EQ(log.front(), L"o: presubclass hooked");
        EXPECT_EQ(object.m_textAtPreSubclass, L"inner");

        Recorder second(&log, L"second");
        EXPECT_FALSE(second.SubclassWindow(inner));  // one object per window

        g_innerMessages.clear();
        SetWindowTextW(inner, L"changed");
        EXPECT_TRUE(Logged(L"o: settext"));
        ASSERT_EQ(g_innerMessages.size(), 1u);  // default processing reached the original
        EXPECT_EQ(g_innerMessages[0], static_cast<UINT>(WM_SETTEXT));
        EXPECT_EQ(object.GetWindowText(), L"changed");

        EXPECT_EQ(object.UnsubclassWindow(), inner);
        EXPECT_EQ(object.m_hWnd, nullptr);
        EXPECT_EQ(GetWindowLongPtrW(inner, GWLP_WNDPROC), originalProc);
        EXPECT_EQ(fw::Wnd::FromHandlePermanent(inner), nullptr);
        log.clear();
        SendMessageW(inner, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"x"));
        EXPECT_TRUE(log.empty());

        // Resubclass, then let someone else hook on top: unhooking would cut them out.
        ASSERT_TRUE(object.SubclassWindow(inner));
        SetWindowLongPtrW(inner, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(OtherHook));
        EXPECT_EQ(object.UnsubclassWindow(), nullptr);
        EXPECT_EQ(object.m_hWnd, inner);
    }
    // The destructor detached the still-bound object, and a subclassed window is not ours
    // to destroy.
    EXPECT_TRUE(IsWindow(inner));
    EXPECT_EQ(fw::Wnd::FromHandlePermanent(inner), nullptr);
    DestroyWindow(inner);
}

TEST_F(FwWindow, NcDestroyDetachesBeforePostNcDestroyAndTheOriginalStillGetsIt) {
    HWND inner = CreateInnerWindow();
    ASSERT_TRUE(inner);
    auto* object = new Recorder(&log, L"o");
    object->m_deleteSelf = true;
    ASSERT_TRUE(object->SubclassWindow(inner));
    g_innerMessages.clear();
    DestroyWindow(inner);
    const std::vector<std::wstring> expected = {L"o: presubclass hooked", L"o: destroy",
                                                L"o: postncdestroy detached", L"o: ~"};
    EXPECT_EQ(log, expected);
    ASSERT_FALSE(g_innerMessages.empty());
    EXPECT_EQ(g_innerMessages.back(), static_cast<UINT>(WM_NCDESTROY));
}

TEST_F(FwWindow, PreTranslateWalksFromTheTargetUpToItsTopLevelWindowOnly) {
    Recorder top(&log, L"top");
    ASSERT_TRUE(
        top.CreateEx(0, kTestClass, L"", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, nullptr, nullptr));
    Recorder child(&log, L"child");
    ASSERT_TRUE(child.CreateEx(0, kTestClass, L"", WS_CHILD | WS_VISIBLE, 0, 0, 100, 100,
                               top.m_hWnd, nullptr));
    // A plain control between child and grandchild: windows without object are stepped over.
    HWND plain = CreateWindowExW(0, L"STATIC", L"", WS_CHILD, 0, 0, 50, 50, child.m_hWnd, nullptr,
                                 nullptr, nullptr);
    Recorder grandchild(&log, L"grandchild");
    ASSERT_TRUE(grandchild.CreateEx(0, kTestClass, L"", WS_CHILD, 0, 0, 10, 10, plain, nullptr));
    Recorder owned(&log, L"owned");
    ASSERT_TRUE(owned.CreateEx(0, kTestClass, L"", WS_POPUP, 0, 0, 10, 10, top.m_hWnd, nullptr));
    top.m_swallowKey = VK_F5;
    child.m_swallowKey = VK_F7;
    PumpPending();

    log.clear();
    grandchild.PostMessage(WM_KEYDOWN, VK_F5, 0);
    PumpPending();
    std::vector<std::wstring> expected = {L"grandchild: pre 116", L"child: pre 116",
                                          L"top: pre 116"};
    EXPECT_EQ(log, expected);  // swallowed by the top window: never dispatched

    log.clear();
    grandchild.PostMessage(WM_KEYDOWN, VK_F6, 0);
    PumpPending();
    expected = {L"grandchild: pre 117", L"child: pre 117", L"top: pre 117", L"grandchild: key 117"};
    EXPECT_EQ(log, expected);

    log.clear();
    grandchild.PostMessage(WM_KEYDOWN, VK_F7, 0);
    PumpPending();
    expected = {L"grandchild: pre 118", L"child: pre 118"};  // the first TRUE ends the walk
    EXPECT_EQ(log, expected);

    // An owned popup is a top-level window of its own: its owner is not asked.
    log.clear();
    owned.PostMessage(WM_KEYDOWN, VK_F5, 0);
    PumpPending();
    expected = {L"owned: pre 116", L"owned: key 116"};
    EXPECT_EQ(log, expected);
}

namespace {
class ScriptedApp : public fw::App {
public:
    BOOL InitInstance() override {
        ++initCalls;
        return runLoop;
    }
    int ExitInstance() override {
        ++exitCalls;
        return fw::App::ExitInstance() + 100;
    }
    bool runLoop = true;
    int initCalls = 0;
    int exitCalls = 0;
};

class CountingWnd : public fw::Wnd {
public:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg == WM_APP) ++appMessages;
        return fw::Wnd::WindowProc(msg, wParam, lParam);
    }
    int appMessages = 0;
};
}  // namespace

TEST_F(FwWindow, RunApplicationRunsTheLoopUntilQuitAndReturnsTheExitInstanceCode) {
    ScriptedApp app;
    EXPECT_EQ(fw::App::Current(), &app);
    {
        ScriptedApp standIn;
        EXPECT_EQ(fw::App::Current(), &standIn);
    }
    EXPECT_EQ(fw::App::Current(), &app);
    ASSERT_FALSE(app.Args().empty());
    EXPECT_NE(app.Args()[0].find(L".exe"), std::wstring::npos);

    CountingWnd window;
    ASSERT_TRUE(window.CreateEx(0, kTestClass, L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
    window.PostMessage(WM_APP);
    PostQuitMessage(3);
    EXPECT_EQ(fw::RunApplication(app, nullptr, nullptr, SW_SHOW), 103);
    EXPECT_EQ(window.appMessages, 1);
    EXPECT_EQ(app.exitCalls, 1);
}

TEST_F(FwWindow, RunApplicationSkipsTheLoopWhenInitInstanceFails) {
    ScriptedApp app;
    app.runLoop = false;
    CountingWnd window;
    ASSERT_TRUE(window.CreateEx(0, kTestClass, L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
    window.PostMessage(WM_APP);
    EXPECT_EQ(fw::RunApplication(app, nullptr, nullptr, SW_SHOW), 100);
    EXPECT_EQ(app.initCalls, 1);
    EXPECT_EQ(app.exitCalls, 1);
    EXPECT_EQ(window.appMessages, 0);
}

TEST_F(FwWindow, TheEndOfTheMainWindowEndsTheLoop) {
    ScriptedApp app;
    auto* window = new CountingWnd;
    ASSERT_TRUE(window->CreateEx(0, kTestClass, L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
    app.m_pMainWnd = window;
    PostMessageW(window->m_hWnd, WM_CLOSE, 0, 0);  // DefWindowProc destroys it
    EXPECT_EQ(fw::RunApplication(app, nullptr, nullptr, SW_SHOW), 100);
    EXPECT_EQ(app.m_pMainWnd, nullptr);
    EXPECT_EQ(window->m_hWnd, nullptr);
    delete window;
}

TEST(FwRaii, GdiOwnersDeleteAndSelectionsAreUndone) {
    HBITMAP raw = CreateBitmap(8, 8, 1, 32, nullptr);
    ASSERT_EQ(GetObjectType(raw), static_cast<DWORD>(OBJ_BITMAP));
    HDC dcHandle = nullptr;
    {
        fw::ScopedBitmap outer;
        {
            fw::ScopedBitmap bitmap(raw);
            outer = std::move(bitmap);
            EXPECT_FALSE(bitmap);
        }
        EXPECT_EQ(GetObjectType(raw), static_cast<DWORD>(OBJ_BITMAP));  // moved, not deleted

        fw::ScopedMemDC dc(nullptr);
        ASSERT_TRUE(dc);
        dcHandle = dc.get();
        HGDIOBJ initial = GetCurrentObject(dc.get(), OBJ_BITMAP);
        {
            fw::ScopedSelectObject select(dc.get(), outer.get());
            EXPECT_EQ(GetCurrentObject(dc.get(), OBJ_BITMAP), raw);
        }
        EXPECT_EQ(GetCurrentObject(dc.get(), OBJ_BITMAP), initial);
    }
    EXPECT_EQ(GetObjectType(raw), 0u);
    EXPECT_EQ(GetObjectType(dcHandle), 0u);

    fw::ScopedRgn region(CreateRectRgn(0, 0, 5, 5));
    HRGN handedOver = region.release();  // as to SetWindowRgn
    EXPECT_FALSE(region);
    EXPECT_EQ(GetObjectType(handedOver), static_cast<DWORD>(OBJ_REGION));
    DeleteObject(handedOver);
}

TEST(FwRaii, KernelAndRegistryOwnersCloseAndTreatBothFailureValuesAsEmpty) {
    EXPECT_FALSE(fw::ScopedHandle(INVALID_HANDLE_VALUE));
    EXPECT_FALSE(fw::ScopedHandle(nullptr));
    HANDLE raw = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    DWORD flags = 0;
    {
        fw::ScopedHandle event(raw);
        EXPECT_TRUE(GetHandleInformation(raw, &flags));
        HANDLE second = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        event.reset(second);  // the first is closed now
        EXPECT_FALSE(GetHandleInformation(raw, &flags));
        raw = second;
    }
    EXPECT_FALSE(GetHandleInformation(raw, &flags));

    HKEY rawKey = nullptr;
    {
        fw::ScopedRegKey key;
        ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\fwtest", 0, nullptr, 0,
                                  KEY_ALL_ACCESS, nullptr, key.Receive(), nullptr),
                  ERROR_SUCCESS);
        rawKey = key.get();
        EXPECT_EQ(RegQueryInfoKeyW(rawKey, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                   nullptr, nullptr, nullptr, nullptr, nullptr),
                  ERROR_SUCCESS);
    }
    EXPECT_NE(RegQueryInfoKeyW(rawKey, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                               nullptr, nullptr, nullptr, nullptr, nullptr),
              ERROR_SUCCESS);
    RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\fwtest");
}

namespace {
class CountedObject : public IUnknown {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (iid == IID_IUnknown) {
            *out = static_cast<IUnknown*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs; }
    ULONG STDMETHODCALLTYPE Release() override { return --refs; }
    ULONG refs = 1;
};
}  // namespace

TEST(FwRaii, ComPtrCountsReferences) {
    CountedObject object;  // holds one reference of its own throughout
    {
        fw::ComPtr<IUnknown> a(&object);
        EXPECT_EQ(object.refs, 2u);
        fw::ComPtr<IUnknown> b = a;
        EXPECT_EQ(object.refs, 3u);
        fw::ComPtr<IUnknown> c = std::move(b);
        EXPECT_EQ(object.refs, 3u);
        EXPECT_FALSE(b);

        fw::ComPtr<IUnknown> queried;
        EXPECT_EQ(c.QueryInterface(queried), S_OK);
        EXPECT_EQ(object.refs, 4u);
        *queried.Receive() = nullptr;  // an out parameter releases what was held first
        EXPECT_EQ(object.refs, 3u);

        IUnknown* raw = c.Detach();
        EXPECT_EQ(object.refs, 3u);
        fw::ComPtr<IUnknown> adopted;
        adopted.Attach(raw);
        EXPECT_EQ(object.refs, 3u);
    }
    EXPECT_EQ(object.refs, 1u);

    fw::ComPtr<IUnknown> empty;
    fw::ComPtr<IUnknown> out;
    EXPECT_EQ(empty.QueryInterface(out), E_POINTER);
}

TEST(FwStrings, BoundedCopyAndFormatCutAndAlwaysTerminate) {
    wchar_t small[6];
    EXPECT_TRUE(fw::CopyBounded(small, L"abcde"));
    EXPECT_STREQ(small, L"abcde");
    EXPECT_FALSE(fw::CopyBounded(small, L"abcdef"));
    EXPECT_STREQ(small, L"abcde");
    EXPECT_TRUE(fw::CopyBounded(small, nullptr));
    EXPECT_STREQ(small, L"");

    EXPECT_TRUE(fw::FormatBounded(small, L"%d-%ls", 12, L"ab"));
    EXPECT_STREQ(small, L"12-ab");
    EXPECT_FALSE(fw::FormatBounded(small, L"%d-%ls", 123, L"ab"));
    EXPECT_STREQ(small, L"123-a");
    wchar_t url[512];
    EXPECT_TRUE(fw::FormatBounded(url, L"http://%ls/%ls?ver=%ls", L"h", L"active.htm", L"3.0.0.1"));
    EXPECT_STREQ(url, L"http://h/active.htm?ver=3.0.0.1");
}
