#pragma once

#include <cstdint>

namespace zomar {

// A millisecond clock record: a stopwatch (StartTimer) or a deadline
// (SetDeadline). Readings are (low 32 bits of the seconds) * 1000 + milliseconds
// in wrapping 32-bit arithmetic, so differences are right while the two lie
// less than about 24 days apart.
struct MsTimer {
    struct Reading {
        std::int64_t seconds = 0;
        std::uint16_t milliseconds = 0;
        std::int16_t timezone = 0;
        std::int16_t dstflag = 0;
    };
    Reading reading;
    std::uint32_t mark = 0;
    std::uint32_t now = 0;

    void StartTimer();
    void SetDeadline(std::int32_t offset);
    // now - mark; negative while a deadline lies ahead.
    std::int32_t ElapsedMs();

    // A clock reading in the timer's wrapping millisecond count.
    static std::uint32_t ReadingMs(const Reading& reading);
};

}  // namespace zomar
