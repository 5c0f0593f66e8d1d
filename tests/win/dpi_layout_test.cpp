// The windows sized from their pictures, and the template buttons of the skinned dialogs, at
// 120 and 144 DPI: the pictures keep their pixels, so every control must still lie inside its
// window with its text fitting, and a button must keep its strip's size. The system's DPI is
// read once per process, so each DPI is checked in a process of its own.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "hotkey/SettingDlg.h"
#include "mainwnd/AddAccDlg.h"
#include "res/resource.h"
#include "support/PublisherTestSupport.h"
#include "support/WinTestSupport.h"
#include "support/UiTestSupport.h"
#include "web/NoticeLayout.h"
#include "web/PopInfoDlg.h"

using namespace testsupport;

namespace {

const wchar_t kDpiVariable[] = L"VOREL_TEST_DPI";
const wchar_t kReportVariable[] = L"VOREL_TEST_DPI_REPORT";
constexpr int kStripFrameWidth = 57;  // the command button strip, 133.png
constexpr int kStripFrameHeight = 23;

std::wstring Variable(const wchar_t* name) {
    wchar_t value[MAX_PATH] = L"";
    const DWORD n = ::GetEnvironmentVariableW(name, value, MAX_PATH);
    return n > 0 && n < MAX_PATH ? value : L"";
}

int ScreenDpi() {
    HDC screen = ::GetDC(nullptr);
    const int dpi = ::GetDeviceCaps(screen, LOGPIXELSY);
    ::ReleaseDC(nullptr, screen);
    return dpi;
}

// The display's DPI for the processes started while it lives, as the control panel sets it.
class ScopedLogPixels {
public:
    explicit ScopedLogPixels(DWORD dpi) {
        if (::RegCreateKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", 0, nullptr, 0,
                              KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, &m_key,
                              nullptr) != ERROR_SUCCESS) {
            m_key = nullptr;
            return;
        }
        DWORD size = sizeof(m_old), type = 0;
        m_hadOld = ::RegQueryValueExW(m_key, L"LogPixels", nullptr, &type,
                                      reinterpret_cast<BYTE*>(&m_old), &size) == ERROR_SUCCESS &&
                   type == REG_DWORD;
        m_set = ::RegSetValueExW(m_key, L"LogPixels", 0, REG_DWORD,
                                 reinterpret_cast<const BYTE*>(&dpi), sizeof(dpi)) == ERROR_SUCCESS;
    }
    ~ScopedLogPixels() {
        if (!m_key) return;
        if (m_hadOld) {
            ::RegSetValueExW(m_key, L"LogPixels", 0, REG_DWORD,
                             reinterpret_cast<const BYTE*>(&m_old), sizeof(m_old));
        } else {
            ::RegDeleteValueW(m_key, L"LogPixels");
        }
        ::RegCloseKey(m_key);
    }
    bool ok() const { return m_set; }

private:
    HKEY m_key = nullptr;
    DWORD m_old = 0;
    bool m_hadOld = false;
    bool m_set = false;
};

// Paints the window and every control now: a skinned text grows to its lines when it paints.
void PaintAll(HWND wnd) {
    ::RedrawWindow(wnd, nullptr, nullptr,
                   RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_ERASENOW);
    uitest::Pump(100);
}

RECT ClientRectOf(HWND dialog, HWND control) {
    RECT r;
    ::GetWindowRect(control, &r);
    ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

std::vector<HWND> VisibleControls(HWND dialog) {
    return DescendantsOf(
        dialog, [dialog](HWND c) { return ::GetParent(c) == dialog && ::IsWindowVisible(c); });
}

std::string Describe(HWND dialog, HWND control) {
    const RECT r = ClientRectOf(dialog, control);
    return "control " + std::to_string(::GetDlgCtrlID(control)) + " at (" + std::to_string(r.left) +
           ", " + std::to_string(r.top) + ")-(" + std::to_string(r.right) + ", " +
           std::to_string(r.bottom) + ")";
}

// Every visible control inside the client area; `except` may stand where its layout says.
int ExpectControlsInside(HWND dialog, const char* what, HWND except = nullptr) {
    RECT client;
    ::GetClientRect(dialog, &client);
    int checked = 0;
    for (HWND c : VisibleControls(dialog)) {
        if (c == except) continue;
        const RECT r = ClientRectOf(dialog, c);
        EXPECT_TRUE(r.left >= 0 && r.top >= 0 && r.right <= client.right &&
                    r.bottom <= client.bottom)
            << what << ": " << Describe(dialog, c) << " outside " << client.right << " x "
            << client.bottom;
        ++checked;
    }
    return checked;
}

// A skinned button: one strip frame in size, its text inside it.
void ExpectStripButton(HWND dialog, int id, const char* what) {
    HWND button = ::GetDlgItem(dialog, id);
    ASSERT_TRUE(button) << what;
    const RECT r = ClientRectOf(dialog, button);
    EXPECT_EQ(r.right - r.left, kStripFrameWidth) << what << ": " << Describe(dialog, button);
    EXPECT_EQ(r.bottom - r.top, kStripFrameHeight) << what << ": " << Describe(dialog, button);
    wchar_t text[64] = L"";
    const int length = ::GetWindowTextW(button, text, 64);
    HDC dc = ::GetDC(button);
    HGDIOBJ old =
        ::SelectObject(dc, reinterpret_cast<HFONT>(::SendMessageW(button, WM_GETFONT, 0, 0)));
    SIZE extent = {};
    ::GetTextExtentPoint32W(dc, text, length, &extent);
    ::SelectObject(dc, old);
    ::ReleaseDC(button, dc);
    EXPECT_LE(extent.cx, r.right - r.left) << what << ": text of button " << id;
    EXPECT_LE(extent.cy, r.bottom - r.top) << what << ": text of button " << id;
}

class Owner {
public:
    Owner() {
        m_wnd =
            ::CreateWindowExW(WS_EX_TOOLWINDOW, L"STATIC", L"owner", WS_POPUP | WS_VISIBLE, 0, 0,
                              40, 40, nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr);
    }
    ~Owner() { ::DestroyWindow(m_wnd); }
    HWND get() const { return m_wnd; }

private:
    HWND m_wnd;
};

class QuietPopup : public vorel::CPopInfoDlg {
protected:
    void OpenLink(const std::wstring&) override {}
};

}  // namespace

// Started by the test below in a process of its own at the DPI it names.
TEST(PictureSizedWindows, DISABLED_AtTheDpiOfThisProcess) {
    const int dpi = _wtoi(Variable(kDpiVariable).c_str());
    ASSERT_GT(dpi, 96) << "started without a DPI to check";
    ASSERT_EQ(ScreenDpi(), dpi) << "the system did not take the DPI";
    Owner owner;
    int checked = 0;

    vorel::CAddAccDlg choice;
    ASSERT_TRUE(choice.Create(owner.get()));
    choice.ShowWindow(SW_SHOWNOACTIVATE);
    PaintAll(choice.m_hWnd);
    RECT client;
    ::GetClientRect(choice.m_hWnd, &client);
    EXPECT_EQ(client.right, 284) << "the new-tab choice is its picture's size";
    EXPECT_EQ(client.bottom, 150);
    checked += ExpectControlsInside(choice.m_hWnd, "new-tab choice");
    ExpectStripButton(choice.m_hWnd, IDOK, "new-tab choice");
    ExpectStripButton(choice.m_hWnd, IDCANCEL, "new-tab choice");
    // The three lines of the question, not more: the text keeps the picture's scale.
    const RECT question =
        ClientRectOf(choice.m_hWnd, ::GetDlgItem(choice.m_hWnd, IDC_ADDACCOUNT_QUESTION));
    EXPECT_LE(question.bottom, ClientRectOf(choice.m_hWnd, ::GetDlgItem(choice.m_hWnd, IDOK)).top);

    // The notice in each of its layouts, the text one with a text that fills its line.
    TempFolder dir;
    const std::string textOnly = TestPath("text-only.txt");
    PublisherFault served(textOnly,
                          "{\"body\": " +
                              JsonString("D1|2099-12-31|Server opening|http://vorel.test/|" +
                                         std::string(80, 'x') + "||1") +
                              "}");
    const std::wstring notices[] = {PublisherUrl(L"/notice/tolvvorel.txt"),
                                    PublisherUrl(Widen(textOnly)),
                                    PublisherUrl(L"/notice/picture-only.txt")};
    int n = 0;
    for (const std::wstring& url : notices) {
        QuietPopup popup;
        popup.m_noticeUrl = url;
        popup.m_settingsFile = dir.File(L"Statistic" + std::to_wstring(++n) + L".ini");
        popup.m_picturePath = dir.File(L"PopWnd.jpg");
        ASSERT_TRUE(popup.CreateAndShow(owner.get()));
        ASSERT_TRUE(popup.DecidedToShow());
        PaintAll(popup.m_hWnd);
        RECT window;
        ::GetClientRect(popup.m_hWnd, &window);
        const std::string what = "notice layout " + std::to_string(n);
        // The picture alone reaches 3 pixels left of the window, as its layout wants.
        HWND except = nullptr;
        if (popup.Layout() == vorel::NoticeLayout::PictureOnly) {
            except = ::GetDlgItem(popup.m_hWnd, IDC_POP_CONTENT);
            const vorel::IntRect want =
                vorel::LayoutNotice(popup.Layout(), window.right, window.bottom).content.rect;
            const RECT r = ClientRectOf(popup.m_hWnd, except);
            EXPECT_TRUE(r.left == want.left && r.top == want.top && r.right == want.right &&
                        r.bottom == want.bottom)
                << what << ": " << Describe(popup.m_hWnd, except);
        }
        checked += ExpectControlsInside(popup.m_hWnd, what.c_str(), except);
        ::DestroyWindow(popup.m_hWnd);
    }

    // A skinned dialog sized in dialog units grows with the DPI; its buttons keep the strip's.
    vorel::CSettingDlg settings(owner.get());
    ASSERT_TRUE(settings.Create(owner.get()));
    settings.ShowWindow(SW_SHOWNOACTIVATE);
    PaintAll(settings.m_hWnd);
    ExpectStripButton(settings.m_hWnd, IDOK, "settings");
    ExpectStripButton(settings.m_hWnd, IDCANCEL, "settings");
    checked += ExpectControlsInside(settings.m_hWnd, "settings");

    // The test in the first process learns that the checks ran, not only that nothing failed.
    const std::wstring report = Variable(kReportVariable);
    ASSERT_FALSE(report.empty());
    WriteFileBytes(report, std::to_string(checked));
}

TEST(PictureSizedWindows, KeepTheirControlsInsideAndTheirTextFittingAt120And144Dpi) {
    TempFolder dir;
    for (DWORD dpi : {120u, 144u}) {
        SCOPED_TRACE(std::to_string(dpi) + " DPI");
        const std::wstring report = dir.File(L"checked-" + std::to_wstring(dpi) + L".txt");
        ScopedLogPixels display(dpi);
        ASSERT_TRUE(display.ok());
        ::SetEnvironmentVariableW(kDpiVariable, std::to_wstring(dpi).c_str());
        ::SetEnvironmentVariableW(kReportVariable, report.c_str());
        const ProcessResult run =
            RunAndWait(L"\"" + InBuildDir(L"vorel_win_tests.exe") +
                           L"\" --gtest_also_run_disabled_tests "
                           L"--gtest_filter=PictureSizedWindows.DISABLED_AtTheDpiOfThisProcess",
                       90000);
        ::SetEnvironmentVariableW(kDpiVariable, nullptr);
        ::SetEnvironmentVariableW(kReportVariable, nullptr);
        ASSERT_TRUE(run.finished);
        EXPECT_EQ(run.exitCode, 0u) << "the checks failed in the process at this DPI (above)";
        // The choice's 3 controls, the notices' 5 + 4 + 1 with their close buttons, and the
        // settings dialog's 14.
        EXPECT_GE(std::atoi(ReadFileBytes(report).c_str()), 20) << "the checks did not run";
    }
}
