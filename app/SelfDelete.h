// Deleting the running executable once its process has ended, through a batch file in the
// user's temporary folder, run by cmd without a console.
#pragma once
#include <windows.h>

#include <string>

#include "app/SelfDeleteScript.h"
#include "fw/Raii.h"

namespace vorel {

// A batch file this process has written. While `guard` is open nobody can write, replace,
// rename or delete the file, and its content was checked under that guard.
struct GuardedBatch {
    std::wstring path;
    fw::ScopedHandle guard;
};

// An existing file or folder as cmd reads it in a batch: in the console's (OEM) code page,
// or by its short 8.3 name where the code page cannot spell the long one. False when neither
// spells it exactly (no short names on that volume): a '?' in its place would be a wildcard.
bool ConsolePathText(const std::wstring& path, std::string* text);

// Writes the self-delete batch for exePath into a new file of tempFolder (a name from
// GetTempFileNameW with the prefix "DelSelf", ".bat" appended) and returns it guarded.
// A name that is taken already is never reused: another unique name is tried, a few times.
// False, and nothing left behind, when a path cannot be written in the batch.
bool WriteSelfDeleteBatch(const std::wstring& tempFolder, SelfDeleteForm form,
                          const std::wstring& exePath, GuardedBatch* out);

// Opens the file so that nobody else can write or delete it and checks that it holds exactly
// `expected`. An empty handle when it cannot be opened or holds anything else.
fw::ScopedHandle OpenAndVerify(const std::wstring& path, const std::string& expected);

// Starts the batch without a console, its main thread at idle priority. True when it started.
bool StartHiddenBatch(const std::wstring& batchPath);

// Writes and starts the batch for the running executable. Failures are silent.
void ScheduleSelfDelete();

}  // namespace vorel
