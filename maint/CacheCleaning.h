// "清除缓存": empties Internet Explorer's cache (cookies stay) and deletes the Flash player's
// shared objects, on a worker thread of its own.
#pragma once
#include <windows.h>

namespace vorel {

// Starts ClearBrowserCaches on a new thread and lets it go (its handle is closed at once).
// False when no thread could be started. The caller shows "缓存清除完毕！" without waiting.
bool StartCacheCleaning();

// The worker: DeleteFlashSharedObjects, then ClearUrlCache; results are not looked at.
// The parameter is ignored; the exit code is 0.
DWORD WINAPI ClearBrowserCaches(LPVOID);

// Deletes "Macromedia\Flash Player\#SharedObjects" in the user's application-data folder,
// every site's objects and the folder itself.
bool DeleteFlashSharedObjects();

// Deletes every URL cache entry that is not a cookie, then the Temporary Internet Files
// folder's tree. The result is that of the folder deletion; false when the folder is unknown.
bool ClearUrlCache();

// Deletes the folder with everything in it; read-only files too. Files in use stay, and so
// do the folders that hold them. On false the thread's last error is the last failed file
// deletion's, or else the folder removal's. A folder that is a junction or link is removed
// as a link and never followed; paths that do not fit 260 characters are not touched
// (ERROR_FILENAME_EXCED_RANGE).
bool DeleteDirectoryTree(const wchar_t* folder);

}  // namespace vorel
