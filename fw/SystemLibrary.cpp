#include "fw/SystemLibrary.h"

namespace fw {

HMODULE LoadSystemLibrary(const wchar_t* fileName) {
    wchar_t path[MAX_PATH];
    const UINT n = ::GetSystemDirectoryW(path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return nullptr;
    if (::lstrlenW(fileName) + n + 2 > MAX_PATH) return nullptr;
    ::lstrcatW(path, L"\\");
    ::lstrcatW(path, fileName);
    // With its full path the loader looks nowhere else, and the library's own imports come
    // from the system folder or from what is loaded already.
    return ::LoadLibraryExW(path, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

void NarrowLibrarySearch() {
    HMODULE kernel = ::GetModuleHandleW(L"kernel32.dll");
    if (!kernel) return;
    using SetDllDirectoryFn = BOOL(WINAPI*)(LPCWSTR);
    if (auto setDirectory = reinterpret_cast<SetDllDirectoryFn>(
            reinterpret_cast<void*>(::GetProcAddress(kernel, "SetDllDirectoryW"))))
        setDirectory(L"");  // the empty string takes the current folder out of the search
}

BOOL SystemTransparentBlt(HDC destination, int x, int y, int width, int height, HDC source,
                          int sourceX, int sourceY, int sourceWidth, int sourceHeight,
                          UINT transparent) {
    using TransparentBltFn = BOOL(WINAPI*)(HDC, int, int, int, int, HDC, int, int, int, int, UINT);
    static const TransparentBltFn blt =
        SystemFunction<TransparentBltFn>(L"msimg32.dll", "TransparentBlt");
    return blt ? blt(destination, x, y, width, height, source, sourceX, sourceY, sourceWidth,
                     sourceHeight, transparent)
               : FALSE;
}

}  // namespace fw
