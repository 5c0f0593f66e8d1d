#include "app/SelfDelete.h"

#include <vector>

#include "app/Files.h"
#include "app/SettingsStore.h"
#include "fw/Raii.h"

namespace vorel {

namespace {

constexpr int kNameAttempts = 4;

std::wstring Widen(const std::string& ansi) {
    if (ansi.empty()) return std::wstring();
    const int n = ::MultiByteToWideChar(CP_ACP, 0, ansi.c_str(), -1, nullptr, 0);
    if (n <= 0) return std::wstring();
    std::vector<wchar_t> wide(n);
    ::MultiByteToWideChar(CP_ACP, 0, ansi.c_str(), -1, wide.data(), n);
    return wide.data();
}

}  // namespace

fw::ScopedHandle OpenAndVerify(const std::string& path, const std::string& expected) {
    // Read access shared with readers only: from here on the file can be neither written nor
    // deleted nor renamed while we hold it, and cmd can still open it to run it.
    fw::ScopedHandle file(::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return fw::ScopedHandle();
    std::string content(expected.size() + 1, '\0');
    DWORD total = 0;
    for (;;) {
        DWORD got = 0;
        if (!::ReadFile(file.get(), &content[total], static_cast<DWORD>(content.size()) - total,
                        &got, nullptr))
            return fw::ScopedHandle();
        if (got == 0) break;
        total += got;
        if (total == content.size()) break;  // longer than what we wrote
    }
    content.resize(total);
    if (content != expected) return fw::ScopedHandle();
    return file;
}

bool WriteSelfDeleteBatch(const std::string& tempFolder, SelfDeleteForm form,
                          const std::string& exePath, GuardedBatch* out) {
    std::vector<std::string> unused;
    bool written = false;
    for (int attempt = 0; attempt < kNameAttempts && !written; ++attempt) {
        char temp[MAX_PATH] = "";
        // Creates the empty ".tmp" file, which stays; each call finds a name not yet taken.
        if (!::GetTempFileNameA(tempFolder.c_str(), "DelSelf", 0, temp)) break;
        const std::string batch = BatchFileNameFor(temp);
        const std::string text = SelfDeleteScript(form, exePath, batch);
        // Only a file we create ourselves will do: a ".bat" of that name that is there
        // already may have been put there by someone else, with commands of their own.
        if (AppendTextToFile(batch.c_str(), text, CREATE_NEW) != static_cast<long>(text.size())) {
            // Anything but a taken name (a full disk, a folder we may not write) would fail
            // again under another name.
            if (::GetLastError() != ERROR_FILE_EXISTS) break;
            unused.push_back(temp);
            continue;
        }
        // Between writing and this guard the file was writable for a moment; the check
        // under the guard makes sure it still holds our text.
        fw::ScopedHandle guard = OpenAndVerify(batch, text);
        if (!guard) break;
        out->path = batch;
        out->guard = std::move(guard);
        written = true;
    }
    for (const auto& name : unused) ::DeleteFileA(name.c_str());
    return written;
}

bool StartHiddenBatch(const std::string& batchPath) {
    // Quoted: a temporary folder under "Documents and Settings" has blanks in its path.
    std::string line = "\"" + batchPath + "\"";
    std::vector<char> buffer(line.begin(), line.end());
    buffer.push_back('\0');
    STARTUPINFOA startup = {sizeof(startup)};
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
    PROCESS_INFORMATION process = {};
    if (!::CreateProcessA(nullptr, buffer.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &startup, &process))
        return false;
    fw::ScopedHandle thread(process.hThread), started(process.hProcess);  // not waited for
    ::SetThreadPriority(thread.get(), THREAD_PRIORITY_IDLE);
    return true;
}

void ScheduleSelfDelete() {
    char exe[MAX_PATH] = "";
    const DWORD n = ::GetModuleFileNameA(nullptr, exe, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return;
    // A path the ANSI code page cannot spell comes back with '?' in it, which del and rd
    // would take as a wildcard: such a path is left alone.
    const std::wstring wideExe = RunningExePath();
    if (Widen(exe) != wideExe) return;
    const size_t slash = wideExe.rfind(L'\\');
    const std::wstring folder = slash == std::wstring::npos ? wideExe : wideExe.substr(0, slash);
    const SelfDeleteForm form = ChooseSelfDeleteForm(CountFilesInTree(folder));

    char temp[MAX_PATH] = "";
    const DWORD t = ::GetTempPathA(MAX_PATH, temp);
    if (t == 0 || t >= MAX_PATH) return;
    GuardedBatch batch;
    if (!WriteSelfDeleteBatch(temp, form, exe, &batch)) return;
    if (!StartHiddenBatch(batch.path)) {
        batch.guard.reset();
        ::DeleteFileA(batch.path.c_str());
        return;
    }
    // The guard stays open until this process ends; the system closes it then. cmd reads the
    // batch line by line from the file, so this covers every line it runs while we live.
    batch.guard.release();
}

}  // namespace vorel
