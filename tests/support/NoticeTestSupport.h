// Shared by the popup-notice tests: notice texts in the system's ANSI code page served from a
// file of the test, and the Linux path the publisher server needs for that file.
#pragma once
#include <windows.h>

#include <string>

#include "support/PublisherTestSupport.h"

namespace noticetest {

// The Linux path of a file of this Wine process, for the server's "file" fault.
inline std::string UnixPath(const std::wstring& windowsPath) {
    using ToUnix = char*(CDECL*)(LPCWSTR);
    auto toUnix = reinterpret_cast<ToUnix>(reinterpret_cast<void*>(
        ::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    if (!toUnix) return std::string();
    char* unix = toUnix(windowsPath.c_str());
    if (!unix) return std::string();
    std::string path = unix;
    ::HeapFree(::GetProcessHeap(), 0, unix);
    return path;
}

// Text in the ANSI code page; empty when a character has no form there.
inline std::string Ansi(const std::wstring& text) {
    BOOL usedDefault = FALSE;
    const int n = ::WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()),
                                        nullptr, 0, nullptr, &usedDefault);
    if (n <= 0 || usedDefault) return std::string();
    std::string out(n, '\0');
    ::WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), &out[0], n,
                          nullptr, &usedDefault);
    return usedDefault ? std::string() : out;
}

// A title with characters beyond ASCII that this system's ANSI code page can hold, so that a
// notice made of its bytes tests the conversion for real.
inline std::wstring NonAsciiTitle() {
    for (const wchar_t* title : {L"新服开启", L"Café Noël", L"Ünïcødé"}) {
        if (!Ansi(title).empty()) return title;
    }
    return std::wstring();
}

// Serves `bytes` at `path` while it lives, as the site would serve a file.
class ServedBytes {
public:
    ServedBytes(const testsupport::TempFolder& dir, const std::string& path,
                const std::string& bytes, const std::string& extra = "")
        : m_file(dir.File(testsupport::Widen(std::to_string(++Serial())) + L".txt")),
          m_written(testsupport::WriteFileBytes(m_file, bytes)),
          m_fault(path, "{\"file\": " + testsupport::JsonString(UnixPath(m_file)) + extra + "}") {}
    bool ok() const { return m_written && !UnixPath(m_file).empty(); }

private:
    static unsigned& Serial() {
        static unsigned serial = 0;
        return serial;
    }
    std::wstring m_file;
    bool m_written;
    testsupport::PublisherFault m_fault;
};

}  // namespace noticetest
