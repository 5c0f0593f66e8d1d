// What the skinned message box decides without drawing: its buttons and their labels, its
// size from the text and the button strip, where the text lines go, and the result of each
// way of ending it. Platform-free.
#pragma once
#include <string>
#include <vector>

#include "ui/SkinGeometry.h"

namespace vorel {

// Control ids of the message box's buttons.
constexpr int kMessageButton1 = 5000;
constexpr int kMessageButton2 = 5001;

// Button sets: 0 one "确定"; 1 "确定" and "取消"; 4 "是" and "否"; other values behave like 0.
constexpr int kMessageOk = 0;
constexpr int kMessageOkCancel = 1;
constexpr int kMessageYesNo = 4;

struct MessageBoxButtons {
    int count = 1;
    std::wstring first;
    std::wstring second;  // empty for a single button
};
MessageBoxButtons MessageBoxButtonTexts(int type);

// How the box ended. Values are the dialog result codes of the system.
constexpr int kResultOk = 1;      // IDOK
constexpr int kResultCancel = 2;  // IDCANCEL
constexpr int kResultYes = 6;     // IDYES
constexpr int kResultNo = 7;      // IDNO
int MessageBoxResultForButton(int type, int controlId);

// 1 + the number of line feeds.
int MessageLineCount(const std::wstring& text);

struct MessageBoxGeometry {
    int width = 0;
    int height = 0;
    IntRect button1;
    IntRect button2;  // empty for a single button
};
// textW x textH: the whole text measured at once; bw x bh: one frame of the button strip.
// The width is textW + 60, but never less than two buttons and 60.
MessageBoxGeometry LayoutMessageBox(int type, int textW, int textH, int lineCount, int bw, int bh);

// The lines as drawn: split at each line feed; a text that ends with a line feed has no empty
// last line.
std::vector<std::wstring> MessageTextLines(const std::wstring& text);

// The rectangle of drawn line `index`: a block textW wide centred in the client width, from
// y = 55, each line textH / lineCount high and 3 pixels further apart than that.
IntRect MessageLineRect(int index, int clientWidth, int textW, int textH, int lineCount);

}  // namespace vorel
