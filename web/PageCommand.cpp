#include "web/PageCommand.h"

#include <cstdint>

namespace vorel {

namespace {

const wchar_t kScheme[] = L"app:";
const wchar_t kServerMark[] = L"服-";  // "服" and "-"
const wchar_t kBookTitleEnd = L'\x300B';
constexpr size_t kServerNameKept = 4;

bool StartsWith(const std::wstring& text, const wchar_t* prefix) {
    return text.compare(0, std::char_traits<wchar_t>::length(prefix), prefix) == 0;
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool IsEscapeAt(const std::string& text, size_t i) {
    return i + 2 < text.size() && text[i] == '%' && HexValue(text[i + 1]) >= 0 &&
           HexValue(text[i + 2]) >= 0;
}

// Where to cut an over-long field: at the limit, or before an escape the limit would split.
size_t CutPosition(const std::string& text) {
    size_t cut = kAccountFieldMaxBytes;
    for (size_t back = 1; back <= 2 && back <= cut; ++back) {
        const size_t start = cut - back;
        if (text[start] == '%' && IsEscapeAt(text, start)) return start;
    }
    return cut;
}

// Percent escapes with two hex digits become their byte; anything else stays as it is.
std::string DecodePercent(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (IsEscapeAt(text, i)) {
            out.push_back(static_cast<char>(HexValue(text[i + 1]) * 16 + HexValue(text[i + 2])));
            i += 2;
        } else {
            out.push_back(text[i]);
        }
    }
    return out;
}

// Length of the UTF-8 sequence that this lead byte starts, 0 for a byte that cannot lead.
size_t SequenceLength(uint8_t lead) {
    if (lead < 0x80) return 1;
    if (lead >= 0xC2 && lead <= 0xDF) return 2;
    if (lead >= 0xE0 && lead <= 0xEF) return 3;
    if (lead >= 0xF0 && lead <= 0xF4) return 4;
    return 0;
}

void AppendUtf16(std::wstring& out, uint32_t cp) {
    if (cp < 0x10000) {
        out.push_back(static_cast<wchar_t>(cp));
    } else {
        cp -= 0x10000;
        out.push_back(static_cast<wchar_t>(0xD800 + (cp >> 10)));
        out.push_back(static_cast<wchar_t>(0xDC00 + (cp & 0x3FF)));
    }
}

// UTF-8 to UTF-16 code units. dropCutTail: an incomplete sequence at the very end is the
// result of our own cut and is left out rather than shown as a replacement character.
std::wstring DecodeUtf8(const std::string& bytes, bool dropCutTail) {
    std::wstring out;
    size_t i = 0;
    while (i < bytes.size()) {
        const uint8_t lead = static_cast<uint8_t>(bytes[i]);
        const size_t length = SequenceLength(lead);
        if (length == 0) {
            out.push_back(L'\xFFFD');
            ++i;
            continue;
        }
        if (length == 1) {
            out.push_back(static_cast<wchar_t>(lead));
            ++i;
            continue;
        }
        uint32_t cp = lead & (0xFF >> (length + 1));
        size_t taken = 1;
        bool valid = true;
        for (; taken < length; ++taken) {
            if (i + taken >= bytes.size()) break;
            const uint8_t next = static_cast<uint8_t>(bytes[i + taken]);
            // Overlong forms, surrogates and values past U+10FFFF are refused at the second
            // byte, as the standard's "maximal subpart" rule asks.
            uint8_t low = 0x80, high = 0xBF;
            if (taken == 1) {
                if (lead == 0xE0) low = 0xA0;
                if (lead == 0xED) high = 0x9F;
                if (lead == 0xF0) low = 0x90;
                if (lead == 0xF4) high = 0x8F;
            }
            if (next < low || next > high) {
                valid = false;
                break;
            }
            cp = (cp << 6) | (next & 0x3F);
        }
        if (valid && taken == length) {
            AppendUtf16(out, cp);
            i += length;
            continue;
        }
        if (valid && i + taken >= bytes.size() && dropCutTail) break;
        out.push_back(L'\xFFFD');
        i += taken;
    }
    return out;
}

}  // namespace

SchemeFilter FilterCommandScheme(const std::wstring& url) {
    if (StartsWith(url, kScheme)) return SchemeFilter::Cancel;
    if (StartsWith(url, L"javascript")) return SchemeFilter::Allow;
    return SchemeFilter::Leave;
}

PageCommand ParsePageCommand(const std::wstring& url) {
    PageCommand command;
    if (!StartsWith(url, kScheme)) return command;
    const std::wstring word = url.size() > 6 ? url.substr(6, 8) : std::wstring();
    if (word == L"loadgame") {
        command.kind = PageCommandKind::LoadGame;
        if (url.size() > 15) {
            const size_t bar = url.find(L'|', 15);
            if (bar != std::wstring::npos) {
                command.accountField = url.substr(15, bar - 15);
                command.gameAddress = url.substr(bar + 1);
            }
        }
    } else if (word == L"exitgame") {
        command.kind = PageCommandKind::ExitGame;
    } else if (word == L"minimize") {
        command.kind = PageCommandKind::Minimize;
    } else {
        command.kind = PageCommandKind::Unknown;
    }
    return command;
}

bool NeedsUnescape(const std::wstring& accountField) {
    return accountField.find(L'%') != std::wstring::npos;
}

std::wstring UnescapeAccountField(const std::string& ansiBytes) {
    const bool cut = ansiBytes.size() > kAccountFieldMaxBytes;
    const std::string kept = cut ? ansiBytes.substr(0, CutPosition(ansiBytes)) : ansiBytes;
    return DecodeUtf8(DecodePercent(kept), cut);
}

AccountCaption NormaliseAccountField(const std::wstring& field) {
    AccountCaption c;
    const size_t mark = field.find(kServerMark);
    // Without the mark the name starts at position 1, as if the mark stood at -1.
    const size_t nameStart = mark == std::wstring::npos ? 1 : mark + 2;
    if (mark != std::wstring::npos) c.server = field.substr(0, mark);
    const size_t dash =
        nameStart <= field.size() ? field.find(L'-', nameStart) : std::wstring::npos;
    if (dash != std::wstring::npos) {
        c.serverName = field.substr(nameStart, dash - nameStart);
        c.account = field.substr(dash + 1);
    } else {
        c.account = field;
    }

    std::wstring server;
    for (wchar_t ch : c.server) {
        if (ch != L'S') server.push_back(ch);
    }
    c.server = server;
    const size_t end = c.serverName.find(kBookTitleEnd);
    if (end != std::wstring::npos) c.serverName = c.serverName.substr(end + 1, kServerNameKept);

    c.text = c.server + kServerMark + c.serverName + L"-" + c.account;
    return c;
}

size_t CopyDataBytes(const std::wstring& text) {
    size_t units = 0;
    for (wchar_t ch : text) units += (static_cast<uint32_t>(ch) >> 16) != 0 ? 2 : 1;
    return (units + 1) * 2;
}

std::wstring RefusalMessage(const AccountCaption& caption) {
    return L"账号 " + caption.account + L" 已在 " + caption.server +
           L"服 登录，同一账号不能在一服重复登录";
}

MinimizeAction DecideMinimize(int tabNumber, bool uacEnabled) {
    if (tabNumber > 0) return MinimizeAction::EndLogin;
    return uacEnabled ? MinimizeAction::MinimizeLoginWindow : MinimizeAction::MinimizeMainWindow;
}

}  // namespace vorel
