#include "net/DownloadProgress.h"

namespace vorel {

uint32_t DownloadPercent(uint64_t received, uint32_t contentLength) {
    if (contentLength == 0 || received >= contentLength) return 100;
    return static_cast<uint32_t>(received * 100u / contentLength);
}

}  // namespace vorel
