#include "app/CounterValue.h"
#include "app/DumpPath.h"
#include "app/TextNumber.h"
#include "app/UpdateSchedule.h"

#include <gtest/gtest.h>

#include <set>

TEST(CounterValue, NumbersCountUpAndGarbageCountsAsZero) {
    EXPECT_EQ(vorel::NextCounterValue(L"0"), 1u);
    EXPECT_EQ(vorel::NextCounterValue(L"41"), 42u);
    EXPECT_EQ(vorel::NextCounterValue(L"abc"), 1u);
    EXPECT_EQ(vorel::NextCounterValue(L""), 1u);
    EXPECT_EQ(vorel::NextCounterValue(L"  7"), 8u);
    EXPECT_EQ(vorel::NextCounterValue(L"12abc"), 13u);
    EXPECT_EQ(vorel::NextCounterValue(L"99999999999999999999"), 2147483648u);
    // A negative text converts as the C library does and wraps in unsigned arithmetic.
    EXPECT_EQ(vorel::NextCounterValue(L"-1"), 0u);
    EXPECT_EQ(vorel::NextCounterValue(L"-5"), 4294967292u);
    // Only 31 characters fit the value buffer.
    EXPECT_EQ(vorel::NextCounterValue(std::wstring(31, L' ') + L"5"), 1u);
}

TEST(TextNumber, FormatsAndCompares) {
    EXPECT_EQ(vorel::FormatUnsigned(0), L"0");
    EXPECT_EQ(vorel::FormatUnsigned(4294967295u), L"4294967295");
    EXPECT_TRUE(vorel::EqualsIgnoreAsciiCase(L"/VorelD", L"/vOrELd"));
    EXPECT_FALSE(vorel::EqualsIgnoreAsciiCase(L"/VorelD", L"/VorelD "));
    EXPECT_EQ(vorel::TruncateToBuffer(L"abcdef", 4), L"abc");
    EXPECT_EQ(vorel::TruncateToBuffer(std::wstring(L"ab\0cd", 5), 10), L"ab");
    EXPECT_EQ(vorel::WideToInt(L"-2147483649"), INT32_MIN);
    EXPECT_EQ(vorel::WideToInt(L"\t\n+12"), 12);
    EXPECT_EQ(vorel::WideToInt(L"+-12"), 0);
}

TEST(DisableDays, PicksThreeWeekdaysWithUnsignedArithmetic) {
    // r1 = 0, m = 999: (0 + 7 - 999) wraps around 2^32 before the modulo.
    const uint32_t v = vorel::PickDisableDays(999, 0, 0);
    const uint32_t a = (0u + 7u - 999u) % 7u;
    EXPECT_EQ((v >> 8) & 0xFF, a);
    EXPECT_EQ(v >> 24, 0u);
    // b = m mod 7, moved back by one when it equals a; c moved forward when it equals a.
    for (uint32_t m = 0; m < 1000; ++m) {
        for (uint32_t r : {0u, 1u, 6u, 41u, 32767u}) {
            const uint32_t days = vorel::PickDisableDays(m, r, r + 3);
            const uint32_t c = days & 0xFF, aa = (days >> 8) & 0xFF, b = (days >> 16) & 0xFF;
            ASSERT_LT(c, 7u);
            ASSERT_LT(aa, 7u);
            ASSERT_LT(b, 7u);
            ASSERT_NE(b, aa);
            ASSERT_NE(c, aa);
            ASSERT_EQ(days >> 24, 0u);
        }
    }
    // m = 3, r1 = 3: a = 0; b = 3; r2 = 3: c = 0 equals a, becomes 1.
    EXPECT_EQ(vorel::PickDisableDays(3, 3, 3), 0x00030001u);
    // m = 0, r1 = 0: a = 0 and b = 0 collide, b becomes 6.
    EXPECT_EQ(vorel::PickDisableDays(0, 0, 1), 0x00060001u);
}

TEST(DisableDays, ZeroDisablesNothingOtherwiseEachByteCounts) {
    for (unsigned day = 0; day < 7; ++day) EXPECT_FALSE(vorel::IsDayDisabled(0, day));
    const uint8_t bytes[4] = {0, 3, 5, 0};
    const uint32_t stored = vorel::DisableDaysFromBytes(bytes);
    std::set<unsigned> disabled;
    for (unsigned day = 0; day < 7; ++day)
        if (vorel::IsDayDisabled(stored, day)) disabled.insert(day);
    EXPECT_EQ(disabled, (std::set<unsigned>{0, 3, 5}));
    // Byte 3 is not a weekday.
    const uint8_t fourth[4] = {1, 1, 1, 4};
    EXPECT_FALSE(vorel::IsDayDisabled(vorel::DisableDaysFromBytes(fourth), 4));
}

TEST(UpdateGate, OncePerUtcDayAndNeverOnDisabledDays) {
    const vorel::CalendarDate today{2026, 12, 8};
    const vorel::CalendarDate never{};
    EXPECT_TRUE(vorel::IsUpdateCheckDue(true, never, today, false));
    EXPECT_FALSE(vorel::IsUpdateCheckDue(true, today, today, false));
    EXPECT_TRUE(vorel::IsUpdateCheckDue(true, {2026, 12, 7}, today, false));
    EXPECT_TRUE(vorel::IsUpdateCheckDue(true, {2025, 12, 8}, today, false));
    EXPECT_TRUE(vorel::IsUpdateCheckDue(true, {2026, 11, 8}, today, false));
    EXPECT_FALSE(vorel::IsUpdateCheckDue(true, never, today, true));
    EXPECT_FALSE(vorel::IsUpdateCheckDue(false, never, today, false));
}

TEST(DumpPath, ReplacesTheExtensionOfTheFileName) {
    std::wstring out;
    ASSERT_TRUE(vorel::DumpPathForExecutable(L"C:\\ProgramData\\Vorel\\GameLogin\\TolvVorel.exe", &out));
    EXPECT_EQ(out, L"C:\\ProgramData\\Vorel\\GameLogin\\TolvVorel.dmp");
    ASSERT_TRUE(vorel::DumpPathForExecutable(L"C:\\a\\x.y.exe", &out));
    EXPECT_EQ(out, L"C:\\a\\x.y.dmp");
    out = L"unchanged";
    EXPECT_FALSE(vorel::DumpPathForExecutable(L"C:\\a\\noext", &out));
    EXPECT_FALSE(vorel::DumpPathForExecutable(L"C:\\dir.d\\noext", &out));
    EXPECT_EQ(out, L"unchanged");
}
