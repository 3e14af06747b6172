#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace zomar {

// Reads a signed decimal the way "%d" scanning does: leading white space, an
// optional sign, then digits up to the first other character. Values beyond the
// 32-bit range are clamped to it. Raises "StringToInt Conversion failed." when
// no number can be read.
std::int32_t StringToInt(const std::string& text);
// The same reading, empty where StringToInt raises.
std::optional<std::int32_t> ReadInt(const std::string& text);
// The sign and digits that StringToInt reads, as written (empty when none).
std::string NumberAsWritten(const std::string& text);

// Reads up to `count` unsigned decimals separated by single commas, as the
// pattern "%u,%u,..." does: white space before each number is skipped, a minus
// sign wraps the value modulo 2^32, and reading stops at the first mismatch.
// A magnitude beyond 32 bits gives 0xFFFFFFFF. Returns how many were read;
// the values not reached are left as they were.
int ScanUnsigneds(const std::string& text, std::uint32_t* values, int count);

}  // namespace zomar
