#include "support/FaultScenario.h"

#include <sddl.h>

#include <vector>

#include "fw/Raii.h"
#include "support/PublisherTestSupport.h"
#include "support/WinTestSupport.h"

namespace testsupport {

namespace {

const wchar_t kInternetSettings[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
// The discard port: nothing listens there on the machines the tests run on.
const wchar_t kClosedProxy[] = L"127.0.0.1:9";

struct SavedValue {
    bool present = false;
    DWORD type = 0;
    std::vector<BYTE> data;
};

SavedValue Save(HKEY key, const wchar_t* name) {
    SavedValue v;
    DWORD size = 0;
    if (RegQueryValueExW(key, name, nullptr, &v.type, nullptr, &size) != ERROR_SUCCESS) return v;
    v.data.resize(size);
    if (RegQueryValueExW(key, name, nullptr, &v.type, v.data.data(), &size) != ERROR_SUCCESS)
        return v;
    v.data.resize(size);
    v.present = true;
    return v;
}

void Restore(HKEY key, const wchar_t* name, const SavedValue& v) {
    if (!v.present) {
        RegDeleteValueW(key, name);
        return;
    }
    RegSetValueExW(key, name, 0, v.type, v.data.data(), static_cast<DWORD>(v.data.size()));
}

bool SetKeyAccess(const std::wstring& subKey, const wchar_t* sddl) {
    PSECURITY_DESCRIPTOR sd = nullptr;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl, SDDL_REVISION_1, &sd, nullptr))
        return false;
    HKEY key = nullptr;
    // The owner may always change the access list, whatever the list says.
    bool ok =
        RegOpenKeyExW(HKEY_LOCAL_MACHINE, subKey.c_str(), 0, WRITE_DAC, &key) == ERROR_SUCCESS;
    if (ok) {
        ok = RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, sd) == ERROR_SUCCESS;
        RegCloseKey(key);
    }
    LocalFree(sd);
    return ok;
}

struct PopupSearch {
    DWORD pid;
    HWND main;
    HWND found;
};

BOOL CALLBACK VisitPopup(HWND wnd, LPARAM param) {
    auto* s = reinterpret_cast<PopupSearch*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(wnd, &pid);
    wchar_t cls[16] = L"";
    GetClassNameW(wnd, cls, 16);
    // Message boxes carry the button 5000.
    if (pid == s->pid && lstrcmpW(cls, L"#32770") == 0 && GetWindow(wnd, GW_OWNER) == s->main &&
        !GetDlgItem(wnd, 5000) && (GetWindowLongPtrW(wnd, GWL_EXSTYLE) & WS_EX_TOOLWINDOW)) {
        s->found = wnd;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

struct UnreachableNetwork::Saved {
    SavedValue enable, server, override_;
};

UnreachableNetwork::UnreachableNetwork() : m_saved(new Saved) {
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, kInternetSettings, 0, nullptr, 0, KEY_ALL_ACCESS,
                        nullptr, &key, nullptr) != ERROR_SUCCESS)
        return;
    m_saved->enable = Save(key, L"ProxyEnable");
    m_saved->server = Save(key, L"ProxyServer");
    m_saved->override_ = Save(key, L"ProxyOverride");
    const DWORD on = 1;
    RegSetValueExW(key, L"ProxyEnable", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&on),
                   sizeof(on));
    RegSetValueExW(key, L"ProxyServer", 0, REG_SZ, reinterpret_cast<const BYTE*>(kClosedProxy),
                   static_cast<DWORD>((wcslen(kClosedProxy) + 1) * sizeof(wchar_t)));
    // No address is exempt, the local host included.
    RegDeleteValueW(key, L"ProxyOverride");
    RegCloseKey(key);
}

UnreachableNetwork::~UnreachableNetwork() {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kInternetSettings, 0, KEY_ALL_ACCESS, &key) !=
        ERROR_SUCCESS)
        return;
    Restore(key, L"ProxyEnable", m_saved->enable);
    Restore(key, L"ProxyServer", m_saved->server);
    Restore(key, L"ProxyOverride", m_saved->override_);
    RegCloseKey(key);
}

ReadOnlyFile::ReadOnlyFile(const std::wstring& path) : m_path(path) {
    SetFileAttributesW(m_path.c_str(), FILE_ATTRIBUTE_READONLY);
    m_hold = CreateFileW(m_path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
}

ReadOnlyFile::~ReadOnlyFile() {
    if (m_hold != INVALID_HANDLE_VALUE) CloseHandle(m_hold);
    SetFileAttributesW(m_path.c_str(), FILE_ATTRIBUTE_NORMAL);
}

GuardedRegKey::GuardedRegKey(const wchar_t* subKey, const wchar_t* sddl) : m_subKey(subKey) {
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, subKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
        return;
    RegCloseKey(key);
    m_applied = SetKeyAccess(m_subKey, sddl);
}

GuardedRegKey::~GuardedRegKey() { SetKeyAccess(m_subKey, L"D:(A;;KA;;;WD)"); }

bool WriteUtf16File(const std::wstring& path, const std::wstring& text) {
    std::string bytes("\xFF\xFE", 2);
    bytes.append(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t));
    return WriteFileBytes(path, bytes);
}

bool Responds(HWND wnd, DWORD timeoutMs) {
    DWORD_PTR result = 0;
    return SendMessageTimeoutW(wnd, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, timeoutMs, &result) != 0;
}

::testing::AssertionResult TakesALogin(HWND mainWindow, const std::wstring& caption) {
    StandIn s = StartStandIn(L"/newgm /" + HandleText(mainWindow) + L" /0");
    if (!s) return ::testing::AssertionFailure() << "no stand-in game process";
    if (!s.Command(L"login " + caption))
        return ::testing::AssertionFailure() << "the stand-in took no command";
    if (!s.WaitForLine(L"copydata 1", 30000))
        return ::testing::AssertionFailure() << "the main window did not accept the login";
    if (!s.WaitForLine(L"shown", 30000))
        return ::testing::AssertionFailure() << "the game frame was not shown";
    if (GetAncestor(s.Frame(), GA_PARENT) != mainWindow)
        return ::testing::AssertionFailure() << "the game frame is not inside the main window";
    return ::testing::AssertionSuccess();
}

HWND NoticePopup(DWORD pid, HWND mainWindow) {
    PopupSearch search = {pid, mainWindow, nullptr};
    EnumWindows(&VisitPopup, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

}  // namespace testsupport
