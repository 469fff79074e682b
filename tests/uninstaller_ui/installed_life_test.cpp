// Brevix's whole life on a machine: installed into a prefix of its own with
// `cmake --install`, started once from another folder so that it writes its
// settings, then removed by the installed uninstaller (its dialogs answered
// with Enter by a plugin). Afterwards every installed file and folder and
// the settings key are gone, the user's own file in the prefix is untouched,
// and no temporary copy of the uninstaller is left behind.
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <thread>

#include "platform/registry.h"
#include "uninstaller/install_log.h"

extern char** environ;

namespace fs = std::filesystem;

namespace {

std::string readAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// Runs a program in `folder` with extra environment entries; returns its
// exit code, or -1000 when it did not end within the time given.
int run(const std::vector<std::string>& arguments, const fs::path& folder, const std::vector<std::string>& extraEnv,
        int seconds = 120) {
    std::vector<std::string> env(extraEnv);
    for (char** e = environ; *e; ++e) env.push_back(*e);
    std::vector<char*> argv, envp;
    std::vector<std::string> args(arguments);
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    for (auto& e : env) envp.push_back(e.data());
    envp.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());
    pid_t pid = 0;
    const int started = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (started != 0) return -2000;
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    int status = 0;
    while (waitpid(pid, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > until) {
            kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
            return -1000;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -3000;
}

template <typename Done>
bool waitFor(Done done, int seconds = 60) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    while (!done()) {
        if (std::chrono::steady_clock::now() > until) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return true;
}

std::vector<std::string> section(const brevix::uninstall::InstallLog& log, const char* name) {
    std::vector<std::string> lines;
    std::string line;
    for (int i = 0; log.entry(name, i, line); ++i) lines.push_back(line);
    return lines;
}

std::vector<std::string> delFiles(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& item : fs::directory_iterator(folder))
        if (item.path().filename().string().rfind("Del", 0) == 0) names.push_back(item.path().string());
    return names;
}

class InstalledLifeTest : public ::testing::Test {
protected:
    void SetUp() override {
        root_ = fs::temp_directory_path() / ("brevix-life-" + std::to_string(getpid()));
        fs::remove_all(root_);
        for (const char* sub : {"prefix", "elsewhere", "settings", "tmp"}) fs::create_directories(root_ / sub);
        prefix_ = root_ / "prefix";
        std::ofstream(prefix_ / "my notes.txt") << "facets to try on the oval\n";
        env_ = {"BREVIX_REGISTRY_DIR=" + (root_ / "settings").string(), "TMPDIR=" + (root_ / "tmp").string(),
                "QT_QPA_PLATFORM=offscreen", "QT_PLUGIN_PATH=" TEST_PLUGIN_PATH,
                "QT_QPA_GENERIC_PLUGINS=brevixautoanswer", "BREVIX_TEST_ANSWERS=" + answers().string(),
                "XDG_RUNTIME_DIR=" + (root_ / "tmp").string()};
        brevix::setRegistryFolder((root_ / "settings").string());
    }
    void TearDown() override {
        brevix::setRegistryFolder("");
        fs::remove_all(root_);
    }
    fs::path answers() const { return root_ / "answers.txt"; }

    fs::path root_, prefix_;
    std::vector<std::string> env_;
};

TEST_F(InstalledLifeTest, InstallRunAndUninstall) {
    ASSERT_EQ(run({CMAKE_PROGRAM, "--install", BREVIX_BINARY_DIR, "--prefix", prefix_.string()}, root_, {}), 0);
    // Installing again over it: the folders the first time made stay in the log.
    ASSERT_EQ(run({CMAKE_PROGRAM, "--install", BREVIX_BINARY_DIR, "--prefix", prefix_.string()}, root_, {}), 0);

    // The log lists every file and folder the installation made.
    const fs::path logFolder = prefix_ / "lib" / "brevix";
    const std::string logText = readAll(logFolder / "Setup.log");
    for (size_t at = logText.find('\n'); at != std::string::npos; at = logText.find('\n', at + 1))
        ASSERT_TRUE(at > 0 && logText[at - 1] == '\r') << "a line without CR LF at " << at;
    std::string texts = readAll(fs::path(BREVIX_SOURCE_DIR) / "packaging" / "setup-log-texts.ini");
    std::string common;
    for (char c : texts) common += c == '\n' ? std::string("\r\n") : std::string(1, c);
    EXPECT_EQ(logText.substr(0, common.size()), common);
    brevix::uninstall::InstallLog log;
    log.open(logFolder.string() + "/", "Setup.log");
    const auto files = section(log, "APPFILES");
    const auto folders = section(log, "APPDIR");
    EXPECT_EQ(section(log, "REGENTRY"), std::vector<std::string>{"HKCU,Software\\Brevix"});
    ASSERT_GE(files.size(), 2u);
    EXPECT_EQ(files[files.size() - 2], (logFolder / "uninstaller").string());
    EXPECT_EQ(files.back(), (logFolder / "Setup.log").string());
    std::set<std::string> foundFiles, foundFolders;
    for (const auto& item : fs::recursive_directory_iterator(prefix_))
        (item.is_directory() ? foundFolders : foundFiles).insert(item.path().string());
    foundFiles.erase((prefix_ / "my notes.txt").string());
    EXPECT_EQ(std::set<std::string>(files.begin(), files.end()), foundFiles);
    EXPECT_EQ(std::set<std::string>(folders.begin(), folders.end()), foundFolders);
    for (size_t i = 1; i < folders.size(); ++i) {
        EXPECT_GE(std::count(folders[i - 1].begin(), folders[i - 1].end(), '/'),
                  std::count(folders[i].begin(), folders[i].end(), '/'))
            << folders[i - 1] << " before " << folders[i];
    }
    for (const char* expected : {"bin/brevix", "bin/brevix-cli", "bin/brevix-diagram", "share/doc/brevix/UsersGuide/brevixman.html",
                                 "share/doc/brevix/UsersGuide/pebble.obj",
                                 "share/applications/brevix.desktop", "share/mime/packages/brevix.xml",
                                 "share/icons/hicolor/scalable/apps/brevix.svg"})
        EXPECT_TRUE(foundFiles.count((prefix_ / expected).string())) << expected;
    EXPECT_NE(readAll(prefix_ / "share/applications/brevix.desktop")
                  .find("Exec=\"" + (prefix_ / "bin/brevix").string() + "\" %f\n"),
              std::string::npos);

    // Brevix runs from another folder, opens a design and, closed, keeps its settings.
    std::vector<std::string> brevixEnv(env_);
    brevixEnv.push_back("BREVIX_TEST_CLOSE_AFTER_MS=1500");
    const std::string design = std::string(BREVIX_SOURCE_DIR) + "/samples/round_brilliant.asc";
    ASSERT_EQ(run({(prefix_ / "bin/brevix").string(), design}, root_ / "elsewhere", brevixEnv), 0);
    EXPECT_NE(readAll(answers()).find("window CMainFrame|round_brilliant.asc[*] - Brevix|"), std::string::npos)
        << readAll(answers());
    EXPECT_TRUE(brevix::regKeyExists(brevix::RegRoot::CurrentUser, "Software\\Brevix\\MainWnd"));
    EXPECT_EQ(brevix::regGetString(brevix::RegRoot::CurrentUser, "Software\\Brevix\\Recent File List", "File1"),
              design);

    // The installed brevix-cli draws the diagram with the program beside it.
    const fs::path diagram = root_ / "elsewhere" / "diagram.svg";
    EXPECT_EQ(run({(prefix_ / "bin/brevix-cli").string(), "diagram", design, diagram.string()}, root_ / "elsewhere",
                  env_),
              0);
    EXPECT_NE(readAll(diagram).find("<title>round_brilliant.asc</title>"), std::string::npos);

    // The uninstaller hands over to its temporary copy and ends at once.
    EXPECT_EQ(run({(logFolder / "uninstaller").string()}, root_ / "elsewhere", env_), 255);
    EXPECT_TRUE(waitFor([&] { return delFiles(root_ / "tmp").empty(); }))
        << "the temporary copy is still there";
    EXPECT_TRUE(waitFor([&] { return !fs::exists(prefix_ / "bin"); }));

    const std::string said = readAll(answers());
    EXPECT_NE(said.find("box ConfirmDialog|Remove Brevix|Do you want to remove Brevix and everything that was "
                        "installed with it from this computer? Your own designs are not touched.\n"),
              std::string::npos)
        << said;
    EXPECT_NE(said.find("dialog ProgressDialog|Removing Brevix|Brevix has been removed from your computer."
                        "|details off\n"),
              std::string::npos)
        << said;
    for (const auto& file : files) EXPECT_FALSE(fs::exists(file)) << file;
    for (const auto& folder : folders) EXPECT_FALSE(fs::exists(folder)) << folder;
    std::vector<std::string> left;
    for (const auto& item : fs::directory_iterator(prefix_)) left.push_back(item.path().filename().string());
    EXPECT_EQ(left, std::vector<std::string>{"my notes.txt"});
    EXPECT_EQ(readAll(prefix_ / "my notes.txt"), "facets to try on the oval\n");
    EXPECT_FALSE(brevix::regKeyExists(brevix::RegRoot::CurrentUser, "Software\\Brevix"));
    EXPECT_TRUE(delFiles(root_ / "tmp").empty());
}

TEST_F(InstalledLifeTest, NoToTheConfirmationLeavesTheInstallationAsItWas) {
    ASSERT_EQ(run({CMAKE_PROGRAM, "--install", BREVIX_BINARY_DIR, "--prefix", prefix_.string()}, root_, {}), 0);
    std::set<std::string> before;
    for (const auto& item : fs::recursive_directory_iterator(prefix_)) before.insert(item.path().string());
    brevix::regSetString(brevix::RegRoot::CurrentUser, "Software\\Brevix\\Database", "Path", "/data/dlist.dbf");
    // A plugin answer of No: the confirmation's escape button.
    std::vector<std::string> env(env_);
    env.push_back("BREVIX_TEST_ANSWER_NO=1");
    EXPECT_EQ(run({(prefix_ / "lib/brevix/uninstaller").string()}, root_ / "elsewhere", env), 255);
    EXPECT_TRUE(waitFor([&] { return delFiles(root_ / "tmp").empty(); }));
    EXPECT_NE(readAll(answers()).find("box ConfirmDialog|Remove Brevix|"), std::string::npos) << readAll(answers());
    std::set<std::string> after;
    for (const auto& item : fs::recursive_directory_iterator(prefix_)) after.insert(item.path().string());
    EXPECT_EQ(after, before);
    EXPECT_TRUE(brevix::regKeyExists(brevix::RegRoot::CurrentUser, "Software\\Brevix\\Database"));
}

TEST_F(InstalledLifeTest, AWorkerWithoutItsLogSaysSoAndStillDeletesItsCopy) {
    // The worker's own command line, as the launcher writes it, naming a
    // folder without Setup.log and a launcher that has ended long ago.
    const fs::path copy = root_ / "tmp" / "DelTest";
    fs::copy_file(UNINSTALLER_PROGRAM, copy);
    const std::string folder = (root_ / "elsewhere").string() + "/";
    EXPECT_EQ(run({copy.string(), "0", UNINSTALLER_PROGRAM, folder + " "}, root_, env_), 255);
    EXPECT_EQ(readAll(answers()), "box |Error|Can't open log file\n"
                                  "box |Exception|Can't open file " + folder + "setup.log, Error 2\n");
    EXPECT_FALSE(fs::exists(copy));
}

TEST_F(InstalledLifeTest, ALauncherThatCannotMakeItsCopySaysSo) {
    std::vector<std::string> env(env_);
    env.insert(env.begin(), "TMPDIR=" + (root_ / "no such folder").string());
    EXPECT_EQ(run({UNINSTALLER_PROGRAM}, root_, env), 255);
    EXPECT_EQ(readAll(answers()), "box |Error|Cannot create child process\n");
}

}  // namespace
