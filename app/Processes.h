// Starting further processes of the program.
#pragma once
#include <string>

namespace vorel {

// Starts a process at idle priority without waiting for it: the given command line, or the
// running executable with no arguments. Failure is silent.
void RestartSelf(const wchar_t* commandLine = nullptr);

// The same start as RestartSelf for a given command line, telling whether the process started.
bool StartProgramProcess(const std::wstring& commandLine);

// Quotes a path for use as the first token of a command line.
std::wstring QuoteArgument(const std::wstring& path);

}  // namespace vorel
