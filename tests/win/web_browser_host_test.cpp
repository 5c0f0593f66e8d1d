// The browser host under Wine: a real WebBrowser control in a CDHtmDlgEx, driven by real
// navigations where the control can (the before-navigate filter, errors), and through the
// handlers with stand-in page elements where a page would have to be loaded.
#include <gtest/gtest.h>

#include <mshtmhst.h>

#include <memory>

#include "fw/BrowserEvents.h"
#include "fw/BrowserSite.h"
#include "res/resource.h"
#include "support/PublisherTestSupport.h"
#include "web/DHtmDlgEx.h"
#include "web/MyBrowserControlSite.h"
#include "support/WebTestSupport.h"

using namespace webtest;

namespace {

using namespace fw::dhtml_event;

struct Navigation {
    std::wstring url;
    VARIANT_BOOL cancelIn;
    VARIANT_BOOL cancelOut;
};

// The dialog with what it did recorded; the drag messages are kept from the system's move
// loop, which would wait for a mouse that no one presses.
class HostDialog : public vorel::CDHtmDlgEx {
public:
    HostDialog() : CDHtmDlgEx(IDD_LOGIN, nullptr) {}

    void OnBrowserBeforeNavigate2(IDispatch* disp, const wchar_t* url, DWORD flags,
                                  const wchar_t* target, VARIANT* post, const wchar_t* headers,
                                  VARIANT_BOOL* cancel) override {
        const VARIANT_BOOL in = *cancel;
        CDHtmDlgEx::OnBrowserBeforeNavigate2(disp, url, flags, target, post, headers, cancel);
        navigations.push_back({url, in, *cancel});
    }
    void OnNavigateError(IDispatch* disp, const wchar_t* url, const wchar_t* frame, LONG status,
                         VARIANT_BOOL* cancel) override {
        CDHtmDlgEx::OnNavigateError(disp, url, frame, status, cancel);
        errors.push_back({url, VARIANT_FALSE, *cancel});
    }
    HRESULT ShowMessage(HWND, LPOLESTR text, LPOLESTR, DWORD, LPOLESTR, DWORD,
                        LRESULT* result) override {
        messages.push_back(text ? text : L"");
        if (result) *result = IDOK;
        return S_OK;
    }
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg == WM_NCLBUTTONDOWN || msg == WM_NCLBUTTONUP || msg == WM_NCMOUSEMOVE) {
            MSG m = {};
            m.message = msg;
            m.wParam = wParam;
            m.lParam = lParam;
            ncMessages.push_back(m);
            return 0;
        }
        return CDHtmDlgEx::WindowProc(msg, wParam, lParam);
    }
    fw::HtmlDocumentPtr DocumentOf(IDispatch*) override { return nextDocument; }

    fw::BrowserControlSite* Site() { return Control().Site(); }

    std::vector<Navigation> navigations;
    std::vector<Navigation> errors;
    std::vector<std::wstring> messages;
    std::vector<MSG> ncMessages;
    fw::HtmlDocumentPtr nextDocument;
};

class BrowserHost : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(env.ok());
        sitesBefore = fw::BrowserControlSite::LiveCount();
        sinksBefore = fw::BrowserEventSink::LiveCount();
        dlg = std::make_unique<HostDialog>();
        ASSERT_TRUE(dlg->Create(static_cast<HWND>(nullptr)));
        ::ShowWindow(dlg->m_hWnd, SW_SHOWNA);
        ASSERT_NE(dlg->Browser(), nullptr);
    }
    void TearDown() override {
        if (::GetCapture()) ::ReleaseCapture();
        dlg.reset();
        Pump(50);
    }
    bool NavigateAndWait(const std::wstring& url) {
        const size_t before = dlg->navigations.size();
        dlg->Navigate(url.c_str());
        return PumpUntil([&] { return dlg->navigations.size() > before; }, 5000);
    }
    HRESULT Fire(DISPID event, const std::shared_ptr<FakeElement>& element) {
        return dlg->DispatchDhtmlEvent(event, element);
    }

    ProcessEnvironment env;
    LONG sitesBefore = 0;
    LONG sinksBefore = 0;
    std::unique_ptr<HostDialog> dlg;
};

std::shared_ptr<FakeElement> Button() { return std::make_shared<FakeElement>(L"button", L"DIV"); }

}  // namespace

TEST_F(BrowserHost, TheCommandSchemeIsCancelledBeforeAnyRequest) {
    const std::string path = TestPath("after");
    ASSERT_TRUE(NavigateAndWait(L"app://loadgame|S1服-x-y|" + PublisherUrl(Widen(path))));
    EXPECT_EQ(dlg->navigations.back().cancelOut, VARIANT_TRUE);
    ASSERT_TRUE(NavigateAndWait(L"app:" + PublisherUrl(Widen(path))));
    EXPECT_EQ(dlg->navigations.back().cancelOut, VARIANT_TRUE);
    Pump(500);
    EXPECT_TRUE(dlg->errors.empty());
    EXPECT_TRUE(LogEntriesFor(path).empty());
}

TEST_F(BrowserHost, OtherSchemesAreLeftAndErrorPagesCancelled) {
    // Upper-case "APP:" is not the command scheme: the browser's flag stands.
    ASSERT_TRUE(NavigateAndWait(L"APP://exitgame"));
    EXPECT_EQ(dlg->navigations.back().cancelOut, dlg->navigations.back().cancelIn);
    EXPECT_EQ(dlg->navigations.back().cancelOut, VARIANT_FALSE);

    // An http address is loaded: it reaches the server, and the 404 that follows ends in an
    // error event whose error page is cancelled.
    const std::string path = TestPath("missing.htm");
    ASSERT_TRUE(NavigateAndWait(PublisherUrl(Widen(path))));
    EXPECT_EQ(dlg->navigations.back().cancelOut, VARIANT_FALSE);
    ASSERT_TRUE(PumpUntil([&] { return !LogEntriesFor(path).empty(); }, 5000));
    ASSERT_TRUE(PumpUntil([&] { return !dlg->errors.empty(); }, 5000));
    EXPECT_EQ(dlg->errors.back().cancelOut, VARIANT_TRUE);
}

TEST_F(BrowserHost, JavascriptAddressesAreNeverCancelled) {
    VARIANT_BOOL cancel = VARIANT_TRUE;
    dlg->OnBrowserBeforeNavigate2(nullptr, L"javascript:void(0)", 0, L"", nullptr, L"", &cancel);
    EXPECT_EQ(cancel, VARIANT_FALSE);
    cancel = VARIANT_TRUE;
    dlg->OnBrowserBeforeNavigate2(nullptr, L"http://x/", 0, L"", nullptr, L"", &cancel);
    EXPECT_EQ(cancel, VARIANT_TRUE);
}

TEST_F(BrowserHost, TheSiteIsOneObjectWithShowUiReachedThroughTheHandler) {
    fw::BrowserControlSite* site = dlg->Site();
    ASSERT_NE(site, nullptr);
    fw::ComPtr<IDocHostUIHandler> handler;
    ASSERT_EQ(site->QueryInterface(IID_IDocHostUIHandler, handler.ReceiveVoid()), S_OK);
    fw::ComPtr<IDocHostShowUI> showUi;
    ASSERT_EQ(handler->QueryInterface(fw::kIID_IDocHostShowUI, showUi.ReceiveVoid()), S_OK);
    fw::ComPtr<IUnknown> a, b, c;
    site->QueryInterface(IID_IUnknown, a.ReceiveVoid());
    handler->QueryInterface(IID_IUnknown, b.ReceiveVoid());
    showUi->QueryInterface(IID_IUnknown, c.ReceiveVoid());
    EXPECT_EQ(a.get(), b.get());
    EXPECT_EQ(a.get(), c.get());
    fw::ComPtr<IOleInPlaceSite> inPlace;
    EXPECT_EQ(showUi->QueryInterface(IID_IOleInPlaceSite, inPlace.ReceiveVoid()), S_OK);
    fw::ComPtr<IDispatch> none;
    EXPECT_EQ(site->QueryInterface(IID_IDispatch, none.ReceiveVoid()), E_NOINTERFACE);

    // Host flags: no 3-D border, no scroll bars, a dialog.
    DOCHOSTUIINFO info = {sizeof(info)};
    EXPECT_EQ(handler->GetHostInfo(&info), S_OK);
    EXPECT_EQ(info.dwFlags, 0xDu);
    // No context menu, ever.
    POINT pt = {5, 5};
    EXPECT_EQ(handler->ShowContextMenu(CONTEXT_MENU_DEFAULT, &pt, nullptr, nullptr), S_OK);

    // Script message boxes go to the dialog.
    LRESULT result = 0;
    wchar_t text[] = L"hello";
    EXPECT_EQ(showUi->ShowMessage(nullptr, text, nullptr, MB_OK, nullptr, 0, &result), S_OK);
    ASSERT_EQ(dlg->messages.size(), 1u);
    EXPECT_EQ(dlg->messages[0], L"hello");
}

TEST(BrowserSite, ShowUiWithoutOurDialogSwallowsAndTheLastReleaseFreesTheSite) {
    const LONG before = fw::BrowserControlSite::LiveCount();
    struct PlainHost : fw::BrowserHost {
        HWND BrowserHostWindow() const override { return nullptr; }
    } host;
    auto* site = new vorel::CMyBrowserControlSite(&host);
    EXPECT_EQ(fw::BrowserControlSite::LiveCount(), before + 1);
    IDocHostShowUI* showUi = nullptr;
    ASSERT_EQ(site->QueryInterface(fw::kIID_IDocHostShowUI, reinterpret_cast<void**>(&showUi)),
              S_OK);
    LRESULT result = 0;
    wchar_t text[] = L"x";
    // Not a CDHtmDlgEx host: the message is swallowed.
    EXPECT_EQ(showUi->ShowMessage(nullptr, text, nullptr, 0, nullptr, 0, &result), S_OK);
    POINT pt = {0, 0};
    EXPECT_EQ(showUi->ShowHelp(nullptr, nullptr, 0, 0, pt, nullptr), S_OK);
    // A site without a window cannot be activated in place.
    HWND wnd = reinterpret_cast<HWND>(1);
    EXPECT_EQ(site->GetWindow(&wnd), E_FAIL);
    EXPECT_EQ(showUi->Release(), 1u);
    EXPECT_EQ(site->Release(), 0u);
    EXPECT_EQ(fw::BrowserControlSite::LiveCount(), before);
}

TEST_F(BrowserHost, ClosingTheDialogLeavesNoSiteOrSinkBehind) {
    ASSERT_TRUE(NavigateAndWait(L"app://exitgame"));
    EXPECT_EQ(fw::BrowserControlSite::LiveCount(), sitesBefore + 1);
    EXPECT_EQ(fw::BrowserEventSink::LiveCount(), sinksBefore + 1);
    auto document = std::make_shared<FakeDocument>();
    dlg->nextDocument = document;
    const LONG dhtmlSinksBefore = fw::DhtmlEventSink::LiveCount();
    dlg->OnBrowserNavigateComplete2(nullptr, L"http://x/");
    EXPECT_EQ(fw::DhtmlEventSink::LiveCount(), dhtmlSinksBefore + 1);
    dlg->DestroyWindow();
    Pump(100);
    EXPECT_EQ(fw::BrowserControlSite::LiveCount(), sitesBefore);
    EXPECT_EQ(fw::BrowserEventSink::LiveCount(), sinksBefore);
    // The page's events were let go of with the window.
    EXPECT_EQ(document->disconnects, 1);
    EXPECT_FALSE(document->connectedSink);
    EXPECT_EQ(fw::DhtmlEventSink::LiveCount(), dhtmlSinksBefore);
}

TEST_F(BrowserHost, EachLoadedPageGetsAutoScrollBarsAndItsEventsBound) {
    auto first = std::make_shared<FakeDocument>();
    dlg->nextDocument = first;
    dlg->OnBrowserNavigateComplete2(nullptr, L"http://x/1");
    ASSERT_EQ(first->scrolls.size(), 1u);
    EXPECT_EQ(first->scrolls[0], L"auto");
    EXPECT_EQ(first->connects, 1);
    EXPECT_TRUE(first->connectedSink);

    auto second = std::make_shared<FakeDocument>();
    dlg->nextDocument = second;
    dlg->OnBrowserNavigateComplete2(nullptr, L"http://x/2");
    EXPECT_EQ(first->disconnects, 1);
    EXPECT_EQ(second->scrolls.size(), 1u);
    EXPECT_EQ(second->connects, 1);

    // A navigation without a document keeps the page we have.
    dlg->nextDocument = nullptr;
    dlg->OnBrowserNavigateComplete2(nullptr, L"about:blank");
    EXPECT_EQ(dlg->Document().get(), second.get());
}

TEST_F(BrowserHost, HoverAndLeaveShowTheirFramesAndAnswerFalse) {
    auto button = Button();
    EXPECT_EQ(Fire(kMouseOver, button), S_FALSE);
    EXPECT_EQ(Fire(kMouseOut, button), S_FALSE);
    EXPECT_EQ(button->positions, (std::vector<long>{-80, 0}));
    // Only the whole class name "button" makes an image button.
    auto other = std::make_shared<FakeElement>(L"button wide", L"SPAN");
    EXPECT_EQ(Fire(kMouseOver, other), S_OK);
    EXPECT_TRUE(other->positions.empty());
    // A disabled button shows no hover frame.
    auto disabled = Button();
    disabled->disabled = true;
    Fire(kMouseOver, disabled);
    EXPECT_TRUE(disabled->positions.empty());
}

TEST_F(BrowserHost, AReleaseOutsideThePressedButtonDoesNotClickIt) {
    auto button = Button();
    EXPECT_EQ(Fire(kMouseDown, button), S_FALSE);
    EXPECT_EQ(::GetCapture(), dlg->m_hWnd);
    EXPECT_EQ(button->positions, (std::vector<long>{-160}));
    // Leaving while pressed keeps the pressed frame; another button does not light up.
    Fire(kMouseOut, button);
    auto second = Button();
    Fire(kMouseOver, second);
    EXPECT_EQ(button->positions.size(), 1u);
    EXPECT_TRUE(second->positions.empty());

    // Released at (200, 5): outside the box 10..90 x 20..50.
    EXPECT_EQ(dlg->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(200, 5)), 0);
    EXPECT_EQ(button->clicks, 0);
    EXPECT_EQ(button->positions, (std::vector<long>{-160, 0}));
    EXPECT_EQ(::GetCapture(), nullptr);
    EXPECT_FALSE(dlg->PressedElement());
}

TEST_F(BrowserHost, AReleaseBackInsideClicksOnceAndARightReleaseEndsAPressToo) {
    auto button = Button();
    Fire(kMouseDown, button);
    dlg->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(89, 49));  // the last pixel inside
    EXPECT_EQ(button->clicks, 1);
    EXPECT_EQ(button->positions, (std::vector<long>{-160, -80}));

    Fire(kMouseDown, button);
    dlg->SendMessage(WM_RBUTTONUP, 0, MAKELPARAM(90, 49));  // just outside
    EXPECT_EQ(button->clicks, 1);
    EXPECT_EQ(button->positions.back(), 0);
    EXPECT_EQ(::GetCapture(), nullptr);

    // Without a press, a release is the dialog's own business: nothing is clicked.
    dlg->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(50, 30));
    EXPECT_EQ(button->clicks, 1);
    // A release point left of the dialog arrives as a negative word.
    Fire(kMouseDown, button);
    button->left = -100;
    dlg->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(-50, 30));
    EXPECT_EQ(button->clicks, 2);
}

TEST_F(BrowserHost, ANewPressReplacesTheHeldElement) {
    auto first = Button();
    auto second = Button();
    Fire(kMouseDown, first);
    Fire(kMouseDown, second);
    EXPECT_EQ(dlg->PressedElement().get(), second.get());
    // The dialog no longer holds the first one.
    EXPECT_EQ(first.use_count(), 1);
    dlg->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(20, 25));
    EXPECT_EQ(first->clicks, 0);
    EXPECT_EQ(second->clicks, 1);
}

TEST_F(BrowserHost, DisabledButtonsAreNeverPressedOrClickedByARelease) {
    auto button = Button();
    button->disabled = true;
    EXPECT_EQ(Fire(kMouseDown, button), S_FALSE);
    EXPECT_EQ(::GetCapture(), nullptr);
    EXPECT_TRUE(button->positions.empty());
    dlg->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(20, 25));
    EXPECT_EQ(button->clicks, 0);
}

TEST_F(BrowserHost, AMouseUpEventOnAButtonHoversAndClicks) {
    auto button = Button();
    EXPECT_EQ(Fire(kMouseUp, button), S_FALSE);
    EXPECT_EQ(button->positions, (std::vector<long>{-80}));
    EXPECT_EQ(button->clicks, 1);
}

TEST_F(BrowserHost, PageBackgroundsDragTheWindowAndHaveNoContextMenu) {
    ::SetCursorPos(300, 200);
    POINT cursor;
    ::GetCursorPos(&cursor);
    for (const wchar_t* tag : {L"BODY", L"td", L"Div"}) {
        auto background = std::make_shared<FakeElement>(L"", tag);
        dlg->ncMessages.clear();
        EXPECT_EQ(Fire(kMouseDown, background), S_FALSE) << tag;
        EXPECT_EQ(Fire(kMouseMove, background), S_FALSE) << tag;
        EXPECT_EQ(Fire(kMouseUp, background), S_FALSE) << tag;
        ASSERT_EQ(dlg->ncMessages.size(), 3u) << tag;
        EXPECT_EQ(dlg->ncMessages[0].message, static_cast<UINT>(WM_NCLBUTTONDOWN));
        EXPECT_EQ(dlg->ncMessages[1].message, static_cast<UINT>(WM_NCMOUSEMOVE));
        EXPECT_EQ(dlg->ncMessages[2].message, static_cast<UINT>(WM_NCLBUTTONUP));
        for (const MSG& m : dlg->ncMessages) {
            EXPECT_EQ(m.wParam, static_cast<WPARAM>(HTCAPTION));
            EXPECT_EQ(m.lParam, MAKELPARAM(cursor.x, cursor.y));
        }
        dlg->ncMessages.clear();
        EXPECT_EQ(Fire(kContextMenu, background), S_FALSE);
        EXPECT_TRUE(dlg->ncMessages.empty());
    }
    // Text inputs, links and images keep their own behaviour.
    auto input = std::make_shared<FakeElement>(L"", L"INPUT");
    EXPECT_EQ(Fire(kMouseDown, input), S_OK);
    EXPECT_EQ(Fire(kContextMenu, input), S_OK);
    EXPECT_TRUE(dlg->ncMessages.empty());
}

TEST_F(BrowserHost, EnterNeverClosesTheDialog) {
    dlg->SendMessage(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    ::PostMessageW(dlg->m_hWnd, WM_KEYDOWN, VK_RETURN, 1);
    Pump(100);
    EXPECT_TRUE(dlg->IsWindow());
}
