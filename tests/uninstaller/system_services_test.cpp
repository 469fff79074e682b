// The services of this machine, and the run with them: real files, folders,
// processes, libraries and the registry layer in a folder of the test's own.
#include "uninstaller/system_services.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "log_folder.h"
#include "platform/registry.h"
#include "uninstaller/command_line.h"
#include "uninstaller/process_modes.h"
#include "uninstaller/uninstall_worker.h"

namespace brevix::uninstall {
namespace {

std::string readAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// The real services, except that the run's "own executable" is the
// unregister helper: the test program itself must not be started again.
class TestServices : public SystemServices {
public:
    std::string ownExecutable() override { return UNREGISTER_HELPER; }
};

class SystemServicesTest : public LogFolderTest {
protected:
    void SetUp() override {
        LogFolderTest::SetUp();
        std::filesystem::create_directories(folder_ / "settings");
        setRegistryFolder(path("settings"));
        mark_ = path("mark.txt");
        setenv("BREVIX_TEST_UNREGISTER_MARK", mark_.c_str(), 1);
    }
    void TearDown() override {
        unsetenv("BREVIX_TEST_UNREGISTER_MARK");
        setRegistryFolder("");
        LogFolderTest::TearDown();
    }
    TestServices services;
    std::string mark_;
};

TEST_F(SystemServicesTest, FilesAndFolders) {
    writeFile("a.txt", "x");
    std::filesystem::create_directories(folder_ / "full" / "inner");
    EXPECT_TRUE(services.fileExists(path("a.txt")));
    EXPECT_FALSE(services.fileExists(path("b.txt")));
    EXPECT_EQ(services.deleteFile(path("a.txt")), DeleteResult::Deleted);
    EXPECT_EQ(services.deleteFile(path("a.txt")), DeleteResult::NotFound);
    EXPECT_EQ(services.deleteFile(path("full")), DeleteResult::Failed);
    EXPECT_FALSE(services.removeDirectory(path("full")));
    EXPECT_TRUE(services.removeDirectory(path("full/inner")));
    EXPECT_TRUE(services.removeDirectory(path("full")));
    writeFile("ro.txt", "x");
    ::chmod(path("ro.txt").c_str(), 0444);
    EXPECT_TRUE(services.isReadOnly(path("ro.txt")));
    EXPECT_TRUE(services.clearReadOnly(path("ro.txt")));
    EXPECT_FALSE(services.isReadOnly(path("ro.txt")));
}

TEST_F(SystemServicesTest, WhatCannotGoAtOnceIsWrittenToTheRenameList) {
    writeFile("now.txt", "x");
    services.deleteAtRestart(path("now.txt"));
    EXPECT_FALSE(std::filesystem::exists(path("now.txt")));
    EXPECT_FALSE(std::filesystem::exists(renameListPath()));
    std::filesystem::create_directories(folder_ / "busy" / "x");
    services.deleteAtRestart(path("busy"));
    EXPECT_EQ(renameListPath(), path("settings/WinInit.Ini"));
    EXPECT_EQ(readAll(renameListPath()), "[Rename]\r\nNUL=" + path("busy") + "\r\n");
}

TEST_F(SystemServicesTest, UnregisteringCallsOnlyRealLibrariesThatHaveTheEntry) {
    writeFile("fake.so", "\x7f" "ELF but not really");
    writeFile("text.so", "hello");
    const auto before = std::filesystem::current_path();
    EXPECT_TRUE(services.unregisterDll(MARK_LIBRARY));
    EXPECT_EQ(std::filesystem::current_path(), before);  // put back after the library moved it
    EXPECT_FALSE(services.unregisterDll(PLAIN_LIBRARY));
    EXPECT_FALSE(services.unregisterDll(path("fake.so")));
    EXPECT_FALSE(services.unregisterDll(path("text.so")));
    EXPECT_FALSE(services.unregisterDll(path("missing.so")));
    EXPECT_EQ(readAll(mark_), "unregistered in " + before.string() + "\n");
}

TEST_F(SystemServicesTest, TheUnregisterProcessCallsEveryLibraryOfTheLog) {
    writeLog({"[REGDLLS]", MARK_LIBRARY, PLAIN_LIBRARY, path("missing.so"), MARK_LIBRARY});
    EXPECT_TRUE(startProgram(unregisterCommandLine(UNREGISTER_HELPER, directory()), true));
    const std::string cwd = std::filesystem::current_path().string();
    EXPECT_EQ(readAll(mark_), "unregistered in " + cwd + "\nunregistered in " + cwd + "\n");
    EXPECT_FALSE(startProgram("/no/such/program arg", true));
    EXPECT_FALSE(startProgram("", true));
}

TEST_F(SystemServicesTest, AWholeRunOnThisMachine) {
    const std::string app = path("app");
    std::filesystem::create_directories(app + "/doc");
    writeFile("app/brevix", "program");
    writeFile("app/doc/guide.html", "guide");
    writeFile("app/keep.asc", "the user's design");
    writeFile("app/Setup.log", "");
    writeFile("shared.so", "shared");
    writeFile("lonely.so", "not counted");
    regSetDword(RegRoot::CurrentUser, "Software\\Brevix\\MainWnd", "Length", 44);
    regSetString(RegRoot::CurrentUser, "Software\\Brevix\\Recent File List", "File1", "/x.asc");
    regSetString(RegRoot::CurrentUser, "Software\\Other", "Keep", "yes");
    regSetDword(RegRoot::LocalMachine, SHARED_DLLS_KEY, path("shared.so"), 2);
    writeLog({"[COMMON]", "Application_Name=Brevix", "1402=Could not remove the folder",
              "1403=Could not delete the file", "[RUNAPPS]",
              std::string("BeforeUninstall=") + BEFORE_UNINSTALL_PROBE + "," + mark_ + " " + app + "/brevix,,1,0,0,0",
              "[REGDLLS]", MARK_LIBRARY, "[SHAREDFILES]", path("shared.so"), path("lonely.so"), "[APPFILES]",
              app + "/brevix", app + "/doc/guide.html", app + "/Setup.log", "[APPDIR]", app + "/doc", app,
              "[REGENTRY]", "HKCU,Software\\Brevix"},
             "app/Setup.log");
    UninstallContext context;
    context.logDirectory = app + "/";
    UninstallWorker(context, services).run();

    const std::string cwd = std::filesystem::current_path().string();
    EXPECT_EQ(readAll(mark_), app + "/brevix present\nunregistered in " + cwd + "\n");
    EXPECT_TRUE(std::filesystem::exists(path("shared.so")));
    EXPECT_EQ(regGetDword(RegRoot::LocalMachine, SHARED_DLLS_KEY, path("shared.so")), 1u);
    EXPECT_FALSE(std::filesystem::exists(path("lonely.so")));
    EXPECT_FALSE(std::filesystem::exists(app + "/brevix"));
    EXPECT_FALSE(std::filesystem::exists(app + "/doc"));
    EXPECT_EQ(readAll(app + "/keep.asc"), "the user's design");
    EXPECT_EQ(context.errors, std::vector<std::string>{"Could not remove the folder \"" + app + "\""});
    EXPECT_FALSE(regKeyExists(RegRoot::CurrentUser, "Software\\Brevix"));
    EXPECT_FALSE(regKeyExists(RegRoot::CurrentUser, "Software\\Brevix\\MainWnd"));
    EXPECT_EQ(regGetString(RegRoot::CurrentUser, "Software\\Other", "Keep"), "yes");
}

}  // namespace
}  // namespace brevix::uninstall
