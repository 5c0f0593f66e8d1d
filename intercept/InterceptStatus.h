// The outcome of every call of the interception library.
#pragma once

namespace vorel::intercept {

enum class InterceptStatus : int {
    // Done.
    Ok = 0,
    // DetourRestoreAfterWith: there is no start-up import patch to undo.
    NothingToRestore,
    // A call that needs an open transaction of the calling thread came without one.
    NoTransaction,
    // Begin while a transaction is open, on this or another thread.
    TransactionBusy,
    // A null pointer, function or thread handle.
    InvalidArgument,
    // The entry's bytes are not committed, readable memory.
    UnreadableCode,
    // An entry instruction the decoder does not know; nothing is patched.
    UnknownInstruction,
    // An entry instruction that cannot run elsewhere: a 16-bit or prefixed relative branch, a
    // branch into the middle of the moved bytes, a breakpoint.
    CannotRelocate,
    // The function ends before the 5 bytes of a jump and no padding follows it.
    FunctionTooShort,
    // The function already carries one of our jumps, or one is pending.
    AlreadyAttached,
    // Detach of a pointer and replacement that we did not attach.
    NotAttached,
    // The entry's bytes changed between attach/detach and commit; they are left alone.
    TargetChanged,
    // No executable memory for another trampoline.
    OutOfMemory,
    // A fixed table is full: hooks, operations or enlisted threads of a transaction, or the
    // threads of the process to freeze.
    TableFull,
    // VirtualProtect refused to make the entry writable.
    ProtectFailed,
};

}  // namespace vorel::intercept
