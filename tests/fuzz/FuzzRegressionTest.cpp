#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "fuzz/FuzzSession.h"
#include "support/TemporaryDirectory.h"

namespace zomar::fuzz {
namespace {

std::vector<std::filesystem::path> FilesIn(const std::string& folder) {
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(std::string(ZOMAR_FUZZ_DIR) + "/" + folder)) {
        if (entry.is_regular_file() && entry.path().filename() != "README") files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    return files;
}

std::string ReadBytes(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

// Every seed session and every input that once broke the engine runs to a
// designed ending: an exception other than std::exception, a crash or a
// sanitizer report (in the sanitizer build) fails here.
class FuzzReplay : public ::testing::Test {
protected:
    test::TemporaryDirectory sandbox;
    test::CurrentDirectoryScope inSandbox {sandbox.Path()};
};

TEST_F(FuzzReplay, SeedSessionsEndNormally) {
    const std::vector<std::filesystem::path> seeds = FilesIn("corpus");
    ASSERT_FALSE(seeds.empty());
    for (const auto& seed : seeds) {
        SCOPED_TRACE(seed.filename().string());
        const SessionResult result = RunProtocolSession(ReadBytes(seed));
        EXPECT_FALSE(result.endedWithError) << result.output;
    }
}

TEST_F(FuzzReplay, FormerFindingsEndAsDesigned) {
    for (const auto& input : FilesIn("regressions")) {
        SCOPED_TRACE(input.filename().string());
        EXPECT_NO_THROW(RunProtocolSession(ReadBytes(input)));
    }
}

TEST_F(FuzzReplay, CoordinateOutsideTheBoardUnwindsWithTheErrorLine) {
    const SessionResult result = RunProtocolSession("start 15\nturn 15,3\nturn 1,1\n");
    EXPECT_TRUE(result.endedWithError);
    EXPECT_EQ(result.output, "OK\nERROR std::exception: X coord overflow.\n");
}

TEST_F(FuzzReplay, SessionsAreIndependent) {
    // A session that changed size and rule must not leak them into the next.
    RunProtocolSession("start 10\ninfo rule 1\nbegin\n");
    const SessionResult result = RunProtocolSession("turn 19,19\n");
    EXPECT_FALSE(result.endedWithError) << result.output;
}

TEST(FuzzSessionText, KeepsTheSandboxAndTheLimits) {
    EXPECT_EQ(SessionText("begin\nTESTAB *\ninfo MAX_DEPTH 0\ninfo max_node 0\ninfo max_memory 9\nturn 1,1"),
              std::string(SessionPrelude) + "begin\nturn 1,1\n");
    EXPECT_EQ(SessionText("info folder /tmp\ninfo folder here\n"), std::string(SessionPrelude) + "info folder here\n");
    EXPECT_EQ(SessionText("start 127\nrectstart 20,99999\nstart 32\nrectstart 5,32\nturn 40,40\n"),
              std::string(SessionPrelude) + "start 32\nrectstart 5,32\nturn 40,40\n");
}

}  // namespace
}  // namespace zomar::fuzz
