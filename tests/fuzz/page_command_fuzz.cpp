// The login page's "app:" navigations: the command, the account field's escapes and the
// caption sent to the main window.
// Texts: the navigated address; then the account field's bytes as the ANSI conversion hands
// them to the unescaping (raw, not decoded).
#include "tests/fuzz/FuzzInput.h"
#include "web/PageCommand.h"

using namespace vorel;

namespace {

std::string EncodeUtf8(const std::wstring& units) {
    std::string out;
    for (size_t i = 0; i < units.size(); ++i) {
        uint32_t cp = uint32_t(units[i]);
        if (fuzz::IsHighSurrogate(units[i]) && i + 1 < units.size() &&
            fuzz::IsLowSurrogate(units[i + 1])) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (uint32_t(units[i + 1]) - 0xDC00);
            ++i;
        }
        if (cp < 0x80) {
            out.push_back(char(cp));
        } else if (cp < 0x800) {
            out.push_back(char(0xC0 | (cp >> 6)));
            out.push_back(char(0x80 | (cp & 0x3F)));
        } else if (cp < 0x10000) {
            out.push_back(char(0xE0 | (cp >> 12)));
            out.push_back(char(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(char(0x80 | (cp & 0x3F)));
        } else {
            out.push_back(char(0xF0 | (cp >> 18)));
            out.push_back(char(0x80 | ((cp >> 12) & 0x3F)));
            out.push_back(char(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(char(0x80 | (cp & 0x3F)));
        }
    }
    return out;
}

// Strict UTF-8: no overlong forms, surrogates or values past U+10FFFF.
bool IsValidUtf8(const std::string& bytes) {
    size_t i = 0;
    while (i < bytes.size()) {
        const uint8_t lead = uint8_t(bytes[i]);
        size_t length;
        uint32_t cp;
        if (lead < 0x80) {
            ++i;
            continue;
        } else if ((lead & 0xE0) == 0xC0) {
            length = 2, cp = lead & 0x1F;
        } else if ((lead & 0xF0) == 0xE0) {
            length = 3, cp = lead & 0x0F;
        } else if ((lead & 0xF8) == 0xF0) {
            length = 4, cp = lead & 0x07;
        } else {
            return false;
        }
        if (i + length > bytes.size()) return false;
        for (size_t k = 1; k < length; ++k) {
            if ((uint8_t(bytes[i + k]) & 0xC0) != 0x80) return false;
            cp = (cp << 6) | (uint8_t(bytes[i + k]) & 0x3F);
        }
        const uint32_t smallest = length == 2 ? 0x80 : length == 3 ? 0x800 : 0x10000;
        if (cp < smallest || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
        i += length;
    }
    return true;
}

bool IsCharacterBoundary(const std::string& bytes, size_t at) {
    return at >= bytes.size() || (uint8_t(bytes[at]) & 0xC0) != 0x80;
}

std::string PercentEncodeAll(const std::string& bytes) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (unsigned char b : bytes) {
        out.push_back('%');
        out.push_back(kHex[b >> 4]);
        out.push_back(kHex[b & 15]);
    }
    return out;
}

void CheckCommand(const std::wstring& url) {
    const PageCommand c = ParsePageCommand(url);
    const bool isApp = fuzz::StartsWith(url, L"app:");
    FUZZ_CHECK((c.kind != PageCommandKind::NotCommand) == isApp);
    FUZZ_CHECK((FilterCommandScheme(url) == SchemeFilter::Cancel) == isApp);
    if (c.kind != PageCommandKind::LoadGame) {
        FUZZ_CHECK(c.accountField.empty() && c.gameAddress.empty());
        return;
    }
    FUZZ_CHECK(url.compare(6, 8, L"loadgame") == 0);
    // The field and the game's address are the text after position 15, split at its first "|".
    FUZZ_CHECK(c.accountField.find(L'|') == std::wstring::npos);
    if (url.size() > 15 && url.find(L'|', 15) != std::wstring::npos)
        FUZZ_CHECK(url.substr(15) == c.accountField + L"|" + c.gameAddress);
    else
        FUZZ_CHECK(c.accountField.empty() && c.gameAddress.empty());
}

void CheckCaption(const std::wstring& field) {
    const AccountCaption c = NormaliseAccountField(field);
    FUZZ_CHECK(c.text == c.server + L"服-" + c.serverName + L"-" + c.account);
    FUZZ_CHECK(c.server.find(L'S') == std::wstring::npos);
    FUZZ_CHECK(fuzz::EndsWith(field, c.account));
    if (c.serverName.size() > 4) FUZZ_CHECK(c.serverName.find(L'\x300B') == std::wstring::npos);
    // The copy-data size is the caption's UTF-16 with its NUL.
    FUZZ_CHECK(CopyDataBytes(c.text) == (c.text.size() + 1) * 2);
    const std::wstring refusal = RefusalMessage(c);
    FUZZ_CHECK(refusal.find(c.account) != std::wstring::npos);
}

void CheckUnescape(const std::string& bytes) {
    const std::wstring out = UnescapeAccountField(bytes);
    FUZZ_CHECK(fuzz::IsWellFormedUtf16(out));
    // Every code unit comes from at least one of the kept bytes.
    FUZZ_CHECK(out.size() <= kAccountFieldMaxBytes && out.size() <= bytes.size());
    if (bytes.find('%') != std::string::npos || !IsValidUtf8(bytes)) return;

    // Valid UTF-8 without escapes comes back as it was, or cut at a character boundary
    // within the last three bytes before the limit.
    const std::string back = EncodeUtf8(out);
    if (bytes.size() <= kAccountFieldMaxBytes) {
        FUZZ_CHECK(back == bytes);
    } else {
        FUZZ_CHECK(bytes.compare(0, back.size(), back) == 0);
        FUZZ_CHECK(back.size() + 3 >= kAccountFieldMaxBytes &&
                   IsCharacterBoundary(bytes, back.size()));
    }

    // The same bytes fully escaped: an escape is never split, so the cut falls at 85 bytes.
    const std::string escaped = PercentEncodeAll(bytes);
    const std::string unescaped = EncodeUtf8(UnescapeAccountField(escaped));
    const size_t whole = kAccountFieldMaxBytes / 3;
    if (escaped.size() <= kAccountFieldMaxBytes) {
        FUZZ_CHECK(unescaped == bytes);
    } else {
        FUZZ_CHECK(bytes.compare(0, unescaped.size(), unescaped) == 0);
        FUZZ_CHECK(unescaped.size() + 3 >= whole && unescaped.size() <= whole &&
                   IsCharacterBoundary(bytes, unescaped.size()));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::FuzzInput input(data, size);
    const std::wstring url = input.Text();
    const std::string fieldBytes = input.Bytes();

    CheckCommand(url);
    const PageCommand c = ParsePageCommand(url);
    CheckCaption(c.accountField);
    CheckCaption(url);
    CheckUnescape(fieldBytes);
    return 0;
}
