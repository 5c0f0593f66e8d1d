// Where the game-hall download keeps its files and what its percentage label says.
// Platform-free.
#pragma once
#include <string>

namespace vorel {

struct GameHallFiles {
    std::wstring configUrl;      // the update server's "update/Config" + name + ".htm"
    std::wstring configFile;     // program folder + name + ".ini"
    std::wstring installerFile;  // temporary folder + name + ".exe"
};

// programFolder and tempFolder end with their backslash, as the system hands them out. A
// file path that would not fit 260 characters comes back empty: cut, it would name another
// file, so that step of the download fails instead.
GameHallFiles GameHallDownloadFiles(const std::wstring& publisherHost,
                                    const std::wstring& programFolder,
                                    const std::wstring& tempFolder, const std::wstring& name);

// "已加载  42%": two blanks before the number, formatted into 16 characters.
std::wstring LoadedPercentText(unsigned percent);

}  // namespace vorel
