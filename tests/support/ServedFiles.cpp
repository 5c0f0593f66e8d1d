#include "support/ServedFiles.h"

#include "support/PublisherTestSupport.h"
#include "support/WinTestSupport.h"

namespace testsupport {

std::string UnixPathOf(const std::wstring& windowsPath) {
    // Wine's own conversion knows every drive mapping of the prefix.
    using ToUnix = char*(CDECL*)(const wchar_t*);
    const auto toUnix = reinterpret_cast<ToUnix>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    if (!toUnix) return std::string();
    char* unix = toUnix(windowsPath.c_str());
    if (!unix) return std::string();
    std::string path(unix);
    HeapFree(GetProcessHeap(), 0, unix);
    return path;
}

std::string ServeFile(const std::wstring& windowsPath, const std::string& more) {
    std::string json = "{\"file\": " + JsonString(UnixPathOf(windowsPath));
    if (!more.empty()) json += ", " + more;
    return json + "}";
}

std::string UpdateConfig(const std::string& key, const std::wstring& address) {
    std::string narrow;
    for (wchar_t c : address) narrow.push_back(static_cast<char>(c));
    return "[VerKey]\r\nTolvVorel=" + key + "\r\nUpdAddr=" + narrow + "\r\n";
}

std::string UpdateConfigBody(const std::string& key, const std::string& buildPath) {
    return "{\"body\": " + JsonString(UpdateConfig(key, PublisherUrl(Widen(buildPath)))) + "}";
}

std::string Pattern(size_t size) {
    std::string s;
    for (size_t i = 0; i < size; ++i) s.push_back(static_cast<char>('a' + i % 26));
    return s;
}

ULONGLONG FileSize(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return 0;
    return (ULONGLONG(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

std::string ProbeStartLine(const std::wstring& probePath) {
    return ReadFileBytes(probePath + L".started.txt");
}

}  // namespace testsupport
