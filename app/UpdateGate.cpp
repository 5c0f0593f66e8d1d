#include "app/UpdateGate.h"

#include <cstdlib>
#include <vector>

#include "app/UpdateSchedule.h"
#include "fw/Raii.h"

namespace vorel {

const wchar_t kProductRegKey[] = L"Software\\Vorel\\GameLogin\\TolvVorel";

namespace {

// The key is created when absent, and closed again after every access.
fw::ScopedRegKey OpenProductKey(REGSAM access) {
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, kProductRegKey, 0, nullptr, REG_OPTION_NON_VOLATILE,
                        access, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return fw::ScopedRegKey();
    return fw::ScopedRegKey(key);
}

// Reads a binary value into a zeroed buffer; a missing or short value leaves zeros.
void ReadBinaryValue(HKEY key, const wchar_t* name, void* data, DWORD size) {
    ZeroMemory(data, size);
    std::vector<BYTE> buffer(size);
    DWORD got = size;
    DWORD type = 0;
    if (RegQueryValueExW(key, name, nullptr, &type, buffer.data(), &got) == ERROR_SUCCESS &&
        type == REG_BINARY)
        CopyMemory(data, buffer.data(), got < size ? got : size);
}

}  // namespace

bool ReadUpdateTime(SYSTEMTIME* time) {
    ZeroMemory(time, sizeof(*time));
    fw::ScopedRegKey key = OpenProductKey(KEY_READ);
    if (!key) return false;
    ReadBinaryValue(key.get(), L"UpdTime", time, sizeof(*time));
    return true;
}

void WriteUpdateTime() {
    fw::ScopedRegKey key = OpenProductKey(KEY_WRITE);
    if (!key) return;
    SYSTEMTIME now;
    GetSystemTime(&now);
    RegSetValueExW(key.get(), L"UpdTime", 0, REG_BINARY, reinterpret_cast<const BYTE*>(&now),
                   sizeof(now));
}

bool IsUpdateDisabledToday(unsigned dayOfWeek) {
    fw::ScopedRegKey key = OpenProductKey(KEY_READ);
    if (!key) return false;
    uint8_t bytes[4];
    ReadBinaryValue(key.get(), L"DisableDays", bytes, sizeof(bytes));
    return IsDayDisabled(DisableDaysFromBytes(bytes), dayOfWeek);
}

bool IsDailyUpdateCheckDue() {
    SYSTEMTIME last;
    const bool opened = ReadUpdateTime(&last);
    SYSTEMTIME now;
    GetSystemTime(&now);
    return IsUpdateCheckDue(opened, {last.wYear, last.wMonth, last.wDay},
                            {now.wYear, now.wMonth, now.wDay}, IsUpdateDisabledToday(now.wDayOfWeek));
}

void WriteDisableDays() {
    fw::ScopedRegKey key = OpenProductKey(KEY_WRITE);
    if (!key) return;
    SYSTEMTIME now;
    GetSystemTime(&now);
    const uint32_t r1 = static_cast<uint32_t>(std::rand());
    const uint32_t r2 = static_cast<uint32_t>(std::rand());
    const uint32_t days = PickDisableDays(now.wMilliseconds, r1, r2);
    const BYTE bytes[4] = {BYTE(days), BYTE(days >> 8), BYTE(days >> 16), BYTE(days >> 24)};
    RegSetValueExW(key.get(), L"DisableDays", 0, REG_BINARY, bytes, sizeof(bytes));
}

}  // namespace vorel
