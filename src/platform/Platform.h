#pragma once

#include <atomic>
#include <cstddef>
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

// Bytes the process could still add before the machine or a limit set on the
// process (address space, data size, commit charge) refuses it: the least of
// the physical memory not yet in its working set and the room left under each
// limit. False when none of them can be read.
bool QueryMemoryHeadroom(std::uint64_t& bytes);

// A block whose pages the system hands out zeroed when first touched, so that
// a large table costs neither time nor resident memory until it is used (on
// Linux in large pages where the system offers them). Null
// when the system refuses; released only by ReleaseZeroedMemory with the same
// size.
void* AllocateZeroedMemory(std::size_t bytes);
void ReleaseZeroedMemory(void* block, std::size_t bytes);

bool DirectoryExists(const std::string& path);
// True only for a regular file (not a folder, device or pipe).
bool RegularFileExists(const std::string& path);
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

// Relaxed atomic reads and writes of a word in plain memory (such as memory
// the system handed out zeroed), for data that threads share without locks.
inline std::uint64_t LoadRelaxed(const std::uint64_t& word) {
#if defined(__GNUC__) || defined(__clang__)
    return __atomic_load_n(&word, __ATOMIC_RELAXED);
#else
    return std::atomic_ref<std::uint64_t>(const_cast<std::uint64_t&>(word)).load(std::memory_order_relaxed);
#endif
}
inline void StoreRelaxed(std::uint64_t& word, std::uint64_t value) {
#if defined(__GNUC__) || defined(__clang__)
    __atomic_store_n(&word, value, __ATOMIC_RELAXED);
#else
    std::atomic_ref<std::uint64_t>(word).store(value, std::memory_order_relaxed);
#endif
}

// Waits for one key press on the console without echo; returns at once when
// there is no console to read from.
void WaitForKeyPress();

}  // namespace zomar::platform
