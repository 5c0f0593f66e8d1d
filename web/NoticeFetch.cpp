#include "web/NoticeFetch.h"

#include "DeployConfig.h"
#include "net/HttpFetch.h"
#include "web/NoticeRecord.h"

namespace vorel {

const wchar_t kNoticeUrl[] = L"http://" VOREL_PUBLISHER_HOST L"/notice/tolvvorel.txt";
const wchar_t kNoticePictureName[] = L"PopWnd.jpg";

namespace {
constexpr DWORD kNoticeByteLimit = 1024;
constexpr DWORD kPictureChunk = 512;
}  // namespace

bool FetchNoticeText(const wchar_t* url, std::wstring* text) {
    text->clear();
    std::string bytes;
    if (!HttpReadToMemory(url, kNoticeByteLimit, true, &bytes)) return false;
    if (bytes.empty()) return true;
    // Fewer than 1024 bytes never make more than 1023 characters, so the text and its
    // terminator fit the 1024 characters it is kept in.
    wchar_t wide[kNoticeInfoCapacity] = {};
    const int n = ::MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()),
                                        wide, static_cast<int>(kNoticeInfoCapacity - 1));
    if (n <= 0) return false;
    // A text ends at its first terminator, as it would in the buffer.
    text->assign(wide);
    return true;
}

bool DownloadNoticePicture(const std::wstring& url, const std::wstring& file) {
    const std::wstring part = file + L".part";
    if (!HttpDownloadToFile(url.c_str(), part.c_str(), kPictureChunk, true, nullptr, nullptr)) {
        ::DeleteFileW(part.c_str());
        return false;
    }
    if (!::MoveFileExW(part.c_str(), file.c_str(), MOVEFILE_REPLACE_EXISTING)) {
        ::DeleteFileW(part.c_str());
        return false;
    }
    return true;
}

}  // namespace vorel
