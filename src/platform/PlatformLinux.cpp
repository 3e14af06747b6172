#ifndef _WIN32

#include <fcntl.h>
#include <glob.h>
#include <sys/mman.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
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
#ifdef __EMSCRIPTEN__
    // In the browser the process is its linear memory.
    bytes = __builtin_wasm_memory_size(0) * std::uint64_t{65536};
    return true;
#else
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
#endif
}

namespace {

// The room left under one resource limit, given what the process uses of it.
void LowerToLimit(int resource, std::uint64_t used, std::uint64_t& headroom, bool& known) {
    rlimit limit {};
    if (getrlimit(resource, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY) return;
    const std::uint64_t room = limit.rlim_cur > used ? limit.rlim_cur - used : 0;
    headroom = known ? std::min(headroom, room) : room;
    known = true;
}

}  // namespace

bool QueryMemoryHeadroom(std::uint64_t& bytes) {
    const long pageSize = sysconf(_SC_PAGESIZE);
    if (pageSize <= 0) return false;
    const auto page = static_cast<std::uint64_t>(pageSize);
    // statm: total program size, resident, shared, text, library, data + stack.
    std::uint64_t fields[6] = {};
    std::ifstream statm("/proc/self/statm");
    for (std::uint64_t& field : fields) statm >> field;
    bool known = false;
    std::uint64_t headroom = 0;
    const long physicalPages = sysconf(_SC_PHYS_PAGES);
    if (physicalPages > 0 && statm) {
        const std::uint64_t physical = static_cast<std::uint64_t>(physicalPages) * page;
        const std::uint64_t resident = fields[1] * page;
        headroom = physical > resident ? physical - resident : 0;
        known = true;
    }
    if (statm) {
        LowerToLimit(RLIMIT_AS, fields[0] * page, headroom, known);
        LowerToLimit(RLIMIT_DATA, fields[5] * page, headroom, known);
    }
    if (known) bytes = headroom;
    return known;
}

void* AllocateZeroedMemory(std::size_t bytes) {
    void* block = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (block == MAP_FAILED) return nullptr;
#if !defined(__EMSCRIPTEN__) && defined(MADV_HUGEPAGE)
    // Large pages where the system offers them: the search's scattered probes
    // then miss the address cache less, and a thread's first touches fault once
    // per 2 MiB rather than per 4 KiB (faults of several threads at once are
    // slow).
    madvise(block, bytes, MADV_HUGEPAGE);
#endif
    return block;
}

void ReleaseZeroedMemory(void* block, std::size_t bytes) {
    if (block != nullptr) munmap(block, bytes);
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
