// Owner for WinINet handles (internet, connection, request).
#pragma once
#include <windows.h>
#include <wininet.h>

#include "fw/Raii.h"

namespace vorel {

namespace detail {
struct InternetHandleTraits {
    using type = HINTERNET;
    static type Empty() { return nullptr; }
    static bool IsValid(type h) { return h != nullptr; }
    static void Close(type h) { ::InternetCloseHandle(h); }
};
}  // namespace detail

using ScopedInternetHandle = fw::UniqueHandle<detail::InternetHandleTraits>;

}  // namespace vorel
