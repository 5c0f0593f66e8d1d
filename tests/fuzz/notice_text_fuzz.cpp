// The popup's text: the notice text cut for its line, and the skinned label's line breaking.
// Numbers: the label's width, the widths of 16 character classes, a line height and spacing.
// Texts: the text.
#include "tests/fuzz/FuzzInput.h"
#include "ui/TextLines.h"
#include "web/NoticeLayout.h"
#include "web/NoticeRecord.h"

using namespace vorel;

namespace {

void CheckDisplayText(const std::wstring& text) {
    for (NoticeLayout layout :
         {NoticeLayout::PictureAndText, NoticeLayout::TextOnly, NoticeLayout::PictureOnly}) {
        const size_t keep = layout == NoticeLayout::TextOnly ? 71 : 54;
        const std::wstring shown = NoticeDisplayText(text, layout);
        FUZZ_CHECK(fuzz::EndsWith(shown, L"..."));
        const std::wstring cut = shown.substr(0, shown.size() - 3);
        FUZZ_CHECK(fuzz::StartsWith(text, cut) && cut.size() <= keep);
        if (text.size() <= keep) {
            FUZZ_CHECK(cut == text);
        } else {
            // At most the first half of a pair is given up, and never half a pair kept.
            FUZZ_CHECK(cut.size() + 1 >= keep);
            FUZZ_CHECK(!(!cut.empty() && fuzz::IsHighSurrogate(cut.back()) &&
                         fuzz::IsLowSurrogate(text[cut.size()])));
        }
    }
    FUZZ_CHECK(ChooseNoticeLayout(L"", text) == NoticeLayout::TextOnly);
    FUZZ_CHECK(ChooseNoticeLayout(L"p.jpg", text) ==
               (text.empty() ? NoticeLayout::PictureOnly : NoticeLayout::PictureAndText));
}

size_t CharLength(const std::wstring& text, size_t i) {
    return i + 1 < text.size() && fuzz::IsHighSurrogate(text[i]) &&
                   fuzz::IsLowSurrogate(text[i + 1])
               ? 2
               : 1;
}

void CheckLines(const std::wstring& text, int width, const int classWidths[16]) {
    int measured = 0;
    const LineMeasure measure = [&](const std::wstring& line) {
        ++measured;
        int w = 0;
        for (wchar_t c : line) w += classWidths[uint32_t(c) % 16];
        return w;
    };
    const std::vector<std::wstring> lines = BreakTextLines(text, width, measure);
    FUZZ_CHECK(!lines.empty());

    // Nothing lost, nothing added: the lines are the text without CR, one LF or one break
    // between two lines.
    std::wstring rest;
    for (wchar_t c : text)
        if (c != L'\r') rest.push_back(c);
    size_t at = 0;
    for (size_t i = 0; i < lines.size(); ++i) {
        const std::wstring& line = lines[i];
        FUZZ_CHECK(rest.compare(at, line.size(), line) == 0);
        FUZZ_CHECK(line.find(L'\n') == std::wstring::npos);
        at += line.size();
        const bool last = i + 1 == lines.size();
        if (last) {
            FUZZ_CHECK(at == rest.size());
            break;
        }
        if (at < rest.size() && rest[at] == L'\n') {
            ++at;
            continue;
        }
        // Broken for width: never an empty line, not inside a pair, and only before the
        // character that overflows.
        FUZZ_CHECK(at < rest.size() && !line.empty());
        FUZZ_CHECK(
            !(at > 0 && fuzz::IsHighSurrogate(rest[at - 1]) && fuzz::IsLowSurrogate(rest[at])));
        FUZZ_CHECK(measure(line + rest.substr(at, CharLength(rest, at))) > width);
    }
    // Every line fits, unless it is one character too wide on its own.
    for (const auto& line : lines) {
        FUZZ_CHECK(measure(line) <= width || line.size() == CharLength(line, 0));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::FuzzInput input(data, size);
    const int width = int(input.NumberIn(0, 400));
    int classWidths[16];
    for (int i = 0; i < 16; i += 4) {
        const uint32_t n = input.Number();
        for (int k = 0; k < 4; ++k) classWidths[i + k] = int((n >> (8 * k)) & 0x3F);
    }
    const int lineHeight = int(input.NumberIn(0, 200));
    const int spacing = int(input.NumberIn(0, 50));
    const std::wstring text = input.Text();

    CheckDisplayText(text);
    CheckLines(text, width, classWidths);
    const int lines = int(
        BreakTextLines(text, width, [](const std::wstring& l) { return int(l.size()); }).size());
    const int height = TextLinesHeight(lines, lineHeight, spacing);
    FUZZ_CHECK(height >= lineHeight && height <= TextLinesHeight(lines + 1, lineHeight, spacing));
    return 0;
}
