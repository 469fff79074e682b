#include "uninstaller/install_log.h"

#include <gtest/gtest.h>

#include "log_folder.h"
#include "uninstaller/app_exception.h"
#include "uninstaller/uninstall_context.h"
#include "uninstaller/uninstall_texts.h"

namespace brevix::uninstall {
namespace {

using InstallLogTest = LogFolderTest;

TEST(InstallLogText, CommentsAndShortLinesAreNoEntries) {
    InstallLog log;
    log.load("[APPFILES]\r\n;/opt/brevix/old\r\n/opt/a\r\nab\r\n\r\n/opt/b\r\n[APPDIR]\r\n/opt\r\n");
    EXPECT_EQ(log.sectionCount("APPFILES"), 2);
    EXPECT_EQ(log.entry("APPFILES", 0), "/opt/a");
    EXPECT_EQ(log.entry("APPFILES", 1), "/opt/b");
    std::string line = "left over";
    EXPECT_FALSE(log.entry("APPFILES", 2, line));
    EXPECT_EQ(line, "");
    EXPECT_FALSE(log.entry("APPFILES", -1, line));
    EXPECT_EQ(log.sectionCount("APPDIR"), 1);
    // What was loaded keeps CR LF on every line, whatever the file had.
    EXPECT_EQ(log.text(), "[APPFILES]\r\n/opt/a\r\n/opt/b\r\n[APPDIR]\r\n/opt\r\n");
}

TEST(InstallLogText, SectionsAreFoundByTheirFirstHeaderAndTheirCase) {
    InstallLog log;
    log.load("[COMMON]\nApplication_Name=Brevix\n1001=Uninstall\n1002=a=b\n"
             "[EMPTY]\n[common]\nApplication_Name=Other\n[COMMON]\n1003=late\n");
    EXPECT_EQ(log.value("COMMON", "Application_Name"), "Brevix");
    // Only the first '=' separates; the rest belongs to the value.
    EXPECT_EQ(log.value("COMMON", "1002"), "a=b");
    EXPECT_EQ(log.value("COMMON", "1003"), "");
    EXPECT_EQ(log.value("COMMON", "application_name"), "");
    EXPECT_EQ(log.value("common", "Application_Name"), "Other");
    EXPECT_EQ(log.sectionCount("EMPTY"), 0);
    EXPECT_EQ(log.sectionCount("MISSING"), 0);
    EXPECT_EQ(log.entry("MISSING", 0), "");
    EXPECT_EQ(log.value("MISSING", "x"), "");
}

TEST(InstallLogText, LastLineWithoutLineEndAndHeaderAtTheEnd) {
    InstallLog log;
    log.load("[APPDIR]\r\n/opt/x");
    EXPECT_EQ(log.sectionCount("APPDIR"), 1);
    EXPECT_EQ(log.entry("APPDIR", 0), "/opt/x");
    log.load("[APPDIR]");
    EXPECT_EQ(log.sectionCount("APPDIR"), 0);
    log.load("");
    EXPECT_EQ(log.sectionCount("APPDIR"), 0);
}

TEST_F(InstallLogTest, OpensTheLogWhateverTheCaseOfItsName) {
    writeLog({"[COMMON]", "Application_Name=Brevix", "1001=Brevix Uninstall"});
    UninstallContext context;
    context.logDirectory = directory();
    context.openLog();
    EXPECT_EQ(context.appName, "Brevix");
    EXPECT_EQ(context.text(TEXT_MAIN_TITLE), "Brevix Uninstall");
    EXPECT_EQ(context.text(TEXT_CONFIRM), "");
}

TEST_F(InstallLogTest, AMissingLogIsReportedBeforeTheExceptionGoesOn) {
    UninstallContext context;
    context.logDirectory = directory();
    bool told = false;
    try {
        context.openLog([&] { told = true; });
        FAIL() << "no exception";
    } catch (const FileException& e) {
        EXPECT_EQ(e.fileName(), directory() + "setup.log");
        EXPECT_EQ(e.kind(), AppException::SystemCall);
    }
    EXPECT_TRUE(told);
}

TEST(UninstallTexts, OnlyTheFirstPlaceOfEachMarkerIsFilled) {
    EXPECT_EQ(fillIn("Remove %1 from %2? (%1)", "a.so", "/lib/"), "Remove a.so from /lib/? (%1)");
    // A name that holds a marker is never filled in again.
    EXPECT_EQ(fillIn("%1 in %2", "100%2.so", "/x/"), "100%2.so in /x/");
    EXPECT_EQ(fillIn("%2 holds %1", "f", "/d%1/"), "/d%1/ holds f");
    EXPECT_EQ(fillIn("no markers", "a", "b"), "no markers");
    EXPECT_EQ(errorDetailsText({"one", "two"}), "one\r\ntwo\r\n");
    EXPECT_EQ(errorDetailsText({}), "");
}

}  // namespace
}  // namespace brevix::uninstall
