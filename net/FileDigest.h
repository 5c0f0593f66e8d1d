// MD5 of a file through the system's CryptoAPI, and the version key built on it.
#pragma once
#include <cstdint>
#include <string>

namespace vorel {

// Reads the file in binary, 1024 bytes at a time. False when the file cannot be read or
// the cryptographic provider cannot hash.
bool FileMd5(const wchar_t* path, uint8_t digest[16]);

// The version key of a file for this build's version: 28 digits of its MD5 and "3001".
// Empty when the file cannot be hashed.
std::string FileVersionKey(const wchar_t* path);

// The running executable's version key.
std::string LocalVersionKey();

}  // namespace vorel
