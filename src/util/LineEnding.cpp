#include "util/LineEnding.h"

#include <istream>

namespace zomar {

bool LineReader::Read(std::string& line) {
    line.clear();
    constexpr auto End = std::char_traits<char>::eof();
    auto c = input->get();
    if (c == '\n' && afterCarriageReturn) c = input->get();
    afterCarriageReturn = false;
    for (; c != End; c = input->get()) {
        if (c == '\n' || c == '\r') {
            afterCarriageReturn = c == '\r';
            return true;
        }
        line += static_cast<char>(c);
    }
    return !line.empty();
}

}  // namespace zomar
