// libFuzzer target: arbitrary bytes as protocol lines through the command loop
// and the engine, in process. Sessions may end normally or with the designed
// error line; a crash, a sanitizer report, a hang or any exception that is not
// a std::exception is a finding.
#include <stdlib.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>

#include "fuzz/FuzzSession.h"

// Sessions run in a private empty directory: "info folder" creates
// directories, and an "input.txt" would change what the engine reads.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
    std::string pattern = (std::filesystem::temp_directory_path() / "zomar-fuzz-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr || chdir(pattern.c_str()) != 0) {
        std::perror("zomar fuzzer: private directory");
        std::abort();
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    zomar::fuzz::RunProtocolSession(std::string_view(reinterpret_cast<const char*>(data), size));
    return 0;
}
