// Deleting the running executable once its process has ended, through a hidden batch file
// in the user's temporary folder.
#pragma once
#include <windows.h>

#include <string>

#include "app/SelfDeleteScript.h"
#include "fw/Raii.h"

namespace vorel {

// A batch file this process has written. While `guard` is open nobody can write, replace,
// rename or delete the file, and its content was checked under that guard.
struct GuardedBatch {
    std::string path;
    fw::ScopedHandle guard;
};

// Writes the self-delete batch for exePath into a new file of tempFolder (a name from
// GetTempFileNameA with the prefix "DelSelf", ".bat" appended) and returns it guarded.
// A name that is taken already is never reused: another unique name is tried, a few times.
bool WriteSelfDeleteBatch(const std::string& tempFolder, SelfDeleteForm form,
                          const std::string& exePath, GuardedBatch* out);

// Opens the file so that nobody else can write or delete it and checks that it holds exactly
// `expected`. An empty handle when it cannot be opened or holds anything else.
fw::ScopedHandle OpenAndVerify(const std::string& path, const std::string& expected);

// Starts the batch hidden, its main thread at idle priority. True when it started.
bool StartHiddenBatch(const std::string& batchPath);

// Writes and starts the batch for the running executable. Failures are silent.
void ScheduleSelfDelete();

}  // namespace vorel
