// What the Windows tests share: starting programs of the build, and reading back what they
// left in files and the registry.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

namespace testsupport {

// The folder holding the test executables, TolvVorel.exe and the helper programs.
std::wstring BuildDir();
std::wstring InBuildDir(const std::wstring& name);

struct ProcessResult {
    bool started = false;
    bool finished = false;  // false: still running at the time limit (then killed)
    DWORD exitCode = 0;
};
// Runs a command line and waits for it to end, killing it after timeoutMs.
ProcessResult RunAndWait(const std::wstring& commandLine, DWORD timeoutMs = 60000);

std::wstring ReadIniValue(const std::wstring& file, const wchar_t* section, const wchar_t* key,
                          const wchar_t* def = L"<missing>");
void WriteIniValue(const std::wstring& file, const wchar_t* section, const wchar_t* key,
                   const wchar_t* value);

// Raw bytes of a registry value; empty when the key or value is missing.
std::vector<BYTE> ReadRegBinary(HKEY root, const wchar_t* subKey, const wchar_t* value);
bool RegValueExists(HKEY root, const wchar_t* subKey, const wchar_t* value);
void DeleteRegTree(HKEY root, const wchar_t* subKey);

bool FileExists(const std::wstring& path);
std::string ReadFileBytes(const std::wstring& path);
void DeleteTree(const std::wstring& path);
bool EnsureDir(const std::wstring& path);
std::wstring CommonAppData();
std::wstring ProductFolder();

// The publisher server's request log, as the test session exported it (empty when absent).
std::wstring PublisherLogPath();
std::vector<std::string> PublisherLogLines();

}  // namespace testsupport
