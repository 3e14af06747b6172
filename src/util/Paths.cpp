#include "util/Paths.h"

#include "platform/Platform.h"

namespace zomar {

using platform::PathSeparator;

std::string StripExtension(const std::string& path) {
    if (path.empty() || path.back() == PathSeparator) {
        return path;
    }
    std::size_t dot = path.rfind('.');
    return dot == std::string::npos ? path : path.substr(0, dot);
}

std::string BaseName(const std::string& path) {
    std::size_t separator = path.rfind(PathSeparator);
    return separator == std::string::npos ? std::string() : path.substr(separator + 1);
}

std::string DirectoryPart(const std::string& path) {
    std::size_t separator = path.rfind(PathSeparator);
    return separator == std::string::npos ? std::string() : path.substr(0, separator + 1);
}

std::string JoinPath(const std::string& first, const std::string& second) {
    if (first.empty()) {
        return second;
    }
    if (second.empty()) {
        return first;
    }
    bool firstEnds = first.back() == PathSeparator;
    bool secondBegins = second.front() == PathSeparator;
    if (firstEnds && secondBegins) {
        return first + second.substr(1);
    }
    if (!firstEnds && !secondBegins) {
        return first + PathSeparator + second;
    }
    return first + second;
}

}  // namespace zomar
