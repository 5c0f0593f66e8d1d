#include "mainwnd/HeldModifiers.h"

#include "hotkey/HotkeyValue.h"

namespace vorel {

namespace {
struct Modifier {
    int common, left, right, bit;
};
constexpr Modifier kModifiers[] = {
    {0x11, 0xA2, 0xA3, kModCtrl},   // VK_CONTROL, VK_LCONTROL, VK_RCONTROL
    {0x10, 0xA0, 0xA1, kModShift},  // VK_SHIFT, VK_LSHIFT, VK_RSHIFT
    {0x12, 0xA4, 0xA5, kModAlt},    // VK_MENU, VK_LMENU, VK_RMENU
};
constexpr unsigned kLeft = 1, kRight = 2, kCommon = 4;
constexpr unsigned Shift(int index) { return 3u * static_cast<unsigned>(index); }
}  // namespace

const int HeldModifiers::kSideKeys[6] = {0xA2, 0xA3, 0xA0, 0xA1, 0xA4, 0xA5};

void HeldModifiers::OnKey(int virtualKey, bool down) {
    for (int i = 0; i < 3; ++i) {
        const Modifier& m = kModifiers[i];
        unsigned key = 0;
        if (virtualKey == m.left) key = kLeft;
        if (virtualKey == m.right) key = kRight;
        if (virtualKey == m.common) key = kCommon;
        if (!key) continue;
        if (down) {
            m_down |= key << Shift(i);
        } else if (key == kCommon) {
            // Which side went up is not said: the modifier is up.
            m_down &= ~(7u << Shift(i));
        } else {
            // A side that goes up also ends a press that came under the common code.
            m_down &= ~((key | kCommon) << Shift(i));
        }
        return;
    }
}

int HeldModifiers::Bits() const {
    int bits = 0;
    for (int i = 0; i < 3; ++i) {
        if ((m_down >> Shift(i)) & 7u) bits |= kModifiers[i].bit;
    }
    return bits;
}

}  // namespace vorel
