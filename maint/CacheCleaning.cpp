#include "maint/CacheCleaning.h"

#include <shlobj.h>
#include <wininet.h>

#include <string>
#include <vector>

#include "fw/Raii.h"
#include "maint/TreePaths.h"

namespace vorel {

namespace {

const wchar_t kSharedObjects[] = L"\\Macromedia\\Flash Player\\#SharedObjects";

struct FindTraits {
    using type = HANDLE;
    static type Empty() { return INVALID_HANDLE_VALUE; }
    static bool IsValid(type h) { return h != INVALID_HANDLE_VALUE && h != nullptr; }
    static void Close(type h) { ::FindClose(h); }
};
using ScopedFind = fw::UniqueHandle<FindTraits>;

struct UrlCacheFindTraits {
    using type = HANDLE;
    static type Empty() { return nullptr; }
    static bool IsValid(type h) { return h != nullptr; }
    static void Close(type h) { ::FindCloseUrlCache(h); }
};
using ScopedUrlCacheFind = fw::UniqueHandle<UrlCacheFindTraits>;

// The shell's allocator frees what the shell allocated.
struct ShellMalloc {
    ShellMalloc() { ::SHGetMalloc(m_malloc.Receive()); }
    fw::ComPtr<IMalloc> m_malloc;
};

// The current user's application-data folder through its item list, as old shells do it.
bool UserAppDataFolder(std::wstring* folder) {
    ShellMalloc shell;
    if (!shell.m_malloc) return false;
    LPITEMIDLIST items = nullptr;
    if (FAILED(::SHGetSpecialFolderLocation(nullptr, CSIDL_APPDATA, &items)) || !items) {
        return false;
    }
    wchar_t path[MAX_PATH] = L"";
    const BOOL got = ::SHGetPathFromIDListW(items, path);
    shell.m_malloc->Free(items);
    if (!got) return false;
    *folder = path;
    return true;
}

// An entry buffer of twice the size the system asked for.
std::vector<BYTE> EntryBuffer(DWORD askedSize) {
    const size_t twice = static_cast<size_t>(askedSize) * 2;
    return std::vector<BYTE>(
        twice > sizeof(INTERNET_CACHE_ENTRY_INFOW) ? twice : sizeof(INTERNET_CACHE_ENTRY_INFOW));
}

INTERNET_CACHE_ENTRY_INFOW* Entry(std::vector<BYTE>& buffer) {
    return reinterpret_cast<INTERNET_CACHE_ENTRY_INFOW*>(buffer.data());
}

void DeleteUnlessCookie(const INTERNET_CACHE_ENTRY_INFOW* entry) {
    if (entry->CacheEntryType & COOKIE_CACHE_ENTRY) return;
    if (entry->lpszSourceUrlName) ::DeleteUrlCacheEntryW(entry->lpszSourceUrlName);
}

}  // namespace

bool StartCacheCleaning() {
    // Runs on by itself: nobody waits for it.
    fw::ScopedHandle thread(::CreateThread(nullptr, 0, &ClearBrowserCaches, nullptr, 0, nullptr));
    return static_cast<bool>(thread);
}

DWORD WINAPI ClearBrowserCaches(LPVOID) {
    DeleteFlashSharedObjects();
    ClearUrlCache();
    return 0;
}

bool DeleteFlashSharedObjects() {
    std::wstring appData;
    if (!UserAppDataFolder(&appData)) return false;
    return DeleteDirectoryTree((appData + kSharedObjects).c_str());
}

bool ClearUrlCache() {
    DWORD size = 0;
    ::FindFirstUrlCacheEntryW(nullptr, nullptr, &size);
    if (size > 0) {
        std::vector<BYTE> buffer = EntryBuffer(size);
        size = static_cast<DWORD>(buffer.size());
        ScopedUrlCacheFind find(::FindFirstUrlCacheEntryW(nullptr, Entry(buffer), &size));
        if (find) {
            for (;;) {
                DeleteUnlessCookie(Entry(buffer));
                size = 0;
                ::FindNextUrlCacheEntryW(find.get(), nullptr, &size);
                if (size == 0) break;
                buffer = EntryBuffer(size);
                size = static_cast<DWORD>(buffer.size());
                if (!::FindNextUrlCacheEntryW(find.get(), Entry(buffer), &size)) break;
            }
        }
    }
    wchar_t cache[MAX_PATH] = L"";
    if (!::SHGetSpecialFolderPathW(nullptr, cache, CSIDL_INTERNET_CACHE, FALSE)) return false;
    return DeleteDirectoryTree(cache);
}

bool DeleteDirectoryTree(const wchar_t* folder) {
    TreeFolder tree;
    if (!folder || !MakeTreeFolder(folder, &tree)) {
        ::SetLastError(ERROR_FILENAME_EXCED_RANGE);
        return false;
    }
    WIN32_FIND_DATAW found;
    ScopedFind search(::FindFirstFileW(tree.pattern.c_str(), &found));
    if (!search) {
        // Nothing to search, a missing folder in particular: its removal decides.
        return ::RemoveDirectoryW(folder) != FALSE;
    }
    DWORD fileError = 0;
    do {
        const TreeEntry kind = ClassifyTreeEntry(found.cFileName, found.dwFileAttributes);
        if (kind == TreeEntry::Skip) continue;
        std::wstring path;
        if (!MakeTreeEntryPath(tree, found.cFileName, &path)) {
            if (kind == TreeEntry::File) fileError = ERROR_FILENAME_EXCED_RANGE;
            continue;
        }
        switch (kind) {
            case TreeEntry::Folder:
                DeleteDirectoryTree(path.c_str());
                break;
            case TreeEntry::Link:
                ::RemoveDirectoryW(path.c_str());
                break;
            case TreeEntry::File: {
                uint32_t attributes = 0;
                if (NeedsReadOnlyCleared(found.dwFileAttributes, &attributes)) {
                    ::SetFileAttributesW(path.c_str(), attributes);
                }
                if (!::DeleteFileW(path.c_str())) fileError = ::GetLastError();
                break;
            }
            case TreeEntry::Skip:
                break;
        }
    } while (::FindNextFileW(search.get(), &found));
    search.reset();

    const bool removed = ::RemoveDirectoryW(folder) != FALSE;
    const DWORD removeError = removed ? 0 : ::GetLastError();
    if (fileError == 0 && removed) return true;
    ::SetLastError(fileError ? fileError : removeError);
    return false;
}

}  // namespace vorel
