// Fetching the popup notice: its text into memory and its picture into a file.
#pragma once
#include <windows.h>

#include <string>

namespace vorel {

// "notice/tolvvorel.txt" on the client web host.
extern const wchar_t kNoticeUrl[];
// The picture's file in the program folder.
extern const wchar_t kNoticePictureName[];

// The notice text: a GET with the publisher-domain rule, not 404, a Content-Length below
// 1024 bytes and the whole body in one read, converted from the ANSI code page. False (and
// an empty text) on any failure: then there is no notice.
bool FetchNoticeText(const wchar_t* url, std::wstring* text);

// Downloads the picture (publisher-domain rule, 512-byte chunks) and puts it in place of
// `file` only when it arrived whole, so that a failed download leaves the previous picture.
bool DownloadNoticePicture(const std::wstring& url, const std::wstring& file);

}  // namespace vorel
