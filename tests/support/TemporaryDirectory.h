#pragma once

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <system_error>

namespace zomar::test {

// A fresh, empty directory under the system's temporary folder, removed with
// everything in it when the object goes.
class TemporaryDirectory {
public:
    TemporaryDirectory() {
        std::string pattern = (std::filesystem::temp_directory_path() / "zomar-test-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) {
            throw std::runtime_error("cannot create a temporary directory");
        }
        root = pattern;
    }
    ~TemporaryDirectory() {
        std::error_code ignored;
        std::filesystem::remove_all(root, ignored);
    }
    TemporaryDirectory(const TemporaryDirectory&) = delete;
    TemporaryDirectory& operator=(const TemporaryDirectory&) = delete;

    const std::filesystem::path& Path() const { return root; }
    std::string operator/(const std::string& name) const { return (root / name).string(); }

    // Writes `content` to the file `name` inside the directory, byte for byte.
    void WriteFile(const std::string& name, const std::string& content) const {
        std::ofstream file(root / name, std::ios::binary);
        file << content;
    }

private:
    std::filesystem::path root;
};

// Makes `directory` the current directory until the object goes.
class CurrentDirectoryScope {
public:
    explicit CurrentDirectoryScope(const std::filesystem::path& directory)
        : previous(std::filesystem::current_path()) {
        std::filesystem::current_path(directory);
    }
    ~CurrentDirectoryScope() {
        std::error_code ignored;
        std::filesystem::current_path(previous, ignored);
    }
    CurrentDirectoryScope(const CurrentDirectoryScope&) = delete;
    CurrentDirectoryScope& operator=(const CurrentDirectoryScope&) = delete;

private:
    std::filesystem::path previous;
};

}  // namespace zomar::test
