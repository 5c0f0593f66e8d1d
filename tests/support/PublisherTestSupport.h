// Talking to the test session's publisher server: addresses on it, its request log, and
// fault behaviours switched on for one path while a test needs them.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

namespace testsupport {

// "http://" + this build's publisher host + pathAndQuery (which starts with "/").
std::wstring PublisherUrl(const std::wstring& pathAndQuery);
// The server's TCP port, from the same deployment value.
unsigned PublisherPort();

// A path of its own for the running test, "/t/<suite>.<test>/<name>", so that tests running
// side by side never read each other's log entries or faults.
std::string TestPath(const std::string& name);
std::wstring Widen(const std::string& ascii);

// Request log entries (JSON lines) for a path, and for a path with an exact query.
std::vector<std::string> LogEntriesFor(const std::string& path);
std::vector<std::string> LogEntriesFor(const std::string& path, const std::string& query);
// Waits up to timeoutMs for at least `count` such entries.
bool WaitForLogEntries(const std::string& path, const std::string& query, size_t count,
                       DWORD timeoutMs);

// A JSON string literal of a text.
std::string JsonString(const std::string& text);

// While it lives, the server applies `behaviourJson` (e.g. {"status": 500}) to `path`.
// Each fault is a fragment file of its own; the fault file the server reads is rebuilt from
// all fragments under a lock shared by every test process, so concurrent tests keep theirs.
class PublisherFault {
public:
    PublisherFault(const std::string& path, const std::string& behaviourJson);
    ~PublisherFault();
    PublisherFault(const PublisherFault&) = delete;
    PublisherFault& operator=(const PublisherFault&) = delete;

private:
    std::wstring m_fragment;
};

// A fresh folder under the system's temporary folder for one test, removed at the end.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    const std::wstring& path() const { return m_path; }
    std::wstring File(const std::wstring& name) const { return m_path + L"\\" + name; }

private:
    std::wstring m_path;
};

bool WriteFileBytes(const std::wstring& path, const std::string& bytes);

}  // namespace testsupport
