#include "uninstaller/rename_list.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "log_folder.h"
#include "uninstaller/system_services.h"

namespace brevix::uninstall {
namespace {

TEST(RenameList, LinesGoRightAfterTheHeaderOrAtTheEndWithOne) {
    EXPECT_EQ(withRenameLine("", "/tmp/a"), "[Rename]\r\nNUL=/tmp/a\r\n");
    EXPECT_EQ(withRenameLine("[boot]\r\nx=1\r\n", "/tmp/a"), "[boot]\r\nx=1\r\n[Rename]\r\nNUL=/tmp/a\r\n");
    EXPECT_EQ(withRenameLine("[Rename]\r\nNUL=/tmp/a\r\n[other]\r\n", "/tmp/b", "/tmp/c"),
              "[Rename]\r\n/tmp/c=/tmp/b\r\nNUL=/tmp/a\r\n[other]\r\n");
    // A header without CR LF is not the header.
    EXPECT_EQ(withRenameLine("[Rename]\n", "/x"), "[Rename]\n[Rename]\r\nNUL=/x\r\n");
}

using RenameListFile = LogFolderTest;

TEST_F(RenameListFile, TheFileIsCreatedAndThenAddedTo) {
    const std::string ini = path("WinInit.Ini");
    ASSERT_TRUE(addToRenameList(ini, "/tmp/a"));
    ASSERT_TRUE(addToRenameList(ini, "/tmp/b"));
    std::ifstream in(ini, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_EQ(text.str(), "[Rename]\r\nNUL=/tmp/b\r\nNUL=/tmp/a\r\n");
    EXPECT_FALSE(addToRenameList(path("no/such/folder/WinInit.Ini"), "/tmp/a"));
}

}  // namespace
}  // namespace brevix::uninstall
