#include "support/WinTestSupport.h"

#include <shlobj.h>
#include <shlwapi.h>

#include <fstream>
#include <sstream>

namespace testsupport {

std::wstring BuildDir() {
    wchar_t path[MAX_PATH] = L"";
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring p = path;
    return p.substr(0, p.rfind(L'\\'));
}

std::wstring InBuildDir(const std::wstring& name) { return BuildDir() + L"\\" + name; }

ProcessResult RunAndWait(const std::wstring& commandLine, DWORD timeoutMs) {
    ProcessResult result;
    std::vector<wchar_t> buffer(commandLine.begin(), commandLine.end());
    buffer.push_back(L'\0');
    STARTUPINFOW si = {sizeof(si)};
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessW(nullptr, buffer.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                        &pi))
        return result;
    result.started = true;
    if (WaitForSingleObject(pi.hProcess, timeoutMs) == WAIT_OBJECT_0) {
        result.finished = true;
        GetExitCodeProcess(pi.hProcess, &result.exitCode);
    } else {
        TerminateProcess(pi.hProcess, 1);
        WaitForSingleObject(pi.hProcess, 5000);
    }
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return result;
}

std::wstring ReadIniValue(const std::wstring& file, const wchar_t* section, const wchar_t* key,
                          const wchar_t* def) {
    wchar_t buffer[1024] = L"";
    GetPrivateProfileStringW(section, key, def, buffer, 1024, file.c_str());
    return buffer;
}

void WriteIniValue(const std::wstring& file, const wchar_t* section, const wchar_t* key,
                   const wchar_t* value) {
    WritePrivateProfileStringW(section, key, value, file.c_str());
}

std::vector<BYTE> ReadRegBinary(HKEY root, const wchar_t* subKey, const wchar_t* value) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, subKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return {};
    std::vector<BYTE> data(4096);
    DWORD size = static_cast<DWORD>(data.size());
    LONG rc = RegQueryValueExW(key, value, nullptr, nullptr, data.data(), &size);
    RegCloseKey(key);
    if (rc != ERROR_SUCCESS) return {};
    data.resize(size);
    return data;
}

bool RegValueExists(HKEY root, const wchar_t* subKey, const wchar_t* value) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, subKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    LONG rc = RegQueryValueExW(key, value, nullptr, nullptr, nullptr, nullptr);
    RegCloseKey(key);
    return rc == ERROR_SUCCESS;
}

void DeleteRegTree(HKEY root, const wchar_t* subKey) { SHDeleteKeyW(root, subKey); }

bool FileExists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string ReadFileBytes(const std::wstring& path) {
    HANDLE f = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE) return std::string();
    std::string out;
    char chunk[65536];
    DWORD got = 0;
    while (ReadFile(f, chunk, sizeof(chunk), &got, nullptr) && got > 0) out.append(chunk, got);
    CloseHandle(f);
    return out;
}

void DeleteTree(const std::wstring& path) {
    std::vector<wchar_t> from(path.begin(), path.end());
    from.push_back(L'\0');
    from.push_back(L'\0');
    SHFILEOPSTRUCTW op = {};
    op.wFunc = FO_DELETE;
    op.pFrom = from.data();
    op.fFlags = FOF_NOCONFIRMATION | FOF_NOERRORUI | FOF_SILENT;
    SHFileOperationW(&op);
}

bool EnsureDir(const std::wstring& path) {
    int rc = SHCreateDirectoryExW(nullptr, path.c_str(), nullptr);
    return rc == ERROR_SUCCESS || rc == ERROR_ALREADY_EXISTS || rc == ERROR_FILE_EXISTS;
}

std::wstring CommonAppData() {
    wchar_t path[MAX_PATH] = L"";
    SHGetFolderPathW(nullptr, CSIDL_COMMON_APPDATA, nullptr, SHGFP_TYPE_CURRENT, path);
    return path;
}

std::wstring ProductFolder() { return CommonAppData() + L"\\Vorel\\GameLogin"; }

std::wstring PublisherLogPath() {
    wchar_t value[1024] = L"";
    DWORD n = GetEnvironmentVariableW(L"VOREL_PUBLISHER_LOG", value, 1024);
    if (n == 0 || n >= 1024) return std::wstring();
    // A Linux path: reach it through Wine's drive for the Unix root.
    std::wstring p = value;
    if (!p.empty() && p[0] == L'/') {
        for (auto& c : p)
            if (c == L'/') c = L'\\';
        p = L"Z:" + p;
    }
    return p;
}

std::vector<std::string> PublisherLogLines() {
    std::vector<std::string> lines;
    std::istringstream in(ReadFileBytes(PublisherLogPath()));
    std::string line;
    while (std::getline(in, line))
        if (!line.empty()) lines.push_back(line);
    return lines;
}

}  // namespace testsupport
