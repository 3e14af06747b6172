#include <fstream>
#include <string>

#include "platform/Platform.h"
#include "protocol/CommandReader.h"
#include "protocol/Communicator.h"
#include "util/LineEnding.h"

namespace zomar {

namespace {

// The command script that runs before standard input, every line echoed.
constexpr const char* ScriptFileName = "input.txt";

// Points the engine at the loop's reader while the loop runs.
class ReaderInUse {
public:
    ReaderInUse(ThinkWatch*& slot, ThinkWatch& reader) : mSlot(slot) { mSlot = &reader; }
    ~ReaderInUse() { mSlot = nullptr; }
    ReaderInUse(const ReaderInUse&) = delete;
    ReaderInUse& operator=(const ReaderInUse&) = delete;

private:
    ThinkWatch*& mSlot;
};

}  // namespace

void Communicator::CommandLoop() {
    // A folder of that name opens as a stream on some systems but is no script.
    std::ifstream script;
    if (platform::RegularFileExists(ScriptFileName)) script.open(ScriptFileName);
    const bool echo = script.is_open();
    // Standard input is read from the start, the script's lines first.
    LineReader scriptLines(script);
    CommandReader lines(*input, stopRequest, silenced, inputMayBlock);
    const ReaderInUse inUse(reader, lines);
    while (running) {
        currentLine.clear();
        lineWaitMs = 0;
        std::string line;
        if (echo && script.good()) {
            scriptLines.Read(line);
        } else {
            if (!lines.LineWaiting()) OnIdle();
            if (!lines.NextLine(line, lineWaitMs)) return;  // standard input ended without "end"
        }
        StripCarriageReturn(line);
        if (echo) {
            SendLine(line);
        }
        HandleLine(line);
        // END during a think: the process ends without another word.
        if (silenced.load()) return;
    }
}

}  // namespace zomar
