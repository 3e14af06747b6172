#pragma once

#include <stdexcept>
#include <string>

namespace zomar::test {

// The message of the runtime_error that action throws, or "no error".
template <typename Action>
std::string ErrorOf(Action&& action) {
    try {
        action();
    } catch (const std::runtime_error& error) {
        return error.what();
    }
    return "no error";
}

}  // namespace zomar::test
