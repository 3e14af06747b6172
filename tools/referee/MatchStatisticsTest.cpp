#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "referee/MatchStatistics.h"

namespace zomar::referee {
namespace {

TEST(MatchStatistics, EloScaleIsTheInverseOfTheExpectedScoreAndSymmetric) {
    for (double elo = -600; elo <= 600; elo += 37.5) {
        EXPECT_NEAR(EloOfScore(ExpectedScore(elo)), elo, 1e-9);
        EXPECT_NEAR(ExpectedScore(-elo), 1 - ExpectedScore(elo), 1e-12);
    }
    EXPECT_TRUE(std::isinf(EloOfScore(0)) && EloOfScore(0) < 0);
}

TEST(MatchStatistics, IntervalIsTheNormalIntervalOfTheGameScores) {
    const MatchResult result{23, 9, 14};
    // Oracle: the sample of single-game scores, mean and spread computed directly.
    std::vector<double> scores(23, 1.0);
    scores.insert(scores.end(), 9, 0.5);
    scores.insert(scores.end(), 14, 0.0);
    double mean = 0;
    for (double s : scores) mean += s / scores.size();
    double variance = 0;
    for (double s : scores) variance += (s - mean) * (s - mean) / scores.size();
    const double margin = 1.959964 * std::sqrt(variance / scores.size());
    const EloEstimate elo = EstimateElo(result);
    EXPECT_NEAR(elo.elo, EloOfScore(mean), 1e-9);
    EXPECT_NEAR(elo.low, EloOfScore(mean - margin), 1e-3);
    EXPECT_NEAR(elo.high, EloOfScore(mean + margin), 1e-3);
    // Seen from the other side everything mirrors.
    const EloEstimate mirrored = EstimateElo({14, 9, 23});
    EXPECT_NEAR(mirrored.elo, -elo.elo, 1e-9);
    EXPECT_NEAR(mirrored.low, -elo.high, 1e-9);
}

// Simulated matches at the hypotheses' own strengths end, far more often than
// the error rates allow against them, with the right hypothesis accepted.
TEST(MatchStatistics, SequentialTestKeepsItsErrorRates) {
    const SprtSettings settings{0, 40, 0.05, 0.05};
    std::mt19937_64 random(17);
    for (const double trueElo : {settings.elo0, settings.elo1}) {
        const double draw = 0.25;
        const double win = ExpectedScore(trueElo) - draw / 2;
        std::discrete_distribution<int> game({win, draw, 1 - win - draw});
        int wrong = 0;
        constexpr int Runs = 2000;
        for (int run = 0; run < Runs; ++run) {
            MatchResult result;
            SprtState state;
            while (state.decision == SprtDecision::Continue && result.Games() < 100000) {
                const int outcome = game(random);
                (outcome == 0 ? result.wins : outcome == 1 ? result.draws : result.losses) += 1;
                state = SequentialTest(result, settings);
            }
            const SprtDecision right = trueElo == settings.elo1 ? SprtDecision::AcceptH1 : SprtDecision::AcceptH0;
            if (state.decision != right) ++wrong;
        }
        EXPECT_LE(wrong, Runs * (trueElo == settings.elo1 ? settings.beta : settings.alpha) * 1.4) << trueElo;
    }
}

}  // namespace
}  // namespace zomar::referee
