#include "app/DumpPath.h"

namespace vorel {

bool DumpPathForExecutable(const std::wstring& exePath, std::wstring* dumpPath) {
    const size_t dot = exePath.rfind(L'.');
    if (dot == std::wstring::npos) return false;
    const size_t slash = exePath.find_last_of(L"\\/");
    if (slash != std::wstring::npos && slash > dot) return false;
    *dumpPath = exePath.substr(0, dot) + L".dmp";
    return true;
}

}  // namespace vorel
