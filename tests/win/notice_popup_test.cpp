// The popup notice window against the session's publisher server: its three layouts, its
// place and z-order, the showings driven by WM_TIMER, and what closing and clicking store.
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "support/NoticeTestSupport.h"
#include "res/resource.h"
#include "support/PublisherTestSupport.h"
#include "support/WinTestSupport.h"
#include "support/UiTestSupport.h"
#include "web/PopInfoDlg.h"

using namespace testsupport;

namespace {

// The shell is not asked: the links a click would open are recorded.
class TestPopup : public vorel::CPopInfoDlg {
public:
    std::vector<std::wstring> opened;

protected:
    void OpenLink(const std::wstring& link) override { opened.push_back(link); }
};

// A visible stand-in for the main window, the popup's owner.
class MainWindow {
public:
    MainWindow() {
        m_wnd = ::CreateWindowExW(WS_EX_TOOLWINDOW, L"STATIC", L"main", WS_POPUP | WS_VISIBLE, 0, 0,
                                  40, 40, nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr);
    }
    ~MainWindow() { ::DestroyWindow(m_wnd); }
    HWND get() const { return m_wnd; }

private:
    HWND m_wnd;
};

std::wstring DateText(const SYSTEMTIME& t) {
    wchar_t text[32];
    swprintf(text, 32, L"%04d-%02d-%02d", t.wYear, t.wMonth, t.wDay);
    return text;
}

std::wstring Today() {
    SYSTEMTIME now;
    ::GetLocalTime(&now);
    return DateText(now);
}

std::wstring Yesterday() {
    SYSTEMTIME now;
    ::GetLocalTime(&now);
    FILETIME file;
    ::SystemTimeToFileTime(&now, &file);
    ULARGE_INTEGER t;
    t.LowPart = file.dwLowDateTime;
    t.HighPart = file.dwHighDateTime;
    t.QuadPart -= 24ull * 60 * 60 * 10000000;
    file.dwLowDateTime = t.LowPart;
    file.dwHighDateTime = t.HighPart;
    ::FileTimeToSystemTime(&file, &now);
    return DateText(now);
}

std::string Narrow(const std::wstring& ascii) { return std::string(ascii.begin(), ascii.end()); }

// Ended for good: hidden, no timers, nothing it reacts to any more.
bool HasEnded(const vorel::CPopInfoDlg& popup) {
    return popup.HasEnded() && popup.m_hWnd && !::IsWindowVisible(popup.m_hWnd);
}

class NoticePopup : public ::testing::Test {
protected:
    std::wstring Ini() const { return m_dir.File(L"Statistic.ini"); }
    std::wstring PopEnable() const { return ReadIniValue(Ini(), L"TolvVorel", L"PopEnable"); }
    std::wstring PopInfo() const { return ReadIniValue(Ini(), L"TolvVorel", L"PopInfo"); }

    // Serves an ASCII notice at a path of this test and opens the popup on it.
    void Open(const std::wstring& notice, const std::string& name = "notice.txt") {
        const std::string path = TestPath(name);
        m_faults.emplace_back(
            new PublisherFault(path, "{\"body\": " + JsonString(Narrow(notice)) + "}"));
        OpenUrl(PublisherUrl(Widen(path)));
    }

    void OpenUrl(const std::wstring& url) {
        m_popup.m_noticeUrl = url;
        m_popup.m_settingsFile = Ini();
        m_popup.m_picturePath = m_dir.File(L"PopWnd.jpg");
        ASSERT_TRUE(m_popup.CreateAndShow(m_main.get()));
        uitest::Pump();
    }

    bool Ended() const { return HasEnded(m_popup); }
    bool Visible() const { return m_popup.m_hWnd && ::IsWindowVisible(m_popup.m_hWnd); }
    void Timer(UINT_PTR id) { ::SendMessageW(m_popup.m_hWnd, WM_TIMER, id, 0); }

    TempFolder m_dir;
    MainWindow m_main;
    std::vector<std::unique_ptr<PublisherFault>> m_faults;
    TestPopup m_popup;
};

// Where a control is, in the popup's client coordinates; empty when hidden.
RECT ControlRect(HWND dialog, int id) {
    RECT r = {};
    HWND control = ::GetDlgItem(dialog, id);
    if (!control || !::IsWindowVisible(control)) return r;
    ::GetWindowRect(control, &r);
    ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

// A label grows downwards when its font's line is higher than its rectangle, never otherwise.
::testing::AssertionResult At(HWND dialog, int id, RECT expected) {
    const RECT r = ControlRect(dialog, id);
    if (r.left == expected.left && r.top == expected.top && r.right == expected.right &&
        r.bottom >= expected.bottom && r.bottom <= expected.bottom + 8)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "control " << id << " at (" << r.left << ", " << r.top << ")-(" << r.right << ", "
           << r.bottom << "), expected (" << expected.left << ", " << expected.top << ")-("
           << expected.right << ", " << expected.bottom << ")";
}

// A text control that starts at (left, top) with the given right edge: it may have grown
// downwards for more lines.
::testing::AssertionResult StartsAt(HWND dialog, int id, int left, int top, int right) {
    const RECT r = ControlRect(dialog, id);
    if (r.left == left && r.top == top && r.right == right) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "control " << id << " starts at (" << r.left << ", " << r.top << ") and ends at x "
           << r.right << ", expected (" << left << ", " << top << ") and x " << right;
}

bool Hidden(HWND dialog, int id) { return !::IsWindowVisible(::GetDlgItem(dialog, id)); }

// A notice with every field, served as plain ASCII.
std::wstring Notice(const std::wstring& id, const std::wstring& lastDay, int showings,
                    const std::wstring& link = L"http://vorel.test/news",
                    const std::wstring& text = L"Double experience all week") {
    return id + L"|" + lastDay + L"|Server opening|" + link + L"|" + text + L"||" +
           std::to_wstring(showings);
}

}  // namespace

TEST_F(NoticePopup, PictureAndTextStandsAtTheWorkAreaCornerAboveEveryWindow) {
    OpenUrl(PublisherUrl(L"/notice/tolvvorel.txt"));
    ASSERT_TRUE(m_popup.DecidedToShow());
    ASSERT_TRUE(Visible());
    HWND dlg = m_popup.m_hWnd;
    EXPECT_EQ(m_popup.Layout(), vorel::NoticeLayout::PictureAndText);

    RECT window, work;
    ::GetWindowRect(dlg, &window);
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_EQ(window.right, work.right);
    EXPECT_EQ(window.bottom, work.bottom);
    EXPECT_EQ(window.right - window.left, 250) << "the window takes its skin's size";
    EXPECT_EQ(window.bottom - window.top, 191);
    const LONG_PTR ex = ::GetWindowLongPtrW(dlg, GWL_EXSTYLE);
    EXPECT_TRUE(ex & WS_EX_TOPMOST);
    EXPECT_TRUE(ex & WS_EX_TOOLWINDOW);
    EXPECT_FALSE(ex & WS_EX_APPWINDOW);
    EXPECT_FALSE(ex & WS_EX_LAYERED);
    EXPECT_NE(::GetForegroundWindow(), dlg) << "the notice does not take the keyboard";

    EXPECT_TRUE(At(dlg, IDC_POP_PICTURE, {15, 67, 90, 147}));
    EXPECT_TRUE(At(dlg, IDC_POP_DETAILS, {195, 168, 237, 181}));
    EXPECT_TRUE(StartsAt(dlg, IDC_POP_TITLE, 100, 48, 230));
    EXPECT_TRUE(StartsAt(dlg, IDC_POP_CONTENT, 100, 68, 234));
    EXPECT_TRUE(::GetWindowLongPtrW(::GetDlgItem(dlg, IDC_POP_CONTENT), GWL_STYLE) & SS_NOTIFY);
    EXPECT_FALSE(::GetWindowLongPtrW(::GetDlgItem(dlg, IDC_POP_PICTURE), GWL_STYLE) & SS_NOTIFY);

    // The picture was downloaded beside the settings and is what the picture control shows:
    // the drawn night sky, not the skin's white frame.
    EXPECT_TRUE(FileExists(m_dir.File(L"PopWnd.jpg")));
    const COLORREF sky = uitest::ScreenPixel(dlg, 15 + 3 + 10, 67 + 5);
    EXPECT_LT(GetRValue(sky) + GetGValue(sky) + GetBValue(sky), 3 * 128) << std::hex << sky;

    // Accepted for showing: stored as the last notice, allowed to come back.
    EXPECT_EQ(PopEnable(), L"1");
    EXPECT_FALSE(PopInfo().empty());
    EXPECT_NE(PopInfo().find(L"|3"), std::wstring::npos);
}

TEST_F(NoticePopup, TextOnlyUsesTheWholeWidthWithoutAPictureControl) {
    Open(Notice(L"T1", L"2099-12-31", 1, L"http://vorel.test/news", std::wstring(80, L'x')));
    ASSERT_TRUE(Visible());
    HWND dlg = m_popup.m_hWnd;
    EXPECT_EQ(m_popup.Layout(), vorel::NoticeLayout::TextOnly);
    RECT window;
    ::GetWindowRect(dlg, &window);
    EXPECT_EQ(window.right - window.left, 250);
    EXPECT_EQ(window.bottom - window.top, 167);
    EXPECT_TRUE(Hidden(dlg, IDC_POP_PICTURE));
    EXPECT_TRUE(At(dlg, IDC_POP_DETAILS, {195, 145, 237, 158}));
    EXPECT_TRUE(StartsAt(dlg, IDC_POP_TITLE, 0, 45, 250));
    EXPECT_TRUE(StartsAt(dlg, IDC_POP_CONTENT, 18, 65, 234));
    EXPECT_TRUE(::GetWindowLongPtrW(::GetDlgItem(dlg, IDC_POP_TITLE), GWL_STYLE) & SS_NOTIFY);
    EXPECT_FALSE(FileExists(m_dir.File(L"PopWnd.jpg"))) << "no picture, no download";
}

TEST_F(NoticePopup, PictureOnlyFillsTheWindowAndKeysMagentaOut) {
    OpenUrl(PublisherUrl(L"/notice/picture-only.txt"));
    ASSERT_TRUE(Visible());
    HWND dlg = m_popup.m_hWnd;
    EXPECT_EQ(m_popup.Layout(), vorel::NoticeLayout::PictureOnly);
    RECT window, work;
    ::GetWindowRect(dlg, &window);
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_EQ(window.right - window.left, 160);
    EXPECT_EQ(window.bottom - window.top, 212);
    EXPECT_EQ(window.right, work.right);
    EXPECT_EQ(window.bottom, work.bottom);
    EXPECT_TRUE(::GetWindowLongPtrW(dlg, GWL_EXSTYLE) & WS_EX_LAYERED);
    COLORREF key = 0;
    DWORD flags = 0;
    ASSERT_TRUE(::GetLayeredWindowAttributes(dlg, &key, nullptr, &flags));
    EXPECT_EQ(key, RGB(255, 0, 255));
    EXPECT_TRUE(flags & LWA_COLORKEY);

    EXPECT_TRUE(At(dlg, IDC_POP_CONTENT, {-3, 22, 160, 212}));
    EXPECT_TRUE(Hidden(dlg, IDC_POP_PICTURE));
    EXPECT_TRUE(Hidden(dlg, IDC_POP_TITLE));
    EXPECT_TRUE(Hidden(dlg, IDC_POP_DETAILS));
    EXPECT_TRUE(::GetWindowLongPtrW(::GetDlgItem(dlg, IDC_POP_CONTENT), GWL_STYLE) & SS_NOTIFY);
    // The picture lies over the skin's dark body: its sun shines where the body is dark.
    EXPECT_TRUE(FileExists(m_dir.File(L"PopWnd.jpg")));
    const COLORREF sun = uitest::ScreenPixel(dlg, 124, 22 + 36);
    EXPECT_GT(GetRValue(sun) + GetGValue(sun) + GetBValue(sun), 600) << std::hex << sun;

    // A click on the picture opens the link.
    ::SendMessageW(dlg, WM_COMMAND, MAKEWPARAM(IDC_POP_CONTENT, STN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(dlg, IDC_POP_CONTENT)));
    EXPECT_TRUE(Ended());
    ASSERT_EQ(m_popup.opened.size(), 1u);
    EXPECT_EQ(m_popup.opened[0].rfind(L"http://localhost:", 0), 0u) << m_popup.opened[0];
}

TEST_F(NoticePopup, OneShowingEndsAfterItsElevenSecondsAndLetsTheNoticeComeBack) {
    Open(Notice(L"S1", L"2099-12-31", 1));
    ASSERT_TRUE(Visible());
    EXPECT_EQ(PopEnable(), L"1");
    WriteIniValue(Ini(), L"TolvVorel", L"PopEnable", L"changed");
    Timer(1);
    EXPECT_TRUE(Ended());
    EXPECT_EQ(PopEnable(), L"1");
    EXPECT_TRUE(m_popup.opened.empty());
}

TEST_F(NoticePopup, ThreeShowingsWithHiddenGapsAndAShowingSkippedWhileTheMainWindowIsHidden) {
    Open(Notice(L"S3", L"2099-12-31", 3));
    ASSERT_TRUE(Visible());
    Timer(1);
    EXPECT_FALSE(Ended());
    EXPECT_FALSE(Visible()) << "hidden for the 40 minutes between showings";
    Timer(2);
    EXPECT_TRUE(Visible());
    EXPECT_EQ(m_popup.Showings().showing(), 2);
    Timer(1);
    EXPECT_FALSE(Visible());
    ::ShowWindow(m_main.get(), SW_HIDE);
    Timer(2);
    EXPECT_FALSE(Visible()) << "the boss key hides the main window: this showing is not seen";
    EXPECT_EQ(m_popup.Showings().showing(), 3);
    EXPECT_FALSE(Ended());
    WriteIniValue(Ini(), L"TolvVorel", L"PopEnable", L"changed");
    Timer(1);
    EXPECT_TRUE(Ended());
    EXPECT_EQ(PopEnable(), L"1");
}

TEST_F(NoticePopup, TheCloseButtonEndsItAndStoresZero) {
    Open(Notice(L"C1", L"2099-12-31", 3));
    ASSERT_TRUE(Visible());
    HWND close = ::GetDlgItem(m_popup.m_hWnd, vorel::CDlgEx::kCloseButtonId);
    ASSERT_NE(close, nullptr);
    ::SendMessageW(close, BM_CLICK, 0, 0);
    uitest::Pump();  // the posted SC_CLOSE passes PreTranslateMessage
    EXPECT_TRUE(Ended());
    EXPECT_EQ(PopEnable(), L"0");
    EXPECT_TRUE(m_popup.opened.empty());
}

TEST_F(NoticePopup, AClickOnTheTextEndsItOpensTheLinkAndStoresZero) {
    Open(Notice(L"K1", L"2099-12-31", 3, L"https://vorel.test/event?id=7"));
    ASSERT_TRUE(Visible());
    HWND text = ::GetDlgItem(m_popup.m_hWnd, IDC_POP_CONTENT);
    // A real click: the static control itself reports it, which needs SS_NOTIFY.
    ::SendMessageW(text, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    ::SendMessageW(text, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    uitest::Pump();
    EXPECT_TRUE(Ended());
    ASSERT_EQ(m_popup.opened.size(), 1u);
    EXPECT_EQ(m_popup.opened[0], L"https://vorel.test/event?id=7");
    EXPECT_EQ(PopEnable(), L"0");
}

TEST_F(NoticePopup, ALinkThatIsNoWebAddressIsNeverOpened) {
    // From the network to the shell's "open" verb: a program or a file must not start.
    Open(Notice(L"M1", L"2099-12-31", 3, L"C:\\windows\\system32\\calc.exe"));
    ASSERT_TRUE(Visible());
    ::SendMessageW(m_popup.m_hWnd, WM_COMMAND, MAKEWPARAM(IDC_POP_DETAILS, STN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(m_popup.m_hWnd, IDC_POP_DETAILS)));
    EXPECT_TRUE(Ended()) << "the click still ends the notice";
    EXPECT_TRUE(m_popup.opened.empty());
    EXPECT_EQ(PopEnable(), L"0");
}

TEST_F(NoticePopup, EnterEscapeAndThePictureDoNothing) {
    Open(Notice(L"E1", L"2099-12-31", 3));
    ASSERT_TRUE(Visible());
    HWND dlg = m_popup.m_hWnd;
    ::PostMessageW(dlg, WM_KEYDOWN, VK_RETURN, 0);
    ::PostMessageW(dlg, WM_KEYDOWN, VK_ESCAPE, 0);
    ::SendMessageW(dlg, WM_COMMAND, IDOK, 0);
    ::SendMessageW(dlg, WM_COMMAND, IDCANCEL, 0);
    ::SendMessageW(dlg, WM_COMMAND, MAKEWPARAM(IDC_POP_PICTURE, STN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(dlg, IDC_POP_PICTURE)));
    uitest::Pump();
    EXPECT_TRUE(Visible());
    EXPECT_TRUE(m_popup.opened.empty());
    EXPECT_EQ(PopEnable(), L"1");
}

TEST_F(NoticePopup, TheLastDayIsShownTheDayBeforeIsNot) {
    Open(Notice(L"D1", Today(), 1));
    EXPECT_TRUE(m_popup.DecidedToShow());
    EXPECT_TRUE(Visible());

    TestPopup late;
    const std::string path = TestPath("yesterday.txt");
    PublisherFault fault(path,
                         "{\"body\": " + JsonString(Narrow(Notice(L"D2", Yesterday(), 1))) + "}");
    late.m_noticeUrl = PublisherUrl(Widen(path));
    late.m_settingsFile = Ini();
    late.m_picturePath = m_dir.File(L"PopWnd.jpg");
    ASSERT_TRUE(late.CreateAndShow(m_main.get()));
    EXPECT_EQ(late.Verdict(), vorel::NoticeVerdict::Expired);
    EXPECT_FALSE(::IsWindowVisible(late.m_hWnd));
    uitest::Pump();
    EXPECT_TRUE(HasEnded(late)) << "the hidden popup ends itself";
    EXPECT_NE(PopInfo().find(L"D1|"), std::wstring::npos) << "the expired notice is not stored";
}

TEST_F(NoticePopup, ClosedBeforeStaysHiddenUntilTheNoticeChanges) {
    const std::wstring notice = Notice(L"R1", L"2099-12-31", 1);
    WriteIniValue(Ini(), L"TolvVorel", L"PopInfo", notice.c_str());
    WriteIniValue(Ini(), L"TolvVorel", L"PopEnable", L"0");
    Open(notice, "same.txt");
    EXPECT_EQ(m_popup.Verdict(), vorel::NoticeVerdict::ClosedBefore);
    EXPECT_TRUE(Ended());

    TestPopup changed;
    const std::string path = TestPath("changed.txt");
    PublisherFault fault(path,
                         "{\"body\": " + JsonString(Narrow(Notice(L"R2", L"2099-12-31", 1))) + "}");
    changed.m_noticeUrl = PublisherUrl(Widen(path));
    changed.m_settingsFile = Ini();
    changed.m_picturePath = m_dir.File(L"PopWnd.jpg");
    ASSERT_TRUE(changed.CreateAndShow(m_main.get()));
    EXPECT_TRUE(::IsWindowVisible(changed.m_hWnd));
    EXPECT_EQ(PopEnable(), L"1");
    EXPECT_EQ(PopInfo(), Notice(L"R2", L"2099-12-31", 1));
}

TEST_F(NoticePopup, NoNoticeLeavesTheSettingsAsTheyWere) {
    WriteIniValue(Ini(), L"TolvVorel", L"PopInfo", L"old|notice");
    WriteIniValue(Ini(), L"TolvVorel", L"PopEnable", L"0");
    const std::string before = ReadFileBytes(Ini());
    const std::string head = Narrow(Notice(L"X", L"2099-12-31", 1));
    struct Case {
        const char* name;
        std::string behaviour;
    } cases[] = {
        {"missing.txt", "{\"status\": 404}"},
        {"unmeasured.txt", "{\"body\": " + JsonString(head) + ", \"no_length\": true}"},
        {"oversized.txt", "{\"body\": " + JsonString(head + std::string(1024, '1')) + "}"},
        {"broken.txt", "{\"body\": \"a|b|c\"}"},
        {"expired.txt", "{\"body\": " + JsonString(Narrow(Notice(L"X", L"2001-01-01", 1))) + "}"},
    };
    for (const Case& c : cases) {
        TestPopup popup;
        const std::string path = TestPath(c.name);
        PublisherFault fault(path, c.behaviour);
        popup.m_noticeUrl = PublisherUrl(Widen(path));
        popup.m_settingsFile = Ini();
        popup.m_picturePath = m_dir.File(L"PopWnd.jpg");
        ASSERT_TRUE(popup.CreateAndShow(m_main.get())) << c.name;
        EXPECT_FALSE(popup.DecidedToShow()) << c.name;
        EXPECT_FALSE(::IsWindowVisible(popup.m_hWnd)) << c.name;
        uitest::Pump();
        EXPECT_TRUE(HasEnded(popup)) << c.name;
        EXPECT_EQ(LogEntriesFor(path).size(), 1u) << c.name;
    }
    EXPECT_EQ(ReadFileBytes(Ini()), before);
}
