#include "app/FolderAccess.h"

#include <aclapi.h>
#include <sddl.h>

namespace vorel {

namespace {
// FA: FILE_ALL_ACCESS. 0x1200a9: FILE_GENERIC_READ | FILE_GENERIC_EXECUTE, the folder's
// listing included. OICI: inherited by files and subfolders. PAI: protected.
const wchar_t kProductFolderSddl[] =
    L"O:BAD:PAI(A;OICI;FA;;;BA)(A;OICI;FA;;;SY)(A;OICI;0x1200a9;;;BU)";
}  // namespace

ScopedSecurityDescriptor BuildProductFolderSecurity() {
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (!::ConvertStringSecurityDescriptorToSecurityDescriptorW(kProductFolderSddl, SDDL_REVISION_1,
                                                                &descriptor, nullptr))
        return ScopedSecurityDescriptor();
    return ScopedSecurityDescriptor(descriptor);
}

bool ProtectProductFolder(const std::wstring& folder) {
    ScopedSecurityDescriptor security = BuildProductFolderSecurity();
    if (!security) return false;
    BOOL present = FALSE, defaulted = FALSE;
    PACL dacl = nullptr;
    PSID owner = nullptr;
    if (!::GetSecurityDescriptorDacl(security.get(), &present, &dacl, &defaulted) || !dacl ||
        !::GetSecurityDescriptorOwner(security.get(), &owner, &defaulted))
        return false;
    std::wstring path = folder;  // the function takes a writable string
    // The owner may change the list whatever it says: a folder made beforehand by a user
    // must not stay theirs.
    if (::SetNamedSecurityInfoW(&path[0], SE_FILE_OBJECT,
                                OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION |
                                    PROTECTED_DACL_SECURITY_INFORMATION,
                                owner, nullptr, dacl, nullptr) == ERROR_SUCCESS)
        return true;
    return ::SetNamedSecurityInfoW(&path[0], SE_FILE_OBJECT,
                                   DACL_SECURITY_INFORMATION | PROTECTED_DACL_SECURITY_INFORMATION,
                                   nullptr, nullptr, dacl, nullptr) == ERROR_SUCCESS;
}

bool RemoveBeforeWriting(const std::wstring& path) {
    if (path.empty()) return false;
    if (::DeleteFileW(path.c_str())) return true;
    const DWORD error = ::GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

}  // namespace vorel
