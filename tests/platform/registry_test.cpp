#include "platform/registry.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include <unistd.h>

namespace brevix {
namespace {

class RegistryTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = std::filesystem::temp_directory_path() /
                  ("brevix-registry-" + std::to_string(::getpid()) + "-" +
                   ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(folder_);
        setRegistryFolder(folder_.string());
    }
    void TearDown() override {
        setRegistryFolder("");
        std::filesystem::remove_all(folder_);
    }
    std::string hiveText(const char* root) {
        std::ifstream in(folder_ / (std::string(root) + ".ini"));
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }
    std::filesystem::path folder_;
};

TEST_F(RegistryTest, CreateTellsNewFromExistingKeys) {
    EXPECT_FALSE(regKeyExists(RegRoot::CurrentUser, "Software\\Brevix\\SplitterC"));
    EXPECT_EQ(regCreateKey(RegRoot::CurrentUser, "Software\\Brevix\\SplitterC"), RegOpen::Created);
    EXPECT_EQ(regCreateKey(RegRoot::CurrentUser, "Software\\Brevix\\SplitterC"), RegOpen::Opened);
    // Parents come into being with the key; names compare without case.
    EXPECT_EQ(regCreateKey(RegRoot::CurrentUser, "SOFTWARE\\brevix"), RegOpen::Opened);
    EXPECT_TRUE(regKeyExists(RegRoot::CurrentUser, "Software\\Brevix\\splitterc"));
    // Each root is a hive of its own.
    EXPECT_FALSE(regKeyExists(RegRoot::LocalMachine, "Software\\Brevix"));
    EXPECT_EQ(regCreateKey(RegRoot::CurrentUser, ""), RegOpen::Failed);
    EXPECT_EQ(regCreateKey(RegRoot::CurrentUser, "Soft[ware"), RegOpen::Failed);
}

TEST_F(RegistryTest, ValuesKeepTheirTypeAndSurviveReloading) {
    const char* key = "Software\\Brevix\\MainWnd";
    ASSERT_TRUE(regSetDword(RegRoot::CurrentUser, key, "MinPos_Y", 0xFFFFFFFFu));
    ASSERT_TRUE(regSetDword(RegRoot::CurrentUser, key, "MaxPos_y", 44));
    ASSERT_TRUE(regSetString(RegRoot::CurrentUser, "Software\\Brevix\\Database", "Path",
                             "c:\\dvue2\\dlist.dbf"));
    EXPECT_EQ(regGetDword(RegRoot::CurrentUser, key, "MinPos_Y"), 0xFFFFFFFFu);
    EXPECT_EQ(regGetDword(RegRoot::CurrentUser, key, "MaxPos_y"), 44u);
    EXPECT_EQ(regGetString(RegRoot::CurrentUser, "Software\\Brevix\\Database", "Path"),
              "c:\\dvue2\\dlist.dbf");
    // A value of the other type, or a missing one, reads as nothing.
    EXPECT_FALSE(regGetString(RegRoot::CurrentUser, key, "MinPos_Y"));
    EXPECT_FALSE(regGetDword(RegRoot::CurrentUser, "Software\\Brevix\\Database", "Path"));
    EXPECT_FALSE(regGetDword(RegRoot::CurrentUser, key, "Length"));
    // The stored names keep the spelling they were written with.
    EXPECT_NE(hiveText("HKCU").find("\"MinPos_Y\"=dword:ffffffff"), std::string::npos);
    EXPECT_EQ(regValueNames(RegRoot::CurrentUser, key), (std::vector<std::string>{"MinPos_Y", "MaxPos_y"}));
}

TEST_F(RegistryTest, StringsWithQuotesBackslashesAndHighBytesRoundTrip) {
    std::string text = "a \"quoted\" \\path\\ with\nline and \xB0 \xB3";
    ASSERT_TRUE(regSetString(RegRoot::CurrentUser, "Software\\Brevix", "Odd", text));
    ASSERT_TRUE(regSetString(RegRoot::CurrentUser, "Software\\Brevix", "Empty", ""));
    EXPECT_EQ(regGetString(RegRoot::CurrentUser, "Software\\Brevix", "Odd"), text);
    EXPECT_EQ(regGetString(RegRoot::CurrentUser, "Software\\Brevix", "Empty"), "");
    // Overwriting replaces the value and may change its type.
    ASSERT_TRUE(regSetDword(RegRoot::CurrentUser, "Software\\Brevix", "ODD", 7));
    EXPECT_EQ(regGetDword(RegRoot::CurrentUser, "Software\\Brevix", "Odd"), 7u);
    EXPECT_EQ(regValueNames(RegRoot::CurrentUser, "Software\\Brevix").size(), 2u);
}

TEST_F(RegistryTest, ValueNamesMayBePathsAsTheSharedFileCountersUse) {
    const char* key = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";
    const char* file = "C:\\Windows\\System32\\shared=1.dll";
    ASSERT_TRUE(regSetDword(RegRoot::LocalMachine, key, file, 2));
    EXPECT_EQ(regGetDword(RegRoot::LocalMachine, key, file), 2u);
    EXPECT_FALSE(regKeyExists(RegRoot::LocalMachine, std::string(key) + "\\C:"));
    EXPECT_TRUE(regDeleteValue(RegRoot::LocalMachine, key, file));
    EXPECT_FALSE(regGetDword(RegRoot::LocalMachine, key, file));
}

TEST_F(RegistryTest, DeletingKeysAndValues) {
    regSetDword(RegRoot::CurrentUser, "Software\\Brevix\\SplitterA", "Row0_ht", 1);
    regSetDword(RegRoot::CurrentUser, "Software\\Brevix\\SplitterA\\Deeper", "x", 1);
    regSetDword(RegRoot::CurrentUser, "Software\\BrevixOther", "Keep", 1);
    EXPECT_EQ(regSubkeyNames(RegRoot::CurrentUser, "Software"),
              (std::vector<std::string>{"Brevix", "BrevixOther"}));

    EXPECT_TRUE(regDeleteValue(RegRoot::CurrentUser, "Software\\Brevix\\SplitterA", "row0_HT"));
    EXPECT_FALSE(regDeleteValue(RegRoot::CurrentUser, "Software\\Brevix\\SplitterA", "Row0_ht"));

    EXPECT_TRUE(regDeleteKey(RegRoot::CurrentUser, "Software\\Brevix"));
    EXPECT_FALSE(regKeyExists(RegRoot::CurrentUser, "Software\\Brevix\\SplitterA\\Deeper"));
    EXPECT_FALSE(regDeleteKey(RegRoot::CurrentUser, "Software\\Brevix"));
    // A sibling whose name merely starts the same is not below the key.
    EXPECT_EQ(regGetDword(RegRoot::CurrentUser, "Software\\BrevixOther", "Keep"), 1u);
}

TEST_F(RegistryTest, DamagedHiveLinesAreSkipped) {
    std::filesystem::create_directories(folder_);
    std::ofstream(folder_ / "HKCU.ini") << "garbage\n[Software\\Brevix]\n\"A\"=dword:zz\n\"B\"=dword:2\n"
                                        << "\"C\"=\"unterminated\n\"D\"=\"ok\"\r\n";
    EXPECT_FALSE(regGetDword(RegRoot::CurrentUser, "Software\\Brevix", "A"));
    EXPECT_EQ(regGetDword(RegRoot::CurrentUser, "Software\\Brevix", "B"), 2u);
    EXPECT_FALSE(regGetString(RegRoot::CurrentUser, "Software\\Brevix", "C"));
    EXPECT_EQ(regGetString(RegRoot::CurrentUser, "Software\\Brevix", "D"), "ok");
}

TEST_F(RegistryTest, UnwritableFolderFailsWithoutThrowing) {
    std::filesystem::create_directories(folder_.parent_path());
    std::ofstream(folder_) << "a file where the folder should be";
    EXPECT_EQ(regCreateKey(RegRoot::CurrentUser, "Software\\Brevix"), RegOpen::Failed);
    EXPECT_FALSE(regSetDword(RegRoot::CurrentUser, "Software\\Brevix", "x", 1));
    std::filesystem::remove(folder_);
}

TEST(RegistryRoots, ShortAndLongNames) {
    EXPECT_EQ(regRootFromName("HKCU"), RegRoot::CurrentUser);
    EXPECT_EQ(regRootFromName("HKEY_LOCAL_MACHINE"), RegRoot::LocalMachine);
    EXPECT_EQ(regRootFromName("hkcr"), RegRoot::ClassesRoot);
    EXPECT_EQ(regRootFromName("HKU"), RegRoot::Users);
    EXPECT_FALSE(regRootFromName("HKCC"));
    EXPECT_STREQ(regRootName(RegRoot::Users), "HKU");
}

}  // namespace
}  // namespace brevix
