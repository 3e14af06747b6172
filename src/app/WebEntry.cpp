#include <exception>
#include <memory>
#include <sstream>
#include <string>

#include "analysis/ProcessTables.h"
#include "search/ABPNSEngine.h"

// The browser build's entry: the page's worker hands the engine one command
// line at a time and gets back every line the engine answered.
namespace zomar {
namespace {

constexpr std::uint32_t StartUpBoardSide = 20;

struct WebEngine {
    std::istringstream noInput;
    std::ostringstream answers;
    std::unique_ptr<ABPNSEngine> engine;
    std::string lastAnswers;
};

WebEngine web;

void StartEngine() {
    BuildProcessTables(StartUpBoardSide, StartUpBoardSide, 0);
    web.engine = std::make_unique<ABPNSEngine>("zomar", web.noInput, web.answers);
}

// As the native brain ends after an error, the engine is dropped with its
// tables; the next command starts a fresh one.
void StopEngine() {
    web.engine.reset();
    ReleaseProcessTables();
}

}  // namespace
}  // namespace zomar

extern "C" const char* zomar_command(const char* line) {
    using namespace zomar;
    web.answers.str("");
    try {
        if (!web.engine) StartEngine();
        web.engine->HandleLine(line);
    } catch (const std::exception& error) {
        web.answers << "ERROR std::exception: " << error.what() << '\n';
        StopEngine();
    } catch (...) {
        web.answers << "ERROR Uknown error.\n";
        StopEngine();
    }
    web.lastAnswers = web.answers.str();
    return web.lastAnswers.c_str();
}
