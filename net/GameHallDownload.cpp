#include "net/GameHallDownload.h"

#include "app/TextNumber.h"
#include "net/UpdateRules.h"

namespace vorel {

namespace {
constexpr size_t kPathCapacity = 260;
constexpr size_t kPercentTextCapacity = 16;

std::wstring BoundedPath(const std::wstring& path) {
    return path.size() < kPathCapacity ? path : std::wstring();
}
}  // namespace

GameHallFiles GameHallDownloadFiles(const std::wstring& publisherHost,
                                    const std::wstring& programFolder,
                                    const std::wstring& tempFolder, const std::wstring& name) {
    GameHallFiles files;
    files.configUrl = ConfigUrl(publisherHost, name);
    files.configFile = BoundedPath(programFolder + name + L".ini");
    files.installerFile = BoundedPath(tempFolder + name + L".exe");
    return files;
}

std::wstring LoadedPercentText(unsigned percent) {
    return TruncateToBuffer(L"已加载  " + FormatUnsigned(percent) + L"%", kPercentTextCapacity);
}

}  // namespace vorel
