#include "protocol/MsTimer.h"

#include <chrono>

namespace zomar {

namespace {

MsTimer::Reading ReadClock() {
    // The system clock counts from 1970, as the C runtime's time of day does.
    const std::int64_t ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                                std::chrono::system_clock::now().time_since_epoch())
                                .count();
    MsTimer::Reading reading;
    reading.seconds = ms / 1000;
    reading.milliseconds = static_cast<std::uint16_t>(ms % 1000);
    return reading;
}

}  // namespace

std::uint32_t MsTimer::ReadingMs(const Reading& reading) {
    return static_cast<std::uint32_t>(reading.seconds) * 1000u + reading.milliseconds;
}

void MsTimer::StartTimer() {
    reading = ReadClock();
    mark = ReadingMs(reading);
}

void MsTimer::SetDeadline(std::int32_t offset) {
    reading = ReadClock();
    mark = ReadingMs(reading) + static_cast<std::uint32_t>(offset);
}

std::int32_t MsTimer::ElapsedMs() {
    reading = ReadClock();
    now = ReadingMs(reading);
    return static_cast<std::int32_t>(now - mark);
}

}  // namespace zomar
