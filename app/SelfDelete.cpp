#include "app/SelfDelete.h"

#include <vector>

#include "app/Files.h"
#include "app/SettingsStore.h"
#include "fw/Raii.h"

namespace vorel {

namespace {

constexpr int kNameAttempts = 4;

// The text in the console's code page, when it comes back as the same path.
bool SpellsExactly(const std::wstring& path, std::string* text) {
    if (path.empty()) return false;
    const int n =
        ::WideCharToMultiByte(CP_OEMCP, 0, path.c_str(), -1, nullptr, 0, nullptr, nullptr);
    if (n <= 1) return false;
    std::string narrow(n, '\0');
    ::WideCharToMultiByte(CP_OEMCP, 0, path.c_str(), -1, &narrow[0], n, nullptr, nullptr);
    narrow.resize(n - 1);
    // The batch holds each path in 260 bytes; a cut one would name another file.
    if (narrow.size() >= MAX_PATH) return false;
    const int w = ::MultiByteToWideChar(CP_OEMCP, 0, narrow.c_str(), -1, nullptr, 0);
    if (w <= 1) return false;
    std::wstring back(w, L'\0');
    ::MultiByteToWideChar(CP_OEMCP, 0, narrow.c_str(), -1, &back[0], w);
    back.resize(w - 1);
    if (back != path) return false;
    *text = narrow;
    return true;
}

std::wstring WithoutTrailingBackslash(const std::wstring& folder) {
    std::wstring held = folder;
    while (held.size() > 3 && held.back() == L'\\') held.pop_back();
    return held;
}

}  // namespace

bool ConsolePathText(const std::wstring& path, std::string* text) {
    if (SpellsExactly(path, text)) return true;
    wchar_t shortPath[MAX_PATH] = L"";
    const DWORD n = ::GetShortPathNameW(path.c_str(), shortPath, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return false;
    return SpellsExactly(shortPath, text);
}

fw::ScopedHandle OpenAndVerify(const std::wstring& path, const std::string& expected) {
    // Read access shared with readers only: from here on the file can be neither written nor
    // deleted nor renamed while we hold it, and cmd can still open it to run it.
    fw::ScopedHandle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
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

bool WriteSelfDeleteBatch(const std::wstring& tempFolder, SelfDeleteForm form,
                          const std::wstring& exePath, GuardedBatch* out) {
    // cmd reads the batch in the console's code page, not the ANSI one: a path spelt in the
    // other would name a file that is not there, and the executable would stay.
    std::string exeText, folderText;
    if (!ConsolePathText(exePath, &exeText) ||
        !ConsolePathText(WithoutTrailingBackslash(tempFolder), &folderText))
        return false;
    std::vector<std::wstring> unused;
    bool written = false;
    for (int attempt = 0; attempt < kNameAttempts && !written; ++attempt) {
        wchar_t temp[MAX_PATH] = L"";
        // Creates the empty ".tmp" file, which stays; each call finds a name not yet taken.
        if (!::GetTempFileNameW(tempFolder.c_str(), L"DelSelf", 0, temp)) break;
        const std::wstring tempName = temp;
        const std::wstring batch = tempName + L".bat";
        const size_t slash = tempName.rfind(L'\\');
        if (batch.size() >= MAX_PATH || slash == std::wstring::npos) break;
        // The name GetTempFileNameW made is plain ASCII; only the folder may need its short form.
        std::string nameText;
        if (!SpellsExactly(tempName.substr(slash), &nameText)) break;
        const std::string text =
            SelfDeleteScript(form, exeText, BatchFileNameFor(folderText + nameText));
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
    for (const auto& name : unused) ::DeleteFileW(name.c_str());
    return written;
}

bool StartHiddenBatch(const std::wstring& batchPath) {
    // Quoted: a temporary folder under "Documents and Settings" has blanks in its path.
    std::wstring line = L"\"" + batchPath + L"\"";
    std::vector<wchar_t> buffer(line.begin(), line.end());
    buffer.push_back(L'\0');
    STARTUPINFOW startup = {sizeof(startup)};
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
    PROCESS_INFORMATION process = {};
    // No console at all: a terminal that hosts consoles shows its own window whatever
    // SW_HIDE says, and closing that window would end the deletion.
    if (!::CreateProcessW(nullptr, buffer.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW,
                          nullptr, nullptr, &startup, &process))
        return false;
    fw::ScopedHandle thread(process.hThread), started(process.hProcess);  // not waited for
    ::SetThreadPriority(thread.get(), THREAD_PRIORITY_IDLE);
    return true;
}

void ScheduleSelfDelete() {
    const std::wstring exe = RunningExePath();
    if (exe.empty()) return;
    const size_t slash = exe.rfind(L'\\');
    const std::wstring folder = slash == std::wstring::npos ? exe : exe.substr(0, slash);
    const SelfDeleteForm form = ChooseSelfDeleteForm(CountFilesInTree(folder));

    wchar_t temp[MAX_PATH] = L"";
    const DWORD t = ::GetTempPathW(MAX_PATH, temp);
    if (t == 0 || t >= MAX_PATH) return;
    GuardedBatch batch;
    if (!WriteSelfDeleteBatch(temp, form, exe, &batch)) return;
    if (!StartHiddenBatch(batch.path)) {
        batch.guard.reset();
        ::DeleteFileW(batch.path.c_str());
        return;
    }
    // The guard stays open until this process ends; the system closes it then. cmd reads the
    // batch line by line from the file, so this covers every line it runs while we live.
    batch.guard.release();
}

}  // namespace vorel
