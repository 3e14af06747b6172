#ifdef _WIN32

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "../support/WindowsTemporaryDirectory.h"
#include "platform/Platform.h"

namespace zomar::platform {
namespace {

using test::WindowsTemporaryDirectory;
using Names = std::vector<std::string>;

// Windows reports its own order (sorted on NTFS, creation order elsewhere).
Names Sorted(Names names) {
    std::sort(names.begin(), names.end());
    return names;
}

TEST(WindowsDirectories, CreateOneLevelAndTellDirectoriesFromFiles) {
    WindowsTemporaryDirectory root;
    std::string made = root / "Made";
    EXPECT_FALSE(DirectoryExists(made));
    EXPECT_TRUE(MakeDirectory(made));
    EXPECT_TRUE(DirectoryExists(made));
    EXPECT_FALSE(MakeDirectory(made));
    // Names ignore case, and a folder value may end in a backslash.
    EXPECT_TRUE(DirectoryExists(root / "made"));
    EXPECT_TRUE(DirectoryExists(made + "\\"));

    EXPECT_FALSE(MakeDirectory(root / "missing\\child"));
    EXPECT_FALSE(DirectoryExists(root / "missing"));

    root.WriteFile("file", "x");
    EXPECT_FALSE(DirectoryExists(root / "file"));
    EXPECT_FALSE(MakeDirectory(root / "file"));
}

TEST(WindowsFindMatchingNames, ListsBareNamesOfEveryMatch) {
    WindowsTemporaryDirectory root;
    for (const char* name : {"b2.txt", "a1.txt", "notes"}) {
        root.WriteFile(name, "");
    }
    EXPECT_TRUE(MakeDirectory(root / "sub.txt"));

    Names texts;
    EXPECT_TRUE(FindMatchingNames(root / "*.txt", texts));
    EXPECT_EQ(Sorted(texts), (Names {"a1.txt", "b2.txt", "sub.txt"}));

    Names single;
    EXPECT_TRUE(FindMatchingNames(root / "?1.txt", single));
    EXPECT_EQ(single, (Names {"a1.txt"}));

    // Every entry the search reports is listed, the dot entries included.
    Names all;
    EXPECT_TRUE(FindMatchingNames(root / "*", all));
    EXPECT_EQ(Sorted(all), (Names {".", "..", "a1.txt", "b2.txt", "notes", "sub.txt"}));
}

TEST(WindowsFindMatchingNames, AppendsWithoutClearing) {
    WindowsTemporaryDirectory root;
    root.WriteFile("a.pos", "");
    Names names = {"kept"};
    EXPECT_TRUE(FindMatchingNames(root / "*.pos", names));
    EXPECT_EQ(names, (Names {"kept", "a.pos"}));
}

TEST(WindowsFindMatchingNames, FailsWithoutTouchingTheListWhenNothingCanMatch) {
    WindowsTemporaryDirectory root;
    root.WriteFile("a.txt", "");
    Names names = {"kept"};
    EXPECT_FALSE(FindMatchingNames(root / "*.pos", names));
    EXPECT_FALSE(FindMatchingNames(root / "missing\\*", names));
    EXPECT_FALSE(FindMatchingNames(root.Path() + "\\", names));
    EXPECT_EQ(names, (Names {"kept"}));
}

}  // namespace
}  // namespace zomar::platform

#endif
