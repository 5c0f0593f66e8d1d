#include "web/NoticeRecord.h"

#include "app/TextNumber.h"
#include "web/GameHallCommand.h"

namespace vorel {

namespace {

constexpr int kSeparators = 6;

bool IsHighSurrogate(wchar_t c) { return c >= 0xD800 && c <= 0xDBFF; }

// What a buffer of `capacity` characters keeps of a field.
std::wstring Fit(const std::wstring& field, size_t capacity) {
    return CutNoticeText(field, capacity - 1);
}

std::wstring FitAddress(const std::wstring& field) {
    return field.size() < kNoticeAddressCapacity ? field : std::wstring();
}

struct DateParts {
    int count = 0;  // 1 without "-", 2 without a second "-", else 3
    int year = 0, month = 0, day = 0;
};

DateParts SplitDate(const std::wstring& date) {
    const std::wstring d = date.substr(0, date.find(L' '));
    DateParts parts;
    const size_t first = d.find(L'-');
    parts.year = WideToInt(d.substr(0, first));
    parts.count = 1;
    if (first == std::wstring::npos) return parts;
    const size_t second = d.find(L'-', first + 1);
    parts.month = WideToInt(d.substr(first + 1, second - (first + 1)));
    parts.count = 2;
    if (second == std::wstring::npos) return parts;
    parts.day = WideToInt(d.substr(second + 1));
    parts.count = 3;
    return parts;
}

}  // namespace

std::wstring CutNoticeText(const std::wstring& text, size_t count) {
    if (text.size() <= count) return text;
    size_t keep = count;
    if (keep > 0 && IsHighSurrogate(text[keep - 1])) --keep;
    return text.substr(0, keep);
}

bool ParseNoticeRecord(const std::wstring& text, NoticeRecord* record) {
    // A buffer ends at an embedded terminator; so does the record.
    const std::wstring t = text.substr(0, text.find(L'\0'));
    std::wstring fields[kSeparators];
    size_t start = 0;
    for (int i = 0; i < kSeparators; ++i) {
        const size_t bar = t.find(L'|', start);
        if (bar == std::wstring::npos) return false;
        fields[i] = t.substr(start, bar - start);
        start = bar + 1;
    }
    record->id = Fit(fields[0], kNoticeIdCapacity);
    record->lastDay = Fit(fields[1], kNoticeDateCapacity);
    record->title = Fit(fields[2], kNoticeTitleCapacity);
    record->link = FitAddress(fields[3]);
    record->text = Fit(fields[4], kNoticeTextCapacity);
    record->picture = FitAddress(fields[5]);
    record->showings = WideToInt(t.substr(start));
    return true;
}

bool IsNoticeExpired(const std::wstring& lastDay, const NoticeDate& today) {
    const DateParts last = SplitDate(lastDay);
    if (last.count == 1) return true;
    if (last.year != today.year) return today.year > last.year;
    if (last.count == 2) return true;
    if (last.month != today.month) return today.month > last.month;
    return today.day > last.day;
}

NoticeVerdict DecideNotice(const std::wstring& fetched, const std::wstring& storedInfo,
                           const std::wstring& storedEnable, const NoticeDate& today,
                           NoticeRecord* record) {
    if (fetched.empty()) return NoticeVerdict::NoText;
    const bool sameAsStored = !storedInfo.empty() && fetched.find(storedInfo) != std::wstring::npos;
    if (sameAsStored && storedEnable == L"0") return NoticeVerdict::ClosedBefore;
    NoticeRecord parsed;
    if (!ParseNoticeRecord(fetched, &parsed)) return NoticeVerdict::Malformed;
    if (IsNoticeExpired(parsed.lastDay, today)) return NoticeVerdict::Expired;
    *record = parsed;
    return NoticeVerdict::Show;
}

bool IsOpenableNoticeLink(const std::wstring& link) {
    if (!IsWebAddress(link)) return false;
    for (wchar_t c : link) {
        if (c <= L' ' || c == L'"' || c == 0x7F) return false;
    }
    return true;
}

}  // namespace vorel
