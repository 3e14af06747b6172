#include "protocol/Communicator.h"

#include <algorithm>
#include <iostream>

#include "platform/Platform.h"
#include "util/LineEnding.h"
#include "util/NumberParsing.h"
#include "util/Paths.h"

namespace zomar {

namespace {

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

std::string CommandOf(std::string line) {
    StripCarriageReturn(line);
    return LowercaseAscii(line.substr(0, line.find(' ')));
}

Communicator::Communicator(const std::string& programPath) : Communicator(programPath, std::cin, std::cout) {
    inputMayBlock = true;
}

Communicator::Communicator(const std::string& programPath, std::istream& input, std::ostream& output)
    : input(&input), output(&output) {
    matchClock.StartGame();
    // The extension is cut from the file name only, so that a full stop in a
    // directory name ("./pbrain-zomar", "C:\v1.2\brain") cannot cut the name.
    programName = StripExtension(BaseName(programPath));
}

void Communicator::HandleLine(const std::string& line) {
    lineAsRead = line;
    StripCarriageReturn(lineAsRead);
    currentLine = LowercaseAscii(lineAsRead);
    Dispatch();
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
    } else if (command == "stop" || command == "yxstop") {
        // Nothing is being searched: a think that STOP ended has answered.
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
        matchClock.StartGame();
        ScanUnsigneds(arguments, xy, 1);
        OnStart(xy[0], xy[0]);
    } else if (command == "rectstart") {
        matchClock.StartGame();
        ScanUnsigneds(arguments, xy, 2);
        OnStart(xy[0], xy[1]);
    } else if (command == "restart") {
        matchClock.StartGame();
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

void Communicator::OnIdle() {}

bool Communicator::BeginThink(ThinkKind kind) {
    stopRequest.store(false);
    return reader == nullptr || reader->BeginThink(kind);
}

void Communicator::EndThink() {
    // Once the reader has left the think it no longer sets the flag.
    if (reader != nullptr) reader->EndThink();
    stopRequest.store(false);
}

}  // namespace zomar
