#pragma once

#include <string>

namespace zomar {

// Lines written on Windows (and by managers) end with CR LF; reading them by
// LF leaves the carriage return, which is not part of the line.
inline void StripCarriageReturn(std::string& line) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
}

}  // namespace zomar
