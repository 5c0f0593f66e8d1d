// The update configuration's values and what is decided from them: the announced key against
// the running build's, the downloaded file against the announcement, the game hall's file
// names, and the stored update days.
// Numbers: a digest (16 bytes), a file size, a percentage, the stored disabled days, a weekday,
// two dates, the generator values. Texts: the announced key as the configuration holds it (raw
// bytes), the local key, a version text, the downloaded file's first bytes (raw), the update
// server's host, a program folder, a temporary folder, a game hall's name.
#include "app/UpdateSchedule.h"
#include "net/GameHallDownload.h"
#include "net/UpdateRules.h"
#include "net/VersionKey.h"
#include "tests/fuzz/FuzzInput.h"

using namespace vorel;

namespace {

std::string Upper(std::string text) {
    for (auto& c : text)
        if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
    return text;
}

bool SameIgnoringCase(const std::string& a, const std::string& b) { return Upper(a) == Upper(b); }

void CheckKeys(const std::string& configText, const std::string& localKey) {
    const std::string announced = AnnouncedKeyFromConfig(configText);
    FUZZ_CHECK(announced.size() <= 63 && announced.find('\0') == std::string::npos);
    FUZZ_CHECK(configText.compare(0, announced.size(), announced) == 0);

    const bool offered = IsUpdateOffered(announced, localKey);
    FUZZ_CHECK(offered == IsUpdateOffered(localKey, announced));
    FUZZ_CHECK(offered ==
               (!announced.empty() && !localKey.empty() && !SameIgnoringCase(announced, localKey)));
    FUZZ_CHECK(!IsUpdateOffered(announced, Upper(announced)));
    FUZZ_CHECK(SameVersionKey(localKey, localKey));
}

void CheckDownload(const uint8_t digest[16], const std::wstring& version, uint64_t size,
                   const std::string& head, const std::string& configText) {
    const std::string key = VersionKeyFromDigest(digest, version);
    FUZZ_CHECK(key.size() == 28 + VersionDigits(version).size());
    for (size_t i = 0; i < 28; ++i)
        FUZZ_CHECK((key[i] >= '0' && key[i] <= '9') || (key[i] >= 'a' && key[i] <= 'f'));

    const std::string announced = AnnouncedKeyFromConfig(configText);
    const DownloadCheck check = CheckDownloadedBuild(size, head, key, announced);
    if (check == DownloadCheck::Ok) {
        FUZZ_CHECK(size > 0 && head.size() >= 2 && head.compare(0, 2, "MZ") == 0);
        FUZZ_CHECK(announced.size() >= 28 &&
                   SameIgnoringCase(announced.substr(0, 28), key.substr(0, 28)));
    }
    FUZZ_CHECK((check == DownloadCheck::Empty) == (size == 0));
    // The build that was announced, in any letter case and with any version digits, passes.
    const std::string announcedHere = Upper(VersionKeyFromDigest(digest, L"9.9"));
    FUZZ_CHECK(CheckDownloadedBuild(1 + size % 1000, "MZ" + head, key, announcedHere) ==
               DownloadCheck::Ok);
}

void CheckHallFiles(const std::wstring& host, const std::wstring& program, const std::wstring& temp,
                    const std::wstring& name, unsigned percent) {
    const GameHallFiles f = GameHallDownloadFiles(host, program, temp, name);
    FUZZ_CHECK(f.configUrl == ConfigUrl(host, name));
    FUZZ_CHECK(fuzz::StartsWith(f.configUrl, L"http://") && fuzz::EndsWith(f.configUrl, L".htm"));
    // A path is whole or empty, never cut into the name of another file.
    FUZZ_CHECK(f.configFile.empty() ? program.size() + name.size() + 4 >= 260
                                    : f.configFile == program + name + L".ini");
    FUZZ_CHECK(f.installerFile.empty() ? temp.size() + name.size() + 4 >= 260
                                       : f.installerFile == temp + name + L".exe");
    const std::wstring label = LoadedPercentText(percent);
    FUZZ_CHECK(label == L"已加载  " + std::to_wstring(percent) + L"%");
}

void CheckDays(uint32_t ms, uint32_t r1, uint32_t r2, uint32_t stored, unsigned weekday) {
    const uint32_t days = PickDisableDays(ms, r1, r2);
    // Never the stored value that disables nothing; three weekdays, the fourth byte zero.
    FUZZ_CHECK(days != 0 && (days >> 24) == 0);
    for (int i = 0; i < 3; ++i) {
        const unsigned day = (days >> (8 * i)) & 0xFF;
        FUZZ_CHECK(day < 7 && IsDayDisabled(days, day));
    }
    uint8_t bytes[4] = {uint8_t(stored), uint8_t(stored >> 8), uint8_t(stored >> 16),
                        uint8_t(stored >> 24)};
    FUZZ_CHECK(DisableDaysFromBytes(bytes) == stored);
    if (stored == 0) FUZZ_CHECK(!IsDayDisabled(stored, weekday));
}

void CheckGate(const CalendarDate& last, const CalendarDate& today, bool opened, bool disabled) {
    const bool due = IsUpdateCheckDue(opened, last, today, disabled);
    if (!opened || disabled) FUZZ_CHECK(!due);
    FUZZ_CHECK(!IsUpdateCheckDue(opened, today, today, disabled));
    if (due)
        FUZZ_CHECK(last.year != today.year || last.month != today.month || last.day != today.day);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::FuzzInput input(data, size);
    uint8_t digest[16];
    for (int i = 0; i < 16; i += 4) {
        const uint32_t n = input.Number();
        for (int k = 0; k < 4; ++k) digest[i + k] = uint8_t(n >> (8 * k));
    }
    const uint64_t fileSize = input.Number();
    const unsigned percent = unsigned(input.NumberIn(0, 100));
    const uint32_t stored = input.Number();
    const unsigned weekday = unsigned(input.NumberIn(0, 6));
    CalendarDate last, today;
    for (CalendarDate* d : {&last, &today}) {
        d->year = uint16_t(input.NumberIn(1601, 30827));
        d->month = uint16_t(input.NumberIn(1, 12));
        d->day = uint16_t(input.NumberIn(1, 31));
    }
    const uint32_t ms = input.Number(), r1 = input.Number(), r2 = input.Number();
    const uint32_t flags = input.Number();

    const std::string configText = input.Bytes();
    const std::string localKey = input.Bytes();
    const std::wstring version = input.Text();
    const std::string head = input.Bytes();
    const std::wstring host = input.Text();
    const std::wstring program = input.Text();
    const std::wstring temp = input.Text();
    const std::wstring name = input.Text();

    CheckKeys(configText, localKey);
    CheckDownload(digest, version, fileSize, head, configText);
    CheckHallFiles(host, program, temp, name, percent);
    CheckDays(ms % 1000, r1, r2, stored, weekday);
    CheckGate(last, today, flags & 1, flags & 2);
    return 0;
}
