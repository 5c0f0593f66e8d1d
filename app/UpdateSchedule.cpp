#include "app/UpdateSchedule.h"

namespace vorel {

uint32_t PickDisableDays(uint32_t milliseconds, uint32_t r1, uint32_t r2) {
    const uint32_t a = (r1 + 7u - milliseconds) % 7u;
    uint32_t b = milliseconds % 7u;
    if (b == a) b = (b + 6u) % 7u;
    uint32_t c = (r2 + 7u - milliseconds) % 7u;
    if (c == a) c = (c + 1u) % 7u;
    return c | (a << 8) | (b << 16);
}

bool IsDayDisabled(uint32_t storedDays, unsigned dayOfWeek) {
    if (storedDays == 0) return false;
    for (int i = 0; i < 3; ++i)
        if (((storedDays >> (8 * i)) & 0xFFu) == dayOfWeek) return true;
    return false;
}

bool IsUpdateCheckDue(bool keyOpened, const CalendarDate& lastUpdate, const CalendarDate& today,
                      bool todayDisabled) {
    if (!keyOpened) return false;
    const bool sameDay = lastUpdate.year == today.year && lastUpdate.month == today.month &&
                         lastUpdate.day == today.day;
    return !sameDay && !todayDisabled;
}

uint32_t DisableDaysFromBytes(const uint8_t bytes[4]) {
    return uint32_t(bytes[0]) | (uint32_t(bytes[1]) << 8) | (uint32_t(bytes[2]) << 16) |
           (uint32_t(bytes[3]) << 24);
}

}  // namespace vorel
