// Where the program's files are: the machine-wide product folder, the counter file in it, and
// files beside the running executable.
#pragma once
#include <string>

namespace vorel {

extern const wchar_t kIniFileName[];  // "Statistic.ini"

// The machine-wide application-data folder joined with "\Vorel\GameLogin".
std::wstring ProductFolderPath();
// "Statistic.ini" in the product folder.
std::wstring CounterFilePath();
// A file of that name in the running executable's folder; empty when the executable's
// path holds no backslash.
std::wstring BesideExePath(const wchar_t* name);
std::wstring RunningExePath();

}  // namespace vorel
