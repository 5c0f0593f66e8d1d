#include "app/Files.h"

#include "fw/Raii.h"

namespace vorel {

namespace {

struct FindTraits {
    using type = HANDLE;
    static type Empty() { return INVALID_HANDLE_VALUE; }
    static bool IsValid(type h) { return h != INVALID_HANDLE_VALUE; }
    static void Close(type h) { ::FindClose(h); }
};
using ScopedFind = fw::UniqueHandle<FindTraits>;

}  // namespace

unsigned CountFilesInTree(const std::wstring& folder) {
    std::wstring prefix = folder;
    if (prefix.empty() || prefix.back() != L'\\') prefix += L'\\';
    WIN32_FIND_DATAW found;
    ScopedFind find(::FindFirstFileW((prefix + L"*").c_str(), &found));
    if (!find) return 1;
    unsigned count = 0;
    do {
        const DWORD attributes = found.dwFileAttributes;
        if ((attributes & FILE_ATTRIBUTE_DIRECTORY) &&
            !(attributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
            if (lstrcmpW(found.cFileName, L".") == 0 || lstrcmpW(found.cFileName, L"..") == 0)
                continue;
            count += CountFilesInTree(prefix + found.cFileName);
        } else {
            // A junction or folder link counts as one file: followed, it could lead back up
            // the tree for ever, and a folder holding one is not empty.
            ++count;
        }
    } while (::FindNextFileW(find.get(), &found));
    return count;
}

namespace {

long AppendTextToOpenFile(HANDLE file, const std::string& text) {
    if (::SetFilePointer(file, 0, nullptr, FILE_END) == INVALID_SET_FILE_POINTER &&
        ::GetLastError() != NO_ERROR)
        return -1;
    DWORD written = 0;
    if (!::WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr))
        return -1;
    return static_cast<long>(written);
}

}  // namespace

long AppendTextToFile(const char* path, const std::string& text, DWORD creation) {
    fw::ScopedHandle file(::CreateFileA(path, GENERIC_WRITE, FILE_SHARE_READ, nullptr, creation,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    return file ? AppendTextToOpenFile(file.get(), text) : -1;
}

long AppendTextToFile(const wchar_t* path, const std::string& text, DWORD creation) {
    fw::ScopedHandle file(::CreateFileW(path, GENERIC_WRITE, FILE_SHARE_READ, nullptr, creation,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    return file ? AppendTextToOpenFile(file.get(), text) : -1;
}

}  // namespace vorel
