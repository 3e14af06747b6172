#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "../support/TemporaryDirectory.h"
#include "platform/Platform.h"
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
    std::string Prefix() const { return directory.Path().string() + platform::PathSeparator; }

    TemporaryDirectory directory;
};

TEST_F(ListMatchingFilesTest, AppendsFullPathsOfEveryMatchDirectoriesIncluded) {
    Names names = {"kept"};
    EXPECT_FALSE(ListMatchingFiles(Prefix() + "*.txt", names));
    EXPECT_EQ(names, (Names {"kept", Prefix() + "a.txt", Prefix() + "b.txt", Prefix() + "d.txt"}));
}

TEST_F(ListMatchingFilesTest, PatternWithoutDirectoryGivesBareNames) {
    test::CurrentDirectoryScope inside(directory.Path());
    Names names;
    EXPECT_FALSE(ListMatchingFiles("?.log", names));
    EXPECT_EQ(names, (Names {"c.log"}));
}

TEST_F(ListMatchingFilesTest, ReportsFailureAndLeavesTheListAloneWhenNothingMatches) {
    Names names = {"kept"};
    EXPECT_TRUE(ListMatchingFiles(Prefix() + "*.pos", names));
    EXPECT_TRUE(ListMatchingFiles(Prefix() + "missing" + platform::PathSeparator + "*.txt", names));
    EXPECT_EQ(names, (Names {"kept"}));
}

}  // namespace
}  // namespace zomar
