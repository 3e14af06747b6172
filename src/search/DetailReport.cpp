#include "search/DetailReport.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <utility>

#include "analysis/Score.h"
#include "board/GameRecord.h"
#include "board/Geometry.h"

namespace zomar {

namespace {

// The value at which the win rate reaches about 0.73 (e to 1).
constexpr double WinRateScale = 300.0;

std::string PointText(Coord c) { return std::to_string(c % boardWidth) + "," + std::to_string(c / boardWidth); }

}  // namespace

std::string EvalText(std::int32_t value, std::size_t lineLength) {
    if (!IsProven(value)) return std::to_string(value);
    const std::size_t moves = std::max<std::size_t>((lineLength + 1) / 2, 1);
    std::string text = value == SCORE_WIN ? "+M" : "-M";
    text += std::to_string(moves);
    return text;
}

double WinRate(std::int32_t value) {
    if (value == SCORE_WIN) return 1.0;
    if (value == SCORE_LOSS) return 0.0;
    return 1.0 / (1.0 + std::exp(-static_cast<double>(value) / WinRateScale));
}

DetailReporter::DetailReporter(ReportLine write) : mWrite(std::move(write)) {}

void DetailReporter::StartThink(std::uint32_t candidates) {
    mCandidates = candidates;
    mThinkStart = std::chrono::steady_clock::now();
    mThinkNodeStart = madeMoveCount;
    mLastMark = mThinkStart - std::chrono::milliseconds(LiveMarkIntervalMs);
    StartCandidate(0);
}

void DetailReporter::StartCandidate(std::uint32_t index) {
    mIndex = index;
    mShownBest = static_cast<Coord>(boardArea);
    mHasPendingBest = false;
}

bool DetailReporter::Mark(const std::string& text, const std::string& also) {
    if ((mBits & ShowLiveMarks) == 0 || mDepth < LiveMarkMinDepth) return false;
    const auto now = std::chrono::steady_clock::now();
    if (now - mLastMark < std::chrono::milliseconds(LiveMarkIntervalMs)) return false;
    mLastMark = now;
    // A best move held back goes first: it is what the board shows longest.
    if (mHasPendingBest && text.rfind("BEST ", 0) != 0) {
        mHasPendingBest = false;
        mShownBest = mPendingBest;
        mWrite("MESSAGE REALTIME BEST " + PointText(mPendingBest));
        return false;
    }
    mWrite("MESSAGE REALTIME " + text);
    if (!also.empty()) mWrite("MESSAGE REALTIME " + also);
    return true;
}

void DetailReporter::IterationStarted(std::uint32_t depth) {
    mDepth = depth;
    Mark("REFRESH");
}

void DetailReporter::RootMoveStarted(Coord move) { Mark("POS " + PointText(move)); }

void DetailReporter::RootMoveFinished(Coord move, bool lost) {
    // A lost move is done too; the two marks go together or not at all.
    Mark("DONE " + PointText(move), lost ? "LOST " + PointText(move) : std::string());
}

void DetailReporter::BestMoveChanged(Coord move) {
    if (move == mShownBest) return;
    if (Mark("BEST " + PointText(move))) {
        mShownBest = move;
        mHasPendingBest = false;
    } else {
        mPendingBest = move;
        mHasPendingBest = true;
    }
}

void DetailReporter::IterationFinished(const IterationReport& report) {
    if ((mBits & ShowIterationBlocks) == 0) return;
    const std::int64_t ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                                std::chrono::steady_clock::now() - mThinkStart)
                                .count();
    const std::uint32_t totalNodes = madeMoveCount - mThinkNodeStart;
    Info("PV " + std::to_string(mIndex));
    Info("NUMPV " + std::to_string(mCandidates));
    Info("DEPTH " + std::to_string(report.depth));
    Info("SELDEPTH " + std::to_string(report.selectiveDepth));
    Info("NODES " + std::to_string(report.nodes));
    Info("TOTALNODES " + std::to_string(totalNodes));
    Info("TOTALTIME " + std::to_string(ms));
    Info("SPEED " + std::to_string(static_cast<std::int64_t>(totalNodes) * 1000 / std::max<std::int64_t>(ms, 1)));
    Info("EVAL " + EvalText(report.value, report.lineLength));
    char rate[16];
    std::snprintf(rate, sizeof rate, "%.4f", WinRate(report.value));
    Info(std::string("WINRATE ") + rate);
    std::string line = "BESTLINE";
    for (std::size_t i = 0; i < report.lineLength; ++i) {
        line += ' ';
        line += PointText(report.line[i]);
    }
    Info(line);
    Info("PV DONE");
}

}  // namespace zomar
