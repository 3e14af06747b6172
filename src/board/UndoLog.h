#pragma once

#include <cstdint>
#include <memory>

#include "analysis/AnalysisSetup.h"
#include "analysis/ThreatCategory.h"
#include "board/Geometry.h"

namespace zomar {

// What placing one stone changed: the line words and packed categories as they
// were, and every list move in the order it was made. Lifting the stone again
// restores the values and makes the same moves the other way, in the same
// order, so the lists end exactly as re-rating would leave them.
struct UndoFrame {
    static constexpr int MaxWords = LineUpdateSlots - 1;
    // A stone re-rates the lines through it and one far point per side of
    // each of its four lines.
    static constexpr int MaxPoints = MaxWords + 2 * DirectionCount;
    static constexpr int MaxListMoves = MaxPoints;  // per colour

    std::uint32_t moveNumber = 0;  // the record's move count after the placement
    std::uint8_t wordCount = 0;
    std::uint8_t pointCount = 0;
    std::uint8_t listMoveCount[3] = {};  // per colour: the lists of the two are apart
    struct PointRecord {
        std::uint64_t oldPacked;
        std::uint32_t point;
    };
    std::uint64_t word[MaxWords];  // the word's index << 32 | its old value
    PointRecord points[MaxPoints];
    std::uint32_t listMove[3][MaxListMoves];  // per colour, see ListMove

    static constexpr std::uint32_t ListMove(std::uint32_t h, ThreatCategory from, ThreatCategory to) {
        return h | static_cast<std::uint32_t>(from) << 16 | static_cast<std::uint32_t>(to) << 24;
    }
    static constexpr std::uint32_t MovedPoint(std::uint32_t move) { return move & 0xFFFF; }
    static constexpr ThreatCategory MovedFrom(std::uint32_t move) { return (move >> 16) & 0xFF; }
    static constexpr ThreatCategory MovedTo(std::uint32_t move) { return move >> 24; }
};

// Appends to a frame through cursors that a caller's loop keeps in registers
// (the frame's own counts would be reloaded after every store into the board);
// Finish stores the counts.
class UndoRecorder {
public:
    explicit UndoRecorder(UndoFrame& frame)
        : word(frame.word + frame.wordCount),
          point(frame.points + frame.pointCount),
          move1(frame.listMove[1] + frame.listMoveCount[1]),
          move2(frame.listMove[2] + frame.listMoveCount[2]) {}

    void Word(std::uint32_t index, std::uint32_t old) { *word++ = static_cast<std::uint64_t>(index) << 32 | old; }
    void Packed(std::uint32_t h, std::uint64_t old) { *point++ = {old, h}; }
    void ListMove(std::uint32_t h, int colour, ThreatCategory from, ThreatCategory to) {
        *(colour == 1 ? move1 : move2)++ = UndoFrame::ListMove(h, from, to);
    }
    void Finish(UndoFrame& frame) const {
        frame.wordCount = static_cast<std::uint8_t>(word - frame.word);
        frame.pointCount = static_cast<std::uint8_t>(point - frame.points);
        frame.listMoveCount[1] = static_cast<std::uint8_t>(move1 - frame.listMove[1]);
        frame.listMoveCount[2] = static_cast<std::uint8_t>(move2 - frame.listMove[2]);
    }

private:
    std::uint64_t* word;
    UndoFrame::PointRecord* point;
    std::uint32_t* move1;
    std::uint32_t* move2;
};

// The frames of the last placements, kept in a ring by move number: a stone
// whose frame was overwritten by deeper placements is lifted by re-rating,
// which records into a spare frame that is never found.
class UndoLog {
public:
    // Deeper than the searches go, so that they lift every stone from its frame.
    static constexpr std::uint32_t DefaultDepth = 64;

    // depth: 0, which keeps no frames (every lift re-rates), or a power of two.
    explicit UndoLog(std::uint32_t depth) : depth(depth), frames(new UndoFrame[depth + 1]) {}

    // The frame a placement that makes moveNumber moves records into.
    UndoFrame& Begin(std::uint32_t moveNumber) {
        return depth == 0 ? Spare() : Reset(frames[moveNumber & (depth - 1)], moveNumber);
    }
    UndoFrame& Spare() { return Reset(frames[depth], 0); }
    // The frame of the stone that made moveNumber moves, or null once overwritten.
    const UndoFrame* Find(std::uint32_t moveNumber) const {
        if (depth == 0) return nullptr;
        const UndoFrame& frame = frames[moveNumber & (depth - 1)];
        return frame.moveNumber == moveNumber ? &frame : nullptr;
    }

private:
    static UndoFrame& Reset(UndoFrame& frame, std::uint32_t moveNumber) {
        frame.moveNumber = moveNumber;
        frame.wordCount = 0;
        frame.pointCount = 0;
        frame.listMoveCount[1] = 0;
        frame.listMoveCount[2] = 0;
        return frame;
    }

    std::uint32_t depth;
    std::unique_ptr<UndoFrame[]> frames;
};

}  // namespace zomar
