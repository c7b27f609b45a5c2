// The UTC time for RecordTime, from the system clock.
#include "events/RecordClock.h"

#include <chrono>
#include <ctime>

namespace pv::events {

SystemTime CurrentUtcTime()
{
    const auto now = std::chrono::system_clock::now();
    const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
    const auto millis = std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000;
    std::tm utc{};
    gmtime_r(&seconds, &utc);
    SystemTime t;
    t.year = static_cast<uint16_t>(utc.tm_year + 1900);
    t.month = static_cast<uint16_t>(utc.tm_mon + 1);
    t.dayOfWeek = static_cast<uint16_t>(utc.tm_wday);
    t.day = static_cast<uint16_t>(utc.tm_mday);
    t.hour = static_cast<uint16_t>(utc.tm_hour);
    t.minute = static_cast<uint16_t>(utc.tm_min);
    t.second = static_cast<uint16_t>(utc.tm_sec);
    t.milliseconds = static_cast<uint16_t>(millis < 0 ? 0 : millis);
    return t;
}

} // namespace pv::events
