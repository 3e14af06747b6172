#ifdef _WIN32

#include <gtest/gtest.h>

#include <string>

#include "util/Paths.h"

namespace zomar {
namespace {

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

}  // namespace
}  // namespace zomar

#endif
