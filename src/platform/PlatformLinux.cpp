#ifndef _WIN32

#include <fcntl.h>
#include <glob.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <fstream>

#include "platform/Platform.h"

namespace zomar::platform {

namespace {

// Makes every character of `text` literal for glob(3), except '*' and '?' when
// `keepWildcards` is set: the OS seam only knows those two wildcards.
std::string EscapeForGlob(const std::string& text, bool keepWildcards) {
    std::string escaped;
    escaped.reserve(text.size() * 2);
    for (char c : text) {
        bool wildcard = c == '*' || c == '?';
        bool special = wildcard || c == '[' || c == ']' || c == '\\';
        if (special && !(wildcard && keepWildcards)) {
            escaped += '\\';
        }
        escaped += c;
    }
    return escaped;
}

}  // namespace

bool QueryWorkingSetSize(std::uint64_t& bytes) {
    std::ifstream statm("/proc/self/statm");
    std::uint64_t totalPages = 0;
    std::uint64_t residentPages = 0;
    if (!(statm >> totalPages >> residentPages)) {
        return false;
    }
    long pageSize = sysconf(_SC_PAGESIZE);
    if (pageSize <= 0) {
        return false;
    }
    bytes = residentPages * static_cast<std::uint64_t>(pageSize);
    return true;
}

bool DirectoryExists(const std::string& path) {
    struct stat status {};
    return stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

bool RegularFileExists(const std::string& path) {
    struct stat status {};
    return stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode);
}

bool MakeDirectory(const std::string& path) {
    return mkdir(path.c_str(), 0777) == 0;
}

bool FindMatchingNames(const std::string& pattern, std::vector<std::string>& names) {
    std::size_t cut = pattern.rfind(PathSeparator);
    std::size_t nameStart = cut == std::string::npos ? 0 : cut + 1;
    if (nameStart == pattern.size()) {
        return false;
    }
    std::string globPattern = EscapeForGlob(pattern.substr(0, nameStart), false) +
                              EscapeForGlob(pattern.substr(nameStart), true);

    glob_t matches {};
    int status = glob(globPattern.c_str(), 0, nullptr, &matches);
    if (status != 0) {
        globfree(&matches);
        return false;
    }
    for (std::size_t i = 0; i < matches.gl_pathc; ++i) {
        std::string path = matches.gl_pathv[i];
        std::size_t separator = path.rfind(PathSeparator);
        names.push_back(separator == std::string::npos ? path : path.substr(separator + 1));
    }
    globfree(&matches);
    return true;
}

void WaitForKeyPress() {
    int terminal = open("/dev/tty", O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (terminal < 0) {
        return;
    }
    termios saved {};
    if (tcgetattr(terminal, &saved) == 0) {
        termios raw = saved;
        raw.c_lflag &= ~static_cast<tcflag_t>(ICANON | ECHO);
        raw.c_cc[VMIN] = 1;
        raw.c_cc[VTIME] = 0;
        if (tcsetattr(terminal, TCSANOW, &raw) == 0) {
            char key = 0;
            while (read(terminal, &key, 1) < 0 && errno == EINTR) {
            }
            tcsetattr(terminal, TCSANOW, &saved);
        }
    }
    close(terminal);
}

}  // namespace zomar::platform

#endif
