#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>
#include <string>
#include <system_error>

namespace zomar::test {

// A fresh, empty directory under the system's temporary folder, removed with
// everything in it when the object goes. Paths come out in the platform's own
// spelling (backslashes on Windows), as a manager would hand them over.
class TemporaryDirectory {
public:
    TemporaryDirectory() {
        const std::filesystem::path base = std::filesystem::temp_directory_path();
        std::mt19937_64 numbers(Seed());
        // Test programs run side by side: a name another one took is drawn again.
        for (int attempt = 0; attempt < MaxAttempts; ++attempt) {
            std::filesystem::path candidate = base / ("zomar-test-" + HexText(numbers()));
            if (std::filesystem::create_directory(candidate)) {
                root = candidate;
                return;
            }
        }
        throw std::runtime_error("cannot create a temporary directory");
    }
    ~TemporaryDirectory() {
        std::error_code ignored;
        std::filesystem::remove_all(root, ignored);
    }
    TemporaryDirectory(const TemporaryDirectory&) = delete;
    TemporaryDirectory& operator=(const TemporaryDirectory&) = delete;

    const std::filesystem::path& Path() const { return root; }
    // The path of `name` inside the directory; '/' in `name` separates levels.
    std::string operator/(const std::string& name) const { return (root / name).make_preferred().string(); }

    // Writes `content` to the file `name` inside the directory, byte for byte.
    void WriteFile(const std::string& name, const std::string& content) const {
        std::ofstream file(root / name, std::ios::binary);
        file << content;
        if (!file.flush()) {
            throw std::runtime_error("cannot write " + (*this / name));
        }
    }

private:
    static constexpr int MaxAttempts = 100;

    // The random device alone may repeat itself from run to run on some C
    // runtimes; the clock makes two runs differ all the same.
    static std::uint64_t Seed() {
        std::random_device device;
        auto ticks = static_cast<std::uint64_t>(std::chrono::high_resolution_clock::now().time_since_epoch().count());
        return (static_cast<std::uint64_t>(device()) << 32) ^ device() ^ ticks;
    }

    static std::string HexText(std::uint64_t value) {
        std::ostringstream text;
        text << std::hex << value;
        return text.str();
    }

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
