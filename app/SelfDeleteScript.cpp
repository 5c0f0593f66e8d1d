#include "app/SelfDeleteScript.h"

namespace vorel {

namespace {

constexpr size_t kPathCapacity = 260;

// "cd\" first so that the batch does not hold the executable's folder open; one ping of the
// local host paces the retries until the process has ended and its image can be deleted.
std::string DeleteExecutableLines(const std::string& exe) {
    return "cd\\\r\n"
           ":delexe\r\n"
           "ping -n 1 127.0.0.1\r\n"
           "del \"" + exe + "\"\r\n"
           "if exist \"" + exe + "\" goto :delexe\r\n";
}

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
    std::string text = DeleteExecutableLines(exe);
    if (form == SelfDeleteForm::RemoveFolder) {
        const std::string folder = ExecutableFolderOf(exe);
        text += "del \"" + folder + "\" /Q /F /A\r\n"
                "rd \"" + folder + "\"\r\n";
    }
    text += "del \"" + batch + "\"\r\n";
    return text;
}

}  // namespace vorel
