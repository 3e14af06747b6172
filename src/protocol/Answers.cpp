#include <string>
#include <ostream>

#include "protocol/Communicator.h"

namespace zomar {

namespace {

constexpr const char* AuthorName = "The Zomar developers";
constexpr const char* AuthorEmail = "zomar@example.org";
constexpr const char* AuthorCountry = "Unknown";
// "Mmm dd yyyy hh:mm:ss", the day padded with a blank.
constexpr const char* BuildDate = __DATE__ " " __TIME__;

// Sent when the engine completes five from a position it had already won.
constexpr const char* PictureLines[] = {
    R"pic(MESSAGE    .-. )pic",
    R"pic(MESSAGE   o   \     .-. )pic",
    R"pic(MESSAGE       .----.'     \ )pic",
    R"pic(MESSAGE     .'o)   / `.    o )pic",
    R"pic(MESSAGE   /              | )pic",
    R"pic(MESSAGE   \_)          /)pic",
    R"pic(MESSAGE     '__/   /   )pic",
    R"pic(MESSAGE      `.      |  )pic",
    R"pic(MESSAGE       |       \  )pic",
    R"pic(MESSAGE   .--/`-.     / / )pic",
    R"pic(MESSAGE .'.-/`-. `.  .\| )pic",
};

}  // namespace

void Communicator::SendLine(const std::string& text) {
    // END during a think: the manager reads nothing more.
    if (silenced.load()) return;
    *output << text << '\n' << std::flush;
}

void Communicator::SendError(const std::string& text) {
    SendLine("ERROR " + text);
}

void Communicator::SendMessage(const std::string& text) {
    SendLine("MESSAGE " + text);
}

void Communicator::SendMove(int x, int y) {
    SendLine(std::to_string(x) + "," + std::to_string(y));
}

void Communicator::SendPicture() {
    for (const char* line : PictureLines) {
        SendLine(line);
    }
}

std::string Communicator::AboutLine() {
    return std::string("name=\"Zomar\", version=\"") + ZOMAR_VERSION + "\", author=\"" + AuthorName + "\", email=\"" +
           AuthorEmail + "\", country=\"" + AuthorCountry + "\", builded=\"" + BuildDate + "\"";
}

}  // namespace zomar
