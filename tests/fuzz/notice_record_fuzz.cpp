// The publisher's notice file, its last day of showing and the decision to show it.
// Numbers: two dates (year, month, day each). Texts: the fetched notice, the stored
// "PopInfo", the stored "PopEnable".
#include <cwchar>

#include "tests/fuzz/FuzzInput.h"
#include "web/GameHallCommand.h"
#include "web/NoticeRecord.h"

using namespace vorel;

namespace {

NoticeDate TakeDate(fuzz::FuzzInput& input) {
    NoticeDate d;
    d.year = int(input.NumberIn(1601, 30827));  // what the system's date can hold
    d.month = int(input.NumberIn(1, 12));
    d.day = int(input.NumberIn(1, 31));
    return d;
}

bool Later(const NoticeDate& a, const NoticeDate& b) {
    if (a.year != b.year) return a.year > b.year;
    if (a.month != b.month) return a.month > b.month;
    return a.day > b.day;
}

std::wstring Format(const NoticeDate& d) {
    wchar_t text[32];
    std::swprintf(text, 32, L"%04d-%02d-%02d", d.year, d.month, d.day);
    return text;
}

bool NoBarOrNul(const std::wstring& field) {
    return field.find(L'|') == std::wstring::npos && field.find(L'\0') == std::wstring::npos;
}

// A field is what fits its buffer, cut without splitting a surrogate pair.
void CheckFitted(const std::wstring& field, size_t capacity) {
    FUZZ_CHECK(field.size() <= capacity - 1 && NoBarOrNul(field));
}

void CheckRecord(const std::wstring& text) {
    NoticeRecord r;
    if (!ParseNoticeRecord(text, &r)) {
        size_t bars = 0;
        for (wchar_t c : text.substr(0, text.find(L'\0'))) bars += c == L'|';
        FUZZ_CHECK(bars < 6);
        return;
    }
    CheckFitted(r.id, kNoticeIdCapacity);
    CheckFitted(r.lastDay, kNoticeDateCapacity);
    CheckFitted(r.title, kNoticeTitleCapacity);
    CheckFitted(r.link, kNoticeAddressCapacity);
    CheckFitted(r.text, kNoticeTextCapacity);
    CheckFitted(r.picture, kNoticeAddressCapacity);
    for (const std::wstring* f : {&r.id, &r.lastDay, &r.title, &r.link, &r.text, &r.picture}) {
        FUZZ_CHECK(text.find(*f) != std::wstring::npos);
        FUZZ_CHECK(f->empty() || !fuzz::IsHighSurrogate(f->back()) ||
                   text.find(*f + L"|") != std::wstring::npos);
    }

    // A record made of parsed fields parses to itself.
    const std::wstring joined = r.id + L"|" + r.lastDay + L"|" + r.title + L"|" + r.link + L"|" +
                                r.text + L"|" + r.picture + L"|" + std::to_wstring(r.showings);
    NoticeRecord again;
    FUZZ_CHECK(ParseNoticeRecord(joined, &again));
    FUZZ_CHECK(again.id == r.id && again.lastDay == r.lastDay && again.title == r.title &&
               again.link == r.link && again.text == r.text && again.picture == r.picture &&
               again.showings == r.showings);

    if (IsOpenableNoticeLink(r.link)) {
        FUZZ_CHECK(IsWebAddress(r.link));
        for (wchar_t c : r.link) FUZZ_CHECK(c > L' ' && c != L'"' && c != 0x7F);
    }
}

void CheckDates(const std::wstring& lastDay, const NoticeDate& a, const NoticeDate& b) {
    // The program's own format: shown up to and including that day.
    FUZZ_CHECK(IsNoticeExpired(Format(a), b) == Later(b, a));
    // Any last day: once expired, it stays expired on every later day.
    const NoticeDate& early = Later(a, b) ? b : a;
    const NoticeDate& late = Later(a, b) ? a : b;
    if (IsNoticeExpired(lastDay, early)) FUZZ_CHECK(IsNoticeExpired(lastDay, late));
}

void CheckDecision(const std::wstring& fetched, const std::wstring& info,
                   const std::wstring& enable, const NoticeDate& today) {
    NoticeRecord r;
    r.showings = -12345;
    const NoticeVerdict v = DecideNotice(fetched, info, enable, today, &r);
    FUZZ_CHECK((v == NoticeVerdict::NoText) == fetched.empty());
    if (v == NoticeVerdict::ClosedBefore)
        FUZZ_CHECK(enable == L"0" && !info.empty() && fetched.find(info) != std::wstring::npos);
    NoticeRecord parsed;
    const bool wellFormed = ParseNoticeRecord(fetched, &parsed);
    if (v == NoticeVerdict::Malformed) FUZZ_CHECK(!wellFormed);
    if (v == NoticeVerdict::Expired) FUZZ_CHECK(IsNoticeExpired(parsed.lastDay, today));
    if (v != NoticeVerdict::Show) {
        FUZZ_CHECK(r.showings == -12345);  // untouched
        return;
    }
    FUZZ_CHECK(wellFormed && !IsNoticeExpired(r.lastDay, today));
    FUZZ_CHECK(r.id == parsed.id && r.text == parsed.text && r.showings == parsed.showings);
    // A new notice is always shown when it is well formed and in date.
    if (info.empty() || fetched.find(info) == std::wstring::npos) return;
    FUZZ_CHECK(enable != L"0");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::FuzzInput input(data, size);
    const NoticeDate a = TakeDate(input);
    const NoticeDate b = TakeDate(input);
    const std::wstring fetched = input.Text();
    const std::wstring info = input.Text();
    const std::wstring enable = input.Text();

    CheckRecord(fetched);
    NoticeRecord r;
    if (ParseNoticeRecord(fetched, &r)) CheckDates(r.lastDay, a, b);
    CheckDates(fetched, a, b);
    CheckDecision(fetched, info, enable, a);
    return 0;
}
