#include <gtest/gtest.h>

#include "support/WinTestSupport.h"

using namespace testsupport;

namespace {
std::wstring Dump() { return InBuildDir(L"crasher.dmp"); }
std::wstring FirstDump() { return InBuildDir(L"crasher.first.dmp"); }
}  // namespace

TEST(CrashDump, AnUnhandledExceptionLeavesAMinidumpBesideTheExecutable) {
    DeleteFileW(Dump().c_str());
    ProcessResult r = RunAndWait(L"\"" + InBuildDir(L"crasher.exe") + L"\" once");
    ASSERT_TRUE(r.started);
    ASSERT_TRUE(r.finished);
    EXPECT_EQ(r.exitCode, DWORD(EXCEPTION_ACCESS_VIOLATION));
    const std::string dump = ReadFileBytes(Dump());
    ASSERT_GE(dump.size(), 32u);
    EXPECT_EQ(dump.substr(0, 4), "MDMP");
}

TEST(CrashDump, ASecondExceptionWritesNoSecondDump) {
    DeleteFileW(Dump().c_str());
    DeleteFileW(FirstDump().c_str());
    ProcessResult r = RunAndWait(L"\"" + InBuildDir(L"crasher.exe") + L"\" twice");
    ASSERT_TRUE(r.finished);
    // The filter handled the second crash itself: the process ended with the exception.
    EXPECT_EQ(r.exitCode, DWORD(EXCEPTION_ACCESS_VIOLATION));
    EXPECT_EQ(ReadFileBytes(FirstDump()).substr(0, 4), "MDMP");
    EXPECT_FALSE(FileExists(Dump()));
}
