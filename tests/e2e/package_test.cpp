// The executable's own identity as Windows shows it: version, product name and icon.
#include <gtest/gtest.h>

#include "support/WinTestSupport.h"

using namespace testsupport;

namespace {

std::vector<std::wstring> ExecutablesToCheck() {
    std::vector<std::wstring> exes = {InBuildDir(L"TolvVorel.exe")};
    wchar_t shipped[1024] = L"";
    // The shipped 32-bit build, when the tests run a 64-bit one.
    if (GetEnvironmentVariableW(L"VOREL_SHIPPED_EXE", shipped, 1024) > 0) exes.push_back(shipped);
    return exes;
}

std::wstring QueryString(const std::vector<BYTE>& info, const wchar_t* name) {
    struct Translation {
        WORD language, codePage;
    }* translations = nullptr;
    UINT size = 0;
    if (!VerQueryValueW(info.data(), L"\\VarFileInfo\\Translation",
                        reinterpret_cast<void**>(&translations), &size) ||
        size < sizeof(Translation))
        return L"<no translation>";
    wchar_t path[128];
    swprintf(path, 128, L"\\StringFileInfo\\%04x%04x\\%ls", translations[0].language,
             translations[0].codePage, name);
    wchar_t* value = nullptr;
    if (!VerQueryValueW(info.data(), path, reinterpret_cast<void**>(&value), &size)) return L"<none>";
    return value;
}

}  // namespace

TEST(Package, VersionResourceShowsProductNameAndVersion) {
    for (const auto& exe : ExecutablesToCheck()) {
        SCOPED_TRACE(std::string(exe.begin(), exe.end()));
        DWORD handle = 0;
        DWORD size = GetFileVersionInfoSizeW(exe.c_str(), &handle);
        ASSERT_GT(size, 0u);
        std::vector<BYTE> info(size);
        ASSERT_TRUE(GetFileVersionInfoW(exe.c_str(), 0, size, info.data()));
        VS_FIXEDFILEINFO* fixed = nullptr;
        UINT len = 0;
        ASSERT_TRUE(VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&fixed), &len));
        EXPECT_EQ(fixed->dwFileVersionMS, DWORD((3 << 16) | 0));
        EXPECT_EQ(fixed->dwFileVersionLS, DWORD((0 << 16) | 1));
        EXPECT_EQ(QueryString(info, L"ProductName"), L"VorelTolv登录器");
        EXPECT_EQ(QueryString(info, L"FileVersion"), L"3.0.0.1");
        EXPECT_EQ(QueryString(info, L"ProductVersion"), L"3.0.0.1");
    }
}

TEST(Package, ApplicationIconIsResource128InThreeSizes) {
    for (const auto& exe : ExecutablesToCheck()) {
        SCOPED_TRACE(std::string(exe.begin(), exe.end()));
        HMODULE module = LoadLibraryExW(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_NE(module, nullptr);
        HRSRC group = FindResourceW(module, MAKEINTRESOURCEW(128), RT_GROUP_ICON);
        ASSERT_NE(group, nullptr);
        // GRPICONDIR: reserved, type 1, count.
        const WORD* dir = static_cast<const WORD*>(LockResource(LoadResource(module, group)));
        ASSERT_NE(dir, nullptr);
        EXPECT_EQ(dir[1], 1);
        EXPECT_EQ(dir[2], 3);
        FreeLibrary(module);
    }
}
