#pragma once

#include <iosfwd>
#include <string>

namespace zomar {

// Lines written on Windows (and by managers) end with CR LF; reading them by
// LF leaves the carriage return, which is not part of the line.
inline void StripCarriageReturn(std::string& line) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
}

// Blanks before a command are no part of it.
inline void StripLeadingBlanks(std::string& line) {
    line.erase(0, line.find_first_not_of(' '));
}

// Reads the lines of one stream, each ended by LF, CR LF or a lone CR. A CR
// ends its line at once: the writer may wait for an answer before it sends
// anything more, so the LF that may follow is only skipped by the next read.
class LineReader {
public:
    explicit LineReader(std::istream& input) : input(&input) {}

    // As std::getline: false when the stream ended before any character.
    bool Read(std::string& line);

private:
    std::istream* input;
    bool afterCarriageReturn = false;
};

}  // namespace zomar
