// The favourites dialog under Wine: the shortcut file it writes, and the names and addresses
// it refuses in the dialog without writing anything.
#include <gtest/gtest.h>

#include <shlobj.h>

#include <functional>

#include "res/resource.h"
#include "support/PublisherTestSupport.h"
#include "support/WinTestSupport.h"
#include "web/FavDlg.h"
#include "support/WebTestSupport.h"

using namespace webtest;
using testsupport::FileExists;
using testsupport::ReadFileBytes;
using testsupport::TempFolder;

namespace {

std::string ExpectedBytes(const std::string& address) {
    return "[DEFAULT]\r\nBASEURL=" + address +
           "\r\n[{000214A0-0000-0000-C000-000000000046}]\r\n=19,2\r\n[InternetShortcut]\r\nURL=" +
           address + "\r\nIDList=\r\n";
}

size_t FilesIn(const std::wstring& folder) {
    size_t n = 0;
    WIN32_FIND_DATAW found;
    HANDLE find = ::FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE) return 0;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) ++n;
    } while (::FindNextFileW(find, &found));
    ::FindClose(find);
    return n;
}

std::wstring ItemText(HWND dialog, int id) {
    wchar_t text[512] = L"";
    ::GetDlgItemTextW(dialog, id, text, 512);
    return text;
}

// Runs the dialog; `step` gets its window on a timer until it answers true.
INT_PTR RunDialog(vorel::CFavDlg& dialog, std::function<bool(HWND)> step) {
    TimerSteps driver([&] { return dialog.IsWindow() && step(dialog.m_hWnd); });
    return dialog.DoModal();
}

void Press(HWND dialog, int id) {
    ::SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
}

const std::string kAddress = "http://localhost/game/play.htm?server=3";

}  // namespace

TEST(Favorites, SavingWritesTheSevenLinesUnderTheProposedName) {
    TempFolder folder;
    vorel::CFavDlg dialog(L"龙腾四海 3服", testsupport::Widen(kAddress), nullptr);
    dialog.SetFolder(folder.path());
    std::wstring proposed;
    const INT_PTR result = RunDialog(dialog, [&](HWND wnd) {
        proposed = ItemText(wnd, IDC_FAV_NAME);
        Press(wnd, IDOK);
        return true;
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(proposed, L"龙腾四海 3服");
    const std::wstring file = folder.File(L"龙腾四海 3服.url");
    ASSERT_TRUE(FileExists(file));
    EXPECT_EQ(ReadFileBytes(file), ExpectedBytes(kAddress));
    EXPECT_EQ(FilesIn(folder.path()), 1u);
}

TEST(Favorites, A127CharacterNameIsWholeALongerTitleIsCut) {
    TempFolder folder;
    const std::wstring name127(127, L'n');
    vorel::CFavDlg dialog(name127 + L"xyz", L"http://g/", nullptr);
    dialog.SetFolder(folder.path());
    EXPECT_EQ(RunDialog(dialog,
                        [&](HWND wnd) {
                            Press(wnd, IDOK);
                            return true;
                        }),
              IDOK);
    EXPECT_TRUE(FileExists(folder.File(name127 + L".url")));
    EXPECT_EQ(FilesIn(folder.path()), 1u);
}

TEST(Favorites, AnExistingShortcutIsReplaced) {
    TempFolder folder;
    testsupport::WriteFileBytes(folder.File(L"game.url"), std::string(2000, 'x'));
    vorel::CFavDlg dialog(L"game", L"http://g/new", nullptr);
    dialog.SetFolder(folder.path());
    RunDialog(dialog, [&](HWND wnd) {
        Press(wnd, IDOK);
        return true;
    });
    EXPECT_EQ(ReadFileBytes(folder.File(L"game.url")), ExpectedBytes("http://g/new"));
}

TEST(Favorites, ANameThatIsNoFileNameIsRefusedInTheDialogAndCanBeCorrected) {
    TempFolder folder;
    // A page title that would climb out of the Favorites folder.
    vorel::CFavDlg dialog(L"..\\..\\Start Menu\\Programs\\Startup\\run", L"http://g/", nullptr);
    dialog.SetFolder(folder.path());
    std::wstring refusal;
    size_t filesAfterRefusal = 99;
    bool stillOpen = false;
    int step = 0;
    const INT_PTR result = RunDialog(dialog, [&](HWND wnd) {
        if (step++ == 0) {
            EXPECT_EQ(ItemText(wnd, IDC_FAV_MESSAGE), L"");
            Press(wnd, IDOK);
            refusal = ItemText(wnd, IDC_FAV_MESSAGE);
            filesAfterRefusal = FilesIn(folder.path());
            stillOpen = dialog.Result() == -1 && ::IsWindow(wnd);
            return false;
        }
        ::SetDlgItemTextW(wnd, IDC_FAV_NAME, L"run");
        Press(wnd, IDOK);
        return true;
    });
    EXPECT_TRUE(stillOpen);
    EXPECT_FALSE(refusal.empty());
    EXPECT_EQ(filesAfterRefusal, 0u);
    EXPECT_EQ(result, IDOK);
    EXPECT_TRUE(FileExists(folder.File(L"run.url")));
    EXPECT_EQ(FilesIn(folder.path()), 1u);
}

TEST(Favorites, RefusedNamesAndAddressesWriteNothing) {
    TempFolder folder;
    const std::wstring longAddress = L"http://g/" + std::wstring(195, L'a');  // 204 characters
    struct Case {
        std::wstring name, address;
    } cases[] = {{L"c:x", L"http://g/"}, {L"a*b", L"http://g/"}, {L"NUL", L"http://g/"},
                 {L"", L"http://g/"},    {L"x.", L"http://g/"},  {L"ok", longAddress},
                 {L"a/b", L"http://g/"}};
    for (const Case& c : cases) {
        vorel::CFavDlg dialog(c.name, c.address, nullptr);
        dialog.SetFolder(folder.path());
        std::wstring refusal;
        const INT_PTR result = RunDialog(dialog, [&](HWND wnd) {
            Press(wnd, IDOK);
            refusal = ItemText(wnd, IDC_FAV_MESSAGE);
            Press(wnd, IDCANCEL);
            return true;
        });
        EXPECT_EQ(result, IDCANCEL) << c.name;
        EXPECT_FALSE(refusal.empty()) << c.name;
        EXPECT_EQ(FilesIn(folder.path()), 0u) << c.name;
    }
    // 203 characters still fit.
    EXPECT_EQ(vorel::WriteFavoriteShortcut(folder.path(), L"ok", longAddress.substr(0, 203)),
              nullptr);
    EXPECT_EQ(ReadFileBytes(folder.File(L"ok.url")).size(), 511u);
}

TEST(Favorites, CancelWritesNothing) {
    TempFolder folder;
    vorel::CFavDlg dialog(L"game", L"http://g/", nullptr);
    dialog.SetFolder(folder.path());
    EXPECT_EQ(RunDialog(dialog,
                        [&](HWND wnd) {
                            Press(wnd, IDCANCEL);
                            return true;
                        }),
              IDCANCEL);
    EXPECT_EQ(FilesIn(folder.path()), 0u);
}

TEST(Favorites, WithoutAFolderTheUsersFavoritesFolderIsUsed) {
    wchar_t favorites[MAX_PATH] = L"";
    ASSERT_TRUE(SUCCEEDED(
        ::SHGetFolderPathW(nullptr, CSIDL_FAVORITES | CSIDL_FLAG_CREATE, nullptr, 0, favorites)));
    const std::wstring file = std::wstring(favorites) + L"\\vorel-favourite-test.url";
    ::DeleteFileW(file.c_str());
    vorel::CFavDlg dialog(L"vorel-favourite-test", L"http://g/fav", nullptr);
    EXPECT_EQ(RunDialog(dialog,
                        [&](HWND wnd) {
                            Press(wnd, IDOK);
                            return true;
                        }),
              IDOK);
    EXPECT_EQ(ReadFileBytes(file), ExpectedBytes("http://g/fav"));
    ::DeleteFileW(file.c_str());
}
