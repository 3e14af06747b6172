#pragma once

#ifdef _WIN32

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <system_error>

namespace zomar::test {

// A fresh, empty directory under the Windows temporary folder, named with
// `stem` and removed with everything in it when the object goes. Paths are
// Windows texts with backslashes, as the engine sees them.
class WindowsTemporaryDirectory {
public:
    explicit WindowsTemporaryDirectory(const std::string& stem = "ZomarTest") {
        char base[MAX_PATH + 1] = {};
        if (GetTempPathA(sizeof base, base) == 0) {
            throw std::runtime_error("no temporary folder");
        }
        for (unsigned attempt = 0; root.empty(); ++attempt) {
            std::string candidate = std::string(base) + stem + std::to_string(GetCurrentProcessId()) + "-" +
                                    std::to_string(attempt);
            if (CreateDirectoryA(candidate.c_str(), nullptr)) {
                root = candidate;
            } else if (GetLastError() != ERROR_ALREADY_EXISTS) {
                throw std::runtime_error("cannot create " + candidate);
            }
        }
    }
    ~WindowsTemporaryDirectory() {
        std::error_code ignored;
        std::filesystem::remove_all(root, ignored);
    }
    WindowsTemporaryDirectory(const WindowsTemporaryDirectory&) = delete;
    WindowsTemporaryDirectory& operator=(const WindowsTemporaryDirectory&) = delete;

    // The directory, without a final backslash.
    const std::string& Path() const { return root; }
    std::string operator/(const std::string& name) const { return root + "\\" + name; }

    void WriteFile(const std::string& name, const std::string& content) const {
        std::ofstream file(*this / name, std::ios::binary);
        file << content;
    }

private:
    std::string root;
};

}  // namespace zomar::test

#endif
