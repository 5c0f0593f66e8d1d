// Libraries that are not on the system's known-library list, loaded from the system folder by
// their full path. Imported the usual way they would be looked for in the program's own folder
// first, and that folder may be writable by users who must not run code in this process.
#pragma once
#include <windows.h>

namespace fw {

// The library of that file name in the system folder, loaded for the rest of the process's
// life (never freed); null when it is not there. Loading once more only counts it up.
HMODULE LoadSystemLibrary(const wchar_t* fileName);

// An export of a system-folder library; null when the library or the export is missing.
template <class Fn>
Fn SystemFunction(const wchar_t* fileName, const char* exportName) {
    HMODULE module = LoadSystemLibrary(fileName);
    return module
               ? reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(module, exportName)))
               : nullptr;
}

// Stops the loader from looking in the current folder for libraries loaded by name, where the
// system offers it (XP SP1 and later). Called first thing at start. The program's own folder
// stays in the search for the browser's and its plug-ins' sake; its access list keeps users
// from writing there.
void NarrowLibrarySearch();

// TransparentBlt from the system's msimg32; FALSE when it is missing.
BOOL SystemTransparentBlt(HDC destination, int x, int y, int width, int height, HDC source,
                          int sourceX, int sourceY, int sourceWidth, int sourceHeight,
                          UINT transparent);

}  // namespace fw
