#pragma once

#include <cstdint>

namespace zomar {

// The process-wide tables every board reads: the geometry of one board size and
// the pattern and analysis tables of one rule. Boards built on older tables
// must be gone before a rebuild that changes the size.

// Builds the tables for a size and a rule; the geometry is kept when the size
// is the one already built.
void BuildProcessTables(std::uint32_t width, std::uint32_t height, std::int32_t rule);
// Frees every process-wide table; safe whatever was built.
void ReleaseProcessTables();

}  // namespace zomar
