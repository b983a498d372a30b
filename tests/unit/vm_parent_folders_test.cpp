#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "test_support.h"
#include "vm/parent_folders.h"

namespace {

constexpr std::uint32_t kAccessDenied = 5;
constexpr std::uint32_t kBadNetPath = 53;

} // namespace

TEST(ParentFolders, CreatesEachMissingFolderBelowTheRoot) {
    FakeFolders folders;
    EXPECT_EQ(ensureParentFolders(u"C:\\Logs\\App\\out.txt"_t, folders), 0u);
    EXPECT_EQ(folders.created, (TextList{u"C:\\Logs"_t, u"C:\\Logs\\App"_t}));

    // Existing folders count as success; the walk goes on below them.
    folders.created.clear();
    EXPECT_EQ(ensureParentFolders(u"C:\\Logs\\App\\Sub\\err.txt"_t, folders), 0u);
    EXPECT_EQ(folders.created.back(), u"C:\\Logs\\App\\Sub"_t);
    EXPECT_TRUE(folders.exists(u"C:\\Logs\\App\\Sub"_t));
}

TEST(ParentFolders, ExistingAbsoluteFileNeedsNothing) {
    FakeFolders folders;
    folders.existing.insert(u"C:\\Logs\\out.txt");
    EXPECT_EQ(ensureParentFolders(u"C:\\Logs\\out.txt"_t, folders), 0u);
    EXPECT_TRUE(folders.created.empty());

    // A relative path is never taken as existing: its walk still runs.
    folders.existing.insert(u"Logs\\App\\out.txt");
    ensureParentFolders(u"Logs\\App\\out.txt"_t, folders);
    EXPECT_EQ(folders.created, TextList{u"Logs\\App"_t});
}

TEST(ParentFolders, RootForms) {
    FakeFolders folders;
    ensureParentFolders(u"\\\\?\\C:\\Logs\\out.txt"_t, folders);
    EXPECT_EQ(folders.created, TextList{u"\\\\?\\C:\\Logs"_t});

    folders.created.clear();
    ensureParentFolders(u"Logs\\out.txt"_t, folders);  // the first name is taken as the root
    EXPECT_TRUE(folders.created.empty());

    ensureParentFolders(u"out.txt"_t, folders);
    ensureParentFolders(u"C:\\out.txt"_t, folders);
    EXPECT_TRUE(folders.created.empty());

    // Rooted at the current drive: the folder below that root is created.
    ensureParentFolders(u"\\Logs\\out.txt"_t, folders);
    EXPECT_EQ(folders.created, TextList{u"\\Logs"_t});
}

TEST(ParentFolders, UncFailuresArePassedOver) {
    FakeFolders folders;
    folders.failures[u"\\\\Server\\Share"] = kBadNetPath;
    EXPECT_EQ(ensureParentFolders(u"\\\\Server\\Share\\Logs\\err.txt"_t, folders), kBadNetPath);
    EXPECT_EQ(folders.created, (TextList{u"\\\\Server\\Share"_t, u"\\\\Server\\Share\\Logs"_t}));
    EXPECT_TRUE(folders.exists(u"\\\\Server\\Share\\Logs"_t));
    EXPECT_TRUE(folders.removed.empty());
}

TEST(ParentFolders, FailureStopsAndTakesBackOnlyItsOwnParent) {
    FakeFolders folders;
    folders.failures[u"C:\\A\\B\\C"] = kAccessDenied;
    EXPECT_EQ(ensureParentFolders(u"C:\\A\\B\\C\\D\\f.txt"_t, folders), kAccessDenied);
    EXPECT_EQ(folders.created, (TextList{u"C:\\A"_t, u"C:\\A\\B"_t, u"C:\\A\\B\\C"_t}));
    EXPECT_EQ(folders.removed, TextList{u"C:\\A\\B"_t});

    // A parent that was there before is left alone.
    FakeFolders kept;
    kept.existing = {u"C:\\A", u"C:\\A\\B"};
    kept.failures[u"C:\\A\\B\\C"] = kAccessDenied;
    EXPECT_EQ(ensureParentFolders(u"C:\\A\\B\\C\\f.txt"_t, kept), kAccessDenied);
    EXPECT_TRUE(kept.removed.empty());

    // The first folder below the root has no parent to take back.
    FakeFolders first;
    first.failures[u"C:\\A"] = kAccessDenied;
    EXPECT_EQ(ensureParentFolders(u"C:\\A\\B\\f.txt"_t, first), kAccessDenied);
    EXPECT_EQ(first.created, TextList{u"C:\\A"_t});
    EXPECT_TRUE(first.removed.empty());
}
