#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "../support/TemporaryDirectory.h"
#include "platform/Platform.h"

namespace zomar::platform {
namespace {

using test::TemporaryDirectory;
using Names = std::vector<std::string>;

// The names a search for `pattern` lists.
Names Matching(const std::string& pattern) {
    Names names;
    EXPECT_TRUE(FindMatchingNames(pattern, names)) << pattern;
    return names;
}

// The names in the order a listing reports them: glob sorts them, Windows
// keeps the file system's own order (sorted on NTFS, creation order elsewhere).
Names AsListed(Names names) {
#ifdef _WIN32
    std::sort(names.begin(), names.end());
#endif
    return names;
}

TEST(Directories, CreatesOneLevelAndTellsDirectoriesFromFiles) {
    TemporaryDirectory root;
    std::string made = root / "made";
    EXPECT_FALSE(DirectoryExists(made));
    EXPECT_TRUE(MakeDirectory(made));
    EXPECT_TRUE(DirectoryExists(made));
    EXPECT_FALSE(MakeDirectory(made));

    EXPECT_FALSE(MakeDirectory(root / "missing/child"));
    EXPECT_FALSE(DirectoryExists(root / "missing"));

    root.WriteFile("file", "x");
    EXPECT_FALSE(DirectoryExists(root / "file"));
    EXPECT_FALSE(MakeDirectory(root / "file"));
}

TEST(FindMatchingNames, ListsBareNamesWithOnlyStarAndQuestionMarkAsWildcards) {
    TemporaryDirectory root;
    for (const char* name : {"b2.txt", "a1.txt", "a[1].txt", "notes"}) {
        root.WriteFile(name, "");
    }
    ASSERT_TRUE(MakeDirectory(root / "sub.txt"));

    EXPECT_EQ(AsListed(Matching(root / "*.txt")), (Names {"a1.txt", "a[1].txt", "b2.txt", "sub.txt"}));
    EXPECT_EQ(Matching(root / "?1.txt"), (Names {"a1.txt"}));
    EXPECT_EQ(Matching(root / "a[1].txt"), (Names {"a[1].txt"}));
    EXPECT_EQ(Matching(root / "notes"), (Names {"notes"}));
}

// glob leaves out names that start with a full stop; Windows lists them, and
// for a lone star the dot entries too.
TEST(FindMatchingNames, NamesStartingWithAFullStopAsTheSystemListsThem) {
    TemporaryDirectory root;
    root.WriteFile(".hidden.txt", "");
    root.WriteFile("shown.txt", "");
#ifdef _WIN32
    EXPECT_EQ(AsListed(Matching(root / "*.txt")), (Names {".hidden.txt", "shown.txt"}));
    EXPECT_EQ(AsListed(Matching(root / "*")), (Names {".", "..", ".hidden.txt", "shown.txt"}));
#else
    EXPECT_EQ(Matching(root / "*.txt"), (Names {"shown.txt"}));
    EXPECT_EQ(Matching(root / "*"), (Names {"shown.txt"}));
#endif
}

#ifndef _WIN32
// Windows allows no wildcard in a name, so only here can a folder be named so.
TEST(FindMatchingNames, TakesTheDirectoryPartLiterally) {
    TemporaryDirectory root;
    std::filesystem::create_directory(root.Path() / "d*r");
    std::filesystem::create_directory(root.Path() / "dir");
    root.WriteFile("d*r/x.txt", "");
    root.WriteFile("dir/y.txt", "");
    EXPECT_EQ(Matching(root / "d*r/*.txt"), (Names {"x.txt"}));
}
#endif

TEST(FindMatchingNames, AppendsToTheListWithoutClearingIt) {
    TemporaryDirectory root;
    root.WriteFile("a.pos", "");
    Names names = {"kept"};
    EXPECT_TRUE(FindMatchingNames(root / "*.pos", names));
    EXPECT_EQ(names, (Names {"kept", "a.pos"}));
}

TEST(FindMatchingNames, FailsWithoutTouchingTheListWhenNothingCanMatch) {
    TemporaryDirectory root;
    root.WriteFile("a.txt", "");
    Names names = {"kept"};
    EXPECT_FALSE(FindMatchingNames(root / "*.pos", names));
    EXPECT_FALSE(FindMatchingNames(root / "missing/*", names));
    EXPECT_FALSE(FindMatchingNames(root.Path().string() + PathSeparator, names));
    EXPECT_EQ(names, (Names {"kept"}));
}

}  // namespace
}  // namespace zomar::platform
