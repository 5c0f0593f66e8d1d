// Names that pages hand us and that we turn into file names: a name is used only when it is a
// plain file name of its own, so that it can never reach outside the folder it is put in.
#pragma once
#include <string>

namespace vorel {

// True for a non-empty name without control characters, without any of \ / : * ? " < > |,
// without "..", not ending in a dot or a space, and not a reserved device name (CON, NUL,
// COM1... also with an extension).
bool IsPlainFileStem(const std::wstring& name);

// folder + "\" + stem + extension; empty when that path would not fit the system's 260
// characters (MAX_PATH with its NUL), so that nothing is ever cut into another name.
std::wstring JoinFilePath(const std::wstring& folder, const std::wstring& stem,
                          const wchar_t* extension);

}  // namespace vorel
