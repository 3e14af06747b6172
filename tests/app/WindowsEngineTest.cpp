#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "support/EngineProcess.h"
#include "support/TemporaryDirectory.h"

// The Windows engine run through wine (ZOMAR_ENGINE names the .exe and
// ZOMAR_ENGINE_LAUNCHER the wine loader). These tests are skipped for the
// native engine.
namespace zomar::test {
namespace {

bool EngineIsWindows() {
    const std::string path = EngineProcess::EnginePath();
    return path.size() > 4 && path.compare(path.size() - 4, 4, ".exe") == 0;
}

#define SKIP_UNLESS_WINDOWS_ENGINE() \
    if (!EngineIsWindows()) GTEST_SKIP() << "needs the Windows engine (ZOMAR_ENGINE)"

// A host path as wine shows it to the engine: drive Z: is the root.
std::string WindowsPath(const std::filesystem::path& path) {
    std::string text = "Z:" + path.string();
    for (char& c : text) {
        if (c == '/') c = '\\';
    }
    return text;
}

std::string Lowercase(std::string text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return text;
}

bool StartsWith(const std::string& line, const std::string& start) { return line.rfind(start, 0) == 0; }

TEST(WindowsEngineTest, FolderIsMadeFromTheLowercasedValueAndTheProgramName) {
    SKIP_UNLESS_WINDOWS_ENGINE();
    TemporaryDirectory root;
    std::filesystem::create_directory(root.Path() / "Temp");
    const std::string value = WindowsPath(root.Path() / "Temp");

    // Wine passes the Windows path of the .exe as argv[0], so the program name
    // is the file name of the executable without ".exe".
    const std::string programName = std::filesystem::path(EngineProcess::EnginePath()).stem().string();
    const EngineRun run = RunEngine({"INFO FOLDER " + value, "info folder " + value + "\\", "end"},
                                    root.Path().string());
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.lines, std::vector<std::string>{});
    EXPECT_TRUE(std::filesystem::is_directory(root.Path() / "Temp" / programName));

    const EngineRun missing = RunEngine({"info folder " + value + "\\Missing", "end"}, root.Path().string());
    EXPECT_EQ(missing.lines, std::vector<std::string>{"ERROR Failed to create directory " + Lowercase(value) +
                                                      "\\missing\\" + programName});
}

TEST(WindowsEngineTest, BenchmarkListsBackslashPatternsAndDoesNotWaitWithoutAConsole) {
    SKIP_UNLESS_WINDOWS_ENGINE();
    TemporaryDirectory root;
    const std::filesystem::path folder = root.Path() / "Positions";
    std::filesystem::create_directory(folder);
    for (const char* name : {"a.txt", "b.txt"}) {
        std::FILE* file = std::fopen((folder / name).c_str(), "w");
        ASSERT_NE(file, nullptr);
        std::fputs("header\n10,10,1\n11,11,2\n10,11,1\n", file);
        std::fclose(file);
    }
    const std::string pattern = WindowsPath(folder) + "\\*.txt";
    const std::string listed = Lowercase(WindowsPath(folder)) + "\\";

    const EngineRun run = RunEngine({"info max_depth 2", "testab " + pattern, "testab " + pattern + "x", "end"},
                                    root.Path().string());
    EXPECT_EQ(run.exitCode, 0);
    std::vector<std::string> names;
    std::size_t searched = 0;
    for (const std::string& line : run.lines) {
        if (StartsWith(line, "DEBUG deep = ")) {
            ++searched;
        } else if (!StartsWith(line, "DEBUG ") && !StartsWith(line, "MESSAGE ") && !StartsWith(line, "ERROR ")) {
            names.push_back(line);
        }
    }
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{listed + "a.txt", listed + "b.txt"}));
    EXPECT_GE(searched, 2u);
    ASSERT_FALSE(run.lines.empty());
    EXPECT_EQ(run.lines.back(), "ERROR failed to list direcoty " + Lowercase(pattern) + "x");
}

// Environment for engines started while it lives: the native engine of this
// build instead of the one named by ZOMAR_ENGINE and ZOMAR_ENGINE_LAUNCHER.
class NativeEngineScope {
public:
    NativeEngineScope() {
        for (const char* name : {"ZOMAR_ENGINE", "ZOMAR_ENGINE_LAUNCHER"}) {
            const char* value = std::getenv(name);
            saved.push_back({name, value ? std::optional<std::string>(value) : std::nullopt});
            unsetenv(name);
        }
    }
    ~NativeEngineScope() {
        for (const auto& [name, value] : saved) {
            if (value) setenv(name.c_str(), value->c_str(), 1);
        }
    }
    NativeEngineScope(const NativeEngineScope&) = delete;
    NativeEngineScope& operator=(const NativeEngineScope&) = delete;

private:
    std::vector<std::pair<std::string, std::optional<std::string>>> saved;
};

// Lines up to and including the next move, DEBUG lines left out (they carry
// timings); empty when no move comes.
std::vector<std::string> LinesUpToMove(EngineProcess& engine) {
    std::vector<std::string> lines;
    while (std::optional<std::string> line = engine.ReadLine(60000)) {
        if (StartsWith(*line, "DEBUG ")) continue;
        lines.push_back(*line);
        int x = 0;
        int y = 0;
        char end = 0;
        if (std::sscanf(line->c_str(), "%d,%d%c", &x, &y, &end) == 2) return lines;
        if (StartsWith(*line, "ERROR ")) break;
    }
    ADD_FAILURE() << "no move";
    return {};
}

// Stones of a square board; tells when a stone completes five in a row.
class Stones {
public:
    explicit Stones(int size) : size(size), cells(size * size, 0) {}

    bool PlaceMakesFive(const std::string& move, int colour) {
        int x = -1;
        int y = -1;
        std::sscanf(move.c_str(), "%d,%d", &x, &y);
        EXPECT_TRUE(x >= 0 && y >= 0 && x < size && y < size && At(x, y) == 0) << "illegal move " << move;
        cells[x + y * size] = colour;
        for (auto [dx, dy] : {std::pair {1, 0}, {0, 1}, {1, 1}, {1, -1}}) {
            if (1 + Run(x, y, dx, dy, colour) + Run(x, y, -dx, -dy, colour) >= 5) return true;
        }
        return false;
    }

private:
    int At(int x, int y) const { return x >= 0 && y >= 0 && x < size && y < size ? cells[x + y * size] : -1; }
    int Run(int x, int y, int dx, int dy, int colour) const {
        int run = 0;
        while (At(x += dx, y += dy) == colour) ++run;
        return run;
    }

    int size;
    std::vector<int> cells;
};

struct CrossGame {
    int boardSize;
    bool windowsBegins;
};

void PrintTo(const CrossGame& game, std::ostream* out) {
    *out << game.boardSize << "x" << game.boardSize << (game.windowsBegins ? ", Windows begins" : ", native begins");
}

class WindowsEngineCrossTest : public ::testing::TestWithParam<CrossGame> {};

// The Windows engine plays the native one; a second native engine gets every
// input of the Windows engine and must answer exactly as it does. With a fixed
// depth and no time pressure the moves depend on nothing but the input.
TEST_P(WindowsEngineCrossTest, PlaysTheSameMovesAsTheNativeEngine) {
    SKIP_UNLESS_WINDOWS_ENGINE();
    const CrossGame game = GetParam();
    TemporaryDirectory windowsDirectory;
    TemporaryDirectory nativeDirectory;
    EngineProcess windows(windowsDirectory.Path().string());
    std::optional<EngineProcess> nativeStorage;
    std::optional<EngineProcess> shadowStorage;
    {
        NativeEngineScope nativeEngines;
        nativeStorage.emplace(nativeDirectory.Path().string());
        shadowStorage.emplace(nativeDirectory.Path().string());
    }
    EngineProcess& opponent = *nativeStorage;
    EngineProcess& shadow = *shadowStorage;
    EngineProcess* const all[] = {&windows, &opponent, &shadow};

    const std::vector<std::string> setup = {"info max_depth 3", "info timeout_turn 1000000",
                                            "info time_left 100000000", "start " + std::to_string(game.boardSize)};
    for (const std::string& line : setup) {
        for (EngineProcess* engine : all) engine->Send(line);
    }
    for (EngineProcess* engine : all) {
        EXPECT_EQ(engine->ReadLine(60000), std::optional<std::string>("OK"));
    }

    Stones stones(game.boardSize);
    std::string command = "begin";
    int moves = 0;
    for (bool windowsToMove = game.windowsBegins; moves < game.boardSize * game.boardSize; ++moves) {
        std::string move;
        if (windowsToMove) {
            windows.Send(command);
            shadow.Send(command);
            const std::vector<std::string> answer = LinesUpToMove(windows);
            ASSERT_FALSE(answer.empty());
            ASSERT_EQ(answer, LinesUpToMove(shadow)) << "stone " << moves + 1;
            move = answer.back();
        } else {
            opponent.Send(command);
            const std::vector<std::string> reply = LinesUpToMove(opponent);
            ASSERT_FALSE(reply.empty());
            move = reply.back();
        }
        if (stones.PlaceMakesFive(move, moves % 2 + 1)) break;
        command = "turn " + move;
        windowsToMove = !windowsToMove;
    }
    EXPECT_GE(moves, 8);

    for (EngineProcess* engine : all) engine->Send("end");
    EXPECT_EQ(windows.WaitForExit(), 0);
}

INSTANTIATE_TEST_SUITE_P(Games, WindowsEngineCrossTest,
                         ::testing::Values(CrossGame {15, true}, CrossGame {20, false}, CrossGame {10, true}),
                         [](const ::testing::TestParamInfo<CrossGame>& info) {
                             return std::to_string(info.param.boardSize) +
                                    (info.param.windowsBegins ? "WindowsBegins" : "NativeBegins");
                         });

}  // namespace
}  // namespace zomar::test
