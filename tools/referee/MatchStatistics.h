#pragma once

#include <string>

namespace zomar::referee {

// A match from one engine's side.
struct MatchResult {
    int wins = 0;
    int draws = 0;
    int losses = 0;
    int Games() const { return wins + draws + losses; }
};

// The mean score per game (a win 1, a draw 1/2) and its variance per game.
struct ScoreEstimate {
    double mean = 0.5;
    double variance = 0.0;
};
ScoreEstimate EstimateScore(const MatchResult& result);

// The logistic Elo scale: the expected score at a difference, and back.
double ExpectedScore(double elo);
double EloOfScore(double score);

// The Elo difference with its 95 % interval (normal approximation of the
// mean score); infinite when a side scored everything or nothing.
struct EloEstimate {
    double elo = 0.0;
    double low = 0.0;
    double high = 0.0;
};
EloEstimate EstimateElo(const MatchResult& result);

// A sequential probability ratio test of elo1 against elo0, with the
// generalised log-likelihood ratio of the trinomial results.
struct SprtSettings {
    double elo0 = 0.0;
    double elo1 = 10.0;
    double alpha = 0.05;
    double beta = 0.05;
};
enum class SprtDecision { Continue, AcceptH0, AcceptH1 };
struct SprtState {
    double llr = 0.0;
    double lower = 0.0;
    double upper = 0.0;
    SprtDecision decision = SprtDecision::Continue;
};
SprtState SequentialTest(const MatchResult& result, const SprtSettings& settings);

// The lines the match script prints.
std::string DescribeMatch(const MatchResult& result);
std::string DescribeSprt(const SprtSettings& settings, const SprtState& state);

}  // namespace zomar::referee
