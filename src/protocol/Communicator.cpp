#include "protocol/Communicator.h"

#include <algorithm>
#include <fstream>
#include <iostream>

#include "platform/Platform.h"
#include "util/LineEnding.h"
#include "util/NumberParsing.h"
#include "util/Paths.h"

namespace zomar {

namespace {

// The command script that runs before standard input, every line echoed.
constexpr const char* ScriptFileName = "input.txt";

// Only the letters A to Z change, as with the C library's conversion.
std::string LowercaseAscii(std::string text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return text;
}

// The text after the first blank; empty when there is none.
std::string ArgumentsOf(const std::string& line) {
    std::size_t blank = line.find(' ');
    return blank == std::string::npos ? std::string() : line.substr(blank + 1);
}

}  // namespace

Communicator::Communicator(const std::string& programPath)
    : Communicator(programPath, std::cin, std::cout) {}

Communicator::Communicator(const std::string& programPath, std::istream& input, std::ostream& output)
    : input(&input), output(&output) {
    matchClock.matchTimer.SetDeadline(DefaultMatchTimeMs);
    // The extension is cut from the file name only, so that a full stop in a
    // directory name ("./pbrain-zomar", "C:\v1.2\brain") cannot cut the name.
    programName = StripExtension(BaseName(programPath));
}

void Communicator::CommandLoop() {
    std::ifstream script(ScriptFileName);
    bool echo = script.is_open();
    std::istream* source = echo ? static_cast<std::istream*>(&script) : input;
    while (running) {
        currentLine.clear();
        if (source == &script && !script.good()) {
            source = input;
        }
        std::string line;
        if (!std::getline(*source, line) && source == input) {
            return;  // standard input ended without "end"
        }
        StripCarriageReturn(line);
        if (echo) {
            SendLine(line);
        }
        lineAsRead = line;
        currentLine = LowercaseAscii(line);
        Dispatch();
    }
}

void Communicator::Dispatch() {
    std::size_t blank = currentLine.find(' ');
    std::string command = currentLine.substr(0, blank);
    std::string arguments = ArgumentsOf(currentLine);
    if (command.empty()) {
        return;
    }

    if (boardMode) {
        if (command == "done") {
            boardMode = false;
            OnBoard(boardStones);
        } else {
            BoardStone stone = {0, 0, 0};
            ScanUnsigneds(currentLine, stone.data(), 3);
            boardStones.push_back(stone);
        }
        return;
    }

    std::uint32_t xy[2] = {0, 0};
    if (command == "board") {
        boardMode = true;
        boardStones.clear();
    } else if (command == "end") {
        running = false;
    } else if (command == "about") {
        SendLine(AboutLine());
    } else if (command == "turn") {
        ScanUnsigneds(arguments, xy, 2);
        OnTurn(xy[0], xy[1]);
    } else if (command == "begin") {
        OnBegin();
    } else if (command == "play") {
        ScanUnsigneds(arguments, xy, 2);
        OnPlay(xy[0], xy[1]);
    } else if (command == "takeback") {
        ScanUnsigneds(arguments, xy, 2);
        OnTakeback(xy[0], xy[1]);
    } else if (command == "info") {
        DispatchInfo(arguments);
    } else if (command == "start") {
        ScanUnsigneds(arguments, xy, 1);
        OnStart(xy[0], xy[0]);
    } else if (command == "rectstart") {
        ScanUnsigneds(arguments, xy, 2);
        OnStart(xy[0], xy[1]);
    } else if (command == "restart") {
        OnRestart();
    } else if (!OnOtherCommand(command, arguments)) {
        SendLine("UNKNOWN");
    }
}

void Communicator::DispatchInfo(const std::string& arguments) {
    std::size_t blank = arguments.find(' ');
    if (blank == std::string::npos) {
        SendLine("ERROR uknown info format.");
        return;
    }
    std::string key = arguments.substr(0, std::min(blank, MaxInfoTextLength));
    std::string value = arguments.substr(blank + 1, MaxInfoTextLength);
    if (key == "folder") {
        value = PathArguments().substr(blank + 1, MaxInfoTextLength);
    }
    ParseInfo(key, value);
}

std::string Communicator::PathArguments() const {
    if (platform::FileNamesIgnoreCase || LowercaseAscii(lineAsRead) != currentLine) {
        return ArgumentsOf(currentLine);
    }
    return ArgumentsOf(lineAsRead);
}

bool Communicator::OnOtherCommand(const std::string&, const std::string&) {
    return false;
}

}  // namespace zomar
