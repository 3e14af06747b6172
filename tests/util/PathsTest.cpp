#include <gtest/gtest.h>

#include <string>

#include "platform/Platform.h"
#include "util/Paths.h"

namespace zomar {
namespace {

// Paths are written with '/' here and turned into the platform's separator.
std::string P(std::string path) {
    for (char& c : path) {
        if (c == '/') {
            c = platform::PathSeparator;
        }
    }
    return path;
}

TEST(StripExtension, CutsFromTheLastFullStop) {
    EXPECT_EQ(StripExtension(P("/a/b.exe")), P("/a/b"));
    EXPECT_EQ(StripExtension(P("/a/b.tar.gz")), P("/a/b.tar"));
    EXPECT_EQ(StripExtension("prog"), "prog");
    EXPECT_EQ(StripExtension(""), "");
    // A full stop in a directory name counts when the file name has none.
    EXPECT_EQ(StripExtension(P("/a.b/prog")), P("/a"));
    // A path ending in a separator names a directory and stays as it is.
    EXPECT_EQ(StripExtension(P("/a.b/")), P("/a.b/"));
}

TEST(PathParts, SplitAtTheLastSeparator) {
    EXPECT_EQ(BaseName(P("/a/prog")), "prog");
    EXPECT_EQ(BaseName(P("/a/")), "");
    EXPECT_EQ(BaseName("prog"), "");
    EXPECT_EQ(DirectoryPart(P("/games/x.txt")), P("/games/"));
    EXPECT_EQ(DirectoryPart(P("/x.txt")), P("/"));
    EXPECT_EQ(DirectoryPart("x.txt"), "");
}

TEST(JoinPath, PutsExactlyOneSeparatorAtTheSeam) {
    EXPECT_EQ(JoinPath(P("/temp"), "prog"), P("/temp/prog"));
    EXPECT_EQ(JoinPath(P("/temp/"), P("/prog")), P("/temp/prog"));
    EXPECT_EQ(JoinPath(P("/temp/"), "prog"), P("/temp/prog"));
    EXPECT_EQ(JoinPath(P("/temp"), P("/prog")), P("/temp/prog"));
    EXPECT_EQ(JoinPath("", "prog"), "prog");
    EXPECT_EQ(JoinPath(P("/temp"), ""), P("/temp"));
    EXPECT_EQ(JoinPath("", ""), "");
}

}  // namespace
}  // namespace zomar
