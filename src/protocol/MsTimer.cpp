#include "protocol/MsTimer.h"

#include <ctime>

namespace zomar {

namespace {

MsTimer::Reading ReadClock() {
    std::timespec time {};
    std::timespec_get(&time, TIME_UTC);
    MsTimer::Reading reading;
    reading.seconds = static_cast<std::int64_t>(time.tv_sec);
    reading.milliseconds = static_cast<std::uint16_t>(time.tv_nsec / 1000000);
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
