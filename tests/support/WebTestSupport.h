// Shared by the web-window tests: OLE and GDI+ for a test, message pumping, a stand-in main
// window on a thread of its own, and page elements and documents for the handlers that a
// browser without an HTML engine never reaches.
#pragma once
#include <windows.h>
#include <gdiplus.h>

#include <atomic>
#include <functional>
#include <string>
#include <vector>

#include "fw/App.h"
#include "fw/HtmlDom.h"
#include "fw/Raii.h"
#include "support/PublisherTestSupport.h"
#include "support/TimerSteps.h"
#include "support/WinTestSupport.h"
#include "ui/ScopedGdiplus.h"

namespace webtest {

// The publisher server, which serves the pages of every web-window test.
using testsupport::LogEntriesFor;
using testsupport::PublisherUrl;
using testsupport::TestPath;
using testsupport::Widen;

// OLE and GDI+ for one test, as a game-window process has them.
class ProcessEnvironment {
public:
    bool ok() const { return static_cast<bool>(m_ole) && static_cast<bool>(m_gdiplus); }

private:
    fw::ScopedOleInit m_ole;
    vorel::ScopedGdiplus m_gdiplus;
};

inline bool PumpUntil(const std::function<bool()>& done, DWORD milliseconds) {
    return testsupport::PumpMessages(done, milliseconds);
}
inline void Pump(DWORD milliseconds) { testsupport::PumpMessages(nullptr, milliseconds); }
using testsupport::TimerSteps;

// A stand-in for the main window of another process: a window on its own thread that records
// what reaches it and answers WM_COPYDATA with a chosen value.
class MainWindowStandIn {
public:
    struct Received {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
        ULONG_PTR copyDwData;
        DWORD copyBytes;
        std::string copyData;  // the raw bytes of a WM_COPYDATA
    };

    explicit MainWindowStandIn(LRESULT copyDataAnswer = TRUE) : m_answer(copyDataAnswer) {
        ::InitializeCriticalSection(&m_lock);
        m_ready = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
        m_thread = ::CreateThread(nullptr, 0, &MainWindowStandIn::ThreadMain, this, 0, nullptr);
        ::WaitForSingleObject(m_ready, 10000);
        ::CloseHandle(m_ready);
    }
    ~MainWindowStandIn() {
        if (::IsWindow(m_wnd)) ::PostMessageW(m_wnd, WM_CLOSE, 0, 0);
        if (m_threadId) ::PostThreadMessageW(m_threadId, WM_QUIT, 0, 0);
        ::WaitForSingleObject(m_thread, 10000);
        ::CloseHandle(m_thread);
        ::DeleteCriticalSection(&m_lock);
    }

    HWND hwnd() const { return m_wnd; }
    void SetAnswer(LRESULT answer) { m_answer = answer; }
    std::vector<Received> Messages(UINT message) const {
        ::EnterCriticalSection(&m_lock);
        std::vector<Received> out;
        for (const auto& r : m_received)
            if (r.message == message) out.push_back(r);
        ::LeaveCriticalSection(&m_lock);
        return out;
    }
    // Destroys the window on its own thread.
    void Destroy() { ::SendMessageW(m_wnd, WM_USER + 100, 0, 0); }

private:
    static LRESULT CALLBACK Proc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
        auto* self = reinterpret_cast<MainWindowStandIn*>(::GetWindowLongPtrW(wnd, GWLP_USERDATA));
        if (!self) return ::DefWindowProcW(wnd, msg, wParam, lParam);
        switch (msg) {
            case WM_COPYDATA: {
                const auto* cds = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
                Received r{
                    msg,         wParam,
                    lParam,      cds->dwData,
                    cds->cbData, std::string(static_cast<const char*>(cds->lpData), cds->cbData)};
                self->Record(r);
                return self->m_answer;
            }
            case WM_USER + 2:
            case WM_SYSCOMMAND:
            case WM_KEYDOWN:
            case WM_SYSKEYDOWN:
                // Recorded only: a close request must not close the stand-in.
                self->Record({msg, wParam, lParam, 0, 0, std::string()});
                return 0;
            case WM_USER + 100:
                ::DestroyWindow(wnd);
                return 0;
            case WM_DESTROY:
                ::PostQuitMessage(0);
                return 0;
        }
        return ::DefWindowProcW(wnd, msg, wParam, lParam);
    }
    void Record(const Received& r) {
        ::EnterCriticalSection(&m_lock);
        m_received.push_back(r);
        ::LeaveCriticalSection(&m_lock);
    }
    static DWORD WINAPI ThreadMain(void* self) {
        static_cast<MainWindowStandIn*>(self)->Run(static_cast<MainWindowStandIn*>(self)->m_ready);
        return 0;
    }
    void Run(HANDLE ready) {
        m_threadId = ::GetCurrentThreadId();
        WNDCLASSW wc = {};
        wc.lpfnWndProc = &Proc;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = L"VorelTestMainWindow";
        ::RegisterClassW(&wc);
        m_wnd = ::CreateWindowExW(0, wc.lpszClassName, L"main window stand-in",
                                  WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50, 900, 640, nullptr,
                                  nullptr, wc.hInstance, nullptr);
        ::SetWindowLongPtrW(m_wnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        ::SetEvent(ready);
        MSG msg;
        while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }

    std::atomic<LRESULT> m_answer;
    HANDLE m_thread = nullptr;
    HANDLE m_ready = nullptr;
    std::atomic<DWORD> m_threadId{0};
    HWND m_wnd = nullptr;
    mutable CRITICAL_SECTION m_lock;
    std::vector<Received> m_received;
};

// A page element as an image button or a page background would be: records what the handlers
// do to it.
class FakeElement : public fw::HtmlElement {
public:
    FakeElement(std::wstring className, std::wstring tagName)
        : m_class(std::move(className)), m_tag(std::move(tagName)) {}
    std::wstring ClassName() override { return m_class; }
    std::wstring TagName() override { return m_tag; }
    bool IsDisabled() override { return disabled; }
    bool GetOffsets(long* l, long* t, long* w, long* h) override {
        *l = left;
        *t = top;
        *w = width;
        *h = height;
        return true;
    }
    bool SetBackgroundPositionX(long x) override {
        positions.push_back(x);
        return true;
    }
    bool Click() override {
        ++clicks;
        return true;
    }

    bool disabled = false;
    long left = 10, top = 20, width = 80, height = 30;
    std::vector<long> positions;
    int clicks = 0;

private:
    std::wstring m_class;
    std::wstring m_tag;
};

class FakeDocument : public fw::HtmlDocument {
public:
    bool SetBodyScroll(const wchar_t* value) override {
        scrolls.push_back(value);
        return true;
    }
    bool ConnectEvents(IDispatch* sink) override {
        connectedSink = fw::ComPtr<IDispatch>(sink);
        ++connects;
        return true;
    }
    void DisconnectEvents() override {
        connectedSink.reset();
        ++disconnects;
    }
    std::vector<std::wstring> scrolls;
    fw::ComPtr<IDispatch> connectedSink;
    int connects = 0;
    int disconnects = 0;
};

// UTF-16 bytes of a text with its NUL, as WM_COPYDATA carries it.
inline std::string Utf16Bytes(const std::wstring& text) {
    std::string out(reinterpret_cast<const char*>(text.c_str()), (text.size() + 1) * 2);
    return out;
}

}  // namespace webtest
