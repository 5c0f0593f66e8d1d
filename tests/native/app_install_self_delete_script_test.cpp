#include <gtest/gtest.h>

#include "app/SelfDeleteScript.h"

using namespace vorel;

namespace {
const std::string kExe = "C:\\ProgramData\\Vorel\\GameLogin\\TolvVorel.exe";
const std::string kBatch = "C:\\users\\p\\AppData\\Local\\Temp\\DelA1B2.tmp.bat";
}  // namespace

TEST(SelfDeleteScript, KeepFolderFormByteForByte) {
    EXPECT_EQ(SelfDeleteScript(SelfDeleteForm::KeepFolder, kExe, kBatch),
              "cd\\\r\n"
              ":delexe\r\n"
              "ping -n 1 127.0.0.1\r\n"
              "del \"C:\\ProgramData\\Vorel\\GameLogin\\TolvVorel.exe\"\r\n"
              "if exist \"C:\\ProgramData\\Vorel\\GameLogin\\TolvVorel.exe\" goto :delexe\r\n"
              "del \"C:\\users\\p\\AppData\\Local\\Temp\\DelA1B2.tmp.bat\"\r\n");
}

TEST(SelfDeleteScript, RemoveFolderFormByteForByte) {
    EXPECT_EQ(SelfDeleteScript(SelfDeleteForm::RemoveFolder, "D:\\Games\\Vorel\\a.exe", kBatch),
              "cd\\\r\n"
              ":delexe\r\n"
              "ping -n 1 127.0.0.1\r\n"
              "del \"D:\\Games\\Vorel\\a.exe\"\r\n"
              "if exist \"D:\\Games\\Vorel\\a.exe\" goto :delexe\r\n"
              "del \"D:\\Games\\Vorel\" /Q /F /A\r\n"
              "rd \"D:\\Games\\Vorel\"\r\n"
              "del \"C:\\users\\p\\AppData\\Local\\Temp\\DelA1B2.tmp.bat\"\r\n");
    // A path without a backslash is its own folder.
    const std::string bare = SelfDeleteScript(SelfDeleteForm::RemoveFolder, "a.exe", "b.bat");
    EXPECT_NE(bare.find("rd \"a.exe\"\r\n"), std::string::npos);
}

TEST(SelfDeleteScript, FormFollowsTheFileCountOfTheFolder) {
    EXPECT_EQ(ChooseSelfDeleteForm(0), SelfDeleteForm::RemoveFolder);
    EXPECT_EQ(ChooseSelfDeleteForm(1), SelfDeleteForm::RemoveFolder);
    EXPECT_EQ(ChooseSelfDeleteForm(2), SelfDeleteForm::KeepFolder);
    EXPECT_EQ(ChooseSelfDeleteForm(4000000000u), SelfDeleteForm::KeepFolder);
}

TEST(SelfDeleteScript, PathsAndNamesAreHeldInTheirBuffers) {
    EXPECT_EQ(ExecutableFolderOf("C:\\a\\b\\c.exe"), "C:\\a\\b");
    EXPECT_EQ(ExecutableFolderOf("C:\\c.exe"), "C:");
    EXPECT_EQ(BatchFileNameFor("C:\\t\\Del1F.tmp"), "C:\\t\\Del1F.tmp.bat");
    EXPECT_EQ(BatchFileNameFor(std::string(258, 'x')).size(), 259u);
    // The longest paths the program holds still give the whole text.
    const std::string folder = "C:\\" + std::string(120, 'd');
    const std::string exe = folder + "\\" + std::string(135, 'e');
    const std::string batch = "C:\\" + std::string(255, 'b');
    ASSERT_EQ(exe.size(), 259u);
    const std::string text = SelfDeleteScript(SelfDeleteForm::RemoveFolder, exe, batch);
    EXPECT_EQ(text.find("del \"" + exe + "\"\r\n"), 35u);
    EXPECT_NE(text.find("rd \"" + folder + "\"\r\n"), std::string::npos);
    const std::string last = "del \"" + batch + "\"\r\n";
    EXPECT_EQ(text.substr(text.size() - last.size()), last);
}
