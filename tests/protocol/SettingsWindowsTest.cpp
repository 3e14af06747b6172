#ifdef _WIN32

#include <gtest/gtest.h>

#include <string>

#include "../support/WindowsTemporaryDirectory.h"
#include "RecordingCommunicator.h"
#include "platform/Platform.h"

namespace zomar {
namespace {

using test::RecordingCommunicator;
using test::WindowsTemporaryDirectory;

std::string Lowercase(std::string text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return text;
}

constexpr const char* BrainPath = "C:\\Brains\\mybrain.exe";

TEST(WindowsSettings, ProgramNameIsTheFileNameWithoutExtension) {
    EXPECT_EQ(RecordingCommunicator("", BrainPath).programName, "mybrain");
    EXPECT_EQ(RecordingCommunicator("", "C:\\v1.2\\Brain.Exe").programName, "Brain");
    EXPECT_EQ(RecordingCommunicator("", "mybrain.exe").programName, "");
}

TEST(WindowsSettings, FolderIsLowercasedAndCreatedForTheProgram) {
    WindowsTemporaryDirectory root("ZomarFolder");
    const std::string folder = Lowercase(root.Path()) + "\\mybrain";

    RecordingCommunicator engine("", BrainPath);
    engine.Interpret("INFO FOLDER " + root.Path());
    EXPECT_EQ(engine.folder, folder);
    EXPECT_TRUE(platform::DirectoryExists(root / "mybrain"));

    // A final backslash gives the same folder, which now exists: no answer.
    engine.Interpret("info folder " + root.Path() + "\\");
    EXPECT_EQ(engine.folder, folder);
    EXPECT_TRUE(engine.OutputLines().empty());
}

TEST(WindowsSettings, FolderThatCannotBeCreatedIsReportedAndKept) {
    WindowsTemporaryDirectory root("ZomarFolder");
    const std::string missingParent = root / "missing";

    RecordingCommunicator engine("", BrainPath);
    engine.Interpret("info folder " + missingParent);
    const std::string folder = Lowercase(missingParent) + "\\mybrain";
    EXPECT_EQ(engine.folder, folder);
    EXPECT_EQ(engine.OutputLines(), (std::vector<std::string> {"ERROR Failed to create directory " + folder}));
}

}  // namespace
}  // namespace zomar

#endif
