#pragma once
// Running the built brevix-cli as a script would: each test in a folder of
// its own (the working directory of the run, removed afterwards), standard
// output and error kept in the files "stdout" and "stderr" there, nothing on
// standard input. A run that hangs is ended by `timeout` and then fails.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace brevix::clitest {

namespace fs = std::filesystem;

struct CliRun {
    int code = -1;
    std::string out, err;
};

inline std::string readAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

inline std::string quoted(const std::string& text) { return "'" + text + "'"; }

class CliFolderTest : public ::testing::Test {
protected:
    void SetUp() override {
        const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
        folder_ = fs::temp_directory_path() / ("brevix-" + std::string(test->test_suite_name()) + "-" +
                                                std::to_string(::getpid()) + "-" + test->name());
        fs::remove_all(folder_);
        fs::create_directories(folder_);
    }
    void TearDown() override { fs::remove_all(folder_); }

    std::string path(const std::string& name) const { return (folder_ / name).string(); }

    // `environment` goes before the command ("NAME='value'"); `redirect`
    // is where standard output goes instead of being kept.
    CliRun run(const std::string& arguments, const std::string& environment = {},
               const std::string& redirect = {}) {
        const std::string out = redirect.empty() ? path("stdout") : redirect, err = path("stderr");
        const std::string command = "cd " + quoted(folder_.string()) + " && " + environment + " timeout 900 " +
                                    quoted(BREVIX_CLI) + " " + arguments + " >" + quoted(out) + " 2>" +
                                    quoted(err) + " </dev/null";
        const int status = std::system(command.c_str());
        CliRun result;
        result.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        if (redirect.empty()) result.out = readAll(out);
        result.err = readAll(err);
        return result;
    }

    fs::path folder_;
};

}  // namespace brevix::clitest
