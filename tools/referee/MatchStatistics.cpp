#include "referee/MatchStatistics.h"

#include <cmath>
#include <cstdio>
#include <limits>

namespace zomar::referee {

namespace {

constexpr double Normal975 = 1.959963984540054;
// The spread of fewer games is too rough a guess to stop on.
constexpr int MinSprtGames = 10;

std::string Format(const char* format, double a, double b = 0, double c = 0, double d = 0) {
    char text[160];
    std::snprintf(text, sizeof text, format, a, b, c, d);
    return text;
}

}  // namespace

ScoreEstimate EstimateScore(const MatchResult& result) {
    const int n = result.Games();
    if (n == 0) return {};
    const double w = result.wins / static_cast<double>(n);
    const double d = result.draws / static_cast<double>(n);
    const double l = result.losses / static_cast<double>(n);
    ScoreEstimate estimate;
    estimate.mean = w + d / 2;
    const double s = estimate.mean;
    estimate.variance = w * (1 - s) * (1 - s) + d * (0.5 - s) * (0.5 - s) + l * s * s;
    return estimate;
}

double ExpectedScore(double elo) {
    return 1 / (1 + std::pow(10.0, -elo / 400));
}

double EloOfScore(double score) {
    if (score <= 0) return -std::numeric_limits<double>::infinity();
    if (score >= 1) return std::numeric_limits<double>::infinity();
    return -400 * std::log10(1 / score - 1);
}

EloEstimate EstimateElo(const MatchResult& result) {
    const ScoreEstimate score = EstimateScore(result);
    const int n = result.Games();
    const double margin = n == 0 ? 0 : Normal975 * std::sqrt(score.variance / n);
    return {EloOfScore(score.mean), EloOfScore(score.mean - margin), EloOfScore(score.mean + margin)};
}

SprtState SequentialTest(const MatchResult& result, const SprtSettings& settings) {
    SprtState state;
    state.lower = std::log(settings.beta / (1 - settings.alpha));
    state.upper = std::log((1 - settings.beta) / settings.alpha);
    const ScoreEstimate score = EstimateScore(result);
    // Without spread in the results the ratio says nothing yet.
    if (score.variance <= 0) return state;
    const double s0 = ExpectedScore(settings.elo0);
    const double s1 = ExpectedScore(settings.elo1);
    state.llr = result.Games() * (s1 - s0) * (2 * score.mean - s0 - s1) / (2 * score.variance);
    if (result.Games() < MinSprtGames) return state;
    if (state.llr >= state.upper)
        state.decision = SprtDecision::AcceptH1;
    else if (state.llr <= state.lower)
        state.decision = SprtDecision::AcceptH0;
    return state;
}

std::string DescribeMatch(const MatchResult& result) {
    const EloEstimate elo = EstimateElo(result);
    return "games " + std::to_string(result.Games()) + ": wins " + std::to_string(result.wins) + ", draws " +
           std::to_string(result.draws) + ", losses " + std::to_string(result.losses) + "\n" +
           Format("Elo %+.1f, 95%% interval %+.1f .. %+.1f\n", elo.elo, elo.low, elo.high);
}

std::string DescribeSprt(const SprtSettings& settings, const SprtState& state) {
    const char* verdict = state.decision == SprtDecision::AcceptH1   ? "H1 accepted"
                          : state.decision == SprtDecision::AcceptH0 ? "H0 accepted"
                                                                     : "continue";
    return Format("SPRT elo0 %g elo1 %g alpha %g beta %g: ", settings.elo0, settings.elo1, settings.alpha,
                  settings.beta) +
           Format("LLR %.2f, bounds %.2f .. %.2f: ", state.llr, state.lower, state.upper) + verdict + "\n";
}

}  // namespace zomar::referee
