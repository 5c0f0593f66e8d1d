// What differs between the 32-bit build that ships and the 64-bit build the tests run on
// machines without 32-bit code: the records handed to the system and the callbacks passed by
// cast. Each is checked for both architectures, so that a size or calling-convention mistake
// fails whichever build meets it.
#include <windows.h>
#include <mmsystem.h>
#include <shellapi.h>

#include <cstddef>
#include <cstdint>
#include <type_traits>

#include "app/RunMode.h"
#include "fw/Wnd.h"

namespace {

constexpr bool k64 = sizeof(void*) == 8;

// The tray record at its XP size: Shell_NotifyIconW on XP refuses a record that carries the
// later balloon-icon field.
static_assert(sizeof(NOTIFYICONDATAW) == offsetof(NOTIFYICONDATAW, guidItem) + sizeof(GUID),
              "tray record ends at guidItem");
static_assert(sizeof(NOTIFYICONDATAW) == (k64 ? 968 : 952), "tray record size");

// The login's caption record: the byte count stays a DWORD, the data pointer is pointer-wide.
static_assert(sizeof(COPYDATASTRUCT) == (k64 ? 24 : 12), "COPYDATASTRUCT size");
static_assert(sizeof(COPYDATASTRUCT::dwData) == sizeof(void*), "dwData is pointer-wide");

// The mixer's records are packed to one byte; a pointer or handle inside makes them grow.
static_assert(sizeof(MIXERLINEW) == (k64 ? 284 : 280), "MIXERLINEW");
static_assert(sizeof(MIXERLINECONTROLSW) == (k64 ? 28 : 24), "MIXERLINECONTROLSW");
static_assert(sizeof(MIXERCONTROLW) == 228, "MIXERCONTROLW");
static_assert(sizeof(MIXERCONTROLDETAILS) == (k64 ? 32 : 24), "MIXERCONTROLDETAILS");

// A window handle travels as decimal text on the "/newgm" and "/gmhall" command lines and is
// read back into 32 bits. 64-bit Windows keeps window handles to 32 significant bits, sign
// extended, so that 32-bit processes can use them: the round trip through int32 keeps them.
static_assert(sizeof(vorel::RunModeDecision::parentWindow) == 4, "handles are read into 32 bits");
static_assert(sizeof(HWND) == sizeof(INT_PTR), "a handle converts through INT_PTR");
static_assert(std::is_signed<INT_PTR>::value, "int32 to INT_PTR sign-extends");

// Window procedures installed by cast through SetWindowLongPtrW, and object pointers kept in
// window properties, which are pointer-wide on both.
struct ProcedureOf : fw::Wnd {
    static_assert(std::is_same<decltype(&fw::Wnd::StaticWindowProc), WNDPROC>::value,
                  "the window procedure is a WNDPROC");
};
static_assert(sizeof(HANDLE) == sizeof(fw::Wnd*), "an object pointer fits a window property");
static_assert(sizeof(LONG_PTR) == sizeof(void*), "window longs are pointer-wide");

}  // namespace
