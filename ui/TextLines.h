// Text layout of the skinned label: character-by-character line breaking, the height the
// lines need, and the DrawText format that the label's static styles ask for. Platform-free.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace vorel {

// Measures the width in pixels of one line of text as it would be drawn.
using LineMeasure = std::function<int(const std::wstring&)>;

// Breaks text into lines no wider than `width`: a carriage return is dropped, a line feed ends
// the line, and a line that would grow too wide ends before the character that overflows it,
// even inside a word. A character that is wider than `width` on its own gets a line of its own
// instead of being retried. A surrogate pair counts as one character.
// Always gives at least one line (possibly empty).
std::vector<std::wstring> BreakTextLines(const std::wstring& text, int width,
                                         const LineMeasure& measure);

// Height of `lines` lines of height lineHeight with lineSpacing pixels between them.
int TextLinesHeight(int lines, int lineHeight, int lineSpacing);

// DrawText format bits for a label of the given window style (SS_CENTER, SS_RIGHT,
// SS_ENDELLIPSIS, SS_PATHELLIPSIS, SS_CENTERIMAGE).
uint32_t LabelDrawTextFormat(uint32_t style);

// The probe whose width, divided by its length plus the terminator, is the label's average
// character width.
extern const wchar_t kWidthProbeText[];
constexpr int kWidthProbeDivisor = 11;

}  // namespace vorel
