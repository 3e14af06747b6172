#pragma once

#include <cstdint>
#include <memory>

#include "analysis/AnalysisSetup.h"
#include "board/Geometry.h"

namespace zomar {

// What placing one stone changed: the line words and packed categories as they
// were, in the order the placement re-rated them. Lifting the stone again
// restores the values and refiles the points in that same order, so the lists
// end exactly as re-rating would leave them.
struct UndoFrame {
    static constexpr int MaxWords = LineUpdateSlots - 1;
    // A stone re-rates the lines through it and one far point per side of
    // each of its four lines.
    static constexpr int MaxPoints = MaxWords + 2 * DirectionCount;

    std::uint32_t moveNumber = 0;  // the record's move count after the placement
    std::uint8_t wordCount = 0;
    std::uint8_t pointCount = 0;
    struct PointRecord {
        std::uint64_t oldPacked;
        std::uint32_t point;
    };
    std::uint64_t word[MaxWords];  // the word's index << 32 | its old value
    PointRecord points[MaxPoints];
};

// Appends to a frame through cursors that a caller's loop keeps in registers
// (the frame's own counts would be reloaded after every store into the board);
// Finish stores the counts.
class UndoRecorder {
public:
    explicit UndoRecorder(UndoFrame& frame)
        : word(frame.word + frame.wordCount),
          point(frame.points + frame.pointCount) {}

    void Word(std::uint32_t index, std::uint32_t old) { *word++ = static_cast<std::uint64_t>(index) << 32 | old; }
    void Packed(std::uint32_t h, std::uint64_t old) { *point++ = {old, h}; }
    void Finish(UndoFrame& frame) const {
        frame.wordCount = static_cast<std::uint8_t>(word - frame.word);
        frame.pointCount = static_cast<std::uint8_t>(point - frame.points);
    }

private:
    std::uint64_t* word;
    UndoFrame::PointRecord* point;
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
        return frame;
    }

    std::uint32_t depth;
    std::unique_ptr<UndoFrame[]> frames;
};

}  // namespace zomar
