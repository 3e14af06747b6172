#pragma once

#include <string>
#include <string_view>

namespace zomar::fuzz {

// Settings put in front of every fuzzed session: searches stay tiny and the
// transposition table stays at its minimum.
extern const char* const SessionPrelude;

// The protocol text a fuzz input becomes: the prelude, then the input's lines
// except those that would leave the sandbox or lift the search limits: the
// benchmark command (it lists and reads files and waits for a key press),
// "folder" values with a path separator, the limit settings, and board sizes
// above 32 (the pair tables of a 127 x 127 board take over a gigabyte).
std::string SessionText(std::string_view bytes);

struct SessionResult {
    std::string output;
    bool endedWithError = false;  // the "ERROR std::exception: " unwinding
};

// Runs one whole engine session in this process the way main does: start-up
// tables for 20 x 20 and rule 0 (kept from the previous session when it left
// them so), the engine on string streams, the command loop with its reading
// thread (which takes the whole input in before each search), and on a
// std::exception the one error line. Any other exception escapes. "input.txt"
// in the current directory is read as by the engine.
SessionResult RunProtocolSession(std::string_view bytes);

}  // namespace zomar::fuzz
