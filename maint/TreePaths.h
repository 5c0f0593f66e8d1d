// The paths and entry decisions of deleting a folder tree. Paths live in buffers of 260
// characters; a path that does not fit is refused rather than cut, since a cut path names
// another file or folder. Platform-free.
#pragma once
#include <cstdint>
#include <string>

namespace vorel {

constexpr size_t kTreePathCapacity = 260;  // terminator included

struct TreeFolder {
    std::wstring withSlash;  // the folder with one trailing backslash
    std::wstring pattern;    // what the search is started with: withSlash + "*"
};

// False when the folder is empty or its search pattern would not fit.
bool MakeTreeFolder(const std::wstring& folder, TreeFolder* out);

// folder.withSlash + name; false when it would not fit.
bool MakeTreeEntryPath(const TreeFolder& folder, const std::wstring& name, std::wstring* path);

enum class TreeEntry {
    Skip,    // "." and ".."
    Folder,  // deleted as a tree of its own
    Link,    // a folder that is a junction or symbolic link: only the link itself goes, never
             // what it points to (it may lead out of the tree being deleted)
    File,
};

// attributes: the entry's file attribute bits as the search reports them.
TreeEntry ClassifyTreeEntry(const std::wstring& name, uint32_t attributes);

// True when the read-only bit must be cleared before deletion; *cleared gets the attributes
// to set (all others kept; "normal" when none is left).
bool NeedsReadOnlyCleared(uint32_t attributes, uint32_t* cleared);

}  // namespace vorel
