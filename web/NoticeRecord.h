// The publisher's popup notice: its record of seven "|"-separated fields, the last day of
// showing, the decision whether to show it, and which links may be opened. Platform-free.
#pragma once
#include <string>

namespace vorel {

// Field capacities of the record, terminator included.
constexpr size_t kNoticeIdCapacity = 32;
constexpr size_t kNoticeDateCapacity = 32;
constexpr size_t kNoticeTitleCapacity = 64;
constexpr size_t kNoticeAddressCapacity = 512;  // link and picture
constexpr size_t kNoticeTextCapacity = 512;
// The fetched text and the stored "PopInfo" are held in 1024 characters.
constexpr size_t kNoticeInfoCapacity = 1024;

struct NoticeRecord {
    std::wstring id;       // field 0
    std::wstring lastDay;  // field 1: year-month-day
    std::wstring title;    // field 2
    std::wstring link;     // field 3; empty: no link
    std::wstring text;     // field 4
    std::wstring picture;  // field 5; empty: no picture
    int showings = 0;      // field 6: everything after the sixth "|"
};

// Splits the record. False when one of the six separators is missing. Fields 0 to 5 end at
// the next "|". A field longer than its capacity keeps what fits, except the two addresses:
// a cut address names another resource, so an address that does not fit counts as empty.
bool ParseNoticeRecord(const std::wstring& text, NoticeRecord* record);

struct NoticeDate {
    int year = 0;
    int month = 0;
    int day = 0;
};

// The first `count` characters of text (all of it when shorter). A cut never splits a UTF-16
// surrogate pair: its lone first half is dropped as well.
std::wstring CutNoticeText(const std::wstring& text, size_t count);

// Whether today is later than the last day of showing. The last day is cut at its first
// blank and split at its first two "-"; each part is a decimal number. Without "-" it is
// earlier than any date; without a second "-" it is earlier than any date of its year.
bool IsNoticeExpired(const std::wstring& lastDay, const NoticeDate& today);

enum class NoticeVerdict {
    Show,          // new or not yet closed, well formed and in date: store it and show it
    NoText,        // nothing was fetched
    ClosedBefore,  // the stored notice is the fetched one and the player closed it
    Malformed,     // a separator is missing
    Expired,       // today is after its last day
};

// The decision in its order: a text; a new notice, or a stored one whose "PopEnable" is not
// "0"; the fields; the date. storedInfo and storedEnable are the settings as read ("PopInfo"
// is the same notice when the fetched text contains it). On Show the record is filled and the
// caller stores the fetched text as "PopInfo" and "1" as "PopEnable".
NoticeVerdict DecideNotice(const std::wstring& fetched, const std::wstring& storedInfo,
                           const std::wstring& storedEnable, const NoticeDate& today,
                           NoticeRecord* record);

// The link comes from the network and goes to the shell's "open" verb, which would just as
// well start a local program: only a web address is opened. Anything else (a path, "file:",
// a script scheme, an address with blanks, control characters or quotes that could reach a
// browser's command line as further arguments) behaves as no link.
bool IsOpenableNoticeLink(const std::wstring& link);

}  // namespace vorel
