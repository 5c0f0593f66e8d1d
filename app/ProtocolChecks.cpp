// The protocol's numbers are the system's: each platform-free value checked against the
// Windows headers it stands for.
#include <windows.h>

#include "app/Protocol.h"

namespace {
using namespace vorel;

static_assert(kWmUser == WM_USER, "WM_USER");
static_assert(sys::kKeyDown == WM_KEYDOWN && sys::kSysKeyDown == WM_SYSKEYDOWN &&
                  sys::kChar == WM_CHAR && sys::kSysCommand == WM_SYSCOMMAND,
              "key and command messages");
static_assert(sys::kScClose == SC_CLOSE && sys::kScRestore == SC_RESTORE, "system commands");
static_assert(sys::kVkEscape == VK_ESCAPE && sys::kVkSpace == VK_SPACE && sys::kVkF5 == VK_F5,
              "virtual keys");
static_assert(sizeof(kOwnMessageMark) == sizeof(LPARAM), "the mark travels in lParam");

}  // namespace
