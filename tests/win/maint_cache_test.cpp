// Cache cleaning on real folders, the prefix's Flash shared-object store and its URL cache.
#include <gtest/gtest.h>
#include <shlobj.h>
#include <wininet.h>

#include <string>

#include "maint/CacheCleaning.h"
#include "support/PublisherTestSupport.h"
#include "support/WinTestSupport.h"

using namespace testsupport;

namespace {

bool MakeFile(const std::wstring& path, DWORD attributes = FILE_ATTRIBUTE_NORMAL) {
    return WriteFileBytes(path, "data") && ::SetFileAttributesW(path.c_str(), attributes);
}

std::wstring ShellFolder(int csidl) {
    wchar_t path[MAX_PATH] = L"";
    if (FAILED(::SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path))) return L"";
    return path;
}

// A cache entry as the browser makes one: a local file, then the entry that names it.
bool CommitEntry(const std::wstring& url, DWORD type) {
    wchar_t file[MAX_PATH] = L"";
    if (!::CreateUrlCacheEntryW(url.c_str(), 0, L"txt", file, 0)) return false;
    if (!WriteFileBytes(file, "cached")) return false;
    FILETIME none = {};
    return ::CommitUrlCacheEntryW(url.c_str(), file, none, none, type, nullptr, 0, L"txt",
                                  nullptr) != FALSE;
}

bool InUrlCache(const std::wstring& url) {
    DWORD size = 0;
    ::GetUrlCacheEntryInfoW(url.c_str(), nullptr, &size);
    return ::GetLastError() == ERROR_INSUFFICIENT_BUFFER;
}

}  // namespace

TEST(DeleteDirectoryTree, RemovesNestedFoldersAndReadOnlyFiles) {
    TempFolder dir;
    const std::wstring root = dir.File(L"tree");
    ASSERT_TRUE(EnsureDir(root + L"\\site\\game.swf"));
    ASSERT_TRUE(EnsureDir(root + L"\\empty"));
    ASSERT_TRUE(MakeFile(root + L"\\site\\game.swf\\save.sol", FILE_ATTRIBUTE_READONLY));
    ASSERT_TRUE(MakeFile(root + L"\\top.sol", FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN));
    ASSERT_TRUE(MakeFile(root + L"\\plain.txt"));

    ::SetLastError(12345);
    EXPECT_TRUE(vorel::DeleteDirectoryTree(root.c_str()));
    EXPECT_FALSE(FileExists(root));
    // A trailing backslash names the same folder.
    ASSERT_TRUE(EnsureDir(root));
    ASSERT_TRUE(MakeFile(root + L"\\x.txt", FILE_ATTRIBUTE_READONLY));
    EXPECT_TRUE(vorel::DeleteDirectoryTree((root + L"\\").c_str()));
    EXPECT_FALSE(FileExists(root));
}

TEST(DeleteDirectoryTree, AMissingFolderGivesTheRemovalsError) {
    TempFolder dir;
    EXPECT_FALSE(vorel::DeleteDirectoryTree(dir.File(L"absent").c_str()));
    const DWORD error = ::GetLastError();
    EXPECT_TRUE(error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) << error;
}

TEST(DeleteDirectoryTree, AFileInUseStaysWithItsFoldersAndItsErrorIsReported) {
    TempFolder dir;
    const std::wstring root = dir.File(L"busy");
    ASSERT_TRUE(EnsureDir(root + L"\\inner"));
    ASSERT_TRUE(MakeFile(root + L"\\inner\\open.sol"));
    ASSERT_TRUE(MakeFile(root + L"\\free.sol", FILE_ATTRIBUTE_READONLY));
    HANDLE open = ::CreateFileW((root + L"\\inner\\open.sol").c_str(), GENERIC_READ,
                                FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(open, INVALID_HANDLE_VALUE);

    EXPECT_FALSE(vorel::DeleteDirectoryTree(root.c_str()));
    // The open file was in the sub-folder: its own deletion's error was ignored there, and
    // this level reports why it could not remove its folder.
    EXPECT_EQ(::GetLastError(), DWORD(ERROR_DIR_NOT_EMPTY));
    EXPECT_TRUE(FileExists(root + L"\\inner\\open.sol"));
    EXPECT_FALSE(FileExists(root + L"\\free.sol"));

    EXPECT_FALSE(vorel::DeleteDirectoryTree((root + L"\\inner").c_str()));
    EXPECT_EQ(::GetLastError(), DWORD(ERROR_SHARING_VIOLATION)) << "a file's error comes first";
    ::CloseHandle(open);
    EXPECT_TRUE(vorel::DeleteDirectoryTree(root.c_str()));
    EXPECT_FALSE(FileExists(root));
}

TEST(DeleteDirectoryTree, ALinkedFolderGoesWithoutWhatItPointsTo) {
    TempFolder dir;
    const std::wstring root = dir.File(L"store"), outside = dir.File(L"keep");
    ASSERT_TRUE(EnsureDir(root));
    ASSERT_TRUE(EnsureDir(outside));
    ASSERT_TRUE(MakeFile(outside + L"\\precious.txt"));
    // Windows 6 and later; the build targets XP, so the call is looked up.
    using CreateLink = BOOLEAN(WINAPI*)(LPCWSTR, LPCWSTR, DWORD);
    auto createLink = reinterpret_cast<CreateLink>(reinterpret_cast<void*>(
        ::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "CreateSymbolicLinkW")));
    const DWORD kDirectoryLink = 0x1;
    if (!createLink || !createLink((root + L"\\link").c_str(), outside.c_str(), kDirectoryLink)) {
        GTEST_SKIP() << "no directory links here: " << ::GetLastError();
    }
    ASSERT_TRUE(::GetFileAttributesW((root + L"\\link").c_str()) & FILE_ATTRIBUTE_REPARSE_POINT);

    EXPECT_TRUE(vorel::DeleteDirectoryTree(root.c_str()));
    EXPECT_FALSE(FileExists(root));
    EXPECT_TRUE(FileExists(outside + L"\\precious.txt"));
}

// One test for everything that touches the prefix's shared stores, so that no two test
// processes clean them at the same time. Wine opens its URL cache once per process and does not
// make its folders again after they were deleted, so every entry is made before the first
// cleaning.
TEST(CacheCleaning, SharedObjectsAndTheUrlCacheGoCookiesStay) {
    const std::wstring appData = ShellFolder(CSIDL_APPDATA);
    ASSERT_FALSE(appData.empty());
    const std::wstring store = appData + L"\\Macromedia\\Flash Player\\#SharedObjects";
    const std::wstring site = store + L"\\ABCD1234\\localhost\\game.swf";
    DeleteTree(store);

    const std::wstring page = L"http://vorel.test/cache-test/page.htm";
    const std::wstring image = L"http://vorel.test/cache-test/image.png";
    const std::wstring cookie = L"Cookie:player@vorel.test/cache-test/";
    ASSERT_TRUE(CommitEntry(page, NORMAL_CACHE_ENTRY)) << ::GetLastError();
    ASSERT_TRUE(CommitEntry(image, NORMAL_CACHE_ENTRY)) << ::GetLastError();
    ASSERT_TRUE(CommitEntry(cookie, COOKIE_CACHE_ENTRY)) << ::GetLastError();
    ASSERT_TRUE(InUrlCache(page) && InUrlCache(image) && InUrlCache(cookie));
    const std::wstring internetCache = ShellFolder(CSIDL_INTERNET_CACHE);
    ASSERT_FALSE(internetCache.empty());
    const std::wstring planted = internetCache + L"\\vorel-cache-test";
    ASSERT_TRUE(EnsureDir(planted));
    ASSERT_TRUE(MakeFile(planted + L"\\stale.js", FILE_ATTRIBUTE_READONLY));

    // Without a store: nothing to delete there, and the URL cache is still cleared.
    EXPECT_FALSE(vorel::DeleteFlashSharedObjects());
    EXPECT_EQ(vorel::ClearBrowserCaches(nullptr), 0u);
    EXPECT_FALSE(InUrlCache(page));
    EXPECT_FALSE(InUrlCache(image));
    EXPECT_TRUE(InUrlCache(cookie));
    EXPECT_FALSE(FileExists(planted));

    // A store with a read-only object goes, every site's objects and the store itself.
    ASSERT_TRUE(EnsureDir(site));
    ASSERT_TRUE(MakeFile(site + L"\\player.sol", FILE_ATTRIBUTE_READONLY));
    ASSERT_TRUE(MakeFile(store + L"\\ABCD1234\\settings.sol"));
    EXPECT_TRUE(vorel::DeleteFlashSharedObjects());
    EXPECT_FALSE(FileExists(store));
    EXPECT_TRUE(FileExists(appData + L"\\Macromedia\\Flash Player"));

    // The menu's way: a thread of its own that nobody waits for.
    ASSERT_TRUE(EnsureDir(site));
    ASSERT_TRUE(MakeFile(site + L"\\player.sol", FILE_ATTRIBUTE_READONLY));
    ASSERT_TRUE(vorel::StartCacheCleaning());
    EXPECT_TRUE(WaitFor([&] { return !FileExists(store); }, 20000));

    ::DeleteUrlCacheEntryW(cookie.c_str());
}
