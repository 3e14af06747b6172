#pragma once

#include <string>

// Path text helpers. The only separator they recognise is the platform's
// (platform::PathSeparator); a full stop marks an extension.
namespace zomar {

// The path without the text from its last full stop on. A path ending in a
// separator is returned unchanged; a full stop in a directory name counts when
// the file name has none.
std::string StripExtension(const std::string& path);
// The text after the last separator; empty when there is none.
std::string BaseName(const std::string& path);
// The text up to and including the last separator; empty when there is none.
std::string DirectoryPart(const std::string& path);
// The two joined with exactly one separator at the seam; an empty part gives
// the other unchanged.
std::string JoinPath(const std::string& first, const std::string& second);

}  // namespace zomar
