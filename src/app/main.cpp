#include <cstdio>
#include <cstdlib>
#include <exception>
#include <iostream>
#include <stdexcept>
#include <string>

#include "analysis/ProcessTables.h"
#include "protocol/CommandReader.h"
#include "search/ABPNSEngine.h"

namespace zomar {
namespace {

constexpr std::uint32_t StartUpBoardSide = 20;

// Start-up, the command loop until "end" (or the end of input), shut-down.
void RunEngine(int argc, char** argv) {
    if (argc < 1 || argv[0] == nullptr) {
        throw std::runtime_error("Argument 0 is missing in main.");
    }
    BuildProcessTables(StartUpBoardSide, StartUpBoardSide, 0);
    ABPNSEngine engine(argv[0]);
    engine.CommandLoop();
}

// The one line that reports an error nobody below caught.
void ReportError(const std::string& text) {
    std::cout << text << std::endl;
}

}  // namespace
}  // namespace zomar

int main(int argc, char** argv) {
    using namespace zomar;
    // The command reader's buffer then counts what waits in the pipe, and the
    // C library's stream locks stay out of the reading thread.
    std::ios::sync_with_stdio(false);
    int exitCode = 0;
    try {
        RunEngine(argc, argv);
    } catch (const std::exception& error) {
        ReportError(std::string("ERROR std::exception: ") + error.what());
        exitCode = 1;
    } catch (...) {
        ReportError("ERROR Uknown error.");
        exitCode = 1;
    }
    ReleaseProcessTables();
    if (ReaderLeftBlocked()) {
        std::cout.flush();
        std::fflush(stdout);
        std::_Exit(exitCode);
    }
    return exitCode;
}
