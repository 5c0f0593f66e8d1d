// Where a crash dump goes: beside the executable, named like it, with ".dmp".
#pragma once
#include <string>

namespace vorel {

// Replaces everything from the file name's last "." with ".dmp". False (no dump) when
// the file name has no ".": a dot in a folder name must not send the dump elsewhere.
bool DumpPathForExecutable(const std::wstring& exePath, std::wstring* dumpPath);

}  // namespace vorel
