// Files of the test (a built program, a large download) served by the publisher server, and
// the small things the download tests share.
#pragma once
#include <windows.h>

#include <functional>
#include <string>

namespace testsupport {

// The Linux path of a file in this Wine prefix, as the publisher server opens it; empty
// outside Wine.
std::string UnixPathOf(const std::wstring& windowsPath);

// A fault behaviour (JSON object) that serves the file's bytes; `more` adds members, e.g.
// "\"stall_after\": 4096, \"stall\": 3".
std::string ServeFile(const std::wstring& windowsPath, const std::string& more = "");

// The update configuration as the update server publishes it.
std::string UpdateConfig(const std::string& key, const std::wstring& address);

// The size of a file, or 0 when it cannot be seen.
ULONGLONG FileSize(const std::wstring& path);

// The file's text, as written by tests/helpers/launch_probe: the command line it was started
// with, UTF-8. Empty while the probe has not run.
std::string ProbeStartLine(const std::wstring& probePath);

// Asks done() every 20 ms until it holds or timeoutMs have passed; its last answer.
bool PollUntil(const std::function<bool()>& done, DWORD timeoutMs);

}  // namespace testsupport
