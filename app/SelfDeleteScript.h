// The batch file that deletes the executable once its process has ended: its name and its
// exact text, in the bytes cmd reads (the console code page). Platform-free.
#pragma once
#include <string>

namespace vorel {

enum class SelfDeleteForm {
    // The executable's folder holds other files too: only the executable goes.
    KeepFolder,
    // The executable is alone in its folder (or the folder cannot be listed as holding more):
    // its files and the folder go as well.
    RemoveFolder,
};

SelfDeleteForm ChooseSelfDeleteForm(unsigned filesInExeFolder);

// The executable's path up to (not including) its last backslash; the whole path when it
// holds none.
std::string ExecutableFolderOf(const std::string& exePath);

// The temporary file name with ".bat" appended, held in 260 characters.
std::string BatchFileNameFor(const std::string& tempFileName);

// The batch text, CR LF line ends, no terminator; formatted into 2048 characters.
std::string SelfDeleteScript(SelfDeleteForm form, const std::string& exePath,
                             const std::string& batchPath);

}  // namespace vorel
