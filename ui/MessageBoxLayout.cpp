#include "ui/MessageBoxLayout.h"

#include <algorithm>

namespace vorel {

MessageBoxButtons MessageBoxButtonTexts(int type) {
    if (type == kMessageYesNo) return MessageBoxButtons{2, L"是", L"否"};
    if (type == kMessageOkCancel) return MessageBoxButtons{2, L"确定", L"取消"};
    return MessageBoxButtons{1, L"确定", L""};
}

int MessageBoxResultForButton(int type, int controlId) {
    if (controlId == kMessageButton1) return type == kMessageYesNo ? kResultYes : kResultOk;
    if (controlId == kMessageButton2) return type == kMessageYesNo ? kResultNo : kResultCancel;
    return kResultCancel;
}

int MessageLineCount(const std::wstring& text) {
    int count = 1;
    for (wchar_t c : text) count += c == L'\n';
    return count;
}

MessageBoxGeometry LayoutMessageBox(int type, int textW, int textH, int lineCount, int bw, int bh) {
    MessageBoxGeometry g;
    // At least two buttons and the margin, and always 30 pixels beside the text: a text a
    // little narrower than the buttons' minimum must not run into the frame.
    g.width = std::max(textW + 60, 2 * bw + 60);
    g.height = textH + 3 * lineCount + 90 + bh;
    const int top = g.height - 30 - bh;
    if (MessageBoxButtonTexts(type).count == 2) {
        const int left1 = g.width / 2 - 10 - bw, left2 = g.width / 2 + 10;
        g.button1 = IntRect{left1, top, left1 + bw, top + bh};
        g.button2 = IntRect{left2, top, left2 + bw, top + bh};
    } else {
        const int left = (g.width - bw) / 2;
        g.button1 = IntRect{left, top, left + bw, top + bh};
    }
    return g;
}

std::vector<std::wstring> MessageTextLines(const std::wstring& text) {
    std::vector<std::wstring> lines;
    size_t start = 0;
    while (start < text.size()) {
        const size_t end = text.find(L'\n', start);
        if (end == std::wstring::npos) {
            lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    if (lines.empty()) lines.push_back(std::wstring());
    return lines;
}

IntRect MessageLineRect(int index, int clientWidth, int textW, int textH, int lineCount) {
    const int lineHeight = textH / (lineCount > 0 ? lineCount : 1);
    const int left = (clientWidth - textW) / 2;
    const int top = 55 + index * (lineHeight + 3);
    return IntRect{left, top, left + textW, top + lineHeight};
}

}  // namespace vorel
