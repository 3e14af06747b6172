#include "protocol/Communicator.h"

#include <algorithm>
#include <iostream>
#include <sstream>

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
    StripLeadingBlanks(line);
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
    StripLeadingBlanks(currentLine);
    StripLeadingBlanks(lineAsRead);
    std::size_t blank = currentLine.find(' ');
    std::string command = currentLine.substr(0, blank);
    std::string arguments = ArgumentsOf(currentLine);
    if (command.empty()) {
        return;
    }

    if (boardMode) {
        if (command == "done") {
            boardMode = false;
            if (boardThinks) {
                OnBoard(boardStones);
            } else {
                OnPosition(boardStones);
            }
        } else if (command == "end") {
            running = false;
        } else {
            BoardStone stone = {0, 0, 0};
            if (ScanUnsigneds(currentLine, stone.data(), 3) == 3) {
                boardStones.push_back(stone);
            } else {
                SendError("Ignored " + lineAsRead + ": not a stone x,y,field.");
            }
        }
        return;
    }

    std::uint32_t xy[2] = {0, 0};
    if (command == "board" || command == "yxboard") {
        boardMode = true;
        boardThinks = command == "board";
        boardStones.clear();
        DispatchListItems(arguments);
    } else if (command == "end") {
        running = false;
    } else if (command == "stop" || command == "yxstop") {
        // Nothing is being searched: a think that STOP ended has answered.
    } else if (command == "about") {
        SendLine(AboutLine());
    } else if (command == "turn") {
        if (ReadMove(arguments, xy)) OnTurn(xy[0], xy[1]);
    } else if (command == "begin") {
        OnBegin();
    } else if (command == "play") {
        if (ReadMove(arguments, xy)) OnPlay(xy[0], xy[1]);
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

// A move that is not two numbers would put a stone where nobody meant one.
bool Communicator::ReadMove(const std::string& arguments, std::uint32_t (&xy)[2]) {
    if (ScanUnsigneds(arguments, xy, 2) == 2) return true;
    SendError("Ignored " + lineAsRead + ": not a move x,y.");
    return false;
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

// Some boards send the whole list on the command's own line: each item is
// read as a line of its own.
void Communicator::DispatchListItems(const std::string& items) {
    std::istringstream words(items);
    for (std::string word; boardMode && words >> word;) {
        currentLine = word;
        lineAsRead = word;
        Dispatch();
    }
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

void Communicator::OnPosition(std::vector<BoardStone>) {}

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
