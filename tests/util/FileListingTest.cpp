#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "../support/TemporaryDirectory.h"
#include "util/FileListing.h"

namespace zomar {
namespace {

using test::TemporaryDirectory;
using Names = std::vector<std::string>;

class ListMatchingFilesTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* name : {"b.txt", "a.txt", "c.log"}) {
            directory.WriteFile(name, "x\n");
        }
        std::filesystem::create_directory(directory.Path() / "d.txt");
    }

    // The paths in the order a listing reports them: glob sorts them, Windows
    // keeps the file system's own order.
    static Names AsListed(Names names, std::size_t keptInFront) {
#ifdef _WIN32
        std::sort(names.begin() + static_cast<std::ptrdiff_t>(keptInFront), names.end());
#else
        static_cast<void>(keptInFront);
#endif
        return names;
    }

    TemporaryDirectory directory;
};

TEST_F(ListMatchingFilesTest, AppendsFullPathsOfEveryMatchDirectoriesIncluded) {
    Names names = {"kept"};
    EXPECT_FALSE(ListMatchingFiles(directory / "*.txt", names));
    EXPECT_EQ(AsListed(names, 1), (Names {"kept", directory / "a.txt", directory / "b.txt", directory / "d.txt"}));
}

TEST_F(ListMatchingFilesTest, PatternWithoutDirectoryGivesBareNames) {
    test::CurrentDirectoryScope inside(directory.Path());
    Names names;
    EXPECT_FALSE(ListMatchingFiles("?.log", names));
    EXPECT_EQ(names, (Names {"c.log"}));
}

TEST_F(ListMatchingFilesTest, ReportsFailureAndLeavesTheListAloneWhenNothingMatches) {
    Names names = {"kept"};
    EXPECT_TRUE(ListMatchingFiles(directory / "*.pos", names));
    EXPECT_TRUE(ListMatchingFiles(directory / "missing/*.txt", names));
    EXPECT_EQ(names, (Names {"kept"}));
}

}  // namespace
}  // namespace zomar
