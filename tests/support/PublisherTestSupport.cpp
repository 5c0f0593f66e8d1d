#include "support/PublisherTestSupport.h"

#include <gtest/gtest.h>

#include "DeployConfig.h"
#include "support/WinTestSupport.h"

namespace testsupport {

namespace {

std::wstring LinuxToWine(std::wstring p) {
    if (!p.empty() && p[0] == L'/') {
        for (auto& c : p)
            if (c == L'/') c = L'\\';
        p = L"Z:" + p;
    }
    return p;
}

std::wstring FaultFilePath() {
    wchar_t value[1024] = L"";
    DWORD n = GetEnvironmentVariableW(L"VOREL_PUBLISHER_FAULTS", value, 1024);
    if (n == 0 || n >= 1024) return std::wstring();
    return LinuxToWine(value);
}

class FaultLock {
public:
    FaultLock() : m_mutex(CreateMutexW(nullptr, FALSE, L"VorelPublisherFaultFile")) {
        if (m_mutex) WaitForSingleObject(m_mutex, 30000);
    }
    ~FaultLock() {
        if (m_mutex) {
            ReleaseMutex(m_mutex);
            CloseHandle(m_mutex);
        }
    }

private:
    HANDLE m_mutex;
};

// The fault file as the union of every fragment; replaced in one move so the server never
// reads it half-written.
void RebuildFaultFile() {
    const std::wstring faults = FaultFilePath();
    const std::wstring dir = faults + L".d";
    std::string json = "{";
    WIN32_FIND_DATAW found;
    HANDLE find = FindFirstFileW((dir + L"\\*.json").c_str(), &found);
    bool first = true;
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const std::string fragment = ReadFileBytes(dir + L"\\" + found.cFileName);
            if (fragment.empty()) continue;
            if (!first) json += ",\n";
            json += fragment;
            first = false;
        } while (FindNextFileW(find, &found));
        FindClose(find);
    }
    json += "}\n";
    const std::wstring tmp = faults + L".tmp" + std::to_wstring(GetCurrentProcessId());
    WriteFileBytes(tmp, json);
    MoveFileExW(tmp.c_str(), faults.c_str(), MOVEFILE_REPLACE_EXISTING);
}

}  // namespace

std::wstring PublisherUrl(const std::wstring& pathAndQuery) {
    return std::wstring(L"http://") + VOREL_PUBLISHER_HOST + pathAndQuery;
}

unsigned PublisherPort() {
    const std::wstring host = VOREL_PUBLISHER_HOST;
    const size_t colon = host.find(L':');
    return colon == std::wstring::npos ? 80u
                                       : static_cast<unsigned>(_wtoi(host.c_str() + colon + 1));
}

std::string TestPath(const std::string& name) {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string id = info ? std::string(info->test_suite_name()) + "." + info->name() : "none";
    return "/t/" + id + "/" + name;
}

std::wstring Widen(const std::string& ascii) { return std::wstring(ascii.begin(), ascii.end()); }

std::vector<std::string> LogEntriesFor(const std::string& path) {
    std::vector<std::string> out;
    const std::string needle = "\"path\": " + JsonString(path) + ",";
    for (const auto& line : PublisherLogLines())
        if (line.find(needle) != std::string::npos) out.push_back(line);
    return out;
}

std::vector<std::string> LogEntriesFor(const std::string& path, const std::string& query) {
    std::vector<std::string> out;
    const std::string needle = "\"query\": " + JsonString(query) + ",";
    for (const auto& line : LogEntriesFor(path))
        if (line.find(needle) != std::string::npos) out.push_back(line);
    return out;
}

bool WaitForLogEntries(const std::string& path, const std::string& query, size_t count,
                       DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    for (;;) {
        if (LogEntriesFor(path, query).size() >= count) return true;
        if (GetTickCount() - start > timeoutMs) return false;
        Sleep(50);
    }
}

std::string JsonString(const std::string& text) {
    std::string out = "\"";
    for (unsigned char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20) {
            char escaped[8];
            snprintf(escaped, sizeof(escaped), "\\u%04x", c);
            out += escaped;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out + "\"";
}

PublisherFault::PublisherFault(const std::string& path, const std::string& behaviourJson) {
    static unsigned serial = 0;
    const std::wstring dir = FaultFilePath() + L".d";
    FaultLock lock;
    CreateDirectoryW(dir.c_str(), nullptr);
    m_fragment = dir + L"\\" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                 std::to_wstring(++serial) + L".json";
    WriteFileBytes(m_fragment, JsonString(path) + ": " + behaviourJson);
    RebuildFaultFile();
}

PublisherFault::~PublisherFault() {
    FaultLock lock;
    DeleteFileW(m_fragment.c_str());
    RebuildFaultFile();
}

TempFolder::TempFolder() {
    wchar_t base[MAX_PATH] = L"";
    GetTempPathW(MAX_PATH, base);
    static unsigned serial = 0;
    m_path = std::wstring(base) + L"vorel-test-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
             std::to_wstring(++serial);
    DeleteTree(m_path);
    EnsureDir(m_path);
}

TempFolder::~TempFolder() { DeleteTree(m_path); }

bool WriteFileBytes(const std::wstring& path, const std::string& bytes) {
    HANDLE f = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const bool ok =
        WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
        written == bytes.size();
    CloseHandle(f);
    return ok;
}

}  // namespace testsupport
