// When the automatic update check may run: once per UTC day, never on the disabled weekdays.
#pragma once
#include <cstdint>

namespace vorel {

struct CalendarDate {
    uint16_t year = 0;
    uint16_t month = 0;
    uint16_t day = 0;
};

// The three disabled weekdays as stored: byte 0 = c, byte 1 = a, byte 2 = b, byte 3 = 0.
// milliseconds is the current UTC time's millisecond field, r1 and r2 two successive
// values of the C library's generator. All arithmetic is unsigned 32-bit.
uint32_t PickDisableDays(uint32_t milliseconds, uint32_t r1, uint32_t r2);

// A stored value of 0 disables nothing, although its zero bytes would read as Sunday.
bool IsDayDisabled(uint32_t storedDays, unsigned dayOfWeek);

// The daily gate. lastUpdate is all zero when no update time is stored.
bool IsUpdateCheckDue(bool keyOpened, const CalendarDate& lastUpdate, const CalendarDate& today,
                      bool todayDisabled);

// Little-endian packing of the 4-byte registry value.
uint32_t DisableDaysFromBytes(const uint8_t bytes[4]);

}  // namespace vorel
