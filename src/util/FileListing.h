#pragma once

#include <string>
#include <vector>

namespace zomar {

// Appends the path of every entry matching the wildcard `pattern` to `names`
// (the pattern's directory part joined with each name), in the order the OS
// reports them. Returns true when nothing matched or the directory is missing;
// `names` is then unchanged.
bool ListMatchingFiles(const std::string& pattern, std::vector<std::string>& names);

}  // namespace zomar
