#include "support/StandIn.h"

#include "support/WinTestSupport.h"

namespace testsupport {

namespace {
const wchar_t kDirVariable[] = L"VOREL_STANDIN_DIR";
const ULONG_PTR kCommand = 0x5354;

std::vector<std::wstring> SplitLines(const std::string& utf8) {
    const int length = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), nullptr, 0);
    std::wstring text(size_t(length), L'\0');
    if (length) MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), &text[0], length);
    std::vector<std::wstring> lines;
    size_t start = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'\n') {
            lines.push_back(text.substr(start, i - start));
            start = i + 1;
        }
    }
    return lines;
}
}  // namespace

std::wstring StandInDir() {
    wchar_t dir[MAX_PATH] = L"";
    GetEnvironmentVariableW(kDirVariable, dir, MAX_PATH);
    return dir;
}

std::wstring PrepareStandInDir() {
    wchar_t temp[MAX_PATH] = L"";
    GetTempPathW(MAX_PATH, temp);
    const std::wstring dir =
        std::wstring(temp) + L"vorel-standin-" + std::to_wstring(GetCurrentProcessId());
    DeleteTree(dir);
    EnsureDir(dir);
    SetEnvironmentVariableW(kDirVariable, dir.c_str());
    return dir;
}

std::wstring StandInProgram() { return InBuildDir(L"standin_game.exe"); }

std::wstring StandIn::LogPath() const {
    return StandInDir() + L"\\standin-" + std::to_wstring(pid) + L".log";
}

std::vector<std::wstring> StandIn::Log() const { return SplitLines(ReadFileBytes(LogPath())); }

bool StandIn::HasLine(const std::wstring& line) const {
    for (const auto& l : Log()) {
        if (l == line) return true;
    }
    return false;
}

std::wstring StandIn::LineStartingWith(const std::wstring& prefix) const {
    for (const auto& l : Log()) {
        if (l.compare(0, prefix.size(), prefix) == 0) return l;
    }
    return L"";
}

bool StandIn::WaitForLine(const std::wstring& line, DWORD timeoutMs, const Idle& idle) const {
    return WaitFor([&] { return HasLine(line); }, timeoutMs, idle);
}

HWND StandIn::Frame() const {
    const std::wstring line = LineStartingWith(L"arrived ");
    if (line.empty()) return nullptr;
    return reinterpret_cast<HWND>(static_cast<INT_PTR>(_wtoi64(line.c_str() + 8)));
}

bool StandIn::Command(const std::wstring& command) const {
    COPYDATASTRUCT data = {};
    data.dwData = kCommand;
    data.cbData = DWORD((command.size() + 1) * sizeof(wchar_t));
    data.lpData = const_cast<wchar_t*>(command.c_str());
    DWORD_PTR result = 0;
    return SendMessageTimeoutW(control, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data),
                               SMTO_NORMAL, 5000, &result) &&
           result;
}

bool StandIn::Running() const {
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, pid);
    if (!process) return false;
    const bool running = WaitForSingleObject(process, 0) == WAIT_TIMEOUT;
    CloseHandle(process);
    return running;
}

bool StandIn::WaitForExit(DWORD timeoutMs, const Idle& idle) const {
    return WaitFor([&] { return !Running(); }, timeoutMs, idle);
}

std::vector<StandIn> RunningStandIns() {
    std::vector<StandIn> found;
    HWND wnd = nullptr;
    while ((wnd = FindWindowExW(nullptr, wnd, L"VorelStandInControl", nullptr)) != nullptr) {
        StandIn s;
        GetWindowThreadProcessId(wnd, &s.pid);
        s.control = wnd;
        found.push_back(s);
    }
    return found;
}

std::set<DWORD> StandInIds() {
    std::set<DWORD> ids;
    for (const StandIn& s : RunningStandIns()) ids.insert(s.pid);
    return ids;
}

StandIn WaitForNewStandIn(const std::set<DWORD>& known, DWORD timeoutMs, const Idle& idle) {
    StandIn found;
    WaitFor(
        [&] {
            for (const StandIn& s : RunningStandIns()) {
                if (!known.count(s.pid)) {
                    found = s;
                    return true;
                }
            }
            return false;
        },
        timeoutMs, idle);
    return found;
}

StandIn StartStandIn(const std::wstring& arguments, const Idle& idle) {
    std::wstring line = L"\"" + StandInProgram() + L"\" " + arguments;
    std::vector<wchar_t> buffer(line.begin(), line.end());
    buffer.push_back(L'\0');
    STARTUPINFOW si = {sizeof(si)};
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessW(nullptr, buffer.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                        &pi)) {
        return StandIn();
    }
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    StandIn s;
    WaitFor(
        [&] {
            for (const StandIn& r : RunningStandIns()) {
                if (r.pid == pi.dwProcessId) s = r;
            }
            return bool(s);
        },
        10000, idle);
    return s;
}

std::vector<std::wstring> StandInLogsWithLine(const std::wstring& line) {
    std::vector<std::wstring> logs;
    WIN32_FIND_DATAW data;
    const std::wstring dir = StandInDir();
    HANDLE find = FindFirstFileW((dir + L"\\standin-*.log").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return logs;
    do {
        const std::wstring path = dir + L"\\" + data.cFileName;
        for (const auto& l : SplitLines(ReadFileBytes(path))) {
            if (l == line) {
                logs.push_back(path);
                break;
            }
        }
    } while (FindNextFileW(find, &data));
    FindClose(find);
    return logs;
}

void EndAllStandIns() {
    for (const StandIn& s : RunningStandIns()) {
        HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, s.pid);
        if (!process) continue;
        TerminateProcess(process, 1);
        WaitForSingleObject(process, 5000);
        CloseHandle(process);
    }
}

std::wstring HandleText(HWND wnd) {
    return std::to_wstring(static_cast<long long>(reinterpret_cast<INT_PTR>(wnd)));
}

}  // namespace testsupport
