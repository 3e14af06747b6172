#ifdef _WIN32

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "../support/TemporaryDirectory.h"
#include "support/RecordingCommunicator.h"
#include "platform/Platform.h"

namespace zomar {
namespace {

using test::CurrentDirectoryScope;
using test::RecordingCommunicator;
using test::TemporaryDirectory;

// Lines from the manager are lowercased; the program path on the command line
// is not.
TEST(WindowsSettings, ProgramNameKeepsItsCase) {
    EXPECT_EQ(RecordingCommunicator("", "C:\\Brains\\mybrain.exe").programName, "mybrain");
    EXPECT_EQ(RecordingCommunicator("", "C:\\v1.2\\Brain.Exe").programName, "Brain");
    EXPECT_EQ(RecordingCommunicator("", "mybrain.exe").programName, "");
}

TEST(WindowsSettings, FolderIsLowercasedAsSent) {
    TemporaryDirectory root;
    CurrentDirectoryScope inside(root.Path());
    std::filesystem::create_directory("MixedCase");

    RecordingCommunicator engine("", "C:\\Brains\\MyBrain.exe");
    engine.Interpret("INFO FOLDER MixedCase");
    EXPECT_EQ(engine.folder, "mixedcase\\MyBrain");
    EXPECT_TRUE(platform::DirectoryExists(root / "MixedCase/MyBrain"));
    EXPECT_TRUE(engine.OutputLines().empty());
}

}  // namespace
}  // namespace zomar

#endif
