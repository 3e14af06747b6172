#ifdef _WIN32

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "../support/WindowsTemporaryDirectory.h"
#include "util/FileListing.h"
#include "util/Paths.h"

namespace zomar {
namespace {

using test::WindowsTemporaryDirectory;
using Names = std::vector<std::string>;

// PathsTest runs here too, with backslashes; these are the drive-letter paths
// a manager hands over.
TEST(WindowsPaths, DriveLetterPathsAndTheProgramName) {
    EXPECT_EQ(StripExtension(BaseName("C:\\Brains\\mybrain.exe")), "mybrain");
    EXPECT_EQ(StripExtension("C:\\a.b\\prog"), "C:\\a");
    EXPECT_EQ(StripExtension("C:\\a\\"), "C:\\a\\");
    EXPECT_EQ(JoinPath("d:\\temp", "mybrain"), "d:\\temp\\mybrain");
    EXPECT_EQ(JoinPath("d:\\temp\\", "mybrain"), "d:\\temp\\mybrain");
    EXPECT_EQ(DirectoryPart("C:\\games\\x.txt"), "C:\\games\\");
}

TEST(WindowsPaths, ForwardSlashIsAnOrdinaryCharacter) {
    EXPECT_EQ(BaseName("C:/a/prog"), "");
    EXPECT_EQ(DirectoryPart("C:/a/prog"), "");
    EXPECT_EQ(JoinPath("c:/temp", "prog"), "c:/temp\\prog");
    EXPECT_EQ(StripExtension("C:\\a/"), "C:\\a/");
}

TEST(WindowsFileListing, PrefixesTheDirectoryOfThePattern) {
    WindowsTemporaryDirectory root;
    root.WriteFile("one.txt", "");
    root.WriteFile("two.txt", "");
    root.WriteFile("other.pos", "");

    Names full;
    EXPECT_FALSE(ListMatchingFiles(root / "*.txt", full));
    std::sort(full.begin(), full.end());
    EXPECT_EQ(full, (Names {root / "one.txt", root / "two.txt"}));

    char previous[MAX_PATH + 1] = {};
    ASSERT_NE(GetCurrentDirectoryA(sizeof previous, previous), 0u);
    ASSERT_TRUE(SetCurrentDirectoryA(root.Path().c_str()));
    Names bare;
    bool nothing = ListMatchingFiles("*.pos", bare);
    Names none = {"kept"};
    bool missing = ListMatchingFiles("*.none", none);
    SetCurrentDirectoryA(previous);

    EXPECT_FALSE(nothing);
    EXPECT_EQ(bare, (Names {"other.pos"}));
    EXPECT_TRUE(missing);
    EXPECT_EQ(none, (Names {"kept"}));
}

}  // namespace
}  // namespace zomar

#endif
