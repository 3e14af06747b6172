#include <exception>
#include <iostream>
#include <stdexcept>
#include <string>

#include "referee/MatchStatistics.h"

using namespace zomar::referee;

namespace {

const char* const UsageText =
    "usage: zomar-match-stats WINS DRAWS LOSSES [ELO0 ELO1 ALPHA BETA]\n"
    "  prints the Elo difference with its 95% interval and, given the\n"
    "  hypotheses, the sequential probability ratio test's state\n";

double Number(const char* text, bool whole) {
    std::size_t used = 0;
    const std::string word = text;
    const double value = std::stod(word, &used);
    if (used != word.size() || (whole && (value < 0 || value != static_cast<int>(value)))) {
        throw std::invalid_argument(word);
    }
    return value;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4 && argc != 8) {
        std::cerr << UsageText;
        return 2;
    }
    try {
        const MatchResult result{static_cast<int>(Number(argv[1], true)), static_cast<int>(Number(argv[2], true)),
                                 static_cast<int>(Number(argv[3], true))};
        std::cout << DescribeMatch(result);
        if (argc == 8) {
            const SprtSettings settings{Number(argv[4], false), Number(argv[5], false), Number(argv[6], false),
                                        Number(argv[7], false)};
            if (!(settings.alpha > 0 && settings.alpha < 1 && settings.beta > 0 && settings.beta < 1)) {
                throw std::invalid_argument("alpha and beta lie between 0 and 1");
            }
            std::cout << DescribeSprt(settings, SequentialTest(result, settings));
        }
        return 0;
    } catch (const std::exception& error) {
        std::cerr << "zomar-match-stats: bad argument " << error.what() << '\n' << UsageText;
        return 2;
    }
}
