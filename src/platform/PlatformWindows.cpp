#ifdef _WIN32

#include <windows.h>
// psapi.h needs the types of windows.h first.
#include <conio.h>
#include <psapi.h>

#include "platform/Platform.h"

namespace zomar::platform {

bool QueryWorkingSetSize(std::uint64_t& bytes) {
    // The counters structure is sized for this build: a 64-bit process has
    // 64-bit size fields and rejects the 40-byte layout of 32-bit Windows.
    PROCESS_MEMORY_COUNTERS counters {};
    counters.cb = sizeof counters;
    if (!GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters)) {
        return false;
    }
    bytes = counters.WorkingSetSize;
    return true;
}

bool DirectoryExists(const std::string& path) {
    // Unlike the C runtime's stat, the attribute query accepts a final
    // backslash ("d:\temp\"), which a folder value may carry.
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool RegularFileExists(const std::string& path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES &&
           (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) == 0;
}

bool MakeDirectory(const std::string& path) {
    return CreateDirectoryA(path.c_str(), nullptr) != 0;
}

bool FindMatchingNames(const std::string& pattern, std::vector<std::string>& names) {
    WIN32_FIND_DATAA found {};
    HANDLE search = FindFirstFileA(pattern.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        return false;
    }
    do {
        names.emplace_back(found.cFileName);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return true;
}

void WaitForKeyPress() {
    // A brain started by a manager usually has no console; _getch would then
    // wait on nothing, so the console input is probed first.
    HANDLE console = CreateFileA("CONIN$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                 nullptr, OPEN_EXISTING, 0, nullptr);
    if (console == INVALID_HANDLE_VALUE) {
        return;
    }
    CloseHandle(console);
    _getch();
}

}  // namespace zomar::platform

#endif
