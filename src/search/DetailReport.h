#pragma once

#include <chrono>
#include <cstdint>
#include <string>

#include "board/Coord.h"
#include "search/SearchReporter.h"
#include "search/TreeSearch.h"

namespace zomar {

// The bits of "info show_detail".
constexpr std::uint32_t ShowLiveMarks = 1;
constexpr std::uint32_t ShowIterationBlocks = 2;
// Live marks start at this iteration depth and keep this many milliseconds
// apart, so that a long think does not flood the board showing them.
constexpr std::uint32_t LiveMarkMinDepth = 4;
constexpr std::int64_t LiveMarkIntervalMs = 100;

// "INFO EVAL": the value from the mover's side, "+Mn" / "-Mn" for a win or a
// loss proven, n the winner's moves on the line found (at least 1).
std::string EvalText(std::int32_t value, std::size_t lineLength);
// "INFO WINRATE": the value mapped to 0..1, 0.5 at 0, 1 for a proven win.
double WinRate(std::int32_t value);

// Writes a search's progress as the analysis boards read it: the live marks
// ("MESSAGE REALTIME ...") and a block of "INFO" lines per completed iteration.
class DetailReporter : public SearchReporter {
public:
    explicit DetailReporter(ReportLine write);

    void SetDetail(std::uint32_t bits) { mBits = bits; }
    // Whether anything is written at all.
    bool Shows() const { return (mBits & (ShowLiveMarks | ShowIterationBlocks)) != 0; }
    // A think begins that searches `candidates` root moves one after another.
    void StartThink(std::uint32_t candidates);
    // The search for the candidate of that index (from 0) begins.
    void StartCandidate(std::uint32_t index);

    void IterationStarted(std::uint32_t depth) override;
    void RootMoveStarted(Coord move) override;
    void RootMoveFinished(Coord move, bool lost) override;
    void BestMoveChanged(Coord move) override;
    void IterationFinished(const IterationReport& report) override;

private:
    // A live mark (with a second one when `also` is not empty), unless the last
    // was written too recently.
    bool Mark(const std::string& text, const std::string& also = {});
    void Info(const std::string& text) { mWrite("INFO " + text); }

    ReportLine mWrite;
    std::uint32_t mBits = 0;
    std::uint32_t mCandidates = 1;
    std::uint32_t mIndex = 0;
    std::uint32_t mDepth = 0;
    std::uint32_t mThinkNodeStart = 0;
    std::chrono::steady_clock::time_point mThinkStart;
    std::chrono::steady_clock::time_point mLastMark;
    Coord mShownBest = 0;
    // A best move whose mark was held back by the interval.
    Coord mPendingBest = 0;
    bool mHasPendingBest = false;
};

}  // namespace zomar
