// The removal run against a scripted world: what it deletes, asks, refuses,
// records and reports to the progress dialog, and in which order.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "fake_services.h"
#include "log_folder.h"
#include "uninstaller/app_exception.h"
#include "uninstaller/uninstall_worker.h"

namespace brevix::uninstall {
namespace {

using ::testing::ElementsAre;

class RemovalRunTest : public LogFolderTest {
protected:
    void run() {
        context.logDirectory = directory();
        UninstallWorker(context, services).run();
    }
    UninstallContext context;
    FakeServices services;
};

const std::string kTexts[] = {
    "[COMMON]",
    "Application_Name=Brevix",
    "1302=The shared file %1 in %2 is no longer used. Remove it?",
    "1402=Could not remove the folder",
    "1403=Could not delete the file",
};

TEST_F(RemovalRunTest, ALogWithoutSharedFilesCountsTheRestAndMarksEveryPhase) {
    writeLog({kTexts[0], kTexts[1], "[APPFILES]", "/opt/b/bin/brevix", "/opt/b/Setup.log", "[APPDIR]", "/opt/b",
              "[REGENTRY]", "HKCU,Software\\Brevix", "[REGVALUES]", "HKCU,Software\\Other,Path", "[REGDLLS]",
              "/opt/b/x.so"});
    services.files = {"/opt/b/bin/brevix", "/opt/b/Setup.log"};
    services.folders = {"/opt/b", "/opt/b/bin"};
    run();
    // Neither the values nor the libraries count towards the bar's range.
    EXPECT_EQ(services.progressTotal, 4);
    EXPECT_EQ(services.progressPosition, 4);
    std::vector<std::string> marks;
    for (const auto& e : services.events)
        if (e.rfind("phase", 0) == 0 || e.rfind("range", 0) == 0 || e.rfind("position", 0) == 0 || e == "finished")
            marks.push_back(e);
    EXPECT_THAT(marks, ElementsAre("range 4", "phase 1", "phase 2", "phase 3", "phase 4", "phase 5", "phase 6",
                                   "position 4", "finished"));
    // Phase 1 is marked before anything is deleted: there was nothing to do.
    EXPECT_EQ(services.events[2].rfind("phase 1", 0), 0u) << services.events[2];
    EXPECT_TRUE(services.files.empty());
}

TEST_F(RemovalRunTest, TheProgramBeforeUninstallRunsFirstThenTheUnregisterProcess) {
    writeLog({kTexts[0], "[RUNAPPS]", "BeforeUninstall=/opt/b/stop,--quiet now,/opt/b,5,0,0,x", "[APPFILES]",
              "/opt/b/a"});
    services.files = {"/opt/b/a"};
    run();
    ASSERT_GE(services.events.size(), 4u);
    EXPECT_EQ(services.events[0], "range 1");
    EXPECT_EQ(services.events[1], "run /opt/b/stop --quiet now show=5 wait");
    // The copy starts itself with the log directory after a quote that is
    // never closed: the directory arrives as one argument with its separator.
    EXPECT_EQ(services.events[2], "run \"/tmp/Del1234\" \"" + directory() + " show=1 wait");
    EXPECT_EQ(services.events[3], "phase 1");
}

TEST_F(RemovalRunTest, NowaitAndAProgramThatCannotStart) {
    writeLog({kTexts[0], "[RUNAPPS]", "BeforeUninstall=gone,,,1,0,1,0", "[APPFILES]", "/opt/b/a"});
    services.files = {"/opt/b/a"};
    services.programsStart = false;
    run();
    EXPECT_EQ(services.events[1], "run gone  show=1 nowait");
    // The unregister process failing is told once, and the run goes on.
    EXPECT_EQ(services.eventsStartingWith("error"), std::vector<std::string>{"error Error: Cannot unregister DLL"});
    EXPECT_TRUE(services.files.empty());
    EXPECT_EQ(services.events.back(), "finished");
}

TEST_F(RemovalRunTest, NoBeforeUninstallRunsNothingButTheUnregisterProcess) {
    writeLog({kTexts[0], "[RUNAPPS]", "AfterInstall=x,,,1,0,0,0"});
    run();
    EXPECT_EQ(services.eventsStartingWith("run").size(), 1u);
}

TEST_F(RemovalRunTest, ProgramFilesThatAreGoneReadOnlyOrLocked) {
    writeLog({kTexts[0], kTexts[3], kTexts[4], "[APPFILES]", "/opt/b/gone", "/opt/b/readonly", "/opt/b/locked",
              "/opt/b/plain"});
    services.files = {"/opt/b/readonly", "/opt/b/locked", "/opt/b/plain"};
    services.readOnly = {"/opt/b/readonly"};
    services.locked = {"/opt/b/locked"};
    run();
    // A vanished file is no error; a read-only one is made writable and
    // deleted; only the locked one is recorded, and nothing is scheduled.
    EXPECT_EQ(context.errors, std::vector<std::string>{"Could not delete the file \"/opt/b/locked\""});
    EXPECT_EQ(services.files, std::set<std::string>{"/opt/b/locked"});
    EXPECT_EQ(services.eventsStartingWith("writable"), std::vector<std::string>{"writable /opt/b/readonly"});
    EXPECT_TRUE(services.eventsStartingWith("delete-at-restart").empty());
    EXPECT_EQ(services.progressTotal, 4);
}

TEST_F(RemovalRunTest, FoldersThatStillHoldSomethingAreRecordedAndTheRestGo) {
    writeLog({kTexts[0], kTexts[3], "[APPFOLDERS]", "/menu/Brevix", "[APPDIR]", "/opt/b/doc", "/opt/b"});
    services.folders = {"/menu/Brevix", "/opt/b", "/opt/b/doc"};
    services.files = {"/opt/b/mine.asc"};
    run();
    EXPECT_EQ(context.errors, std::vector<std::string>{"Could not remove the folder \"/opt/b\""});
    EXPECT_EQ(services.folders, std::set<std::string>{"/opt/b"});
    EXPECT_EQ(services.files, std::set<std::string>{"/opt/b/mine.asc"});
}

TEST_F(RemovalRunTest, RegistryKeysThatMustNeverGoAreSkipped) {
    writeLog({kTexts[0], "[REGENTRY]", "HKLM,SOFTWARE", "HKCU,Software\\Vendor\\software", "HKCU,Brevix",
              "HKU,.DEFAULT", "HKCR,.gem", "HKCR,Brevix.Design\\shell", "HKEY_CURRENT_USER,Software\\Brevix",
              "XYZ,Software\\Brevix", "no comma", "HKCU,Software\\Brevix", "HKLM,Software\\Brevix\\Setup",
              "[REGVALUES]", "HKCU,Software\\Brevix,Path", "HKLM,SOFTWARE,Path", "HKCU,Top,Name",
              "HKCR,.asc,Content Type", "HKCU,Software\\Brevix"});
    run();
    EXPECT_THAT(services.eventsStartingWith("delete-key"),
                ElementsAre("delete-key HKCR,.gem", "delete-key HKCR,Brevix.Design\\shell",
                            "delete-key HKCU,Software\\Brevix", "delete-key HKLM,Software\\Brevix\\Setup"));
    EXPECT_THAT(services.eventsStartingWith("delete-value"),
                ElementsAre("delete-value HKCU,Software\\Brevix,Path", "delete-value HKCR,.asc,Content Type"));
    // Every entry waits, refused or not; and every REGENTRY line counts.
    EXPECT_EQ(services.eventsStartingWith("pause 200").size(), 16u);
    EXPECT_EQ(services.progressTotal, 11);
}

TEST(RegistryRefusals, TopLevelAndSoftwareKeys) {
    EXPECT_FALSE(registryKeyMayGo("HKLM", "SOFTWARE"));
    EXPECT_FALSE(registryKeyMayGo("HKCU", "Software\\Classes\\SoFtWaRe"));
    EXPECT_FALSE(registryKeyMayGo("HKCR", "Software"));
    EXPECT_FALSE(registryKeyMayGo("HKU", "S-1-5-18"));
    EXPECT_FALSE(registryKeyMayGo("hkcu", "Software\\Brevix"));
    EXPECT_TRUE(registryKeyMayGo("HKCR", ".gem"));
    EXPECT_TRUE(registryKeyMayGo("HKCU", "Software\\Brevix"));
    EXPECT_TRUE(registryKeyMayGo("HKCU", "Software\\SoftwareTools"));
}

class SharedFilesTest : public RemovalRunTest {
protected:
    void SetUp() override {
        RemovalRunTest::SetUp();
        writeLog({kTexts[0], kTexts[2], "[SHAREDFILES]", "/lib/one.so", "/lib/three.so", "/lib/free.so",
                  "/lib/gone.so", "[STDFILES]", "/lib/std.so"});
        services.files = {"/lib/one.so", "/lib/three.so", "/lib/free.so", "/lib/std.so"};
        services.sharedCounts = {{"/lib/one.so", 1}, {"/lib/three.so", 3}, {"/lib/gone.so", 1}, {"/lib/std.so", 1}};
    }
};

TEST_F(SharedFilesTest, CountOneToZeroAsksAndThreeToTwoStaysQuietly) {
    services.answers = {SharedAnswer::Yes, SharedAnswer::No};
    run();
    EXPECT_EQ(services.questions,
              (std::vector<std::string>{"The shared file one.so in /lib/ is no longer used. Remove it?",
                                        "The shared file std.so in /lib/ is no longer used. Remove it?"}));
    // Yes removes the file and its counter; a file without a counter is not
    // shared with anyone and goes; one still counted by others stays.
    EXPECT_EQ(services.files, (std::set<std::string>{"/lib/three.so", "/lib/std.so"}));
    EXPECT_EQ(services.sharedCounts,
              (std::map<std::string, uint32_t>{{"/lib/three.so", 2}, {"/lib/gone.so", 0}, {"/lib/std.so", 0}}));
    EXPECT_THAT(services.eventsStartingWith("delete-at-restart"),
                ElementsAre("delete-at-restart /lib/one.so", "delete-at-restart /lib/free.so"));
    EXPECT_TRUE(context.errors.empty());
    EXPECT_EQ(services.progressTotal, 5);
}

TEST_F(SharedFilesTest, YesToAllRemovesTheRestWithoutAsking) {
    services.answers = {SharedAnswer::YesToAll};
    run();
    EXPECT_EQ(services.questions.size(), 1u);
    EXPECT_EQ(services.files, std::set<std::string>{"/lib/three.so"});
    EXPECT_FALSE(context.askAgain);
}

TEST_F(SharedFilesTest, NoToAllKeepsTheRestWithoutAsking) {
    services.answers = {SharedAnswer::NoToAll};
    run();
    EXPECT_EQ(services.questions.size(), 1u);
    EXPECT_EQ(services.files, (std::set<std::string>{"/lib/one.so", "/lib/three.so", "/lib/std.so"}));
    EXPECT_EQ(services.sharedCounts.at("/lib/std.so"), 0u);
}

TEST_F(RemovalRunTest, ACountAlreadyAtZeroStaysAtZero) {
    writeLog({kTexts[0], "[SHAREDFILES]", "/lib/z.so"});
    services.sharedCounts = {{"/lib/z.so", 0}};
    run();  // the file is not there: no question, nothing deleted
    EXPECT_TRUE(services.questions.empty());
    EXPECT_EQ(services.sharedCounts.at("/lib/z.so"), 0u);
}

TEST_F(RemovalRunTest, AMissingLogEndsTheRunBeforeAnythingHappens) {
    context.logDirectory = directory() + "nowhere/";
    EXPECT_THROW(UninstallWorker(context, services).run(), FileException);
    EXPECT_TRUE(services.events.empty());
}

}  // namespace
}  // namespace brevix::uninstall
