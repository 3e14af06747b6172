#include "util/FileListing.h"

#include "platform/Platform.h"
#include "util/Paths.h"

namespace zomar {

bool ListMatchingFiles(const std::string& pattern, std::vector<std::string>& names) {
    std::vector<std::string> found;
    if (!platform::FindMatchingNames(pattern, found)) {
        return true;
    }
    std::string directory = DirectoryPart(pattern);
    for (const std::string& name : found) {
        names.push_back(JoinPath(directory, name));
    }
    return false;
}

}  // namespace zomar
