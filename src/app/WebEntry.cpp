#include <emscripten.h>

#include <exception>
#include <memory>
#include <sstream>
#include <streambuf>
#include <string>
#include <utility>

#include "analysis/ProcessTables.h"
#include "search/ABPNSEngine.h"

// Hands each line to the worker as soon as the engine ends it, so that the
// page sees a long search's progress while it runs.
EM_JS(void, zomar_line_written, (const char* text, int length), {
    if (Module.onLine) Module.onLine(UTF8ToString(text, length));
});

// The browser build's entry: the page's worker hands the engine one command
// line at a time and gets back every line the engine answered; each line is
// also passed on as written.
namespace zomar {
namespace {

// Collects what the engine writes and passes every finished line on.
class LineBuffer : public std::streambuf {
public:
    std::string TakeAll() {
        lineStart = 0;
        return std::exchange(all, {});
    }

protected:
    int_type overflow(int_type c) override {
        if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
        Put(traits_type::to_char_type(c));
        return c;
    }

    std::streamsize xsputn(const char* text, std::streamsize count) override {
        for (std::streamsize i = 0; i < count; ++i) Put(text[i]);
        return count;
    }

private:
    void Put(char c) {
        all += c;
        if (c != '\n') return;
        zomar_line_written(all.data() + lineStart, static_cast<int>(all.size() - 1 - lineStart));
        lineStart = all.size();
    }

    std::string all;
    std::size_t lineStart = 0;
};

constexpr std::uint32_t StartUpBoardSide = 20;

struct WebEngine {
    std::istringstream noInput;
    LineBuffer lines;
    std::ostream answers{&lines};
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
    web.lines.TakeAll();
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
    web.lastAnswers = web.lines.TakeAll();
    return web.lastAnswers.c_str();
}
