#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The operating-system seam: everything the engine needs from the OS beyond
// standard input and output and the clock.
namespace zomar::platform {

// The one path separator the text utilities recognise.
#ifdef _WIN32
constexpr char PathSeparator = '\\';
#else
constexpr char PathSeparator = '/';
#endif

// Whether the file system ignores the case of names. Where it does not, text
// that names a file keeps the case it was given in.
#ifdef _WIN32
constexpr bool FileNamesIgnoreCase = true;
#else
constexpr bool FileNamesIgnoreCase = false;
#endif

// Bytes the process occupies now (its working set / resident memory). False when
// the query fails.
bool QueryWorkingSetSize(std::uint64_t& bytes);

bool DirectoryExists(const std::string& path);
// Creates one directory level; false on failure.
bool MakeDirectory(const std::string& path);

// Appends the bare names of the entries matching a wildcard pattern, in the
// order the OS reports them. Only '*' and '?' in the last path component are
// wildcards; the directory part is taken literally. False when the search
// cannot start (nothing matches or the directory is missing).
bool FindMatchingNames(const std::string& pattern, std::vector<std::string>& names);

// Asks the processor to start loading the cache line at address, so that a read
// a little later does not wait for memory. Only a hint: it never faults.
inline void Prefetch(const void* address) {
#if defined(__GNUC__) || defined(__clang__)
    __builtin_prefetch(address);
#else
    (void)address;
#endif
}

// Waits for one key press on the console without echo; returns at once when
// there is no console to read from.
void WaitForKeyPress();

}  // namespace zomar::platform
