// The product folder's access list. Under the application-data folder every standard user may
// create files in any subfolder, and this program runs as administrator: whatever lies in its
// folder would run with those rights.
#pragma once
#include <windows.h>

#include <string>

#include "fw/Raii.h"

namespace vorel {

namespace detail {
struct LocalMemoryTraits {
    using type = PSECURITY_DESCRIPTOR;
    static type Empty() { return nullptr; }
    static bool IsValid(type h) { return h != nullptr; }
    static void Close(type h) { ::LocalFree(h); }
};
}  // namespace detail
using ScopedSecurityDescriptor = fw::UniqueHandle<detail::LocalMemoryTraits>;

// Owned by Administrators; a protected list (nothing inherited from above) that gives
// Administrators and SYSTEM full control and Users read and execute, each for the folder, its
// subfolders and its files. Empty when the system cannot build it.
ScopedSecurityDescriptor BuildProductFolderSecurity();

// Gives an existing folder that access list, replacing what it had, also its owner where this
// process may set it. Files inside that inherit take the new list. False when the list could
// not be set (a file system without access lists, no administrator rights).
bool ProtectProductFolder(const std::wstring& folder);

// Deletes a file this process is about to write, so that the written file is a new one of its
// own and not one planted with someone else as owner. True when nothing is left there.
bool RemoveBeforeWriting(const std::wstring& path);

}  // namespace vorel
