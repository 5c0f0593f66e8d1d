#include "ui/TextLines.h"

namespace vorel {

const wchar_t kWidthProbeText[] = L"测试用汉字来获取宽度";

namespace {
// Code units of the character at i: 2 for a UTF-16 surrogate pair, else 1.
size_t CharLength(const std::wstring& text, size_t i) {
    if (i + 1 < text.size()) {
        const unsigned hi = static_cast<unsigned>(text[i]), lo = static_cast<unsigned>(text[i + 1]);
        if (hi >= 0xD800 && hi <= 0xDBFF && lo >= 0xDC00 && lo <= 0xDFFF) return 2;
    }
    return 1;
}
}  // namespace

std::vector<std::wstring> BreakTextLines(const std::wstring& text, int width,
                                         const LineMeasure& measure) {
    // Carriage returns go first: the units on either side of one meet in the drawn line, so a
    // pair they form must be one character for the breaking too.
    std::wstring visible;
    visible.reserve(text.size());
    for (wchar_t c : text) {
        if (c != L'\r') visible.push_back(c);
    }
    std::vector<std::wstring> lines;
    std::wstring line;
    size_t i = 0;
    while (i < visible.size()) {
        const wchar_t c = visible[i];
        if (c == L'\n') {
            lines.push_back(line);
            line.clear();
            ++i;
            continue;
        }
        const size_t n = CharLength(visible, i);
        line.append(visible, i, n);
        // A character too wide even alone stays: moving it on would only overflow the next
        // line again. The next character or line feed ends its line as any other.
        if (measure(line) > width && line.size() > n) {
            line.erase(line.size() - n);
            lines.push_back(line);
            line.clear();
            continue;  // the same character starts the next line
        }
        i += n;
    }
    lines.push_back(line);
    return lines;
}

int TextLinesHeight(int lines, int lineHeight, int lineSpacing) {
    if (lines < 1) lines = 1;
    return lineHeight + (lines - 1) * (lineHeight + lineSpacing);
}

uint32_t LabelDrawTextFormat(uint32_t style) {
    uint32_t format;
    if (style & 0x1u) {
        format = 0x15;  // DT_WORDBREAK | DT_CENTER | DT_VCENTER
    } else if (style & 0x2u) {
        format = 0x12;  // DT_WORDBREAK | DT_RIGHT
    } else {
        format = 0x10;  // DT_WORDBREAK
    }
    if (style & 0x4000u) format |= 0x8000;  // SS_ENDELLIPSIS: DT_END_ELLIPSIS
    if (style & 0x8000u) format |= 0x4020;  // SS_PATHELLIPSIS: DT_PATH_ELLIPSIS | DT_SINGLELINE
    if (style & 0x200u) format |= 0x24;     // SS_CENTERIMAGE: DT_SINGLELINE | DT_VCENTER
    return format;
}

}  // namespace vorel
