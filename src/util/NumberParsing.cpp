#include "util/NumberParsing.h"

#include <limits>
#include <stdexcept>

namespace zomar {

namespace {

// White space as the C library's scanning skips it (the "C" locale's set).
bool IsScanSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// A decimal at `pos`: white space, optional sign, at least one digit. The
// magnitude saturates at `limit`; `pos` moves past the number when one is found.
struct ScannedNumber {
    bool found = false;
    bool negative = false;
    bool overLimit = false;
    std::uint64_t magnitude = 0;
};

ScannedNumber ScanNumber(const std::string& text, std::size_t& pos, std::uint64_t limit) {
    ScannedNumber number;
    std::size_t at = pos;
    while (at < text.size() && IsScanSpace(text[at])) {
        ++at;
    }
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) {
        number.negative = text[at] == '-';
        ++at;
    }
    while (at < text.size() && IsDigit(text[at])) {
        number.found = true;
        std::uint64_t digit = static_cast<std::uint64_t>(text[at] - '0');
        if (number.magnitude > (limit - digit) / 10) {
            number.overLimit = true;
            number.magnitude = limit;
        } else {
            number.magnitude = number.magnitude * 10 + digit;
        }
        ++at;
    }
    if (number.found) {
        pos = at;
    }
    return number;
}

}  // namespace

std::int32_t StringToInt(const std::string& text) {
    const std::optional<std::int32_t> value = ReadInt(text);
    if (!value) {
        throw std::runtime_error("StringToInt Conversion failed.");
    }
    return *value;
}

std::optional<std::int32_t> ReadInt(const std::string& text) {
    constexpr std::uint64_t maxMagnitude = std::uint64_t{1} << 31;
    std::size_t pos = 0;
    ScannedNumber number = ScanNumber(text, pos, maxMagnitude);
    if (!number.found) {
        return std::nullopt;
    }
    if (number.negative) {
        return static_cast<std::int32_t>(-static_cast<std::int64_t>(number.magnitude));
    }
    if (number.magnitude > static_cast<std::uint64_t>(std::numeric_limits<std::int32_t>::max())) {
        return std::numeric_limits<std::int32_t>::max();
    }
    return static_cast<std::int32_t>(number.magnitude);
}

std::string NumberAsWritten(const std::string& text) {
    std::size_t start = 0;
    while (start < text.size() && IsScanSpace(text[start])) {
        ++start;
    }
    std::size_t end = start;
    ScanNumber(text, end, std::numeric_limits<std::uint64_t>::max());
    return text.substr(start, end - start);
}

int ScanUnsigneds(const std::string& text, std::uint32_t* values, int count) {
    constexpr std::uint64_t maxMagnitude = std::numeric_limits<std::uint32_t>::max();
    std::size_t pos = 0;
    for (int i = 0; i < count; ++i) {
        if (i > 0) {
            if (pos >= text.size() || text[pos] != ',') {
                return i;
            }
            ++pos;
        }
        ScannedNumber number = ScanNumber(text, pos, maxMagnitude);
        if (!number.found) {
            return i;
        }
        std::uint32_t value = static_cast<std::uint32_t>(number.magnitude);
        if (number.overLimit) {
            value = std::numeric_limits<std::uint32_t>::max();
        } else if (number.negative) {
            value = 0u - value;
        }
        values[i] = value;
    }
    return count;
}

}  // namespace zomar
