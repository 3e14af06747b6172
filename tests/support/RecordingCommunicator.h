#pragma once

#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

#include "protocol/Communicator.h"

namespace zomar::test {

// A Communicator whose engine calls are written down as short texts
// ("turn 7,9", "board 10,10,1 11,11,2", "other foo|bar"), reading from and
// answering to string streams.
class RecordingCommunicator : public Communicator {
public:
    explicit RecordingCommunicator(const std::string& input = "",
                                   const std::string& programPath = "/engines/zomar")
        : Communicator(programPath, in, out), in(input) {}

    void OnTurn(std::uint32_t x, std::uint32_t y) override { Record("turn", x, y); }
    void OnBegin() override { calls.push_back("begin"); }
    void OnBoard(std::vector<BoardStone> stones) override {
        std::ostringstream call;
        call << "board";
        for (const BoardStone& s : stones) {
            call << ' ' << s[0] << ',' << s[1] << ',' << s[2];
        }
        calls.push_back(call.str());
    }
    void OnStart(std::uint32_t width, std::uint32_t height) override { Record("start", width, height); }
    void OnRestart() override { calls.push_back("restart"); }
    void OnTakeback(std::uint32_t x, std::uint32_t y) override { Record("takeback", x, y); }
    void OnPlay(std::uint32_t x, std::uint32_t y) override { Record("play", x, y); }
    void OnMaxMemory(std::int32_t bytes) override { calls.push_back("max_memory " + std::to_string(bytes)); }
    bool OnOtherCommand(const std::string& command, const std::string& arguments) override {
        calls.push_back("other " + command + "|" + arguments);
        return command == acceptedCommand;
    }
    void OnRuleChanged(std::int32_t newRule) override { calls.push_back("rule " + std::to_string(newRule)); }
    void OnOtherInfo(const std::string& key, const std::string& value) override {
        calls.push_back("info " + key + "|" + value);
    }

    // Interprets one line as the command loop would after reading it.
    void Interpret(const std::string& line) {
        lineAsRead = line;
        currentLine.clear();
        for (char c : line) {
            currentLine += (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
        }
        Dispatch();
    }

    std::vector<std::string> OutputLines() const {
        std::vector<std::string> lines;
        std::istringstream text(out.str());
        for (std::string line; std::getline(text, line);) {
            lines.push_back(line);
        }
        return lines;
    }

    std::string acceptedCommand = "accepted";
    std::vector<std::string> calls;

private:
    void Record(const char* name, std::uint32_t a, std::uint32_t b) {
        calls.push_back(std::string(name) + " " + std::to_string(a) + "," + std::to_string(b));
    }

    std::istringstream in;
    std::ostringstream out;
};

}  // namespace zomar::test
