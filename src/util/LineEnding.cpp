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
        if (c == '\n') return true;
        if (c == '\r') {
            // The LF of a CR LF that came with it is taken now, so that no part
            // of an answered line is left unread.
            if (input->rdbuf()->in_avail() > 0 && input->peek() == '\n') {
                input->get();
            } else {
                afterCarriageReturn = true;
            }
            return true;
        }
        line += static_cast<char>(c);
    }
    return !line.empty();
}

}  // namespace zomar
