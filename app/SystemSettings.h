// Settings of the system that the program sets or reads: the browser's cache limit and
// whether user-account control is on.
#pragma once

namespace vorel {

bool SetBrowserCacheLimit();
// User-account control counts as on when "EnableLUA" reads 1 on Windows 6 and later.
bool IsUacEnabled();

}  // namespace vorel
