#include <gtest/gtest.h>

#include "document/file_dlg_mru.h"
#include "document/recent_files.h"
#include "platform/registry.h"
#include "platform/strformat.h"
#include "settings_fixture.h"

namespace brevix {
namespace {

const char* FOLDER_KEY = "Software\\Brevix\\My Recent Folder List";

std::string folderValue(int n) {
    return regGetString(RegRoot::CurrentUser, FOLDER_KEY, strprintf("Folder%d", n)).value_or("<none>");
}

TEST(RecentFolderOf, DriveRootsKeepTheirSeparatorLongerFoldersGetOne) {
    EXPECT_EQ(recentFolderOf("/stone.gem"), "/");
    EXPECT_EQ(recentFolderOf("/ab/stone.gem"), "/ab");  // three characters: nothing appended
    EXPECT_EQ(recentFolderOf("/abc/stone.gem"), "/abc/");
    EXPECT_EQ(recentFolderOf("/home/ann/designs/stone.gem"), "/home/ann/designs/");
    EXPECT_EQ(recentFolderOf("stone.gem"), "");
#ifdef _WIN32
    EXPECT_EQ(recentFolderOf("C:\\stone.gem"), "C:\\");
    EXPECT_EQ(recentFolderOf("C:\\Gems\\stone.gem"), "C:\\Gems\\");
#endif
}

using RecentFolders = TempFolderTest;

TEST_F(RecentFolders, AcceptedFolderGoesFirstAndIsNotRepeated) {
    {
        CFileDlgMRU dialog;
        EXPECT_TRUE(dialog.entries().empty());
        EXPECT_EQ(dialog.initialFolder(), "");
        dialog.accept("/gems/a/one.gem");
    }
    CFileDlgMRU().accept("/gems/b/two.gem");
    CFileDlgMRU().accept("/gems/c/three.asc");
    CFileDlgMRU().accept("/gems/a/four.gem");

    CFileDlgMRU dialog;
    EXPECT_EQ(dialog.initialFolder(), "/gems/a/");
    EXPECT_EQ(dialog.entries(), (std::vector<std::string>{"/gems/a/", "/gems/c/", "/gems/b/"}));
    EXPECT_EQ(folderValue(1), "/gems/a/");
    EXPECT_EQ(folderValue(3), "/gems/b/");
}

TEST_F(RecentFolders, EmptyValuesAreSkippedAndAtMostTenAreWritten) {
    regSetString(RegRoot::CurrentUser, FOLDER_KEY, "Folder1", "");
    regSetString(RegRoot::CurrentUser, FOLDER_KEY, "Folder2", "/x/");
    {
        CFileDlgMRU dialog;
        EXPECT_EQ(dialog.initialFolder(), "");
        EXPECT_EQ(dialog.entries(), std::vector<std::string>{"/x/"});
    }
    for (int i = 1; i <= 12; ++i) CFileDlgMRU().accept(strprintf("/f%02d/file.gem", i));
    // Nine are read back; the tenth is written but never shown.
    CFileDlgMRU dialog;
    ASSERT_EQ(dialog.entries().size(), 9u);
    EXPECT_EQ(dialog.entries().front(), "/f12/");
    EXPECT_EQ(dialog.entries().back(), "/f04/");
    EXPECT_EQ(folderValue(10), "/f03/");
    EXPECT_EQ(folderValue(11), "<none>");
}

using RecentFiles = TempFolderTest;

TEST_F(RecentFiles, NewestFirstAtMostFourAndShrinkingClearsValues) {
    RecentFileList list;
    for (const char* p : {"/a.gem", "/b.gem", "/c.asc", "/d.gem", "/b.gem", "/e.gem"}) list.add(p);
    EXPECT_EQ(list.entries(), (std::vector<std::string>{"/e.gem", "/b.gem", "/d.gem", "/c.asc"}));
    ASSERT_TRUE(list.save());

    RecentFileList loaded;
    loaded.load();
    EXPECT_EQ(loaded.entries(), list.entries());
    loaded.remove(0);
    loaded.remove(7);
    loaded.save();
    EXPECT_FALSE(regGetString(RegRoot::CurrentUser, "Software\\Brevix\\Recent File List", "File4"));
    EXPECT_EQ(regGetString(RegRoot::CurrentUser, "Software\\Brevix\\Recent File List", "File1"), "/b.gem");
}

}  // namespace
}  // namespace brevix
