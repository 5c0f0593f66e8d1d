#include "maint/TreePaths.h"

#include <gtest/gtest.h>

using namespace vorel;

TEST(TreePaths, OneTrailingBackslashAndAStarPattern) {
    TreeFolder f;
    ASSERT_TRUE(MakeTreeFolder(L"C:\\x\\#SharedObjects", &f));
    EXPECT_EQ(f.withSlash, L"C:\\x\\#SharedObjects\\");
    EXPECT_EQ(f.pattern, L"C:\\x\\#SharedObjects\\*");
    ASSERT_TRUE(MakeTreeFolder(L"C:\\cache\\", &f));
    EXPECT_EQ(f.withSlash, L"C:\\cache\\");
    EXPECT_EQ(f.pattern, L"C:\\cache\\*");
    std::wstring path;
    ASSERT_TRUE(MakeTreeEntryPath(f, L"a.sol", &path));
    EXPECT_EQ(path, L"C:\\cache\\a.sol");
    EXPECT_FALSE(MakeTreeFolder(L"", &f)) << "an empty folder would search the current one";
}

TEST(TreePaths, PathsThatDoNotFitTheirBuffersAreRefusedNotCut) {
    TreeFolder f;
    // 257 characters + "\*" is 259: the longest pattern that fits 260 with its terminator.
    const std::wstring fits = L"C:\\" + std::wstring(254, L'f');
    ASSERT_TRUE(MakeTreeFolder(fits, &f));
    EXPECT_EQ(f.pattern.size(), 259u);
    EXPECT_FALSE(MakeTreeFolder(fits + L"g", &f));

    ASSERT_TRUE(MakeTreeFolder(L"C:\\d", &f));
    std::wstring path = L"unchanged";
    ASSERT_TRUE(MakeTreeEntryPath(f, std::wstring(254, L'n'), &path));  // 5 + 254 = 259
    EXPECT_FALSE(MakeTreeEntryPath(f, std::wstring(255, L'n'), &path));
    EXPECT_EQ(path.size(), 259u);
}

TEST(TreePaths, DotsAreSkippedLinksAreNotFollowed) {
    const uint32_t dir = 0x10, link = 0x10 | 0x400, file = 0x20, fileLink = 0x20 | 0x400;
    EXPECT_EQ(ClassifyTreeEntry(L".", dir), TreeEntry::Skip);
    EXPECT_EQ(ClassifyTreeEntry(L"..", dir), TreeEntry::Skip);
    EXPECT_EQ(ClassifyTreeEntry(L"...", dir), TreeEntry::Folder);
    EXPECT_EQ(ClassifyTreeEntry(L".hidden", file), TreeEntry::File);
    EXPECT_EQ(ClassifyTreeEntry(L"site", dir), TreeEntry::Folder);
    EXPECT_EQ(ClassifyTreeEntry(L"elsewhere", link), TreeEntry::Link);
    EXPECT_EQ(ClassifyTreeEntry(L"a.sol", fileLink), TreeEntry::File);
}

TEST(TreePaths, ReadOnlyIsClearedAndTheOtherAttributesStay) {
    uint32_t cleared = 0;
    EXPECT_FALSE(NeedsReadOnlyCleared(0x20, &cleared));
    ASSERT_TRUE(NeedsReadOnlyCleared(0x21 | 0x2, &cleared));  // read-only, hidden, archive
    EXPECT_EQ(cleared, 0x22u);
    ASSERT_TRUE(NeedsReadOnlyCleared(0x1, &cleared));
    EXPECT_EQ(cleared, 0x80u) << "no bits at all would leave the file read-only";
}
