// Starting further processes of the program.
#pragma once
#include <string>

namespace vorel {

// Starts a process at idle priority without waiting for it: the given command line, or the
// running executable with no arguments. Failure is silent.
void RestartSelf(const wchar_t* commandLine = nullptr);

// Quotes a path for use as the first token of a command line.
std::wstring QuoteArgument(const std::wstring& path);

}  // namespace vorel
