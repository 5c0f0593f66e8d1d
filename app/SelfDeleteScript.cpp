#include "app/SelfDeleteScript.h"

#include <cstdio>

namespace vorel {

namespace {

constexpr size_t kScriptCapacity = 2048;
constexpr size_t kPathCapacity = 260;

// "cd\" first so that the batch does not hold the executable's folder open; one ping of the
// local host paces the retries until the process has ended and its image can be deleted.
const char kKeepFolderFormat[] =
    "cd\\\r\n"
    ":delexe\r\n"
    "ping -n %d 127.0.0.1\r\n"
    "del \"%s\"\r\n"
    "if exist \"%s\" goto :delexe\r\n"
    "del \"%s\"\r\n";
const char kRemoveFolderFormat[] =
    "cd\\\r\n"
    ":delexe\r\n"
    "ping -n %d 127.0.0.1\r\n"
    "del \"%s\"\r\n"
    "if exist \"%s\" goto :delexe\r\n"
    "del \"%s\" /Q /F /A\r\n"
    "rd \"%s\"\r\n"
    "del \"%s\"\r\n";

std::string Bounded(const std::string& text, size_t capacity) {
    std::string held = text.substr(0, text.find('\0'));
    if (held.size() > capacity - 1) held.resize(capacity - 1);
    return held;
}

}  // namespace

SelfDeleteForm ChooseSelfDeleteForm(unsigned filesInExeFolder) {
    return filesInExeFolder > 1 ? SelfDeleteForm::KeepFolder : SelfDeleteForm::RemoveFolder;
}

std::string ExecutableFolderOf(const std::string& exePath) {
    const size_t slash = exePath.rfind('\\');
    return slash == std::string::npos ? exePath : exePath.substr(0, slash);
}

std::string BatchFileNameFor(const std::string& tempFileName) {
    return Bounded(tempFileName + ".bat", kPathCapacity);
}

std::string SelfDeleteScript(SelfDeleteForm form, const std::string& exePath,
                             const std::string& batchPath) {
    const std::string exe = Bounded(exePath, kPathCapacity);
    const std::string batch = Bounded(batchPath, kPathCapacity);
    char text[kScriptCapacity];
    int n;
    if (form == SelfDeleteForm::KeepFolder) {
        n = std::snprintf(text, sizeof(text), kKeepFolderFormat, 1, exe.c_str(), exe.c_str(),
                          batch.c_str());
    } else {
        const std::string folder = ExecutableFolderOf(exe);
        n = std::snprintf(text, sizeof(text), kRemoveFolderFormat, 1, exe.c_str(), exe.c_str(),
                          folder.c_str(), folder.c_str(), batch.c_str());
    }
    if (n < 0) return std::string();
    return text;
}

}  // namespace vorel
