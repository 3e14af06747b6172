#ifdef _WIN32

#include <gtest/gtest.h>

#include <string>

#include "../support/TemporaryDirectory.h"
#include "platform/Platform.h"

namespace zomar::platform {
namespace {

TEST(WindowsDirectories, NamesIgnoreCaseAndAFolderMayEndInABackslash) {
    test::TemporaryDirectory root;
    std::string made = root / "Made";
    EXPECT_TRUE(MakeDirectory(made));
    EXPECT_TRUE(DirectoryExists(root / "made"));
    EXPECT_FALSE(MakeDirectory(root / "MADE"));
    EXPECT_TRUE(DirectoryExists(made + "\\"));
}

}  // namespace
}  // namespace zomar::platform

#endif
