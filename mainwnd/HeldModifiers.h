// The modifier keys held on the whole desktop, as the system-wide keyboard hook sees them go
// down and up. The hooking thread's own key state cannot serve: it follows only the keys that
// reach that thread, so a Ctrl held in a game, or released after Alt+Tab in another program,
// would be missed or stay down. Platform-free; the key codes are the system's.
#pragma once

namespace vorel {

class HeldModifiers {
public:
    // One key event: down for a key-down or system-key-down, else up. Keys other than Alt,
    // Ctrl and Shift (left, right or either) change nothing.
    void OnKey(int virtualKey, bool down);
    // Alt 1, Ctrl 2, Shift 4 while either key of the pair (or the pair's common code, which
    // keys sent by programs may carry) is down.
    int Bits() const;
    // Forgets everything, before a new seed.
    void Clear() { m_down = 0; }

    // The six side keys, for seeding from the keyboard's state when the hook is installed.
    static const int kSideKeys[6];

private:
    unsigned m_down = 0;  // one bit per key: left, right and common code of each modifier
};

}  // namespace vorel
