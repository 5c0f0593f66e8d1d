#include <gtest/gtest.h>

#include "app/SettingsStore.h"
#include "app/SystemSettings.h"
#include "app/UpdateGate.h"
#include "support/WinTestSupport.h"

using namespace testsupport;

namespace {
const wchar_t kKey[] = L"Software\\Vorel\\GameLogin\\TolvVorel";

class SettingsStore : public ::testing::Test {
protected:
    void SetUp() override {
        DeleteRegTree(HKEY_LOCAL_MACHINE, kKey);
        DeleteFileW(vorel::CounterFilePath().c_str());
        DeleteFileW(vorel::BesideExePath(L"Statistic.ini").c_str());
    }
    void TearDown() override { SetUp(); }

    void StoreBinary(const wchar_t* name, const void* data, DWORD size) {
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, kKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key,
                                  nullptr),
                  ERROR_SUCCESS);
        RegSetValueExW(key, name, 0, REG_BINARY, static_cast<const BYTE*>(data), size);
        RegCloseKey(key);
    }
};
}  // namespace

TEST_F(SettingsStore, PathsPointAtTheProductFolderAndBesideTheExecutable) {
    EXPECT_EQ(vorel::ProductFolderPath(), CommonAppData() + L"\\Vorel\\GameLogin");
    EXPECT_EQ(vorel::CounterFilePath(), ProductFolder() + L"\\Statistic.ini");
    EXPECT_EQ(vorel::BesideExePath(L"x.ini"), BuildDir() + L"\\x.ini");
}

TEST_F(SettingsStore, CountersStartAtOneAndGarbageRestartsThem) {
    EXPECT_EQ(vorel::IncrementCounter(L"Inst"), 1u);
    EXPECT_EQ(vorel::IncrementCounter(L"Inst"), 2u);
    EXPECT_EQ(ReadIniValue(vorel::CounterFilePath(), L"TolvVorel", L"Inst"), L"2");
    WriteIniValue(vorel::CounterFilePath(), L"TolvVorel", L"Game", L"abc");
    EXPECT_EQ(vorel::IncrementCounter(L"Game"), 1u);
    EXPECT_EQ(ReadIniValue(vorel::CounterFilePath(), L"TolvVorel", L"Game"), L"1");
    WriteIniValue(vorel::CounterFilePath(), L"TolvVorel", L"Vorel", L"4294967295");
    // Saturating conversion of the text, then unsigned arithmetic and "%u".
    EXPECT_EQ(vorel::IncrementCounter(L"Vorel"), 2147483648u);
    EXPECT_EQ(ReadIniValue(vorel::CounterFilePath(), L"TolvVorel", L"Vorel"), L"2147483648");
}

TEST_F(SettingsStore, SettingsAreReadBesideTheExecutableWhileCountersGoToTheProductFolder) {
    WriteIniValue(vorel::BesideExePath(L"Statistic.ini"), L"TolvVorel", L"ShortKey", L"2,65");
    WriteIniValue(vorel::CounterFilePath(), L"TolvVorel", L"ShortKey", L"4,66");
    EXPECT_EQ(vorel::ReadSetting(L"ShortKey", L"0,121", 32), L"2,65");
    EXPECT_EQ(vorel::ReadSetting(L"SndKey", L"2,81", 32), L"2,81");
    vorel::IncrementCounter(L"Game");
    EXPECT_EQ(ReadIniValue(vorel::BesideExePath(L"Statistic.ini"), L"TolvVorel", L"Game"),
              L"<missing>");
    EXPECT_EQ(ReadIniValue(vorel::CounterFilePath(), L"TolvVorel", L"Game"), L"1");
    // Values longer than the buffer come back cut, never overrunning it.
    WriteIniValue(vorel::BesideExePath(L"Statistic.ini"), L"TolvVorel", L"AltWndKey",
                  std::wstring(100, L'9').c_str());
    EXPECT_EQ(vorel::ReadSetting(L"AltWndKey", L"2,9", 32), std::wstring(31, L'9'));
}

TEST_F(SettingsStore, UpdateTimeOfTodayClosesTheDailyGate) {
    // No key, no time, no disabled days: the check is due.
    EXPECT_TRUE(vorel::IsDailyUpdateCheckDue());
    SYSTEMTIME stored;
    ASSERT_TRUE(vorel::ReadUpdateTime(&stored));
    EXPECT_EQ(stored.wYear, 0);
    vorel::WriteUpdateTime();
    EXPECT_EQ(ReadRegBinary(HKEY_LOCAL_MACHINE, kKey, L"UpdTime").size(), 16u);
    ASSERT_TRUE(vorel::ReadUpdateTime(&stored));
    SYSTEMTIME now;
    GetSystemTime(&now);
    EXPECT_EQ(stored.wYear, now.wYear);
    EXPECT_EQ(stored.wDay, now.wDay);
    EXPECT_FALSE(vorel::IsDailyUpdateCheckDue());
    // Yesterday's time opens it again, unless today is disabled.
    FILETIME ft;
    SystemTimeToFileTime(&now, &ft);
    ULARGE_INTEGER v{{ft.dwLowDateTime, ft.dwHighDateTime}};
    v.QuadPart -= 24ULL * 3600 * 10000000;
    ft = {v.LowPart, v.HighPart};
    SYSTEMTIME yesterday;
    FileTimeToSystemTime(&ft, &yesterday);
    StoreBinary(L"UpdTime", &yesterday, sizeof(yesterday));
    const DWORD none = 0;
    StoreBinary(L"DisableDays", &none, sizeof(none));
    EXPECT_TRUE(vorel::IsDailyUpdateCheckDue());
    const BYTE today[4] = {BYTE(now.wDayOfWeek), BYTE(now.wDayOfWeek), BYTE(now.wDayOfWeek), 0};
    StoreBinary(L"DisableDays", today, sizeof(today));
    EXPECT_TRUE(vorel::IsUpdateDisabledToday(now.wDayOfWeek));
    EXPECT_FALSE(vorel::IsDailyUpdateCheckDue());
}

TEST_F(SettingsStore, DisableDaysOfFourZeroBytesDisableNoDay) {
    const BYTE zeros[4] = {0, 0, 0, 0};
    StoreBinary(L"DisableDays", zeros, sizeof(zeros));
    for (unsigned day = 0; day < 7; ++day) EXPECT_FALSE(vorel::IsUpdateDisabledToday(day));
}

TEST_F(SettingsStore, WrittenDisableDaysAreThreeWeekdaysInFourBytes) {
    vorel::WriteDisableDays();
    std::vector<BYTE> days = ReadRegBinary(HKEY_LOCAL_MACHINE, kKey, L"DisableDays");
    ASSERT_EQ(days.size(), 4u);
    EXPECT_LT(days[0], 7);
    EXPECT_LT(days[1], 7);
    EXPECT_LT(days[2], 7);
    EXPECT_EQ(days[3], 0);
    EXPECT_NE(days[1], days[0]);
    EXPECT_NE(days[1], days[2]);
    EXPECT_TRUE(vorel::IsUpdateDisabledToday(days[1]));
}

TEST_F(SettingsStore, BrowserCacheLimitIsWrittenOnlyIntoAnExistingKey) {
    const wchar_t kCache[] =
        L"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\5.0\\Cache\\Content";
    DeleteRegTree(HKEY_CURRENT_USER, kCache);
    EXPECT_FALSE(vorel::SetBrowserCacheLimit());
    HKEY key = nullptr;
    EXPECT_NE(RegOpenKeyExW(HKEY_CURRENT_USER, kCache, 0, KEY_READ, &key), ERROR_SUCCESS);
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, kCache, 0, nullptr, 0, KEY_WRITE, nullptr, &key,
                              nullptr),
              ERROR_SUCCESS);
    RegCloseKey(key);
    EXPECT_TRUE(vorel::SetBrowserCacheLimit());
    std::vector<BYTE> limit = ReadRegBinary(HKEY_CURRENT_USER, kCache, L"CacheLimit");
    ASSERT_EQ(limit.size(), 4u);
    EXPECT_EQ(*reinterpret_cast<const DWORD*>(limit.data()), 1048576u);
}
