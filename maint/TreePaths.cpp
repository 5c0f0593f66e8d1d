#include "maint/TreePaths.h"

namespace vorel {

namespace {
// The file attribute bits, as the system defines them.
constexpr uint32_t kReadOnly = 0x1;
constexpr uint32_t kDirectory = 0x10;
constexpr uint32_t kReparsePoint = 0x400;
constexpr uint32_t kNormal = 0x80;

bool Fits(const std::wstring& path) { return path.size() < kTreePathCapacity; }
}  // namespace

bool MakeTreeFolder(const std::wstring& folder, TreeFolder* out) {
    if (folder.empty() || folder.find(L'\0') != std::wstring::npos) return false;
    TreeFolder f;
    f.withSlash = folder;
    if (f.withSlash.back() != L'\\') f.withSlash.push_back(L'\\');
    f.pattern = f.withSlash + L"*";
    if (!Fits(f.pattern)) return false;
    *out = f;
    return true;
}

bool MakeTreeEntryPath(const TreeFolder& folder, const std::wstring& name, std::wstring* path) {
    std::wstring p = folder.withSlash + name;
    if (name.empty() || !Fits(p)) return false;
    *path = p;
    return true;
}

TreeEntry ClassifyTreeEntry(const std::wstring& name, uint32_t attributes) {
    if (name == L"." || name == L"..") return TreeEntry::Skip;
    if (attributes & kDirectory) {
        return (attributes & kReparsePoint) ? TreeEntry::Link : TreeEntry::Folder;
    }
    return TreeEntry::File;
}

bool NeedsReadOnlyCleared(uint32_t attributes, uint32_t* cleared) {
    if (!(attributes & kReadOnly)) return false;
    // No bits at all would mean "leave the attributes as they are" to the file system.
    const uint32_t rest = attributes & ~kReadOnly;
    *cleared = rest ? rest : kNormal;
    return true;
}

}  // namespace vorel
