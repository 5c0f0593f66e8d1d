// File helpers of the install and the uninstall.
#pragma once
#include <windows.h>

#include <string>

namespace vorel {

// Files (not folders) in the folder and all its subfolders, a folder link counting as one
// file; 1 when the folder cannot be listed, so that a folder of unknown content is never
// taken for an empty one.
unsigned CountFilesInTree(const std::wstring& folder);

// Opens the file for writing (share-read, the given creation disposition), appends the
// text's bytes without terminator and closes it. The number of bytes written, or -1 when the
// file cannot be opened (GetLastError tells why) or the write fails.
long AppendTextToFile(const char* path, const std::string& text, DWORD creation = OPEN_ALWAYS);
long AppendTextToFile(const wchar_t* path, const std::string& text, DWORD creation = OPEN_ALWAYS);

}  // namespace vorel
