// Files of the test (a built program, a large download) served by the publisher server, and
// the small things the download tests share.
#pragma once
#include <windows.h>

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

// A fault behaviour that publishes that configuration for `key` and the build that the server
// serves at buildPath.
std::string UpdateConfigBody(const std::string& key, const std::string& buildPath);

// Bytes whose every offset can be checked: the alphabet repeated up to `size`.
std::string Pattern(size_t size);

// The size of a file, or 0 when it cannot be seen.
ULONGLONG FileSize(const std::wstring& path);

// The file's text, as written by tests/helpers/launch_probe: the command line it was started
// with, UTF-8. Empty while the probe has not run.
std::string ProbeStartLine(const std::wstring& probePath);

}  // namespace testsupport
