#include "net/FileDigest.h"

#include <windows.h>
#include <wincrypt.h>

#include "app/Ambrel3App.h"
#include "app/SettingsStore.h"
#include "fw/Raii.h"
#include "net/VersionKey.h"

namespace vorel {

namespace {

struct CryptProviderTraits {
    using type = HCRYPTPROV;
    static type Empty() { return 0; }
    static bool IsValid(type h) { return h != 0; }
    static void Close(type h) { CryptReleaseContext(h, 0); }
};
struct CryptHashTraits {
    using type = HCRYPTHASH;
    static type Empty() { return 0; }
    static bool IsValid(type h) { return h != 0; }
    static void Close(type h) { CryptDestroyHash(h); }
};
using ScopedCryptProvider = fw::UniqueHandle<CryptProviderTraits>;
using ScopedCryptHash = fw::UniqueHandle<CryptHashTraits>;

constexpr DWORD kReadBlock = 1024;

}  // namespace

bool FileMd5(const wchar_t* path, uint8_t digest[16]) {
    // A running executable is open for execution; sharing writes keeps it readable too.
    fw::ScopedHandle file(CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    // A verify-only context needs no key container, so it works for any user.
    ScopedCryptProvider provider;
    if (!CryptAcquireContextW(provider.Receive(), nullptr, nullptr, PROV_RSA_FULL,
                              CRYPT_VERIFYCONTEXT))
        return false;
    ScopedCryptHash hash;
    if (!CryptCreateHash(provider.get(), CALG_MD5, 0, 0, hash.Receive())) return false;

    BYTE block[kReadBlock];
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(file.get(), block, kReadBlock, &got, nullptr)) return false;
        if (got == 0) break;
        if (!CryptHashData(hash.get(), block, got, 0)) return false;
    }
    DWORD size = 16;
    return CryptGetHashParam(hash.get(), HP_HASHVAL, digest, &size, 0) && size == 16;
}

std::string FileVersionKey(const wchar_t* path) {
    uint8_t digest[16];
    if (!FileMd5(path, digest)) return std::string();
    return VersionKeyFromDigest(digest, kVersionText);
}

std::string LocalVersionKey() { return FileVersionKey(RunningExePath().c_str()); }

}  // namespace vorel
